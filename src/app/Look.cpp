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

QFont vantorFont(int pixelSize, bool bold) {
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
void setTextRoles(QPalette& palette, std::uint32_t text) {
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, fromBgr(text));
        palette.setColor(QPalette::Disabled, role, fromBgr(Palette::Dimmed));
    }
}

} // namespace

void setColors(QWidget* widget, std::uint32_t background, std::uint32_t text) {
    QPalette palette = widget->palette();
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        palette.setColor(role, fromBgr(background));
    }
    setTextRoles(palette, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColor(QWidget* widget, std::uint32_t text) {
    QPalette palette = widget->palette();
    setTextRoles(palette, text);
    widget->setPalette(palette);
}

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
}

QString captionWithoutMnemonic(const QString& caption) {
    QString spoken;
    for (qsizetype at = 0; at < caption.size(); ++at) {
        if (caption.at(at) == QLatin1Char('&') && at + 1 < caption.size()) {
            ++at; // the mark goes; a doubled mark leaves one '&'
        }
        spoken += caption.at(at);
    }
    return spoken;
}

void setButtonCaption(QAbstractButton* button, const QString& caption) {
    button->setText(caption);
    button->setAccessibleName(captionWithoutMnemonic(caption));
}

void setLabelCaption(QLabel* label, const QString& caption) {
    label->setText(caption);
    label->setAccessibleName(captionWithoutMnemonic(caption));
}

QFrame* makeSatellitePanel(QWidget* window, const char* name, const QString& caption, int width,
                           int height) {
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(caption);
    window->setFixedSize(width, height);
    setColors(window, Palette::DarkGround, Palette::Accent);

    auto* panel = makeControl<QFrame>(window, "Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    setColors(panel, Palette::DarkGround, Palette::Accent);
    place(panel, 0, 0, width, height);
    return panel;
}

CloseFooter makeCloseFooter(QWidget* panel, const QRect& bar, const QRect& button) {
    CloseFooter footer{makeControl<QFrame>(panel, "Shape1"),
                       makeControl<QToolButton>(panel, "Way")};
    setColors(footer.bar, Palette::Gray, Palette::Gray);
    footer.bar->setGeometry(bar);

    setButtonCaption(footer.button, QStringLiteral("Close"));
    footer.button->setAutoRaise(true);
    footer.button->setFont(vantorFont(9, true));
    setColors(footer.button, Palette::DarkGround, Palette::Accent);
    footer.button->setGeometry(button);
    return footer;
}

namespace {

class LazyPicture : public QLabel {
public:
    LazyPicture(QWidget* parent, std::function<QPixmap()> draw)
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

QLabel* lazyPicture(QWidget* parent, const char* name, std::function<QPixmap()> draw) {
    auto* picture = new LazyPicture(parent, std::move(draw));
    picture->setObjectName(QString::fromLatin1(name));
    return picture;
}

QLabel* makeHeading(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* label = makeControl<QLabel>(parent, name);
    setLabelCaption(label, caption);
    label->setFont(vantorFont(11, true));
    setTextColor(label, Palette::Accent);
    label->adjustSize();
    label->move(left, top);
    return label;
}

QToolButton* pageButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint, bool bold, std::uint32_t color) {
    auto* button = makeControl<QToolButton>(parent, name);
    setButtonCaption(button, caption);
    button->setToolTip(hint);
    button->setAccessibleDescription(hint);
    button->setAutoRaise(true);
    button->setFont(vantorFont(9, bold));
    setTextColor(button, color);
    return button;
}

FlatComboBox* completingBox(QWidget* parent, const char* name, const QString& spokenName,
                            std::uint32_t face, int left, int top, int width) {
    auto* box = makeControl<FlatComboBox>(parent, name);
    box->setComboStyle(FlatComboBox::csSimple);
    box->setSorted(true);
    box->setFont(vantorFont(11));
    setColors(box, face, Palette::Silver);
    box->setAccessibleName(spokenName);
    place(box, left, top, width, 21);
    return box;
}

ColorBitmapButton* colourButton(QWidget* parent, const char* name, const QString& caption,
                                const QString& hint, const QFont& font) {
    auto* button = makeControl<ColorBitmapButton>(parent, name);
    button->setColor(fromBgr(Palette::DarkGround));
    button->setButtonStyle(ColorBitmapButton::bsNew);
    button->setFont(font);
    setTextColor(button, Palette::Accent);
    setButtonCaption(button, caption);
    if (!hint.isEmpty()) {
        button->setToolTip(hint);
        button->setAccessibleDescription(hint);
    }
    return button;
}

void applyEngineColors(RouteEngine& engine) {
    engine.setRace1Color(RaceColor::Borons);
    engine.setRace2Color(RaceColor::Teladi);
    engine.setRace3Color(RaceColor::Split);
    engine.setRace4Color(RaceColor::Argons);
    engine.setRace5Color(RaceColor::Paranids);
    engine.setRace6Color(RaceColor::Xenon);
    engine.setStartPointColor(Palette::Green);
    engine.setTargetPointColor(Palette::Red);
    engine.setDividerColor(Palette::Accent);
    engine.setHighlightDividerColor(Palette::White);
    engine.setWayPointColor(Palette::White);
    engine.setHighLightColor(Palette::White);
    engine.setAvoidedWayColor(Palette::Red);
}
