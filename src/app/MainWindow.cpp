#include "MainWindow.h"

#include "Artwork.h"
#include "AvoidWindow.h"
#include "AutoLoadOption.h"
#include "ColorBitmapButton.h"
#include "Colors.h"
#include "ErrorBox.h"
#include "HintPolicy.h"
#include "InfoPage.h"
#include "Look.h"
#include "NavigationPage.h"
#include "NotepadPage.h"
#include "OptionsPanel.h"
#include "FadePicture.h"
#include "OwnDatabasePage.h"
#include "ProgramSettings.h"
#include "SystemDatabasePage.h"
#include "TreeFile.h"
#include "WindowStrip.h"
#include "StarMapWindow.h"
#include "MessageWindow.h"

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
TOrlenFade* FadePicture(QWidget* parent, const char* name, const QPixmap& picture,
                        const QString& spokenName) {
    auto* fade = MakeControl<TOrlenFade>(parent, name);
    fade->SetDisolvRate(132);
    fade->SetBlendRate(255);
    fade->SetStretchToFit(false);
    fade->SetProcessMsgs(true);
    fade->SetSwapDelay(200);
    fade->SetPicFrom(picture);
    fade->setAccessibleName(spokenName);
    return fade;
}

// A colour of the palette as a style sheet writes it.
QString Css(std::uint32_t bgr) {
    return FromBgr(bgr).name();
}

// Tabs drawn as flat buttons, narrow enough that all five fit in one row.
QString TabStyle() {
    return QStringLiteral("QTabBar::tab { background: %1; color: %2; border: 1px solid %3;"
                          " padding: 3px 4px; margin-right: 2px; }"
                          "QTabBar::tab:selected { background: %4; color: %5; border-color: %5; }"
                          "QTabBar::tab:hover { color: %5; }")
        .arg(Css(Palette::DarkGround), Css(Palette::Silver), Css(TabFrame), Css(SelectedTab),
             Css(Palette::Accent));
}

// The engine's colours as the window's layout gives them, and the shipped
// core data file, also when the settings are never read: a start that stops
// early must not load whatever core.vr the current folder holds.
void ApplyEngineLayout(TNinjaMatrix& engine, const QString& programFolder) {
    ApplyEngineColors(engine);
    engine.SetFilename(QFile::encodeName(ProgramFilePath(programFolder, "core.vr")).toStdString());
}

} // namespace

TForm1::TForm1(TWindowStrip& strip, TStartOptions options)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , strip_(strip)
    , start_(std::move(options)) {
    setObjectName(QStringLiteral("Form1"));
    ApplyEngineLayout(NinjaMatrix1, start_.ProgramFolder);
    BuildMainLayout();
    settings_ = std::make_unique<TProgramSettings>(*options_, notepad_->AutoLoad(),
                                                   ownDatabase_->AutoLoad(), NinjaMatrix1,
                                                   start_.ProgramFolder);
    ConnectPages();
    // An error in any step skips the rest of the creation; the program goes on.
    RunGuarded([this] { FormCreate(); });
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

// The satellites go first, while the pages they report to still stand.
TForm1::~TForm1() {
    delete map_;
    delete avoid_;
    delete message_;
}

void TForm1::BuildMainLayout() {
    setFixedSize(ClientWidth, PagesHeight);
    // The window shows the program's icon, which the application sets for all.
    setFont(VantorFont(11));

    // Panel1 fills the client area and follows its height in both modes.
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* panel = MakeControl<QFrame>(this, "Panel1");
    SetColors(panel, Palette::DarkGround, Palette::Silver);
    fill->addWidget(panel);

    OrlenFade1 = FadePicture(panel, "OrlenFade1", ShippedPicture(TShippedPicture::Title),
                             QStringLiteral("Vantor"));
    Place(OrlenFade1, 7, 6, 394, 54);
    OrlenFade2 = FadePicture(panel, "OrlenFade2", ShippedPicture(TShippedPicture::StarMapButton),
                             QStringLiteral("Show starmap"));
    OrlenFade2->setToolTip(QStringLiteral("Show starmap"));
    OrlenFade2->setCursor(Qt::PointingHandCursor);
    Place(OrlenFade2, 405, 6, 73, 54);

    PageControl1 = MakeControl<QTabWidget>(panel, "PageControl1");
    PageControl1->tabBar()->setFont(VantorFont(9));
    PageControl1->tabBar()->setStyleSheet(TabStyle());
    PageControl1->setIconSize(QSize(16, 16));
    Place(PageControl1, 8, 64, 441, 425);
    BuildPages();

    options_ = new TOptionsPanel(panel, *this, start_.ProgramFolder);

    OBut = ColourButton(panel, "OBut", QString(), QStringLiteral("Options"), VantorFont(11, true));
    OBut->SetGlyph(OptionsGlyph());
    OBut->setAccessibleName(QStringLiteral("Options"));
    Place(OBut, 454, 63, 23, 23);

    EndIt = ColourButton(panel, "EndIt", QStringLiteral("X"), QString(), VantorFont(11, true));
    EndIt->setAccessibleDescription(QStringLiteral("Closes the program"));
    Place(EndIt, 454, 92, 23, 391);
}

void TForm1::BuildPages() {
    navigation_ = new TNavigationPage(PageControl1, NinjaMatrix1, *this, strip_);
    // The options panel is built after the pages; the links ask it only later.
    const TDatabaseLinks links{NinjaMatrix1,
                               *this,
                               SearchPosition,
                               start_.ProgramFolder,
                               [this] { return options_->StarMapLinked(); },
                               [this] {
                                   if (!strip_.MapShown()) {
                                       Button1Click();
                                   }
                               }};
    systemDatabase_ = new TSystemDatabasePage(PageControl1, links);
    ownDatabase_ = new TOwnDatabasePage(PageControl1, links);
    notepad_ = new TNotepadPage(PageControl1, *this, SearchPosition);
    info_ = new TInfoPage(PageControl1);
    // The tab icons are pictures 1, 2, 3 and 0 of the image list; Info has none.
    PageControl1->addTab(navigation_, ImageListPicture(1), QStringLiteral("Navigation"));
    PageControl1->addTab(systemDatabase_, ImageListPicture(2), QStringLiteral("System Database"));
    PageControl1->addTab(ownDatabase_, ImageListPicture(3), QStringLiteral("Own Database"));
    PageControl1->addTab(notepad_, ImageListPicture(0), QStringLiteral("Notepad"));
    PageControl1->addTab(info_, QIcon(), QStringLiteral("Info"));
    PageControl1->setCurrentWidget(navigation_);
}

void TForm1::ConnectPages() {
    const auto updateReg = Guarded([this] { settings_->UpdateReg(); });
    connect(options_, &TOptionsPanel::SettingsChanged, this, updateReg);
    connect(&notepad_->AutoLoad(), &TAutoLoadOption::Toggled, this, updateReg);
    connect(notepad_, &TNotepadPage::SettingsChanged, this, updateReg);
    connect(&ownDatabase_->AutoLoad(), &TAutoLoadOption::Toggled, this, updateReg);
    connect(options_, &TOptionsPanel::CloseRequested, this, Guarded([this] { OButClick(); }));
    connect(OBut, &TBitBtnWithColor::clicked, this, Guarded([this] { OButClick(); }));
    connect(EndIt, &TBitBtnWithColor::clicked, this, Guarded([this] { EndItClick(); }));
    connect(ownDatabase_, &TOwnDatabasePage::SettingsChanged, this, updateReg);
    connect(PageControl1, &QTabWidget::currentChanged, this,
            Guarded([this] { PageControl1Changing(); }));
    // The star-map picture lights up while the pointer is over it.
    TOrlenFade* fade = OrlenFade2;
    connect(fade, &TOrlenFade::OnMouseEnter, this, Guarded([fade] {
                // The lit picture is drawn when the pointer first comes, not at start.
                if (fade->PicTo().isNull()) {
                    fade->SetPicTo(ShippedPicture(TShippedPicture::StarMapLit));
                }
                fade->Blend();
            }));
    connect(fade, &TOrlenFade::OnMouseLeave, this, Guarded([fade] { fade->BlendBack(); }));
    connect(fade, &TOrlenFade::OnClick, this, Guarded([this] { Button1Click(); }));
    ConnectDatabasePages();
    connect(navigation_, &TNavigationPage::FindRequested, this,
            [this](TFindTarget target, const QString& keyword) {
                RunGuarded([&] { FindFromOutput(target, keyword); });
            });
}

// The way output's popup menu: the page comes to the front and searches.
void TForm1::FindFromOutput(TFindTarget target, const QString& keyword) {
    switch (target) {
    case TFindTarget::SystemDatabase:
        PageControl1->setCurrentWidget(systemDatabase_);
        systemDatabase_->FindFromOutput(keyword);
        break;
    case TFindTarget::OwnDatabase:
        PageControl1->setCurrentWidget(ownDatabase_);
        ownDatabase_->FindFromOutput(keyword);
        break;
    case TFindTarget::Notepad:
        PageControl1->setCurrentWidget(notepad_);
        notepad_->FindFromOutput(keyword);
        break;
    }
}

// Both trees follow the two display options, and each tree's popup sends an
// entry to the other tree's search.
void TForm1::ConnectDatabasePages() {
    for (TDatabasePage* page :
         std::initializer_list<TDatabasePage*>{systemDatabase_, ownDatabase_}) {
        page->SetRollOut(options_->RollOut());
        page->SetNodeLines(options_->NodeLines());
        connect(options_, &TOptionsPanel::RollOutChanged, page, &TDatabasePage::SetRollOut);
        connect(options_, &TOptionsPanel::NodeLinesChanged, page, &TDatabasePage::SetNodeLines);
    }
    const auto findIn = [this](TDatabasePage* page) {
        return [this, page](const QString& text) {
            RunGuarded([&] {
                PageControl1->setCurrentWidget(page);
                page->FindFromOutput(text);
            });
        };
    };
    connect(systemDatabase_, &TDatabasePage::FindInOtherTree, this, findIn(ownDatabase_));
    connect(ownDatabase_, &TDatabasePage::FindInOtherTree, this, findIn(systemDatabase_));
}

void TForm1::AttachSatellites(TForm2* message, TForm3* avoid, TForm4* map) {
    message_ = message;
    avoid_ = avoid;
    map_ = map;
    TNavigationPage* navigation = navigation_;
    navigation->SetAvoidFlagsSource([avoid] { return avoid->Flags(); });
    connect(avoid, &TForm3::RacesChanged, navigation,
            Guarded([navigation] { navigation->AvoidedRacesChanged(); }));
    connect(map, &TForm4::StartPicked, navigation, [navigation](int x, int y, const QString& name) {
        RunGuarded([&] { navigation->MapStartPicked(x, y, name); });
    });
    connect(map, &TForm4::TargetPicked, navigation,
            [navigation](int x, int y, const QString& name) {
                RunGuarded([&] { navigation->MapTargetPicked(x, y, name); });
            });
    connect(map, &TForm4::Opened, navigation,
            Guarded([navigation] { navigation->SetMapPicking(true); }));
    connect(map, &TForm4::Closed, navigation,
            Guarded([navigation] { navigation->SetMapPicking(false); }));
}

void TForm1::FormCreate() {
    setWindowTitle(QStringLiteral("Vantor 1.03 XDR / EV"));
    info_->SetVersionLine(QStringLiteral("Version 1.03 Xtended-Database Release / EV"));
    settings_->ReadSettings();
    systemDatabase_->LoadInfoData(options_->InfoDataPath());
    SearchPosition.Value = 0;
    // Hints come at once and stay five seconds.
    THintPolicy::Instance().SetTiming(0, 5000);
    options_->ShowDataFileHints();
}

void TForm1::FormShow() {
    if (map_ != nullptr) {
        map_->BindShapes();
    }
    NinjaMatrix1.LoadMatrix();
    navigation_->FillSystemLists();
    ownDatabase_->SetListItems(systemDatabase_->SearchItems());
    notepad_->SetSearchItems(systemDatabase_->SearchItems());
    NinjaMatrix1.ShowDividers();
    strip_.SetLeader(TLeader::Main);
    settings_->SetSettingsReady();
    ownDatabase_->FinishStartup();
}

// Whichever page the user turns to, the Info page opens on its first panel
// next time.
void TForm1::PageControl1Changing() {
    info_->ShowInformations();
}

void TForm1::EndItClick() {
    close();
}

void TForm1::Button1Click() {
    strip_.ShowMap();
}

void TForm1::OButClick() {
    if (options_->isHidden()) {
        SetPagesShown(false);
        strip_.CloseSatellites();
        setFixedSize(ClientWidth, OptionsHeight);
        options_->SpeedButton6Click();
        options_->show();
    } else {
        setFixedSize(ClientWidth, PagesHeight);
        options_->hide();
        SetPagesShown(true);
    }
}

void TForm1::SetPagesShown(bool shown) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{PageControl1, OBut, EndIt, OrlenFade2}) {
        control->setVisible(shown);
    }
}

void TForm1::Showme(const QString& caption, const QString& text, int kind,
                    const QString& leftButton, const QString& rightButton) {
    if (message_ != nullptr) {
        message_->Show(caption, text, kind, leftButton, rightButton);
    }
}

bool TForm1::MessageResult() const {
    return message_ != nullptr && message_->MessageResult();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        // An error skips the rest of the first showing; the window stays up.
        RunGuarded([this] { FormShow(); });
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // The satellites go with the main window, and so does the program.
    RunGuarded([this] { strip_.CloseSatellites(); });
    QCoreApplication::quit();
}
