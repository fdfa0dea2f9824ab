#include "MainWindow.h"

#include "Artwork.h"
#include "ColorBitmapButton.h"
#include "Colors.h"
#include "ErrorBox.h"
#include "FadePicture.h"
#include "Look.h"
#include "OptionsPanel.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
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

// Tabs drawn as flat buttons, narrow enough that all five fit in one row,
// also with the marker of unsaved work on two of them.
QString tabStyle() {
    return QStringLiteral("QTabBar::tab { background: %1; color: %2; border: 1px solid %3;"
                          " padding: 3px 3px; margin-right: 1px; }"
                          "QTabBar::tab:selected { background: %4; color: %5; border-color: %5; }"
                          "QTabBar::tab:hover { color: %5; }")
        .arg(css(Palette::DarkGround), css(Palette::Silver), css(TabFrame), css(SelectedTab),
             css(Palette::Accent));
}

} // namespace

MainWindow::MainWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form1"));
    buildLayout();
    connectControls();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void MainWindow::buildLayout() {
    setFixedSize(ClientWidth, PagesHeight);
    // The window shows the program's icon, which the application sets for all.
    setFont(vantorFont(11));

    // Panel1 fills the client area and follows its height in both modes.
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    auto* panel = makeControl<QFrame>(this, "Panel1");
    setColors(panel, Palette::DarkGround, Palette::Silver);
    fill->addWidget(panel);
    contentPanel_ = panel;

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

void MainWindow::connectControls() {
    connect(optionsButton_, &ColorBitmapButton::clicked, this,
            guarded([this] { toggleOptionsPanel(); }));
    connect(closeButton_, &ColorBitmapButton::clicked, this, guarded([this] { close(); }));
    connect(pages_, &QTabWidget::currentChanged, this, [this] { emit pageChanged(); });
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
    connect(fade, &FadePicture::clicked, this, [this] { emit starMapRequested(); });
}

void MainWindow::addPage(QWidget* page, const QIcon& icon, const QString& caption) {
    pages_->addTab(page, icon, caption);
}

void MainWindow::showPage(QWidget* page) {
    pages_->setCurrentWidget(page);
}

// The marker is part of the tab's text, so that it is read out with it too.
void MainWindow::markUnsaved(QWidget* page, bool unsaved) {
    const QString marker = QStringLiteral(" *");
    const int tab = pages_->indexOf(page);
    QString caption = pages_->tabText(tab);
    if (caption.endsWith(marker)) {
        caption.chop(marker.size());
    }
    pages_->setTabText(tab, unsaved ? caption + marker : caption);
}

QWidget* MainWindow::currentPage() const {
    return pages_->currentWidget();
}

QString MainWindow::pageCaption(QWidget* page) const {
    return pages_->tabText(pages_->indexOf(page));
}

void MainWindow::setPageHint(QWidget* page, const QString& hint) {
    pages_->setTabToolTip(pages_->indexOf(page), hint);
}

void MainWindow::setOptionsPanel(OptionsPanel* options) {
    options_ = options;
    connect(options_, &OptionsPanel::closeRequested, this,
            guarded([this] { toggleOptionsPanel(); }));
}

void MainWindow::toggleOptionsPanel() {
    if (options_->isHidden()) {
        setPagesShown(false);
        emit optionsOpened();
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

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        emit firstShown();
    }
}

void MainWindow::setCloseCheck(std::function<bool()> mayClose) {
    mayClose_ = std::move(mayClose);
}

// A check that fails keeps the window open, as the user's work may be at stake.
void MainWindow::closeEvent(QCloseEvent* event) {
    bool mayClose = true;
    if (mayClose_ && !runGuarded([&] { mayClose = mayClose_(); })) {
        mayClose = false;
    }
    if (!mayClose) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
    emit closed();
}
