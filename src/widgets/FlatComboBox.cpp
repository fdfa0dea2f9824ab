#include "FlatComboBox.h"

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
std::pair<TEditKey, QChar> Classify(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return {TEditKey::Scroll, {}};
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return {TEditKey::Caret, {}};
    case Qt::Key_Insert:
        return {event.modifiers() & Qt::ShiftModifier ? TEditKey::InsertPaste : TEditKey::Insert,
                {}};
    case Qt::Key_Delete:
        return {TEditKey::Delete, {}};
    case Qt::Key_Backspace:
        return {TEditKey::Backspace, QChar(u'\b')};
    case Qt::Key_Escape:
        return {TEditKey::Escape, QChar(0x1B)};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {TEditKey::Character, QChar(u'\r')};
    default:
        break;
    }
    if (event.matches(QKeySequence::Paste)) {
        return {TEditKey::CharPaste, QChar(0x16)};
    }
    if (event.matches(QKeySequence::Cut)) {
        return {TEditKey::CharCut, QChar(0x18)};
    }
    const QString text = event.text();
    if (text.size() != 1) {
        return {TEditKey::Other, {}};
    }
    // A printable key with Ctrl, Alt or Meta is a command, not typing.
    if (text.front().isPrint() && (event.modifiers() & CommandModifiers)) {
        return {TEditKey::Other, {}};
    }
    return {TEditKey::Character, text.front()};
}

// The key code that goes with a character a key-press handler put in.
int KeyFor(QChar character, int original) {
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
void SetEditableInPlace(QComboBox& box, bool editable) {
    const bool placed = box.testAttribute(Qt::WA_Resized);
    box.setAttribute(Qt::WA_Resized);
    box.setEditable(editable);
    box.setAttribute(Qt::WA_Resized, placed);
}

} // namespace

TCustomFlatComboBox::TCustomFlatComboBox(QWidget* parent)
    : QComboBox(parent)
    , frameColor_(palette().color(QPalette::Dark)) {
    typeAheadTimer_.setSingleShot(true);
    typeAheadTimer_.setInterval(TypeAheadMilliseconds);
    connect(&typeAheadTimer_, &QTimer::timeout, this, [this] { completion_.SetSearchText({}); });
    // An item picked from the list or with the arrow keys.
    connect(this, &QComboBox::activated, this, [this] {
        emit Click();
        emit Change();
    });
    // Filling the list must not pick an item: the box stays empty until the
    // user or the program picks one. A combo box without a placeholder text
    // would pick the first item.
    setPlaceholderText(QStringLiteral(" "));
    // The list hears of new rows before the box sorts them. Its items are
    // lines of text, all of one height, so it need not measure each one.
    qobject_cast<QListView*>(view())->setUniformItemSizes(true);
    WatchModel();
    ApplyStyle();
    DimDisabledText();
}

void TCustomFlatComboBox::SetStyle(TComboBoxStyle style) {
    if (style == style_) {
        return;
    }
    style_ = style;
    ApplyStyle();
}

void TCustomFlatComboBox::ApplyStyle() {
    EndTypeAhead();
    if (style_ == csSimple) {
        hidePopup();
    }
    SetEditableInPlace(*this, style_ != csDropDownList);
    if (lineEdit()) {
        AdoptTextField();
    }
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
void TCustomFlatComboBox::AdoptTextField() {
    QLineEdit* field = lineEdit();
    setCompleter(nullptr);
    setInsertPolicy(NoInsert);
    field->setMaxLength(maxLength_ > 0 ? maxLength_ : NoLengthLimit);
    // Dropping text is pasting it: refused along with pasting.
    field->setAcceptDrops(AllowEdit());
    field->installEventFilter(this);
    connect(field, &QLineEdit::textEdited, this, &TCustomFlatComboBox::Change,
            Qt::UniqueConnection);
    connect(field, &QLineEdit::textChanged, this, &TCustomFlatComboBox::TextChangedElsewhere,
            Qt::UniqueConnection);
    PlaceTextField();
}

// In the simple style the text field fills the box inside its border: there
// is no button beside it.
void TCustomFlatComboBox::PlaceTextField() {
    QLineEdit* field = lineEdit();
    if (!field || style_ != csSimple) {
        return;
    }
    const QRect inside = rect().adjusted(FieldBorder, FieldBorder, -FieldBorder, -FieldBorder);
    if (field->geometry() != inside) {
        field->setGeometry(inside);
    }
}

void TCustomFlatComboBox::setModel(QAbstractItemModel* model) {
    QComboBox::setModel(model);
    WatchModel();
}

void TCustomFlatComboBox::WatchModel() {
    connect(model(), &QAbstractItemModel::rowsInserted, this, &TCustomFlatComboBox::KeepSorted,
            Qt::UniqueConnection);
    connect(model(), &QAbstractItemModel::dataChanged, this, &TCustomFlatComboBox::KeepSorted,
            Qt::UniqueConnection);
    KeepSorted();
}

void TCustomFlatComboBox::SetSorted(bool sorted) {
    sorted_ = sorted;
    KeepSorted();
}

// Sorts the items again after every insertion or change, letter case aside,
// keeping items that compare equal in the order they came.
void TCustomFlatComboBox::KeepSorted() {
    auto* items = qobject_cast<QStandardItemModel*>(model());
    if (!sorted_ || sorting_ || !items) {
        return;
    }
    const QScopedValueRollback guard(sorting_, true);
    const int column = modelColumn();
    for (int row = 0; row < items->rowCount(); ++row) {
        if (QStandardItem* item = items->item(row, column)) {
            item->setData(FoldedCase(item->text()), SortKeyRole);
        }
    }
    items->setSortRole(SortKeyRole);
    items->sort(column);
}

void TCustomFlatComboBox::SetItems(QStringList texts) {
    clear();
    if (sorted_) {
        SortLetterCaseAside(texts);
    }
    const QScopedValueRollback guard(sorting_, true);
    addItems(texts);
}

void TCustomFlatComboBox::SetMaxLength(int length) {
    maxLength_ = std::max(0, length);
    if (lineEdit()) {
        lineEdit()->setMaxLength(maxLength_ > 0 ? maxLength_ : NoLengthLimit);
    }
}

void TCustomFlatComboBox::SetAllowEdit(bool allow) {
    completion_.SetAllowEdit(allow);
    if (lineEdit()) {
        lineEdit()->setAcceptDrops(allow);
    }
}

void TCustomFlatComboBox::SetDropDownWidth(int width) {
    if (width == dropDownWidth_) {
        return;
    }
    dropDownWidth_ = width;
    view()->setMinimumWidth(std::max(0, width));
}

void TCustomFlatComboBox::SetDisabledColor(const QColor& color) {
    disabledColor_ = color;
    DimDisabledText();
    update();
}

// The text of a disabled box is drawn in the dimmed colour, whatever colours
// its owner gives it: owners set every colour group at once.
void TCustomFlatComboBox::DimDisabledText() {
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

void TCustomFlatComboBox::showPopup() {
    if (style_ != csSimple) {
        QComboBox::showPopup();
    }
}

void TCustomFlatComboBox::hidePopup() {
    const bool wasShown = view()->isVisible();
    QComboBox::hidePopup();
    if (wasShown) {
        emit CloseUp();
        UpdateFrame();
    }
}

bool TCustomFlatComboBox::event(QEvent* event) {
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

bool TCustomFlatComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            PlaceTextField();
            break;
        case QEvent::MouseButtonPress:
            // The caret may land anywhere: all of the text counts as typed.
            completion_.SetSearchText(lineEdit()->text());
            break;
        default:
            break;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TCustomFlatComboBox::keyPressEvent(QKeyEvent* event) {
    const auto [key, character] = Classify(*event);
    const QScopedValueRollback keepKey(key_, event);
    const QScopedValueRollback keepCharacter(keyCharacter_, character);
    event->accept();
    if (style_ == csDropDownList) {
        completion_.TypeAheadKey(key, character);
        if (key == TEditKey::Character || key == TEditKey::Backspace) {
            typeAheadTimer_.start();
        }
        return;
    }
    const bool full = maxLength_ > 0 && Text().size() >= maxLength_ && SelLength() == 0;
    if (key == TEditKey::Character && character.isPrint() && full) {
        InvalidKey();
        return;
    }
    const int indexBefore = currentIndex();
    completion_.TypeKey(key, character);
    // As after a wheel step, the whole item is selected, so that the next
    // key replaces it.
    if (key == TEditKey::Scroll && currentIndex() != indexBefore && lineEdit()) {
        lineEdit()->selectAll();
    }
}

void TCustomFlatComboBox::wheelEvent(QWheelEvent* event) {
    event->accept();
    const int indexBefore = currentIndex();
    wheelRemainder_ += event->angleDelta().y();
    for (; wheelRemainder_ >= WheelNotch; wheelRemainder_ -= WheelNotch) {
        completion_.WheelStep(false);
    }
    for (; wheelRemainder_ <= -WheelNotch; wheelRemainder_ += WheelNotch) {
        completion_.WheelStep(true);
    }
    if (currentIndex() != indexBefore && lineEdit()) {
        lineEdit()->selectAll();
    }
}

void TCustomFlatComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    focused_ = true;
    UpdateFrame();
}

void TCustomFlatComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason) {
        return; // the list dropped down; the focus stays with the box
    }
    focused_ = false;
    if (style_ == csDropDownList) {
        EndTypeAhead();
    } else if (style_ == csDropDown && !Text().isEmpty()) {
        const int index = findText(Text(), Qt::MatchFixedString);
        if (index >= 0) {
            SelectItem(index);
        } else {
            emit NotInList();
        }
    }
    UpdateFrame();
}

void TCustomFlatComboBox::EndTypeAhead() {
    typeAheadTimer_.stop();
    if (style_ == csDropDownList) {
        completion_.SetSearchText({});
    }
}

void TCustomFlatComboBox::enterEvent(QEnterEvent* event) {
    QComboBox::enterEvent(event);
    hot_ = true;
    UpdateFrame();
    emit MouseEnter();
}

void TCustomFlatComboBox::leaveEvent(QEvent* event) {
    QComboBox::leaveEvent(event);
    hot_ = false;
    UpdateFrame();
    emit MouseLeave();
}

void TCustomFlatComboBox::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    PlaceTextField();
}

void TCustomFlatComboBox::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    switch (event->type()) {
    case QEvent::PaletteChange:
        DimDisabledText();
        break;
    case QEvent::StyleChange:
    case QEvent::FontChange:
        PlaceTextField();
        break;
    default:
        break;
    }
}

void TCustomFlatComboBox::contextMenuEvent(QContextMenuEvent* event) {
    QLineEdit* field = lineEdit();
    if (!field || AllowEdit()) {
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

QString TCustomFlatComboBox::Text() const {
    return lineEdit() ? lineEdit()->text() : currentText();
}

int TCustomFlatComboBox::SelStart() const {
    const QLineEdit* field = lineEdit();
    if (!field) {
        return 0;
    }
    return field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
}

int TCustomFlatComboBox::SelLength() const {
    return lineEdit() ? lineEdit()->selectionLength() : 0;
}

void TCustomFlatComboBox::SelectItem(int index) {
    const QScopedValueRollback guard(settingText_, true);
    setCurrentIndex(index);
    // The current item may already be this one while the field shows other text.
    if (QLineEdit* field = lineEdit(); field && field->text() != itemText(index)) {
        field->setText(itemText(index));
    }
}

void TCustomFlatComboBox::SetText(const QString& text) {
    const QScopedValueRollback guard(settingText_, true);
    if (QLineEdit* field = lineEdit()) {
        field->setText(text);
    }
}

void TCustomFlatComboBox::SetSelection(int start, int length) {
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

void TCustomFlatComboBox::StandardHandling(QChar key) {
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
    QKeyEvent replaced(QEvent::KeyPress, KeyFor(key, key_->key()), key_->modifiers(), QString(key));
    QComboBox::keyPressEvent(&replaced);
    key_->setAccepted(replaced.isAccepted());
}

void TCustomFlatComboBox::InvalidKey() {
    if (beepOnInvalidKey_) {
        QApplication::beep();
    }
}

QChar TCustomFlatComboBox::RaiseKeyPress(QChar key) {
    emit KeyPress(key);
    if (key == u'\r') {
        emit ReturnPressed();
    }
    return key;
}

// Text that changed other than by typing (set by the program, pasted from the
// menu, undone) is typed text from now on; a drop-down box also completes it.
void TCustomFlatComboBox::TextChangedElsewhere(const QString& text) {
    if (key_ || settingText_) {
        return;
    }
    completion_.SetSearchText(text);
    if (style_ == csDropDown) {
        const QScopedValueRollback guard(settingText_, true);
        completion_.MatchQuietly();
    }
}
