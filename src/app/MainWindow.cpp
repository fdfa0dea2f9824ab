#include "MainWindow.h"

#include "Artwork.h"
#include "AutoLoadOption.h"
#include "AvoidWindow.h"
#include "ColorBitmapButton.h"
#include "Colors.h"
#include "ErrorBox.h"
#include "FadePicture.h"
#include "HintPolicy.h"
#include "InfoPage.h"
#include "Look.h"
#include "MessageWindow.h"
#include "NavigationPage.h"
#include "NotepadPage.h"
#include "OptionsPanel.h"
#include "OwnDatabasePage.h"
#include "ProgramSettings.h"
#include "StarMapWindow.h"
#include "SystemDatabasePage.h"
#include "TreeFile.h"
#include "WindowStrip.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ClientWidth = 486;
constexpr int PagesHeight = 494;
constexpr int OptionsHeight = 245;
constexpr std::uint32_t TabFrame = 0x5A5A5A;
constexpr std::uint32_t SelectedTab = 0x494949;

// A picture at the top of the window as the layout sets both: each keeps
// its picture's size and lets events through between the frames of a fade,
// so that the window stays alive while one runs.
FadePicture* makeFadePicture(QWidget* parent, const char* name, const QPixmap& picture,
                             const QString& spokenName) {
    auto* fade = makeControl<FadePicture>(parent, name);
    fade->setDisolvRate(132);
    fade->setBlendRate(255);
    fade->setStretchToFit(false);
    fade->setProcessMsgs(true);
    fade->setSwapDelay(200);
    fade->setPicFrom(picture);
    fade->setAccessibleName(spokenName);
    return fade;
}

// A colour of the palette as a style sheet writes it.
QString css(std::uint32_t bgr) {
    return fromBgr(bgr).name();
}

// Tabs drawn as flat buttons, narrow enough that all five fit in one row.
QString tabStyle() {
    return QStringLiteral("QTabBar::tab { background: %1; color: %2; border: 1px solid %3;"
                          " padding: 3px 4px; margin-right: 2px; }"
                          "QTabBar::tab:selected { background: %4; color: %5; border-color: %5; }"
                          "QTabBar::tab:hover { color: %5; }")
        .arg(css(Palette::DarkGround), css(Palette::Silver), css(TabFrame), css(SelectedTab),
             css(Palette::Accent));
}

// The engine's colours as the window's layout gives them, and the shipped
// core data file, also when the settings are never read: a start that stops
// early must not load whatever core.vr the current folder holds.
void applyEngineLayout(RouteEngine& engine, const QString& programFolder) {
    applyEngineColors(engine);
    engine.setFilename(QFile::encodeName(programFilePath(programFolder, "core.vr")).toStdString());
}

} // namespace

MainWindow::MainWindow(WindowStrip& strip, StartOptions options)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , strip_(strip)
    , start_(std::move(options)) {
    setObjectName(QStringLiteral("Form1"));
    applyEngineLayout(engine_, start_.programFolder);
    buildMainLayout();
    settings_ = std::make_unique<ProgramSettings>(
        *options_, notepad_->autoLoad(), ownDatabase_->autoLoad(), engine_, start_.programFolder);
    connectPages();
    // An error in any step skips the rest of the creation; the program goes on.
    runGuarded([this] { readStartupData(); });
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

// The satellites go first, while the pages they report to still stand.
MainWindow::~MainWindow() {
    delete map_;
    delete avoid_;
    delete message_;
}

void MainWindow::buildMainLayout() {
    setFixedSize(ClientWidth, PagesHeight);
    // The window shows the program's icon, which the application sets for all.
    setFont(vantorFont(11));

    // Panel1 fills the client area and follows its height in both modes.
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* panel = makeControl<QFrame>(this, "Panel1");
    setColors(panel, Palette::DarkGround, Palette::Silver);
    fill->addWidget(panel);

    titlePicture_ = makeFadePicture(panel, "OrlenFade1", shippedPicture(ShippedPicture::Title),
                                    QStringLiteral("Vantor"));
    place(titlePicture_, 7, 6, 394, 54);
    starMapPicture_ =
        makeFadePicture(panel, "OrlenFade2", shippedPicture(ShippedPicture::StarMapButton),
                        QStringLiteral("Show starmap"));
    starMapPicture_->setToolTip(QStringLiteral("Show starmap"));
    starMapPicture_->setCursor(Qt::PointingHandCursor);
    place(starMapPicture_, 405, 6, 73, 54);

    pages_ = makeControl<QTabWidget>(panel, "PageControl1");
    pages_->tabBar()->setFont(vantorFont(9));
    pages_->tabBar()->setStyleSheet(tabStyle());
    pages_->setIconSize(QSize(16, 16));
    place(pages_, 8, 64, 441, 425);
    buildPages();

    options_ = new OptionsPanel(panel, *this, start_.programFolder);

    optionsButton_ =
        colourButton(panel, "OBut", QString(), QStringLiteral("Options"), vantorFont(11, true));
    optionsButton_->setGlyph(optionsGlyph());
    optionsButton_->setAccessibleName(QStringLiteral("Options"));
    place(optionsButton_, 454, 63, 23, 23);

    closeButton_ =
        colourButton(panel, "EndIt", QStringLiteral("X"), QString(), vantorFont(11, true));
    closeButton_->setAccessibleDescription(QStringLiteral("Closes the program"));
    place(closeButton_, 454, 92, 23, 391);
}

void MainWindow::buildPages() {
    navigation_ = new NavigationPage(pages_, engine_, *this, strip_);
    // The options panel is built after the pages; the links ask it only later.
    const DatabaseLinks links{engine_,
                              *this,
                              searchPosition_,
                              start_.programFolder,
                              [this] { return options_->starMapLinked(); },
                              [this] {
                                  if (!strip_.mapShown()) {
                                      showStarMap();
                                  }
                              }};
    systemDatabase_ = new SystemDatabasePage(pages_, links);
    ownDatabase_ = new OwnDatabasePage(pages_, links);
    notepad_ = new NotepadPage(pages_, *this, searchPosition_);
    info_ = new InfoPage(pages_);
    // The tab icons are pictures 1, 2, 3 and 0 of the image list; Info has none.
    pages_->addTab(navigation_, imageListPicture(1), QStringLiteral("Navigation"));
    pages_->addTab(systemDatabase_, imageListPicture(2), QStringLiteral("System Database"));
    pages_->addTab(ownDatabase_, imageListPicture(3), QStringLiteral("Own Database"));
    pages_->addTab(notepad_, imageListPicture(0), QStringLiteral("Notepad"));
    pages_->addTab(info_, QIcon(), QStringLiteral("Info"));
    pages_->setCurrentWidget(navigation_);
}

void MainWindow::connectPages() {
    const auto updateReg = guarded([this] { settings_->writeSettings(); });
    connect(options_, &OptionsPanel::settingsChanged, this, updateReg);
    connect(&notepad_->autoLoad(), &AutoLoadOption::toggled, this, updateReg);
    connect(notepad_, &NotepadPage::settingsChanged, this, updateReg);
    connect(&ownDatabase_->autoLoad(), &AutoLoadOption::toggled, this, updateReg);
    connect(options_, &OptionsPanel::closeRequested, this,
            guarded([this] { toggleOptionsPanel(); }));
    connect(optionsButton_, &ColorBitmapButton::clicked, this,
            guarded([this] { toggleOptionsPanel(); }));
    connect(closeButton_, &ColorBitmapButton::clicked, this,
            guarded([this] { onCloseButtonClicked(); }));
    connect(ownDatabase_, &OwnDatabasePage::settingsChanged, this, updateReg);
    connect(pages_, &QTabWidget::currentChanged, this, guarded([this] { onPageChanged(); }));
    // The star-map picture lights up while the pointer is over it.
    FadePicture* fade = starMapPicture_;
    connect(fade, &FadePicture::mouseEntered, this, guarded([fade] {
                // The lit picture is drawn when the pointer first comes, not at start.
                if (fade->picTo().isNull()) {
                    fade->setPicTo(shippedPicture(ShippedPicture::StarMapLit));
                }
                fade->blend();
            }));
    connect(fade, &FadePicture::mouseLeft, this, guarded([fade] { fade->blendBack(); }));
    connect(fade, &FadePicture::clicked, this, guarded([this] { showStarMap(); }));
    connectDatabasePages();
    connect(navigation_, &NavigationPage::findRequested, this,
            [this](FindTarget target, const QString& keyword) {
                runGuarded([&] { findFromOutput(target, keyword); });
            });
}

// The way output's popup menu: the page comes to the front and searches.
void MainWindow::findFromOutput(FindTarget target, const QString& keyword) {
    switch (target) {
    case FindTarget::SystemDatabase:
        pages_->setCurrentWidget(systemDatabase_);
        systemDatabase_->findFromOutput(keyword);
        break;
    case FindTarget::OwnDatabase:
        pages_->setCurrentWidget(ownDatabase_);
        ownDatabase_->findFromOutput(keyword);
        break;
    case FindTarget::Notepad:
        pages_->setCurrentWidget(notepad_);
        notepad_->findFromOutput(keyword);
        break;
    }
}

// Both trees follow the two display options, and each tree's popup sends an
// entry to the other tree's search.
void MainWindow::connectDatabasePages() {
    for (DatabasePage* page : std::initializer_list<DatabasePage*>{systemDatabase_, ownDatabase_}) {
        page->setRollOut(options_->rollOut());
        page->setNodeLines(options_->nodeLines());
        connect(options_, &OptionsPanel::rollOutChanged, page, &DatabasePage::setRollOut);
        connect(options_, &OptionsPanel::nodeLinesChanged, page, &DatabasePage::setNodeLines);
    }
    const auto findIn = [this](DatabasePage* page) {
        return [this, page](const QString& text) {
            runGuarded([&] {
                pages_->setCurrentWidget(page);
                page->findFromOutput(text);
            });
        };
    };
    connect(systemDatabase_, &DatabasePage::findInOtherTree, this, findIn(ownDatabase_));
    connect(ownDatabase_, &DatabasePage::findInOtherTree, this, findIn(systemDatabase_));
}

void MainWindow::attachSatellites(MessageWindow* message, AvoidWindow* avoid, StarMapWindow* map) {
    message_ = message;
    avoid_ = avoid;
    map_ = map;
    NavigationPage* navigation = navigation_;
    navigation->setAvoidFlagsSource([avoid] { return avoid->avoidFlags(); });
    connect(avoid, &AvoidWindow::racesChanged, navigation,
            guarded([navigation] { navigation->avoidedRacesChanged(); }));
    connect(map, &StarMapWindow::startPicked, navigation,
            [navigation](int x, int y, const QString& name) {
                runGuarded([&] { navigation->mapStartPicked(x, y, name); });
            });
    connect(map, &StarMapWindow::targetPicked, navigation,
            [navigation](int x, int y, const QString& name) {
                runGuarded([&] { navigation->mapTargetPicked(x, y, name); });
            });
    connect(map, &StarMapWindow::opened, navigation,
            guarded([navigation] { navigation->setMapPicking(true); }));
    connect(map, &StarMapWindow::closed, navigation,
            guarded([navigation] { navigation->setMapPicking(false); }));
}

void MainWindow::readStartupData() {
    setWindowTitle(QStringLiteral("Vantor 1.03 XDR / EV"));
    info_->setVersionLine(QStringLiteral("Version 1.03 Xtended-Database Release / EV"));
    settings_->readSettings();
    systemDatabase_->loadInfoData(options_->infoDataPath());
    searchPosition_.value = 0;
    // Hints come at once and stay five seconds.
    HintPolicy::instance().setTiming(0, 5000);
    options_->showDataFileHints();
}

void MainWindow::finishStartupOnFirstShow() {
    if (map_ != nullptr) {
        map_->bindShapes();
    }
    engine_.loadMatrix();
    navigation_->fillSystemLists();
    ownDatabase_->setListItems(systemDatabase_->searchItems());
    notepad_->setSearchItems(systemDatabase_->searchItems());
    engine_.showDividers();
    strip_.setLeader(Leader::Main);
    settings_->setSettingsReady();
    ownDatabase_->finishStartup();
}

// Whichever page the user turns to, the Info page opens on its first panel
// next time.
void MainWindow::onPageChanged() {
    info_->showInformations();
}

void MainWindow::onCloseButtonClicked() {
    close();
}

void MainWindow::showStarMap() {
    strip_.showMap();
}

void MainWindow::toggleOptionsPanel() {
    if (options_->isHidden()) {
        setPagesShown(false);
        strip_.closeSatellites();
        setFixedSize(ClientWidth, OptionsHeight);
        options_->showGeneralSettings();
        options_->show();
    } else {
        setFixedSize(ClientWidth, PagesHeight);
        options_->hide();
        setPagesShown(true);
    }
}

void MainWindow::setPagesShown(bool shown) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{pages_, optionsButton_, closeButton_, starMapPicture_}) {
        control->setVisible(shown);
    }
}

void MainWindow::showMessage(const QString& caption, const QString& text, int kind,
                             const QString& leftButton, const QString& rightButton) {
    if (message_ != nullptr) {
        message_->showMessage(caption, text, kind, leftButton, rightButton);
    }
}

bool MainWindow::messageResult() const {
    return message_ != nullptr && message_->messageResult();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        // An error skips the rest of the first showing; the window stays up.
        runGuarded([this] { finishStartupOnFirstShow(); });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // The satellites go with the main window, and so does the program.
    runGuarded([this] { strip_.closeSatellites(); });
    QCoreApplication::quit();
}
