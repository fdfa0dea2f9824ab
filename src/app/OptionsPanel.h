#pragma once

#include <QFrame>
#include <QString>

class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QToolButton;
class Messenger;

// The options panel, shown in place of the pages: the general and database
// sub-panels with the four option boxes and the two data-file rows.
class OptionsPanel : public QFrame {
    Q_OBJECT

public:
    OptionsPanel(QWidget* parent, Messenger& messenger, QString programFolder);

    // The general sub-panel, as every opening of the panel shows first.
    void showGeneralSettings();

    // The options; setting a box runs its handler as a click would.
    bool hintsShown() const;
    void setHintsShown(bool shown);
    bool starMapLinked() const;
    void setStarMapLinked(bool linked);
    bool rollOut() const;
    void setRollOut(bool on);
    bool nodeLines() const;
    void setNodeLines(bool on);

    // The data files; a path too long for its box shows shortened.
    const QString& coreDataPath() const { return coreDataPath_; }
    void setCoreDataPath(const QString& path);
    const QString& infoDataPath() const { return infoDataPath_; }
    void setInfoDataPath(const QString& path);
    // The markers' hints name the data files in full.
    void showDataFileHints();

    // The path's first three characters, an ellipsis and the file name.
    static QString shortPathText(const QString& path);
    // A data-file path longer than this shows as its shortPathText.
    static constexpr int LongestFullPath = 30;

signals:
    void closeRequested();
    // An option or a data file changed: all settings are to be written.
    void settingsChanged();
    void rollOutChanged(bool on);
    void nodeLinesChanged(bool on);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildStrip();
    void buildGeneralSettings();
    void buildDatabaseSettings();
    void showDatabaseSettings();
    void onChooseDataFileClicked(QObject* sender);
    QFileDialog* dataFileDialog();
    void onHintsBoxClicked();

    Messenger& messenger_;
    QString programFolder_;
    QString coreDataPath_;
    QString infoDataPath_;

    QLabel* heading_ = nullptr;
    bool headingSized_ = false;
    QFrame* tabStrip_ = nullptr;
    QToolButton* generalButton_ = nullptr;
    QToolButton* databaseButton_ = nullptr;
    QToolButton* closeButton_ = nullptr;
    QFrame* generalPanel_ = nullptr;
    QFrame* databasePanel_ = nullptr;
    QCheckBox* hintsBox_ = nullptr;
    QCheckBox* starMapLinkBox_ = nullptr;
    QCheckBox* rollOutBox_ = nullptr;
    QCheckBox* nodeLinesBox_ = nullptr;
    // The markers show the data files' full paths as their hints.
    QFrame* coreDataMarker_ = nullptr;
    QFrame* infoDataMarker_ = nullptr;
    QLineEdit* coreDataField_ = nullptr;
    QLineEdit* infoDataField_ = nullptr;
    QToolButton* chooseCoreDataButton_ = nullptr;
    QToolButton* chooseInfoDataButton_ = nullptr;
    QFileDialog* dataFileDialog_ = nullptr;
};
