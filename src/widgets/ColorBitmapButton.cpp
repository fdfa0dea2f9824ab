#include "ColorBitmapButton.h"

#include "Bevel.h"
#include "KindGlyphs.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <array>
#include <utility>

namespace {

// The results a dialog's exec() answers for the kinds' buttons.
enum : int {
    NoResult = 0,
    OkResult = 1,
    CancelResult = 2,
    AbortResult = 3,
    RetryResult = 4,
    IgnoreResult = 5,
    YesResult = 6,
    NoAnswerResult = 7,
    AllResult = 8,
};

struct KindRow {
    bool isDefault;
    bool cancel;
    int modalResult;
    const char16_t* glyph;
    const char16_t* caption;
};

// In the order of ButtonKind; bkCustom's row is never applied.
constexpr std::array<KindRow, 11> Kinds{{
    {false, false, NoResult, u"", u""},
    {true, false, OkResult, u"BBCOK", u"OK"},
    {false, true, CancelResult, u"BBCCANCEL", u"Cancel"},
    {false, false, NoResult, u"BBCHELP", u"&Help"},
    {true, false, YesResult, u"BBCYES", u"&Yes"},
    {false, true, NoAnswerResult, u"BBCNO", u"&No"},
    {false, false, NoResult, u"BBCCLOSE", u"&Close"},
    {false, false, AbortResult, u"BBCABORT", u"Abort"},
    {false, false, RetryResult, u"BBCRETRY", u"&Retry"},
    {false, false, IgnoreResult, u"BBCIGNORE", u"&Ignore"},
    {false, false, AllResult, u"BBCALL", u"&All"},
}};

const KindRow& rowOf(ColorBitmapButton::ButtonKind kind) {
    return Kinds.at(static_cast<std::size_t>(kind));
}

ColorBitmapButton::HelpHandler& programHelp() {
    static ColorBitmapButton::HelpHandler handler;
    return handler;
}

constexpr int CaptionFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;
const QColor engravedLight(255, 255, 255);
const QColor engravedDark(128, 128, 128);

} // namespace

GlyphCaptionPlace layoutGlyphAndCaption(const QRect& area, QSize glyph, QSize caption,
                                        ColorBitmapButton::ButtonLayout layout, int margin,
                                        int spacing) {
    const int areaWidth = area.width();
    const int areaHeight = area.height();
    const bool across =
        layout == ColorBitmapButton::blGlyphLeft || layout == ColorBitmapButton::blGlyphRight;
    QPoint glyphAt;
    QPoint captionAt;
    // Centred across the layout's axis.
    if (across) {
        glyphAt.setY((areaHeight - glyph.height() + 1) / 2);
        captionAt.setY((areaHeight - caption.height() + 1) / 2);
    } else {
        glyphAt.setX((areaWidth - glyph.width() + 1) / 2);
        captionAt.setX((areaWidth - caption.width() + 1) / 2);
    }
    if (caption.width() == 0 || glyph.width() == 0) {
        spacing = 0;
    }
    // Along the axis.
    const int room = across ? areaWidth : areaHeight;
    const int glyphLength = across ? glyph.width() : glyph.height();
    const int captionLength = across ? caption.width() : caption.height();
    if (margin == -1 && spacing == -1) {
        margin = (room - (glyphLength + captionLength)) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (room - (glyphLength + spacing + captionLength) + 1) / 2;
    } else if (spacing == -1) {
        spacing = ((room - (margin + glyphLength)) - captionLength) / 2;
    }
    switch (layout) {
    case ColorBitmapButton::blGlyphLeft:
        glyphAt.setX(margin);
        captionAt.setX(margin + glyph.width() + spacing);
        break;
    case ColorBitmapButton::blGlyphRight:
        glyphAt.setX(areaWidth - margin - glyph.width());
        captionAt.setX(glyphAt.x() - spacing - caption.width());
        break;
    case ColorBitmapButton::blGlyphTop:
        glyphAt.setY(margin);
        captionAt.setY(margin + glyph.height() + spacing);
        break;
    case ColorBitmapButton::blGlyphBottom:
        glyphAt.setY(areaHeight - margin - glyph.height());
        captionAt.setY(glyphAt.y() - spacing - caption.height());
        break;
    }
    return {glyphAt + area.topLeft(), QRect(captionAt + area.topLeft(), caption)};
}

ColorBitmapButton::ColorBitmapButton(QWidget* parent)
    : QPushButton(parent)
    , color_(palette().color(QPalette::Button)) {
    // Connected before any owner's handler: the dialog's result is set when
    // they run.
    connect(this, &QAbstractButton::clicked, this, &ColorBitmapButton::onClicked);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusMoved(now); });
}

void ColorBitmapButton::setColor(const QColor& color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    // The finished glyph images carry the old face colour.
    setGlyph(glyph());
}

void ColorBitmapButton::setGlyph(const QImage& glyph) {
    glyph_.setBitmap(glyph);
    if (glyph.height() > 0 && glyph.width() > 0 && glyph.width() % glyph.height() == 0) {
        const int images = glyph.width() / glyph.height();
        glyph_.setNumGlyphs(images <= 4 ? images : 1);
    }
    glyphSetExplicitly_ = true;
    update();
}

ColorBitmapButton::ButtonKind ColorBitmapButton::kind() const {
    if (kind_ != bkCustom) {
        const KindRow& row = rowOf(kind_);
        if (isDefault() != row.isDefault || cancel_ != row.cancel ||
            modalResult_ != row.modalResult || glyphSetExplicitly_) {
            kind_ = bkCustom;
        }
    }
    return kind_;
}

void ColorBitmapButton::setKind(ButtonKind kind) {
    kind_ = kind;
    if (kind != bkCustom) {
        const KindRow& row = rowOf(kind);
        setDefault(row.isDefault);
        setCancel(row.cancel);
        modalResult_ = row.modalResult;
        glyph_.setBitmap(kindGlyph(row.glyph));
        glyph_.setNumGlyphs(2);
        glyphSetExplicitly_ = false;
        setText(QString::fromUtf16(row.caption));
    }
    update();
}

void ColorBitmapButton::setGlyphLayout(ButtonLayout layout) {
    if (layout != layout_) {
        layout_ = layout;
        update();
    }
}

void ColorBitmapButton::setMargin(int margin) {
    if (margin != margin_ && margin >= -1) {
        margin_ = margin;
        update();
    }
}

void ColorBitmapButton::setNumGlyphs(int count) {
    count = std::clamp(count, 1, 4);
    if (count != glyph_.numGlyphs()) {
        glyph_.setNumGlyphs(count);
        update();
    }
}

void ColorBitmapButton::setSpacing(int spacing) {
    if (spacing != spacing_) {
        spacing_ = spacing;
        update();
    }
}

void ColorBitmapButton::setButtonStyle(ButtonStyle style) {
    if (style != style_) {
        style_ = style;
        update();
    }
}

void ColorBitmapButton::setCancel(bool cancel) {
    cancel_ = cancel;
    if (cancel && !escape_) {
        escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, [this] {
            if (isEnabled() && isVisible()) {
                click();
            }
        });
    } else if (!cancel && escape_) {
        delete escape_;
        escape_ = nullptr;
    }
}

void ColorBitmapButton::setHelpHandler(HelpHandler handler) {
    programHelp() = std::move(handler);
}

void ColorBitmapButton::nextCheckState() {
    if (actInsteadOfClick()) {
        swallowThisClick();
        return;
    }
    QPushButton::nextCheckState();
}

// A bkClose button closes its window, a bkHelp button opens the program's
// help; either does nothing else. True when the button did so.
bool ColorBitmapButton::actInsteadOfClick() {
    const ButtonKind current = kind();
    if (current == bkClose && window() != this) {
        window()->close();
        return true;
    }
    if (current == bkHelp && programHelp()) {
        programHelp()(this);
        return true;
    }
    return false;
}

// The toolkit raises the click right after nextCheckState, on every way a
// button is clicked (mouse, keys, shortcut, click(), an assistive tool): the
// button's signals stay blocked until the event loop comes round again.
void ColorBitmapButton::swallowThisClick() {
    if (signalsBlocked()) {
        return;
    }
    blockSignals(true);
    QMetaObject::invokeMethod(
        this, [this] { blockSignals(false); }, Qt::QueuedConnection);
}

// Outside a dialog, which presses its default button itself, the button
// watches its window for the Enter keys that no control took.
void ColorBitmapButton::showEvent(QShowEvent* event) {
    QPushButton::showEvent(event);
    watchWindowKeys();
}

void ColorBitmapButton::watchWindowKeys() {
    QWidget* owner = window();
    if (owner == keyWindow_ || owner == this) {
        return;
    }
    if (keyWindow_) {
        keyWindow_->removeEventFilter(this);
    }
    keyWindow_ = qobject_cast<QDialog*>(owner) ? nullptr : owner;
    if (keyWindow_) {
        keyWindow_->installEventFilter(this);
    }
}

bool ColorBitmapButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == keyWindow_ && event->type() == QEvent::KeyPress &&
        pressAsDefault(*static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QPushButton::eventFilter(watched, event);
}

// Enter presses the default button as it does in a dialog, unless another
// push button has the focus: that one is the active button then.
bool ColorBitmapButton::pressAsDefault(const QKeyEvent& key) {
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (!enter || modifiers != Qt::NoModifier || !isDefault() || !isVisible()) {
        return false;
    }
    if (qobject_cast<QPushButton*>(QApplication::focusWidget()) != nullptr) {
        return false;
    }
    if (isEnabled()) {
        click();
    }
    return true;
}

void ColorBitmapButton::onClicked() {
    auto* dialog = qobject_cast<QDialog*>(window());
    if (modalResult_ == NoResult || !dialog) {
        return;
    }
    if (dialog->isModal()) {
        dialog->done(modalResult_);
    } else {
        dialog->setResult(modalResult_);
    }
}

void ColorBitmapButton::focusMoved(QWidget* now) {
    if (!now || now->window() != window()) {
        return;
    }
    const bool active = now == this || (!qobject_cast<QPushButton*>(now) && isDefault());
    if (active != activeButton_) {
        activeButton_ = active;
        update();
    }
}

void ColorBitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colors = palette();
    const QRect client = rect();
    const bool pressed = isDown();
    QRect area = client;
    if (activeButton_ || hasFocus()) {
        const QColor frame = colors.color(QPalette::Shadow);
        drawBevelRing(painter, area, frame, frame);
        area.adjust(1, 1, -1, -1);
    }
    if (pressed) {
        const QColor edge = colors.color(QPalette::Dark);
        drawBevelRing(painter, area, edge, edge);
        area.adjust(1, 1, -1, -1);
        painter.fillRect(area, color_);
    } else {
        drawBevelRing(painter, area, colors.color(QPalette::Midlight),
                      colors.color(QPalette::Shadow));
        area.adjust(1, 1, -1, -1);
        drawBevelRing(painter, area, colors.color(QPalette::Light), colors.color(QPalette::Dark));
        area.adjust(1, 1, -1, -1);
        painter.fillRect(area, color_);
        area.adjust(1, 1, -1, -1);
    }
    if (activeButton_) {
        area = client.adjusted(1, 1, -1, -1);
    }
    if (pressed) {
        area.translate(1, 1);
    }

    const QString caption = text();
    const QSize captionSize =
        caption.isEmpty() ? QSize(0, 0) : fontMetrics().size(CaptionFlags, caption);
    const GlyphCaptionPlace place =
        layoutGlyphAndCaption(area, glyph_.imageSize(), captionSize, layout_, margin_, spacing_);
    const ButtonGlyph::State state = !isEnabled() ? ButtonGlyph::State::Disabled
                                     : pressed    ? ButtonGlyph::State::Down
                                                  : ButtonGlyph::State::Up;
    glyph_.draw(painter, place.glyph, state,
                {color_, colors.color(QPalette::Light), colors.color(QPalette::Dark)});
    drawCaption(painter, place.caption);
    if (activeButton_) {
        drawFocusMark(painter);
    }
}

void ColorBitmapButton::drawCaption(QPainter& painter, const QRect& area) const {
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(area, Qt::AlignCenter | CaptionFlags, text());
        return;
    }
    const int flags = Qt::AlignLeft | Qt::AlignTop | CaptionFlags;
    painter.setPen(engravedLight);
    painter.drawText(area.translated(1, 1), flags, text());
    painter.setPen(engravedDark);
    painter.drawText(area, flags, text());
}

// A dotted rectangle inside the edge, as keyboard focus is marked.
void ColorBitmapButton::drawFocusMark(QPainter& painter) const {
    QPen dotted(palette().color(QPalette::ButtonText), 0);
    dotted.setDashPattern({1.0, 1.0});
    painter.setPen(dotted);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(4, 4, -5, -5));
}
