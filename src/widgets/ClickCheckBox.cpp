#include "ClickCheckBox.h"

#include <QAccessibleWidget>

namespace {

// What assistive tools see of the box: the check box they know, except that
// its actions click it rather than toggle it silently.
class ClickCheckBoxAccessible : public QAccessibleWidget {
public:
    explicit ClickCheckBoxAccessible(QCheckBox* box)
        : QAccessibleWidget(box, QAccessible::CheckBox) {}

    QString text(QAccessible::Text text) const override {
        QString shown = QAccessibleWidget::text(text);
        if (text == QAccessible::Name && shown.isEmpty()) {
            shown = box()->text().remove(QLatin1Char('&'));
        }
        return shown;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = box()->checkState() == Qt::Checked;
        state.checkStateMixed = box()->checkState() == Qt::PartiallyChecked;
        state.pressed = box()->isDown();
        return state;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (box()->isEnabled()) {
            names << toggleAction();
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == toggleAction() || action == pressAction()) {
            if (box()->isEnabled()) {
                box()->click();
            }
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    QCheckBox* box() const { return static_cast<QCheckBox*>(widget()); }
};

QAccessibleInterface* accessibleOf(const QString& className, QObject* object) {
    if (className == QLatin1String(ClickCheckBox::staticMetaObject.className()) &&
        object != nullptr && object->isWidgetType()) {
        return new ClickCheckBoxAccessible(static_cast<QCheckBox*>(object));
    }
    return nullptr;
}

} // namespace

ClickCheckBox::ClickCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleOf);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}
