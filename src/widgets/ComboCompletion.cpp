#include "ComboCompletion.h"

#include <algorithm>

namespace {

// Characters that go into the text, as opposed to control characters. Every
// printable character counts, not only those of one 8-bit code page.
bool isPrintable(QChar key) {
    return !key.isNull() && key.isPrint() && !key.isSurrogate();
}

} // namespace

int ComboCompletion::findItem(const QString& text) const {
    if (text.isEmpty()) {
        return -1;
    }
    for (int index = 0; index < field_.itemCount(); ++index) {
        if (field_.fieldItemText(index).startsWith(text, Qt::CaseInsensitive)) {
            return index;
        }
    }
    return -1;
}

bool ComboCompletion::completeText(const QString& typed) {
    const int index = findItem(typed);
    if (index < 0) {
        return false;
    }
    field_.selectItem(index);
    field_.raiseClick();
    field_.raiseChange();
    if (!keyReported_) {
        report(key_);
    }
    const int itemLength = static_cast<int>(field_.fieldItemText(index).size());
    const int typedLength = static_cast<int>(typed.size());
    field_.setSelection(typedLength, itemLength - typedLength);
    field_.raiseMatch();
    return true;
}

void ComboCompletion::matchQuietly() {
    const int index = findItem(searchText_);
    if (index < 0) {
        return;
    }
    field_.selectItem(index);
    const int typedLength = static_cast<int>(searchText_.size());
    field_.setSelection(typedLength,
                        static_cast<int>(field_.fieldItemText(index).size()) - typedLength);
}

void ComboCompletion::typeKey(EditKey key, QChar character) {
    key_ = character;
    keyReported_ = character.isNull();
    switch (key) {
    case EditKey::Scroll:
        searchText_.clear();
        field_.standardHandling({});
        break;
    case EditKey::Caret:
        searchText_ = field_.fieldText();
        field_.standardHandling({});
        break;
    case EditKey::Insert:
        if (allowEdit_) {
            field_.standardHandling({});
        }
        break;
    case EditKey::InsertPaste:
        clipboardKey(false);
        break;
    case EditKey::CharPaste:
    case EditKey::CharCut:
        clipboardKey(true);
        break;
    case EditKey::Delete:
        deleteKey();
        break;
    case EditKey::Backspace:
        backspaceKey();
        break;
    case EditKey::Escape:
        escapeKey();
        break;
    case EditKey::Character:
        printableKey();
        break;
    case EditKey::Other:
        field_.standardHandling({});
        break;
    }
    keyReported_ = true;
}

// Pasting and cutting edit as usual, then the whole new text is typed text.
void ComboCompletion::clipboardKey(bool reportsKey) {
    if (!allowEdit_) {
        return;
    }
    field_.standardHandling(reportsKey ? report(key_) : QChar());
    keyReported_ = true;
    searchText_ = field_.fieldText();
    completeText(searchText_);
}

void ComboCompletion::deleteKey() {
    const QString text = field_.fieldText();
    const int start = field_.selStart();
    const bool wholeTextSelected = start == 0 && field_.selLength() == text.size();
    if (!allowEdit_ && !wholeTextSelected) {
        // The key is refused; the typed text must stay what the field shows.
        return;
    }
    searchText_ = text;
    searchText_.remove(start, std::max(field_.selLength(), 1));
    field_.standardHandling({});
}

void ComboCompletion::backspaceKey() {
    if (searchText_.isEmpty()) {
        field_.invalidKey();
        field_.standardHandling(report(key_));
        return;
    }
    QString shorter = searchText_;
    const int start = field_.selStart();
    const int length = field_.selLength();
    if (start >= shorter.size()) {
        if (start == shorter.size()) {
            shorter.chop(1);
        }
    } else if (allowEdit_) {
        if (length > 0) {
            shorter.remove(start, length);
        } else if (start > 0) {
            shorter.remove(start - 1, 1);
        }
    }
    field_.raiseChange();
    if (shorter.isEmpty()) {
        selectNothing();
        field_.standardHandling(key_);
        return;
    }
    searchText_ = shorter;
    if (!completeText(searchText_)) {
        field_.standardHandling(report(key_));
    }
}

void ComboCompletion::escapeKey() {
    selectNothing();
}

// Empties the field and forgets the typed text; the key is reported.
void ComboCompletion::selectNothing() {
    field_.selectItem(-1);
    searchText_.clear();
    field_.raiseClick();
    field_.raiseChange();
    key_ = report(key_);
}

void ComboCompletion::printableKey() {
    const QChar key = report(key_);
    if (!isPrintable(key)) {
        field_.standardHandling(key);
        return;
    }
    key_ = key;
    const int start = field_.selStart();
    if (field_.selLength() > 0) {
        searchText_.remove(start, field_.selLength());
    }
    const QString old = searchText_;
    searchText_.insert(std::min(start, static_cast<int>(searchText_.size())), key);
    if (completeText(searchText_)) {
        return;
    }
    if (allowEdit_) {
        // Drop the appended part and let the field insert the key where the
        // caret was, as in any text field.
        field_.setFieldText(old);
        field_.setSelection(start, 0);
        field_.standardHandling(key);
    } else {
        field_.invalidKey();
        searchText_ = old;
    }
}

QChar ComboCompletion::report(QChar key) {
    keyReported_ = true;
    return field_.raiseKeyPress(key);
}

void ComboCompletion::typeAheadKey(EditKey key, QChar character) {
    key_ = character;
    keyReported_ = character.isNull();
    switch (key) {
    case EditKey::Scroll:
    case EditKey::Caret:
        searchText_.clear();
        field_.standardHandling({});
        break;
    case EditKey::Escape:
        searchText_.clear();
        if (field_.itemCount() > 0) {
            field_.selectItem(0);
            field_.raiseClick();
            field_.raiseChange();
        }
        break;
    case EditKey::Backspace:
        searchText_.chop(1);
        typeAheadSelect(searchText_.isEmpty() ? 0 : findItem(searchText_));
        break;
    case EditKey::Character:
        if (isPrintable(character)) {
            const int index = findItem(searchText_ + character);
            if (index < 0) {
                field_.invalidKey();
            } else {
                searchText_ += character;
                typeAheadSelect(index);
            }
        } else {
            field_.standardHandling(report(character));
        }
        break;
    default:
        field_.standardHandling({});
        break;
    }
    keyReported_ = true;
}

void ComboCompletion::typeAheadSelect(int index) {
    if (index < 0 || index >= field_.itemCount()) {
        return;
    }
    field_.selectItem(index);
    field_.raiseClick();
    field_.raiseChange();
    report(key_);
}

void ComboCompletion::wheelStep(bool down) {
    const int index = field_.itemIndex();
    if (down) {
        // The step down stops at the last item as the step up stops at the first.
        if (index + 1 < field_.itemCount()) {
            field_.selectItem(index + 1);
            field_.raiseClick();
            field_.raiseChange();
        }
    } else if (index >= 1) {
        field_.selectItem(index - 1);
        field_.raiseClick();
        field_.raiseChange();
    } else if (field_.itemCount() > 0) {
        field_.selectItem(0);
    }
}
