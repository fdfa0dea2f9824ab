#include "Startup.h"

#include "Artwork.h"
#include "AutoLoadOption.h"
#include "AvoidWindow.h"
#include "CloseGuard.h"
#include "ColorBitmapButton.h"
#include "ErrorBox.h"
#include "HintPolicy.h"
#include "InfoPage.h"
#include "Look.h"
#include "MainWindow.h"
#include "MessageWindow.h"
#include "NavigationPage.h"
#include "NotepadPage.h"
#include "NotesSnapshot.h"
#include "OptionsPanel.h"
#include "OwnDatabasePage.h"
#include "PageKeys.h"
#include "ProgramSettings.h"
#include "RecoveryKeeper.h"
#include "StarMapWindow.h"
#include "SystemDatabasePage.h"
#include "SystemNotes.h"
#include "TreeFile.h"
#include "TreeText.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QSessionManager>
#include <QTimer>
#include <memory>
#include <string>

namespace {

// The parts of the work that the recovery copies keep, by their place.
constexpr int NotesCopy = 0;
constexpr int EntriesCopy = 1;

} // namespace

void preferXcbUnderWayland(int argc, char** argv) {
#ifdef Q_OS_LINUX
    for (int at = 1; at < argc; ++at) {
        const QByteArray argument(argv[at]);
        if (argument == "-platform" || argument == "--platform" ||
            argument.startsWith("-platform=")) {
            return;
        }
    }
    // The windows of the strip follow each other by placing themselves, which
    // a Wayland compositor doesn't allow.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#endif
}

void configureApplication(QApplication& application) {
    // Only the name: a display name would be appended to every window title.
    // With the maker's name it also names the user's data folder.
    QApplication::setOrganizationName(QStringLiteral("Tessaly"));
    QApplication::setApplicationName(QStringLiteral("Vantor"));
    QApplication::setWindowIcon(programIcon());
    application.setQuitOnLastWindowClosed(true);
    HintPolicy::instance().prepareTiming();
}

void MessageRelay::setWindow(MessageWindow* window) {
    window_ = window;
}

void MessageRelay::showMessage(const QString& caption, const QString& text, int kind,
                               const QString& leftButton, const QString& rightButton) {
    if (window_ != nullptr) {
        window_->showMessage(caption, text, kind, leftButton, rightButton);
    }
}

bool MessageRelay::messageResult() const {
    return window_ != nullptr && window_->messageResult();
}

Choice MessageRelay::choose(const QString& caption, const QString& text, int kind,
                            const QString& first, const QString& second) {
    return window_ != nullptr ? window_->choose(caption, text, kind, first, second)
                              : Choice::Neither;
}

VantorProgram::VantorProgram(StartOptions options)
    : start_(std::move(options))
    , main_(std::make_unique<MainWindow>()) {
    // The engine's colours as the window's layout gives them, and the shipped
    // core data file, also when the settings are never read: a start that
    // stops early must not load whatever core.vr the current folder holds.
    applyEngineColors(engine_);
    engine_.setFilename(
        QFile::encodeName(programFilePath(start_.programFolder, QStringLiteral("core.vr")))
            .toStdString());
    buildPages();
    connectSettings();
    connectPages();
    connectKeys();
    guardUnsavedWork();
    // An error in any step skips the rest of the creation; the program goes on.
    runGuarded([this] { readStartupData(); });
    buildSatellites();
    connectSatellites();
    connectNotes();
}

// What looks after the unsaved work goes first, then the satellites, while
// the pages they report to still stand.
VantorProgram::~VantorProgram() {
    ColorBitmapButton::setHelpHandler({});
    // The guard first: the handlers that reach the copies go with it.
    main_->setCloseCheck({});
    closeGuard_.reset();
    recovery_.reset();
    delete map_;
    delete avoid_;
    delete message_;
}

void VantorProgram::buildPages() {
    MainWindow& main = *main_;
    // The options panel comes first: the database pages ask it whether
    // entries are shown on the star map.
    options_ = new OptionsPanel(main.contentPanel(), messenger_, start_.programFolder);
    main.setOptionsPanel(options_);
    navigation_ = new NavigationPage(&main, engine_, messenger_, strip_);
    OptionsPanel* options = options_;
    WindowStrip& strip = strip_;
    const DatabaseLinks links{engine_,
                              messenger_,
                              searchPosition_,
                              start_.programFolder,
                              [options] { return options->starMapLinked(); },
                              [&strip] {
                                  if (!strip.mapShown()) {
                                      strip.showMap();
                                  }
                              }};
    systemDatabase_ = new SystemDatabasePage(&main, links);
    ownDatabase_ = new OwnDatabasePage(&main, links);
    notepad_ = new NotepadPage(&main, messenger_, searchPosition_);
    info_ = new InfoPage(&main);
    // The tab icons are pictures 1, 2, 3 and 0 of the image list; Info has none.
    main.addPage(navigation_, imageListPicture(1), QStringLiteral("Navigation"));
    main.addPage(systemDatabase_, imageListPicture(2), QStringLiteral("System Database"));
    main.addPage(ownDatabase_, imageListPicture(3), QStringLiteral("Own Database"));
    main.addPage(notepad_, imageListPicture(0), QStringLiteral("Notepad"));
    main.addPage(info_, QIcon(), QStringLiteral("Info"));
    main.showPage(navigation_);
    settings_ = std::make_unique<ProgramSettings>(
        *options_,
        AutoLoadOptions{.notes = notepad_->autoLoad(), .ownData = ownDatabase_->autoLoad()},
        engine_, start_.programFolder);
}

// Every change of an option, a data file or a last import or export writes
// all settings.
void VantorProgram::connectSettings() {
    MainWindow* main = main_.get();
    const auto writeSettings = guarded([this] { settings_->writeSettings(); });
    QObject::connect(options_, &OptionsPanel::settingsChanged, main, writeSettings);
    QObject::connect(&notepad_->autoLoad(), &AutoLoadOption::toggled, main, writeSettings);
    QObject::connect(notepad_, &NotepadPage::settingsChanged, main, writeSettings);
    QObject::connect(&ownDatabase_->autoLoad(), &AutoLoadOption::toggled, main, writeSettings);
    QObject::connect(ownDatabase_, &OwnDatabasePage::settingsChanged, main, writeSettings);
}

void VantorProgram::connectPages() {
    MainWindow* main = main_.get();
    QObject::connect(main, &MainWindow::starMapRequested, main,
                     guarded([this] { strip_.showMap(); }));
    QObject::connect(main, &MainWindow::optionsOpened, main,
                     guarded([this] { strip_.closeSatellites(); }));
    // Whichever page the user turns to, the Info page opens on its first
    // panel next time.
    QObject::connect(main, &MainWindow::pageChanged, main,
                     guarded([this] { info_->showInformations(); }));
    // The program's help is its Info page, for a help button in any window.
    ColorBitmapButton::setHelpHandler(guarded([this] {
        main_->showPage(info_);
        info_->showInformations();
    }));
    QObject::connect(main, &MainWindow::firstShown, main, [this] {
        // An error skips the rest of the first showing; the window stays up.
        runGuarded([this] { finishStartup(); });
        // What start-up built or loaded is the state to come back to.
        ownDatabase_->startHistory();
        // Once the window is up: the work a former run left unsaved.
        QTimer::singleShot(0, main_.get(),
                           guarded([this] { recovery_->offerRestore(messenger_); }));
    });
    QObject::connect(main, &MainWindow::closed, main, [this] {
        // The satellites go with the main window, and so does the program.
        runGuarded([this] { strip_.closeSatellites(); });
        QCoreApplication::quit();
    });
    QObject::connect(navigation_, &NavigationPage::findRequested, main,
                     [this](FindTarget target, const QString& keyword) {
                         runGuarded([&] { findFromOutput(target, keyword); });
                     });
    connectDatabasePages();
}

// The way output's popup menu: the page comes to the front and searches.
void VantorProgram::findFromOutput(FindTarget target, const QString& keyword) {
    switch (target) {
    case FindTarget::SystemDatabase:
        main_->showPage(systemDatabase_);
        systemDatabase_->findFromOutput(keyword);
        break;
    case FindTarget::OwnDatabase:
        main_->showPage(ownDatabase_);
        ownDatabase_->findFromOutput(keyword);
        break;
    case FindTarget::Notepad:
        main_->showPage(notepad_);
        notepad_->findFromOutput(keyword);
        break;
    }
}

// Both trees follow the two display options, and each tree's popup sends an
// entry to the other tree's search.
void VantorProgram::connectDatabasePages() {
    for (DatabasePage* page : std::initializer_list<DatabasePage*>{systemDatabase_, ownDatabase_}) {
        page->setRollOut(options_->rollOut());
        page->setNodeLines(options_->nodeLines());
        QObject::connect(options_, &OptionsPanel::rollOutChanged, page, &DatabasePage::setRollOut);
        QObject::connect(options_, &OptionsPanel::nodeLinesChanged, page,
                         &DatabasePage::setNodeLines);
    }
    const auto findIn = [this](DatabasePage* page) {
        return [this, page](const QString& text) {
            runGuarded([&] {
                main_->showPage(page);
                page->findFromOutput(text);
            });
        };
    };
    QObject::connect(systemDatabase_, &DatabasePage::findInOtherTree, main_.get(),
                     findIn(ownDatabase_));
    QObject::connect(ownDatabase_, &DatabasePage::findInOtherTree, main_.get(),
                     findIn(systemDatabase_));
}

// The message window, the avoid window and the star map; the main window
// owns them from here on.
void VantorProgram::buildSatellites() {
    MainWindow* main = main_.get();
    message_ = new MessageWindow(main);
    messenger_.setWindow(message_);
    avoid_ = new AvoidWindow(strip_, main);
    map_ = new StarMapWindow(engine_, main);
    strip_.setWindows(main, avoid_, map_);
}

void VantorProgram::connectSatellites() {
    NavigationPage* navigation = navigation_;
    AvoidWindow* avoid = avoid_;
    navigation->setAvoidFlagsSource([avoid] { return avoid->avoidFlags(); });
    QObject::connect(avoid, &AvoidWindow::racesChanged, navigation,
                     guarded([navigation] { navigation->avoidedRacesChanged(); }));
    QObject::connect(map_, &StarMapWindow::startPicked, navigation,
                     [navigation](int x, int y, const QString& name) {
                         runGuarded([&] { navigation->mapStartPicked(x, y, name); });
                     });
    QObject::connect(map_, &StarMapWindow::targetPicked, navigation,
                     [navigation](int x, int y, const QString& name) {
                         runGuarded([&] { navigation->mapTargetPicked(x, y, name); });
                     });
    QObject::connect(map_, &StarMapWindow::opened, navigation,
                     guarded([navigation] { navigation->setMapPicking(true); }));
    QObject::connect(map_, &StarMapWindow::closed, navigation,
                     guarded([navigation] { navigation->setMapPicking(false); }));
}

// The notepad and the own database: the question before the program closes
// with unsaved changes, the marks on their tabs, and the copies kept of them
// meanwhile.
void VantorProgram::guardUnsavedWork() {
    NotepadPage* notepad = notepad_;
    OwnDatabasePage* own = ownDatabase_;
    // The notepad first: it may ask for a file name, which the user may cancel.
    closeGuard_ = std::make_unique<CloseGuard>(
        messenger_,
        QList<UnsavedPart>{{QStringLiteral("the notepad"), [notepad] { return notepad->unsaved(); },
                            [notepad] {
                                return notepad->saveUnsaved();
                            }},
                           {QStringLiteral("the own database"), [own] { return own->unsaved(); },
                            [own] {
                                own->saveUnsaved();
                                return true;
                            }}});
    CloseGuard* guard = closeGuard_.get();
    main_->setCloseCheck([guard] { return guard->mayClose(); });
    keepRecoveryCopies();

    RecoveryKeeper* recovery = recovery_.get();
    MainWindow* main = main_.get();
    const auto onChanged = [recovery, guard](int part) {
        return guarded([recovery, guard, part] {
            recovery->partChanged(part);
            guard->workChanged();
        });
    };
    const auto onUnsavedChanged = [recovery, main](QWidget* page, int part) {
        return [recovery, main, page, part](bool unsaved) {
            runGuarded([&] {
                main->markUnsaved(page, unsaved);
                recovery->savedStateChanged(part);
            });
        };
    };
    QObject::connect(notepad, &NotepadPage::changed, guard, onChanged(NotesCopy));
    QObject::connect(notepad, &NotepadPage::unsavedChanged, guard,
                     onUnsavedChanged(notepad, NotesCopy));
    QObject::connect(own, &OwnDatabasePage::changed, guard, onChanged(EntriesCopy));
    QObject::connect(own, &OwnDatabasePage::unsavedChanged, guard,
                     onUnsavedChanged(own, EntriesCopy));
    QObject::connect(guard, &CloseGuard::discarded, recovery,
                     guarded([recovery] { recovery->discard(); }));
    QObject::connect(guard, &CloseGuard::endingUnasked, recovery,
                     guarded([recovery] { recovery->writeNow(); }));
    // The end of the desktop session asks as a close does; cancelling the
    // question cancels the end.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, guard,
                     [guard](QSessionManager& session) {
                         const bool mayAsk = session.allowsInteraction();
                         bool mayEnd = true;
                         runGuarded([&] { mayEnd = guard->mayEndSession(mayAsk); });
                         if (!mayEnd) {
                             session.cancel();
                         }
                         if (mayAsk) {
                             session.release();
                         }
                     });
}

// A copy of each part's unsaved work in the program's data folder, in the
// order of NotesCopy and EntriesCopy.
void VantorProgram::keepRecoveryCopies() {
    NotepadPage* notepad = notepad_;
    OwnDatabasePage* own = ownDatabase_;
    recovery_ = std::make_unique<RecoveryKeeper>(
        RecoveryKeeper::defaultFolder(),
        QList<RecoveryPart>{
            {QStringLiteral("notepad.rtf"), QStringLiteral("the notepad"),
             [notepad] { return notepad->unsaved(); },
             [notepad] {
                 return [snapshot = std::make_shared<NotesSnapshot>(notepad->notes())] {
                     return snapshot->rtf();
                 };
             },
             [notepad](const QString& path) {
                 notepad->restoreNotes(path);
             }},
            {QStringLiteral("owndata.txt"), QStringLiteral("the own database"),
             [own] { return own->unsaved(); },
             [own] {
                 // Made into bytes of its own on the writing thread.
                 return [text = std::make_shared<std::string>(writeTree(own->entries()))] {
                     return QByteArray::fromStdString(*text);
                 };
             },
             [own](const QString& path) {
                 own->restoreEntries(path);
             }}});
}

// The keys of the common actions, page by page in tab order.
void VantorProgram::connectKeys() {
    pageKeys_ = new PageKeys(*main_);
    pageKeys_->addPage(navigation_, navigation_);
    pageKeys_->addPage(systemDatabase_, systemDatabase_);
    pageKeys_->addPage(ownDatabase_, ownDatabase_);
    pageKeys_->addPage(notepad_, notepad_);
    pageKeys_->addPage(info_, nullptr);
}

// The user's notes on the systems, on the star map and in the hints of the
// way's lines. The map takes them whenever it opens and, while it is open,
// whenever the own database changes.
void VantorProgram::connectNotes() {
    notes_ = new SystemNotes(ownDatabase_->treeModel(), engine_, main_.get());
    SystemNotes* notes = notes_;
    StarMapWindow* map = map_;
    navigation_->setNotesSource(
        [notes](SectorPosition system) { return notes->notesOf(system.column, system.row); });
    const auto showNotes = [notes, map] {
        map->setSystemNotes(notes->notes());
    };
    QObject::connect(map, &StarMapWindow::opened, map, guarded(showNotes));
    QObject::connect(notes, &SystemNotes::changed, map, guarded([map, showNotes] {
                         if (map->isVisible()) {
                             showNotes();
                         }
                     }));
}

// The main window's creation: its caption, the settings and the system
// database.
void VantorProgram::readStartupData() {
    main_->setWindowTitle(QStringLiteral("Vantor 1.03 XDR / EV"));
    info_->setVersionLine(QStringLiteral("Version 1.03 Xtended-Database Release / EV"));
    settings_->readSettings();
    systemDatabase_->loadInfoData(options_->infoDataPath());
    searchPosition_.value = 0;
    // Hints come at once and stay five seconds.
    HintPolicy::instance().setTiming(0, 5000);
    options_->showDataFileHints();
}

// The main window's first showing: the core data file, the lists and the
// own database; from then on the settings may be written.
void VantorProgram::finishStartup() {
    if (map_ != nullptr) {
        map_->bindShapes();
    }
    engine_.loadMatrix();
    navigation_->fillSystemLists();
    ownDatabase_->setLists(systemDatabase_->searchList());
    notepad_->setSearchList(systemDatabase_->searchList());
    engine_.showDividers();
    strip_.setLeader(Leader::Main);
    settings_->setSettingsReady();
    ownDatabase_->finishStartup();
}

void VantorProgram::showMainWindow() {
    MainWindow* main = main_.get();
    main->show();
    main->raise();
    main->activateWindow();
}

QString VantorProgram::defaultProgramFolder() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}
