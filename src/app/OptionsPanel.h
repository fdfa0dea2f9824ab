#pragma once

#include <QFrame>
#include <QString>

class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QToolButton;
class TMessenger;

// The options panel, shown in place of the pages: the general and database
// sub-panels with the four option boxes and the two data-file rows.
class TOptionsPanel : public QFrame {
    Q_OBJECT

public:
    TOptionsPanel(QWidget* parent, TMessenger& messenger, QString programFolder);

    // The general sub-panel, as every opening of the panel shows first.
    void SpeedButton6Click();

    // The options; setting a box runs its handler as a click would.
    bool HintsShown() const;
    void SetHintsShown(bool shown);
    bool StarMapLinked() const;
    void SetStarMapLinked(bool linked);
    bool RollOut() const;
    void SetRollOut(bool on);
    bool NodeLines() const;
    void SetNodeLines(bool on);

    // The data files; a path too long for its box shows shortened.
    const QString& CoreDataPath() const { return coreDataPath_; }
    void SetCoreDataPath(const QString& path);
    const QString& InfoDataPath() const { return infoDataPath_; }
    void SetInfoDataPath(const QString& path);
    // The markers' hints name the data files in full.
    void ShowDataFileHints();

    // The path's first three characters, an ellipsis and the file name.
    static QString ShortPathText(const QString& path);
    // A data-file path longer than this shows as its ShortPathText.
    static constexpr int LongestFullPath = 30;

signals:
    void CloseRequested();
    // An option or a data file changed: all settings are to be written.
    void SettingsChanged();
    void RollOutChanged(bool on);
    void NodeLinesChanged(bool on);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildStrip();
    void BuildGeneralSettings();
    void BuildDatabaseSettings();
    void SpeedButton7Click();
    void SpeedButton8Click(QObject* sender);
    QFileDialog* DataFileDialog();
    void CheckBox3Click();

    TMessenger& messenger_;
    QString programFolder_;
    QString coreDataPath_;
    QString infoDataPath_;

    QLabel* heading_ = nullptr;
    bool headingSized_ = false;
    QFrame* Panel5 = nullptr;
    QToolButton* SpeedButton6 = nullptr;  // "General Settings"
    QToolButton* SpeedButton7 = nullptr;  // "Database Settings"
    QToolButton* SpeedButton10 = nullptr; // "Close option-menu"
    QFrame* AllgEinst = nullptr;
    QFrame* DataEinst = nullptr;
    QCheckBox* CheckBox3 = nullptr; // "Display help-popups"
    QCheckBox* CheckBox4 = nullptr; // "Show starmap linked with database entries"
    QCheckBox* CheckBox5 = nullptr; // "Automatic database-rollout"
    QCheckBox* CheckBox6 = nullptr; // "Show node-lines (in database)"
    QFrame* Shape5 = nullptr;       // core data marker; hint = CoreDataPath
    QFrame* Shape7 = nullptr;       // info data marker; hint = InfoDataPath
    QLineEdit* SysCoreDat = nullptr;
    QLineEdit* SysInfoDat = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QFileDialog* OpenDialog2 = nullptr;
};
