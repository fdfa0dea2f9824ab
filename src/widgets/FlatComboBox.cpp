#include "FlatComboBox.h"

#include "ClipboardText.h"
#include "ItemOrder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QScopedValueRollback>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <memory>
#include <utility>

// The frame of its own and the painting are in FlatComboBoxFrame.cpp.

namespace {

// The role that holds an item's text in the form the sorting compares.
constexpr int SortKeyRole = Qt::UserRole + 0x5F00;
// The frame of the simple style's text field, like a text box's border.
constexpr int FieldBorder = 2;
constexpr int TypeAheadMilliseconds = 1500;
constexpr int NoLengthLimit = 32767; // a text field's own limit
constexpr int WheelNotch = 120;

constexpr Qt::KeyboardModifiers CommandModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// Tells the keys apart as the completion needs them, with the character
// each one types.
std::pair<EditKey, QChar> classify(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return {EditKey::Scroll, {}};
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return {EditKey::Caret, {}};
    case Qt::Key_Insert:
        return {event.modifiers() & Qt::ShiftModifier ? EditKey::InsertPaste : EditKey::Insert, {}};
    case Qt::Key_Delete:
        return {EditKey::Delete, {}};
    case Qt::Key_Backspace:
        return {EditKey::Backspace, QChar(u'\b')};
    case Qt::Key_Escape:
        return {EditKey::Escape, QChar(0x1B)};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {EditKey::Character, QChar(u'\r')};
    default:
        break;
    }
    if (event.matches(QKeySequence::Paste)) {
        return {EditKey::CharPaste, QChar(0x16)};
    }
    if (event.matches(QKeySequence::Cut)) {
        return {EditKey::CharCut, QChar(0x18)};
    }
    const QString text = event.text();
    if (text.size() != 1) {
        return {EditKey::Other, {}};
    }
    // A printable key with Ctrl, Alt or Meta is a command, not typing.
    if (text.front().isPrint() && (event.modifiers() & CommandModifiers)) {
        return {EditKey::Other, {}};
    }
    return {EditKey::Character, text.front()};
}

// The key code that goes with a character a key-press handler put in.
int keyFor(QChar character, int original) {
    switch (character.unicode()) {
    case u'\r':
        return Qt::Key_Return;
    case u'\b':
        return Qt::Key_Backspace;
    case 0x1B:
        return Qt::Key_Escape;
    default:
        return original;
    }
}

// Turning a box editable also sizes it to its contents, a costly measure
// that the box's owner undoes by placing it, and that the first showing of a
// box never placed takes anyway.
void setEditableInPlace(QComboBox& box, bool editable) {
    const bool placed = box.testAttribute(Qt::WA_Resized);
    box.setAttribute(Qt::WA_Resized);
    box.setEditable(editable);
    box.setAttribute(Qt::WA_Resized, placed);
}

} // namespace

CustomFlatComboBox::CustomFlatComboBox(QWidget* parent)
    : QComboBox(parent)
    , frameColor_(palette().color(QPalette::Dark)) {
    typeAheadTimer_.setSingleShot(true);
    typeAheadTimer_.setInterval(TypeAheadMilliseconds);
    connect(&typeAheadTimer_, &QTimer::timeout, this, [this] { completion_.setSearchText({}); });
    // An item picked from the list or with the arrow keys.
    connect(this, &QComboBox::activated, this, [this] {
        emit clicked();
        emit changed();
    });
    // Filling the list must not pick an item: the box stays empty until the
    // user or the program picks one. A combo box without a placeholder text
    // would pick the first item.
    setPlaceholderText(QStringLiteral(" "));
    // The list hears of new rows before the box sorts them. Its items are
    // lines of text, all of one height, so it need not measure each one.
    qobject_cast<QListView*>(view())->setUniformItemSizes(true);
    watchModel();
    applyStyle();
    dimDisabledText();
}

void CustomFlatComboBox::setComboStyle(ComboBoxStyle style) {
    if (style == style_) {
        return;
    }
    style_ = style;
    applyStyle();
}

void CustomFlatComboBox::applyStyle() {
    endTypeAhead();
    if (style_ == csSimple) {
        hidePopup();
    }
    setEditableInPlace(*this, !listStyle());
    if (lineEdit()) {
        adoptTextField();
    }
    applyOwnerDraw();
    if (style_ == csDropDown) {
        // Back from the simple style the text field leaves room for the button.
        QStyleOptionComboBox option;
        initStyleOption(&option);
        lineEdit()->setGeometry(style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                        QStyle::SC_ComboBoxEditField, this));
    }
    updateGeometry();
    update();
}

// The box completes by itself, keeps typed text out of its list, and has to
// see the keys, the mouse and every change of the text field's text.
void CustomFlatComboBox::adoptTextField() {
    QLineEdit* field = lineEdit();
    setCompleter(nullptr);
    setInsertPolicy(NoInsert);
    field->setMaxLength(maxLength_ > 0 ? maxLength_ : NoLengthLimit);
    // Dropping text is pasting it: refused along with pasting.
    field->setAcceptDrops(allowEdit());
    field->installEventFilter(this);
    guardPasting(field);
    connect(field, &QLineEdit::textEdited, this, &CustomFlatComboBox::changed,
            Qt::UniqueConnection);
    connect(field, &QLineEdit::textChanged, this, &CustomFlatComboBox::textChangedElsewhere,
            Qt::UniqueConnection);
    placeTextField();
}

// In the simple style the text field fills the box inside its border: there
// is no button beside it.
void CustomFlatComboBox::placeTextField() {
    QLineEdit* field = lineEdit();
    if (!field || style_ != csSimple) {
        return;
    }
    const QRect inside = rect().adjusted(FieldBorder, FieldBorder, -FieldBorder, -FieldBorder);
    if (field->geometry() != inside) {
        field->setGeometry(inside);
    }
}

void CustomFlatComboBox::setModel(QAbstractItemModel* model) {
    QComboBox::setModel(model);
    // A list of its own, shared with other boxes, picks no item either: the
    // combo box would pick its first one.
    setCurrentIndex(-1);
    watchModel();
}

void CustomFlatComboBox::watchModel() {
    connect(model(), &QAbstractItemModel::rowsInserted, this, &CustomFlatComboBox::keepSorted,
            Qt::UniqueConnection);
    connect(model(), &QAbstractItemModel::dataChanged, this, &CustomFlatComboBox::keepSorted,
            Qt::UniqueConnection);
    keepSorted();
}

void CustomFlatComboBox::setSorted(bool sorted) {
    sorted_ = sorted;
    keepSorted();
}

// Sorts the items again after every insertion or change, letter case aside,
// keeping items that compare equal in the order they came.
void CustomFlatComboBox::keepSorted() {
    auto* items = qobject_cast<QStandardItemModel*>(model());
    if (!sorted_ || sorting_ || !items) {
        return;
    }
    const QScopedValueRollback guard(sorting_, true);
    const int column = modelColumn();
    for (int row = 0; row < items->rowCount(); ++row) {
        if (QStandardItem* item = items->item(row, column)) {
            item->setData(foldedCase(item->text()), SortKeyRole);
        }
    }
    items->setSortRole(SortKeyRole);
    items->sort(column);
}

void CustomFlatComboBox::setItems(QStringList texts) {
    clear();
    if (sorted_) {
        sortLetterCaseAside(texts);
    }
    const QScopedValueRollback guard(sorting_, true);
    addItems(texts);
}

void CustomFlatComboBox::setMaxLength(int length) {
    maxLength_ = std::max(0, length);
    if (lineEdit()) {
        lineEdit()->setMaxLength(maxLength_ > 0 ? maxLength_ : NoLengthLimit);
    }
}

void CustomFlatComboBox::setAllowEdit(bool allow) {
    completion_.setAllowEdit(allow);
    if (lineEdit()) {
        lineEdit()->setAcceptDrops(allow);
    }
}

void CustomFlatComboBox::setDropDownWidth(int width) {
    if (width == dropDownWidth_) {
        return;
    }
    dropDownWidth_ = width;
    view()->setMinimumWidth(std::max(0, width));
}

void CustomFlatComboBox::setDisabledColor(const QColor& color) {
    disabledColor_ = color;
    dimDisabledText();
    update();
}

// The text of a disabled box is drawn in the dimmed colour, whatever colours
// its owner gives it: owners set every colour group at once.
void CustomFlatComboBox::dimDisabledText() {
    QPalette dimmed = palette();
    bool changed = false;
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
        if (dimmed.color(QPalette::Disabled, role) != disabledColor_) {
            dimmed.setColor(QPalette::Disabled, role, disabledColor_);
            changed = true;
        }
    }
    if (changed) {
        setPalette(dimmed);
    }
}

void CustomFlatComboBox::showPopup() {
    if (style_ != csSimple) {
        QComboBox::showPopup();
    }
}

void CustomFlatComboBox::hidePopup() {
    const bool wasShown = view()->isVisible();
    QComboBox::hidePopup();
    if (wasShown) {
        emit closedUp();
        updateFrame();
    }
}

bool CustomFlatComboBox::event(QEvent* event) {
    // Escape belongs to the box (it empties the field), not to a shortcut of
    // the window such as a Cancel button.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QComboBox::event(event);
}

bool CustomFlatComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            placeTextField();
            break;
        case QEvent::MouseButtonPress:
            // The caret may land anywhere: all of the text counts as typed.
            completion_.setSearchText(lineEdit()->text());
            break;
        default:
            break;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void CustomFlatComboBox::keyPressEvent(QKeyEvent* event) {
    const auto [key, character] = classify(*event);
    const QScopedValueRollback keepKey(key_, event);
    const QScopedValueRollback keepCharacter(keyCharacter_, character);
    event->accept();
    if (listStyle()) {
        completion_.typeAheadKey(key, character);
        if (key == EditKey::Character || key == EditKey::Backspace) {
            typeAheadTimer_.start();
        }
        return;
    }
    const bool full = maxLength_ > 0 && fieldText().size() >= maxLength_ && selLength() == 0;
    if (key == EditKey::Character && character.isPrint() && full) {
        invalidKey();
        return;
    }
    // Nothing to paste is no paste: the text and what was typed stay.
    if ((key == EditKey::CharPaste || key == EditKey::InsertPaste) && !clipboardHoldsText()) {
        return;
    }
    const int indexBefore = currentIndex();
    completion_.typeKey(key, character);
    // As after a wheel step, the whole item is selected, so that the next
    // key replaces it.
    if (key == EditKey::Scroll && currentIndex() != indexBefore && lineEdit()) {
        lineEdit()->selectAll();
    }
}

void CustomFlatComboBox::wheelEvent(QWheelEvent* event) {
    event->accept();
    const int indexBefore = currentIndex();
    wheelRemainder_ += event->angleDelta().y();
    for (; wheelRemainder_ >= WheelNotch; wheelRemainder_ -= WheelNotch) {
        completion_.wheelStep(false);
    }
    for (; wheelRemainder_ <= -WheelNotch; wheelRemainder_ += WheelNotch) {
        completion_.wheelStep(true);
    }
    if (currentIndex() != indexBefore && lineEdit()) {
        lineEdit()->selectAll();
    }
}

void CustomFlatComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    focused_ = true;
    updateFrame();
}

void CustomFlatComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason) {
        return; // the list dropped down; the focus stays with the box
    }
    focused_ = false;
    if (listStyle()) {
        endTypeAhead();
    } else if (style_ == csDropDown && !fieldText().isEmpty()) {
        const int index = findText(fieldText(), Qt::MatchFixedString);
        if (index >= 0) {
            selectItem(index);
        } else {
            emit notInList();
        }
    }
    updateFrame();
}

void CustomFlatComboBox::endTypeAhead() {
    typeAheadTimer_.stop();
    if (listStyle()) {
        completion_.setSearchText({});
    }
}

void CustomFlatComboBox::enterEvent(QEnterEvent* event) {
    QComboBox::enterEvent(event);
    hot_ = true;
    updateFrame();
    emit mouseEntered();
}

void CustomFlatComboBox::leaveEvent(QEvent* event) {
    QComboBox::leaveEvent(event);
    hot_ = false;
    updateFrame();
    emit mouseLeft();
}

void CustomFlatComboBox::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    placeTextField();
}

void CustomFlatComboBox::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    switch (event->type()) {
    case QEvent::PaletteChange:
        dimDisabledText();
        break;
    case QEvent::StyleChange:
    case QEvent::FontChange:
        placeTextField();
        break;
    default:
        break;
    }
}

void CustomFlatComboBox::contextMenuEvent(QContextMenuEvent* event) {
    QLineEdit* field = lineEdit();
    if (!field || allowEdit()) {
        QComboBox::contextMenuEvent(event);
        return;
    }
    // Without editing the menu offers neither cut, paste nor delete: built
    // while the field is read-only, it leaves them out.
    field->setReadOnly(true);
    const std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
    field->setReadOnly(false);
    menu->exec(event->globalPos());
}

// The completion's view of the text field.

QString CustomFlatComboBox::fieldText() const {
    return lineEdit() ? lineEdit()->text() : currentText();
}

int CustomFlatComboBox::selStart() const {
    const QLineEdit* field = lineEdit();
    if (!field) {
        return 0;
    }
    return field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
}

int CustomFlatComboBox::selLength() const {
    return lineEdit() ? lineEdit()->selectionLength() : 0;
}

void CustomFlatComboBox::setSelStart(int start) {
    if (QLineEdit* field = lineEdit()) {
        field->setCursorPosition(start);
    }
}

void CustomFlatComboBox::setSelLength(int length) {
    setSelection(selStart(), std::max(0, length));
}

void CustomFlatComboBox::selectItem(int index) {
    const QScopedValueRollback guard(settingText_, true);
    setCurrentIndex(index);
    // The current item may already be this one while the field shows other text.
    if (QLineEdit* field = lineEdit(); field && field->text() != itemText(index)) {
        field->setText(itemText(index));
    }
}

void CustomFlatComboBox::setFieldText(const QString& text) {
    const QScopedValueRollback guard(settingText_, true);
    if (QLineEdit* field = lineEdit()) {
        field->setText(text);
    }
}

void CustomFlatComboBox::setSelection(int start, int length) {
    QLineEdit* field = lineEdit();
    if (!field) {
        return;
    }
    if (length > 0) {
        field->setSelection(start, length);
    } else {
        field->setCursorPosition(start);
    }
}

void CustomFlatComboBox::standardHandling(QChar key) {
    if (!key_) {
        return;
    }
    if (key == keyCharacter_) {
        QComboBox::keyPressEvent(key_);
        return;
    }
    if (key.isNull()) {
        return; // a handler dropped the character
    }
    QKeyEvent replaced(QEvent::KeyPress, keyFor(key, key_->key()), key_->modifiers(), QString(key));
    QComboBox::keyPressEvent(&replaced);
    key_->setAccepted(replaced.isAccepted());
}

void CustomFlatComboBox::invalidKey() {
    if (beepOnInvalidKey_) {
        QApplication::beep();
    }
}

QChar CustomFlatComboBox::raiseKeyPress(QChar key) {
    emit keyPressed(key);
    if (key == u'\r') {
        emit returnPressed();
    }
    return key;
}

// Text that changed other than by typing (set by the program, pasted from the
// menu, undone) is typed text from now on; a drop-down box also completes it.
void CustomFlatComboBox::textChangedElsewhere(const QString& text) {
    if (key_ || settingText_) {
        return;
    }
    completion_.setSearchText(text);
    if (style_ == csDropDown) {
        const QScopedValueRollback guard(settingText_, true);
        completion_.matchQuietly();
    }
}
