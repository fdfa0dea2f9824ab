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
class TInfoPage : public QWidget {
    Q_OBJECT

public:
    // Built before showing, so that the new controls show with the page.
    void setVisible(bool visible) override;
    explicit TInfoPage(QWidget* parent);

    // The version line in the headers of the panels that carry one.
    void SetVersionLine(const QString& text);
    // The first panel, as if "Informations" had been pressed.
    void ShowInformations();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowVersionLine();
    void BuildButtonColumn();
    QFrame* MakePanel(const char* name);
    QLabel* AddHeader(QFrame* panel, const char* versionName);
    void BuildInfoPanel();
    void BuildThanks();
    void BuildCopyR();
    void BuildReadme();
    QLabel* AddLinkRow(const char* captionName, const QString& caption, const char* linkName,
                       const QString& link, int top);

    // One handler for the four buttons: the sender says which panel to show.
    void SpeedButton2Click(const QObject* sender);
    QFrame* PanelOf(const QObject* button) const;
    // Reads "upgrade.vr" into RichEdit3 when the file exists; throws when it
    // can't be read, and RichEdit3 keeps its text.
    void LoadActualInformations();
    void ShowActualInformations(std::unique_ptr<QTextDocument> document);
    void Label39Click();
    void Label17Click();
    // The link under the pointer takes the hover colour, the other its rest.
    void Label39MouseMove();
    void Label17MouseMove();
    // The pointer is on neither link: both at rest.
    void InfoPanelMouseMove();
    void ShowLinkColors(bool mailLit, bool webLit);
    bool LinkEvent(QLabel* link, QEvent* event);

    QFrame* Panel3 = nullptr;             // the button column
    QLabel* Image2 = nullptr;             // its picture
    QToolButton* SpeedButton2 = nullptr;  // "Informations"
    QToolButton* SpeedButton11 = nullptr; // "Special Thanks"
    QToolButton* SpeedButton12 = nullptr; // "Copyrights"
    QToolButton* SpeedButton13 = nullptr; // "Actual Informations"
    QFrame* InfoPanel = nullptr;
    QFrame* Thanks = nullptr;
    QFrame* CopyR = nullptr;
    QFrame* Readme = nullptr;
    QLabel* Label33 = nullptr; // version line on InfoPanel
    QLabel* Label25 = nullptr; // version line on Readme
    QLabel* Label9 = nullptr;  // version line on Thanks
    QLabel* Label39 = nullptr; // e-mail link
    QLabel* Label17 = nullptr; // web link
    QTextEdit* RichEdit3 = nullptr;
    QString versionLine_;
};
