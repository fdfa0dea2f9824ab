#include "main.h"

#include "Artwork.h"
#include "Ausw.h"
#include "Colors.h"
#include "ErrorBox.h"
#include "Look.h"
#include "MatrixShape.h"
#include "RichEditSink.h"
#include "mappy.h"
#include "warn.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace {

constexpr int ClientWidth = 486;
constexpr int PagesHeight = 494;
constexpr int OptionsHeight = 245;

// A still picture that answers a click; the fading picture control replaces it.
class TPictureLabel : public QLabel {
public:
    TPictureLabel(QWidget* parent, std::function<void()> clicked)
        : QLabel(parent)
        , clicked_(std::move(clicked)) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (clicked_ && event->button() == Qt::LeftButton &&
            rect().contains(event->position().toPoint())) {
            RunGuarded(clicked_);
        }
    }

private:
    std::function<void()> clicked_;
};

QLabel* Picture(QWidget* parent, const char* name, const QPixmap& pixmap, const QString& hint,
                std::function<void()> clicked = {}) {
    auto* picture = new TPictureLabel(parent, std::move(clicked));
    picture->setObjectName(QString::fromLatin1(name));
    picture->setPixmap(pixmap);
    picture->setToolTip(hint);
    picture->setAccessibleName(hint);
    return picture;
}

QWidget* AddPage(QTabWidget* pages, const char* name, const QString& caption, const QIcon& icon) {
    auto* page = MakeControl<QWidget>(pages, name);
    SetColors(page, Palette::DarkGround, Palette::Silver);
    pages->addTab(page, icon, caption);
    return page;
}

// The engine's colours and file name as the main window's layout gives them.
void ApplyEngineLayout(TNinjaMatrix& engine) {
    engine.SetFilename("core.vr");
    engine.SetRace1Color(55807);
    engine.SetRace2Color(16711808);
    engine.SetRace3Color(Palette::Teal);
    engine.SetRace4Color(33023);
    engine.SetRace5Color(16563715);
    engine.SetRace6Color(Palette::Red);
    engine.SetStartPointColor(Palette::Green);
    engine.SetTargetPointColor(Palette::Red);
    engine.SetDividerColor(Palette::Accent);
    engine.SetHighlightDividerColor(Palette::White);
    engine.SetWayPointColor(Palette::White);
    engine.SetHighLightColor(Palette::White);
}

} // namespace

TForm1::TForm1(TWindows& windows, TStartOptions options)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , windows_(windows)
    , options_(std::move(options)) {
    windows_.Form1 = this;
    setObjectName(QStringLiteral("Form1"));
    BuildMainLayout();
    ApplyEngineLayout(NinjaMatrix1);
    waySink_ = std::make_unique<TRichEditSink>(RichEdit1);
    NinjaMatrix1.SetOutPutField(waySink_.get());
    st.SetDivider(" through");
    // An error in any step skips the rest of the creation; the program goes on.
    RunGuarded([this] { FormCreate(); });
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TForm1::~TForm1() {
    // The engine must not write into the box while the widgets go away.
    NinjaMatrix1.SetOutPutField(nullptr);
}

void TForm1::BuildMainLayout() {
    setFixedSize(ClientWidth, PagesHeight);
    setFont(VantorFont(11));
    setWindowIcon(ProgramIcon());

    // Panel1 fills the client area and follows its height in both modes.
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    Panel1 = MakeControl<QFrame>(this, "Panel1");
    SetColors(Panel1, Palette::DarkGround, Palette::Silver);
    fill->addWidget(Panel1);

    OrlenFade1 = Picture(Panel1, "OrlenFade1", TitleArtwork(QSize(394, 54)), QString());
    OrlenFade1->setAccessibleName(QStringLiteral("Vantor"));
    Place(OrlenFade1, 7, 6, 394, 54);
    OrlenFade2 = Picture(Panel1, "OrlenFade2", StarMapPicture(QSize(73, 54)),
                         QStringLiteral("Show starmap"), [this] { Button1Click(); });
    Place(OrlenFade2, 405, 6, 73, 54);

    for (int index = 0; index < ImageListCount; ++index) {
        ImageList1 << ImageListPicture(index);
    }
    PageControl1 = MakeControl<QTabWidget>(Panel1, "PageControl1");
    PageControl1->tabBar()->setFont(VantorFont(9));
    // Tabs drawn as flat buttons, narrow enough that all five fit in one row.
    PageControl1->tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { background: #303030; color: #C0C0C0; border: 1px solid #5A5A5A;"
        " padding: 3px 4px; margin-right: 2px; }"
        "QTabBar::tab:selected { background: #494949; color: #FFBE37; border-color: #FFBE37; }"
        "QTabBar::tab:hover { color: #FFBE37; }"));
    PageControl1->setIconSize(QSize(16, 16));
    Place(PageControl1, 8, 64, 441, 425);
    TabSheet3 = AddPage(PageControl1, "TabSheet3", QStringLiteral("Navigation"), ImageList1[1]);
    TabSheet1 =
        AddPage(PageControl1, "TabSheet1", QStringLiteral("System Database"), ImageList1[2]);
    TabSheet5 = AddPage(PageControl1, "TabSheet5", QStringLiteral("Own Database"), ImageList1[3]);
    TabSheet4 = AddPage(PageControl1, "TabSheet4", QStringLiteral("Notepad"), ImageList1[0]);
    TabSheet2 = AddPage(PageControl1, "TabSheet2", QStringLiteral("Info"), QIcon());
    PageControl1->setCurrentWidget(TabSheet3);
    connect(PageControl1, &QTabWidget::currentChanged, this,
            Guarded([this] { PageControl1Changing(); }));

    OBut = MakeControl<QToolButton>(Panel1, "OBut");
    OBut->setIcon(OptionsGlyph());
    OBut->setAutoRaise(true);
    OBut->setToolTip(QStringLiteral("Options"));
    OBut->setAccessibleName(QStringLiteral("Options"));
    Place(OBut, 454, 63, 23, 23);
    connect(OBut, &QToolButton::clicked, this, Guarded([this] { OButClick(); }));

    EndIt = MakeControl<QToolButton>(Panel1, "EndIt");
    SetButtonCaption(EndIt, QStringLiteral("X"));
    EndIt->setAccessibleDescription(QStringLiteral("Closes the program"));
    EndIt->setFont(VantorFont(11, true));
    EndIt->setAutoRaise(true);
    SetTextColor(EndIt, Palette::Accent);
    Place(EndIt, 454, 92, 23, 391);
    connect(EndIt, &QToolButton::clicked, this, Guarded([this] { EndItClick(); }));

    BuildNavigationPage();
    BuildOptionsPanel();
    BuildAutoLoadBoxes();
}

void TForm1::FormCreate() {
    setWindowTitle(QStringLiteral("Vantor 1.03 XDR / EV"));
    SettingsReady = false;
    MainLeads = false;
    MapLeads = false;
    AvoidLeads = false;
    StarMapLinked = true;
    SearchPosition = 0;
    ReadSettings();
    // The system database tree and its search list are loaded here once
    // their page exists.
    SearchPosition = 0;
    ApplyHintTimingAndMarkers();
}

void TForm1::FormShow() {
    BindStarMap();
    NinjaMatrix1.LoadMatrix();
    FillSystemLists();
    NinjaMatrix1.ShowDividers();
    MainLeads = true;
    SettingsReady = true;
}

void TForm1::FormActivate() {
    MainLeads = true;
    AvoidLeads = false;
    MapLeads = false;
}

void TForm1::EndItClick() {
    close();
}

bool TForm1::PageControl1Changing() {
    // The Info page goes back to its first panel here once it has its panels.
    return true;
}

void TForm1::OButClick() {
    if (Options->isHidden()) {
        SetPagesShown(false);
        CloseSatellites();
        setFixedSize(ClientWidth, OptionsHeight);
        SpeedButton6Click();
        Options->show();
    } else {
        setFixedSize(ClientWidth, PagesHeight);
        Options->hide();
        SetPagesShown(true);
    }
}

void TForm1::SetPagesShown(bool shown) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{PageControl1, OBut, EndIt, OrlenFade2}) {
        control->setVisible(shown);
    }
}

void TForm1::CloseSatellites() {
    if (windows_.Form4 != nullptr) {
        windows_.Form4->close();
    }
    if (windows_.Form3 != nullptr) {
        windows_.Form3->close();
    }
}

void TForm1::BindStarMap() {
    const TForm4* map = windows_.Form4;
    if (map == nullptr) {
        return;
    }
    for (int x = 0; x < TNinjaMatrix::GridSize; ++x) {
        for (int y = 0; y < TNinjaMatrix::GridSize; ++y) {
            NinjaMatrix1.BindSectorShape(x, y, map->SectorShape(x, y));
        }
    }
    for (int x = 0; x < TNinjaMatrix::GridSize; ++x) {
        for (int y = 0; y < TNinjaMatrix::GridSize - 1; ++y) {
            NinjaMatrix1.BindDivider(TNinjaMatrix::NorthSouthDividerIndex(x, y),
                                     map->MatrixShape(65 + 8 * y + x));
        }
    }
    for (int y = 0; y < TNinjaMatrix::GridSize; ++y) {
        for (int x = 0; x < TNinjaMatrix::GridSize - 1; ++x) {
            NinjaMatrix1.BindDivider(TNinjaMatrix::EastWestDividerIndex(x, y),
                                     map->MatrixShape(121 + 7 * y + x));
        }
    }
}

void TForm1::Showme(const QString& caption, const QString& text, int kind,
                    const QString& leftButton, const QString& rightButton) {
    if (windows_.Form2 != nullptr) {
        windows_.Form2->Show(caption, text, kind, leftButton, rightButton);
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        // An error skips the rest of the first showing; the window stays up.
        RunGuarded([this] { FormShow(); });
    }
}

void TForm1::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    RunGuarded([this] { FormMoved(); });
}

void TForm1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        RunGuarded([this] { FormActivate(); });
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    // The satellites go with the main window, and so does the program.
    RunGuarded([this] { CloseSatellites(); });
    QCoreApplication::quit();
}
