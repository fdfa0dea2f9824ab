#pragma once

#include "Messenger.h"
#include "RouteEngine.h"
#include "SearchPosition.h"
#include "WindowStrip.h"

#include <QPointer>
#include <QString>
#include <memory>

class QApplication;
class AvoidWindow;
class CloseGuard;
class RecoveryKeeper;
class InfoPage;
class MainWindow;
class MessageWindow;
class NavigationPage;
class NotepadPage;
class OptionsPanel;
class OwnDatabasePage;
class PageKeys;
class ProgramSettings;
class StarMapWindow;
class SystemDatabasePage;
class SystemNotes;
enum class FindTarget;

// Before the application exists: in a Wayland session where no platform was
// chosen, run on XWayland, where windows can be placed side by side.
void preferXcbUnderWayland(int argc, char** argv);

// The application's title and icon.
void configureApplication(QApplication& application);

// What start-up needs from outside the windows.
struct StartOptions {
    // The folder of the executable, with a trailing separator: the default
    // place of the data files.
    QString programFolder;
};

// Reports reach the message window once it exists; before that they are
// dropped, as the main window is created before the message window.
class MessageRelay final : public Messenger {
public:
    void setWindow(MessageWindow* window);
    void showMessage(const QString& caption, const QString& text, int kind,
                     const QString& leftButton, const QString& rightButton) override;
    bool messageResult() const override;
    // Without the window, neither answer.
    Choice choose(const QString& caption, const QString& text, int kind, const QString& first,
                  const QString& second) override;

private:
    QPointer<MessageWindow> window_;
};

// The program: builds the four windows and the pages in start-up order and
// wires them to each other. First the main window with its pages, whose
// creation reads the settings and the system database; then the message
// window, the avoid-races window and the star map; none of them shown yet.
// The first showing of the main window loads the core data file and fills
// the lists.
class VantorProgram {
public:
    explicit VantorProgram(StartOptions options);
    ~VantorProgram();
    VantorProgram(const VantorProgram&) = delete;
    VantorProgram& operator=(const VantorProgram&) = delete;

    // The event loop's first act: shows and activates the main window.
    void showMainWindow();
    MainWindow* mainWindow() const { return main_.get(); }

    // The executable's folder with a trailing separator.
    static QString defaultProgramFolder();

private:
    // The tests look at the parts through their own support class.
    friend class ProgramAccess;

    void buildPages();
    void buildSatellites();
    void connectSettings();
    void connectPages();
    void connectDatabasePages();
    void connectSatellites();
    void guardUnsavedWork();
    void keepRecoveryCopies();
    void connectKeys();
    void connectNotes();
    void readStartupData();
    void finishStartup();
    void findFromOutput(FindTarget target, const QString& keyword);

    StartOptions start_;
    // The row, the engine and the relay outlive the windows that use them.
    WindowStrip strip_;
    RouteEngine engine_;
    SearchPosition searchPosition_;
    MessageRelay messenger_;
    std::unique_ptr<MainWindow> main_;
    OptionsPanel* options_ = nullptr;
    NavigationPage* navigation_ = nullptr;
    SystemDatabasePage* systemDatabase_ = nullptr;
    OwnDatabasePage* ownDatabase_ = nullptr;
    NotepadPage* notepad_ = nullptr;
    InfoPage* info_ = nullptr;
    std::unique_ptr<ProgramSettings> settings_;
    MessageWindow* message_ = nullptr;
    AvoidWindow* avoid_ = nullptr;
    StarMapWindow* map_ = nullptr;
    // They go before the windows whose work they look after.
    std::unique_ptr<CloseGuard> closeGuard_;
    std::unique_ptr<RecoveryKeeper> recovery_;
    PageKeys* pageKeys_ = nullptr;
    SystemNotes* notes_ = nullptr;
};
