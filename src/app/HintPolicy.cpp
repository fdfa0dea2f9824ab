#include "HintPolicy.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeySequence>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QToolTip>
#include <QWidget>

namespace {

// The control keeps its own hint as the layout gives it; the key is added
// when the hint shows.
constexpr char KeyHintProperty[] = "vantorKeyHint";

// The application's own style, with the pause before a hint made adjustable.
class HintTimingStyle : public QProxyStyle {
public:
    HintTimingStyle(QStyle* base, int wakeUpMs)
        : QProxyStyle(base)
        , wakeUpMs_(wakeUpMs) {}

    void setWakeUp(int wakeUpMs) { wakeUpMs_ = wakeUpMs; }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) {
            return wakeUpMs_;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    int wakeUpMs_;
};

void setWakeUpDelay(int wakeUpMs) {
    if (auto* timing = dynamic_cast<HintTimingStyle*>(QApplication::style())) {
        timing->setWakeUp(wakeUpMs);
        return;
    }
    // A fresh instance of the style in use: the proxy owns its base, and the
    // application deletes the style it replaces.
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    QApplication::setStyle(new HintTimingStyle(base, wakeUpMs));
}

} // namespace

HintPolicy& HintPolicy::instance() {
    static QPointer<HintPolicy> policy;
    if (policy == nullptr) {
        policy = new HintPolicy;
    }
    return *policy;
}

HintPolicy::HintPolicy()
    : QObject(QCoreApplication::instance()) {
    QCoreApplication::instance()->installEventFilter(this);
}

void HintPolicy::setHintsShown(bool shown) {
    shown_ = shown;
    if (!shown_) {
        QToolTip::hideText();
    }
}

void HintPolicy::setTiming(int wakeUpMs, int showMs) {
    setWakeUpDelay(wakeUpMs);
    showMs_ = showMs;
}

void HintPolicy::prepareTiming() {
    setWakeUpDelay(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay));
}

bool HintPolicy::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return false;
    }
    if (!shown_) {
        return true;
    }
    return showOwnHint(watched, event);
}

void HintPolicy::setKeyHint(QWidget* control, const QKeySequence& key) {
    control->setProperty(KeyHintProperty, key);
}

QString HintPolicy::shownHint(const QWidget* control) {
    const auto key = control->property(KeyHintProperty).value<QKeySequence>();
    if (key.isEmpty()) {
        return control->toolTip();
    }
    const QString own =
        control->toolTip().isEmpty() ? control->accessibleName() : control->toolTip();
    const QString keyText = key.toString(QKeySequence::NativeText);
    return own.isEmpty() ? keyText : own + QStringLiteral(" (") + keyText + u')';
}

// A control's own hint is shown for the set time. A control without one (an
// item view or a tab bar with hints per item, or a plain container whose parent
// has the hint) answers the request as usual.
bool HintPolicy::showOwnHint(QObject* watched, QEvent* event) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return false;
    }
    const QString hint = shownHint(widget);
    // Without a timing of its own and a key to add, the toolkit shows the hint.
    if (hint.isEmpty() || (showMs_ < 0 && hint == widget->toolTip())) {
        return false;
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), hint, widget, QRect(), showMs_);
    return true;
}
