#pragma once

#include "Messenger.h"
#include "RouteEngine.h"
#include "SearchPosition.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class QTabWidget;
class TBitBtnWithColor;
class TForm2;
class TForm3;
class TForm4;
class TInfoPage;
class TNavigationPage;
class TNotepadPage;
class TOptionsPanel;
class TOrlenFade;
class TOwnDatabasePage;
class TProgramSettings;
class TSystemDatabasePage;
class TWindowStrip;
enum class TFindTarget;

// What start-up needs from outside the windows.
struct TStartOptions {
    // The folder of the executable, with a trailing separator: the default
    // place of the data files.
    QString ProgramFolder;
};

// The main window: the frame, the pictures, the tab row with the five pages
// and the options panel. It owns the route engine, runs start-up and connects
// the pages with each other and with the satellite windows.
class TForm1 : public QWidget, public TMessenger {
    Q_OBJECT

public:
    TForm1(TWindowStrip& strip, TStartOptions options);
    ~TForm1() override;

    // The message window, the avoid window and the star map, once they exist;
    // the main window owns them from here on.
    void AttachSatellites(TForm2* message, TForm3* avoid, TForm4* map);

    void Showme(const QString& caption, const QString& text, int kind, const QString& leftButton,
                const QString& rightButton) override;
    bool MessageResult() const override;

    // Opens the star map beside the main window.
    void Button1Click();
    // Opens or closes the options panel.
    void OButClick();

    TNinjaMatrix& Engine() { return NinjaMatrix1; }
    TNavigationPage& Navigation() const { return *navigation_; }
    TSystemDatabasePage& SystemDatabase() const { return *systemDatabase_; }
    TOwnDatabasePage& OwnDatabase() const { return *ownDatabase_; }
    TNotepadPage& Notepad() const { return *notepad_; }
    TOptionsPanel& OptionsPanel() const { return *options_; }
    TProgramSettings& Settings() const { return *settings_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMainLayout();
    void BuildPages();
    void ConnectPages();
    void ConnectDatabasePages();
    void FormCreate();
    void FormShow();
    void EndItClick();
    void PageControl1Changing();
    void SetPagesShown(bool shown);
    void FindFromOutput(TFindTarget target, const QString& keyword);

    TWindowStrip& strip_;
    TStartOptions start_;
    TNinjaMatrix NinjaMatrix1;
    TSearchPosition SearchPosition;
    std::unique_ptr<TProgramSettings> settings_;
    bool shownOnce_ = false;

    TOrlenFade* OrlenFade1 = nullptr; // title artwork
    TOrlenFade* OrlenFade2 = nullptr; // "Show starmap" picture
    QTabWidget* PageControl1 = nullptr;
    TNavigationPage* navigation_ = nullptr;
    TSystemDatabasePage* systemDatabase_ = nullptr;
    TOwnDatabasePage* ownDatabase_ = nullptr;
    TNotepadPage* notepad_ = nullptr;
    TInfoPage* info_ = nullptr;
    TOptionsPanel* options_ = nullptr;
    TBitBtnWithColor* OBut = nullptr;
    TBitBtnWithColor* EndIt = nullptr;

    QPointer<TForm2> message_;
    QPointer<TForm3> avoid_;
    QPointer<TForm4> map_;
};
