#include "Look.h"

#include "ColorBitmapButton.h"
#include "Colors.h"
#include "FlatComboBox.h"
#include "RouteEngine.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

QFont VantorFont(int pixelSize, bool bold) {
    static const QString family = QFontDatabase::families().contains(QStringLiteral("Tahoma"))
                                      ? QStringLiteral("Tahoma")
                                      : QStringLiteral("DejaVu Sans");
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

namespace {

// The text colour in every state but disabled, where it is dimmed so that the
// user sees that the control takes no input.
void SetTextRoles(QPalette& palette, std::uint32_t text) {
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, FromBgr(text));
        palette.setColor(QPalette::Disabled, role, FromBgr(Palette::Dimmed));
    }
}

} // namespace

void SetColors(QWidget* widget, std::uint32_t background, std::uint32_t text) {
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        palette.setColor(role, FromBgr(background));
    }
    SetTextRoles(palette, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetTextColor(QWidget* widget, std::uint32_t text) {
    QPalette palette = widget->palette();
    SetTextRoles(palette, text);
    widget->setPalette(palette);
}

void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
}

QString CaptionWithoutMnemonic(const QString& caption) {
    QString spoken;
    for (qsizetype at = 0; at < caption.size(); ++at) {
        if (caption.at(at) == QLatin1Char('&') && at + 1 < caption.size()) {
            ++at; // the mark goes; a doubled mark leaves one '&'
        }
        spoken += caption.at(at);
    }
    return spoken;
}

void SetButtonCaption(QAbstractButton* button, const QString& caption) {
    button->setText(caption);
    button->setAccessibleName(CaptionWithoutMnemonic(caption));
}

void SetLabelCaption(QLabel* label, const QString& caption) {
    label->setText(caption);
    label->setAccessibleName(CaptionWithoutMnemonic(caption));
}

QFrame* MakeSatellitePanel(QWidget* window, const char* name, const QString& caption, int width,
                           int height) {
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(caption);
    window->setFixedSize(width, height);
    SetColors(window, Palette::DarkGround, Palette::Accent);

    auto* panel = MakeControl<QFrame>(window, "Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    SetColors(panel, Palette::DarkGround, Palette::Accent);
    Place(panel, 0, 0, width, height);
    return panel;
}

TCloseFooter MakeCloseFooter(QWidget* panel, const QRect& bar, const QRect& button) {
    TCloseFooter footer{MakeControl<QFrame>(panel, "Shape1"),
                        MakeControl<QToolButton>(panel, "Way")};
    SetColors(footer.Bar, Palette::Gray, Palette::Gray);
    footer.Bar->setGeometry(bar);

    SetButtonCaption(footer.Button, QStringLiteral("Close"));
    footer.Button->setAutoRaise(true);
    footer.Button->setFont(VantorFont(9, true));
    SetColors(footer.Button, Palette::DarkGround, Palette::Accent);
    footer.Button->setGeometry(button);
    return footer;
}

namespace {

class TLazyPicture : public QLabel {
public:
    TLazyPicture(QWidget* parent, std::function<QPixmap()> draw)
        : QLabel(parent)
        , draw_(std::move(draw)) {}

protected:
    void showEvent(QShowEvent* event) override {
        if (draw_) {
            setPixmap(draw_());
            draw_ = nullptr;
        }
        QLabel::showEvent(event);
    }

private:
    std::function<QPixmap()> draw_;
};

} // namespace

QLabel* LazyPicture(QWidget* parent, const char* name, std::function<QPixmap()> draw) {
    auto* picture = new TLazyPicture(parent, std::move(draw));
    picture->setObjectName(QString::fromLatin1(name));
    return picture;
}

QLabel* Heading(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* label = MakeControl<QLabel>(parent, name);
    SetLabelCaption(label, caption);
    label->setFont(VantorFont(11, true));
    SetTextColor(label, Palette::Accent);
    label->adjustSize();
    label->move(left, top);
    return label;
}

QToolButton* PageButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint, bool bold, std::uint32_t color) {
    auto* button = MakeControl<QToolButton>(parent, name);
    SetButtonCaption(button, caption);
    button->setToolTip(hint);
    button->setAccessibleDescription(hint);
    button->setAutoRaise(true);
    button->setFont(VantorFont(9, bold));
    SetTextColor(button, color);
    return button;
}

TFlatComboBox* CompletingBox(QWidget* parent, const char* name, const QString& spokenName,
                             std::uint32_t face, int left, int top, int width) {
    auto* box = MakeControl<TFlatComboBox>(parent, name);
    box->SetStyle(TFlatComboBox::csSimple);
    box->SetSorted(true);
    box->setFont(VantorFont(11));
    SetColors(box, face, Palette::Silver);
    box->setAccessibleName(spokenName);
    Place(box, left, top, width, 21);
    return box;
}

TBitBtnWithColor* ColourButton(QWidget* parent, const char* name, const QString& caption,
                               const QString& hint, const QFont& font) {
    auto* button = MakeControl<TBitBtnWithColor>(parent, name);
    button->SetColor(FromBgr(Palette::DarkGround));
    button->SetStyle(TBitBtnWithColor::bsNew);
    button->setFont(font);
    SetTextColor(button, Palette::Accent);
    SetButtonCaption(button, caption);
    if (!hint.isEmpty()) {
        button->setToolTip(hint);
        button->setAccessibleDescription(hint);
    }
    return button;
}

void ApplyEngineColors(TNinjaMatrix& engine) {
    engine.SetRace1Color(RaceColor::Borons);
    engine.SetRace2Color(RaceColor::Teladi);
    engine.SetRace3Color(RaceColor::Split);
    engine.SetRace4Color(RaceColor::Argons);
    engine.SetRace5Color(RaceColor::Paranids);
    engine.SetRace6Color(RaceColor::Xenon);
    engine.SetStartPointColor(Palette::Green);
    engine.SetTargetPointColor(Palette::Red);
    engine.SetDividerColor(Palette::Accent);
    engine.SetHighlightDividerColor(Palette::White);
    engine.SetWayPointColor(Palette::White);
    engine.SetHighLightColor(Palette::White);
}
