#include "FlatComboBox.h"

#include <QLineEdit>
#include <QValidator>
#include <functional>
#include <utility>

// Without AllowEdit, the text field refuses pasted text however it is sent.

namespace {

// Asks the box whether the text field may take a change; a refused change is
// undone by the field before anyone hears of it.
class FieldChangeGuard : public QValidator {
public:
    FieldChangeGuard(QObject* parent, std::function<bool(const QString&)> accepts)
        : QValidator(parent)
        , accepts_(std::move(accepts)) {}

    State validate(QString& input, int&) const override {
        return accepts_(input) ? Acceptable : Invalid;
    }

private:
    std::function<bool(const QString&)> accepts_;
};

// Whether `now` is `before` with one run of characters taken out, or unchanged.
bool isRemovalFrom(const QString& before, const QString& now) {
    if (now.size() > before.size()) {
        return false;
    }
    qsizetype front = 0;
    while (front < now.size() && now[front] == before[front]) {
        ++front;
    }
    qsizetype back = 0;
    while (front + back < now.size() &&
           now[now.size() - 1 - back] == before[before.size() - 1 - back]) {
        ++back;
    }
    return front + back == now.size();
}

} // namespace

// A paste, a drop or an insert (by the user, by an input method or sent by a
// program straight to the text field) would put text in that no item
// completes; while AllowEdit is off the field refuses such a change before it
// shows. Removals, the box's own changes and a text set as a whole stay.
void CustomFlatComboBox::guardPasting(QLineEdit* field) {
    shownText_ = field->text();
    if (field->validator() == nullptr) {
        field->setValidator(new FieldChangeGuard(
            field, [this](const QString& changed) { return acceptsFieldChange(changed); }));
    }
    connect(field, &QLineEdit::textChanged, this, &CustomFlatComboBox::rememberShownText,
            Qt::UniqueConnection);
}

void CustomFlatComboBox::rememberShownText(const QString& text) {
    shownText_ = text;
}

bool CustomFlatComboBox::acceptsFieldChange(const QString& changed) const {
    if (allowEdit() || key_ != nullptr || settingText_) {
        return true;
    }
    // A text set as a whole (setText, an item picked) starts the field's
    // history afresh; an edit adds to it.
    const QLineEdit* field = lineEdit();
    if (field == nullptr || !field->isUndoAvailable()) {
        return true;
    }
    return isRemovalFrom(shownText_, changed);
}
