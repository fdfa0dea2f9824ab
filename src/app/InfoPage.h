#pragma once

#include <QWidget>
#include <memory>

class QFrame;
class QLabel;
class QTextDocument;
class QTextEdit;
class QToolButton;

// The "Info" page: a column of four buttons beside four panels about the
// program. "Informations" holds the maker's e-mail and web links,
// "Special Thanks" the credits, "Copyrights" the notice on the game's logo,
// and "Actual Informations" the file "upgrade.vr" from the current folder,
// read afresh at every press.
class InfoPage : public QWidget {
    Q_OBJECT

public:
    // Built before showing, so that the new controls show with the page.
    void setVisible(bool visible) override;
    explicit InfoPage(QWidget* parent);

    // The version line in the headers of the panels that carry one.
    void setVersionLine(const QString& text);
    // The first panel, as if "Informations" had been pressed.
    void showInformations();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showVersionLine();
    void buildButtonColumn();
    QFrame* makePanel(const char* name);
    QLabel* addHeader(QFrame* panel, const char* versionName);
    void buildInfoPanel();
    void buildThanks();
    void buildCopyR();
    void buildReadme();
    QLabel* addLinkRow(const char* captionName, const QString& caption, const char* linkName,
                       const QString& link, int top);

    // One handler for the four buttons: the sender says which panel to show.
    void onPanelButtonClicked(const QObject* sender);
    QFrame* panelOf(const QObject* button) const;
    // Reads "upgrade.vr" into actualInformations_ when the file exists; throws when it
    // can't be read, and actualInformations_ keeps its text.
    void loadActualInformations();
    void showActualInformations(std::unique_ptr<QTextDocument> document);
    void onMailLinkClicked();
    void onWebLinkClicked();
    // The link under the pointer takes the hover colour, the other its rest.
    void onPointerOverMailLink();
    void onPointerOverWebLink();
    // The pointer is on neither link: both at rest.
    void onPointerOverPanel();
    void showLinkColors(bool mailLit, bool webLit);
    bool linkEvent(QLabel* link, QEvent* event);

    QFrame* buttonColumn_ = nullptr;
    QLabel* columnPicture_ = nullptr;
    QToolButton* informationsButton_ = nullptr;
    QToolButton* thanksButton_ = nullptr;
    QToolButton* copyrightsButton_ = nullptr;
    QToolButton* actualInformationsButton_ = nullptr;
    QFrame* infoPanel_ = nullptr;
    QFrame* thanksPanel_ = nullptr;
    QFrame* copyrightsPanel_ = nullptr;
    QFrame* actualInformationsPanel_ = nullptr;
    QLabel* infoVersionLabel_ = nullptr;
    QLabel* actualVersionLabel_ = nullptr;
    QLabel* thanksVersionLabel_ = nullptr;
    QLabel* mailLink_ = nullptr;
    QLabel* webLink_ = nullptr;
    QTextEdit* actualInformations_ = nullptr;
    QString versionLine_;
};
