#include "ComboCompletion.h"

#include <algorithm>

namespace {

// Characters that go into the text, as opposed to control characters. Every
// printable character counts, not only those of one 8-bit code page.
bool IsPrintable(QChar key) {
    return !key.isNull() && key.isPrint() && !key.isSurrogate();
}

} // namespace

int TComboCompletion::FindItem(const QString& text) const {
    if (text.isEmpty()) {
        return -1;
    }
    for (int index = 0; index < field_.ItemCount(); ++index) {
        if (field_.ItemText(index).startsWith(text, Qt::CaseInsensitive)) {
            return index;
        }
    }
    return -1;
}

bool TComboCompletion::CompleteText(const QString& typed) {
    const int index = FindItem(typed);
    if (index < 0) {
        return false;
    }
    field_.SelectItem(index);
    field_.RaiseClick();
    field_.RaiseChange();
    if (!keyReported_) {
        Report(key_);
    }
    const int itemLength = static_cast<int>(field_.ItemText(index).size());
    const int typedLength = static_cast<int>(typed.size());
    field_.SetSelection(typedLength, itemLength - typedLength);
    field_.RaiseMatch();
    return true;
}

void TComboCompletion::MatchQuietly() {
    const int index = FindItem(searchText_);
    if (index < 0) {
        return;
    }
    field_.SelectItem(index);
    const int typedLength = static_cast<int>(searchText_.size());
    field_.SetSelection(typedLength, static_cast<int>(field_.ItemText(index).size()) - typedLength);
}

void TComboCompletion::TypeKey(TEditKey key, QChar character) {
    key_ = character;
    keyReported_ = character.isNull();
    switch (key) {
    case TEditKey::Scroll:
        searchText_.clear();
        field_.StandardHandling({});
        break;
    case TEditKey::Caret:
        searchText_ = field_.Text();
        field_.StandardHandling({});
        break;
    case TEditKey::Insert:
        if (allowEdit_) {
            field_.StandardHandling({});
        }
        break;
    case TEditKey::InsertPaste:
        ClipboardKey(false);
        break;
    case TEditKey::CharPaste:
    case TEditKey::CharCut:
        ClipboardKey(true);
        break;
    case TEditKey::Delete:
        DeleteKey();
        break;
    case TEditKey::Backspace:
        BackspaceKey();
        break;
    case TEditKey::Escape:
        EscapeKey();
        break;
    case TEditKey::Character:
        PrintableKey();
        break;
    case TEditKey::Other:
        field_.StandardHandling({});
        break;
    }
    keyReported_ = true;
}

// Pasting and cutting edit as usual, then the whole new text is typed text.
void TComboCompletion::ClipboardKey(bool reportsKey) {
    if (!allowEdit_) {
        return;
    }
    field_.StandardHandling(reportsKey ? Report(key_) : QChar());
    keyReported_ = true;
    searchText_ = field_.Text();
    CompleteText(searchText_);
}

void TComboCompletion::DeleteKey() {
    const QString text = field_.Text();
    const int start = field_.SelStart();
    const bool wholeTextSelected = start == 0 && field_.SelLength() == text.size();
    if (!allowEdit_ && !wholeTextSelected) {
        // The key is refused; the typed text must stay what the field shows.
        return;
    }
    searchText_ = text;
    searchText_.remove(start, std::max(field_.SelLength(), 1));
    field_.StandardHandling({});
}

void TComboCompletion::BackspaceKey() {
    if (searchText_.isEmpty()) {
        field_.InvalidKey();
        field_.StandardHandling(Report(key_));
        return;
    }
    QString shorter = searchText_;
    const int start = field_.SelStart();
    const int length = field_.SelLength();
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
    field_.RaiseChange();
    if (shorter.isEmpty()) {
        SelectNothing();
        field_.StandardHandling(key_);
        return;
    }
    searchText_ = shorter;
    if (!CompleteText(searchText_)) {
        field_.StandardHandling(Report(key_));
    }
}

void TComboCompletion::EscapeKey() {
    SelectNothing();
}

// Empties the field and forgets the typed text; the key is reported.
void TComboCompletion::SelectNothing() {
    field_.SelectItem(-1);
    searchText_.clear();
    field_.RaiseClick();
    field_.RaiseChange();
    key_ = Report(key_);
}

void TComboCompletion::PrintableKey() {
    const QChar key = Report(key_);
    if (!IsPrintable(key)) {
        field_.StandardHandling(key);
        return;
    }
    key_ = key;
    const int start = field_.SelStart();
    if (field_.SelLength() > 0) {
        searchText_.remove(start, field_.SelLength());
    }
    const QString old = searchText_;
    searchText_.insert(std::min(start, static_cast<int>(searchText_.size())), key);
    if (CompleteText(searchText_)) {
        return;
    }
    if (allowEdit_) {
        // Drop the appended part and let the field insert the key where the
        // caret was, as in any text field.
        field_.SetText(old);
        field_.SetSelection(start, 0);
        field_.StandardHandling(key);
    } else {
        field_.InvalidKey();
        searchText_ = old;
    }
}

QChar TComboCompletion::Report(QChar key) {
    keyReported_ = true;
    return field_.RaiseKeyPress(key);
}

void TComboCompletion::TypeAheadKey(TEditKey key, QChar character) {
    key_ = character;
    keyReported_ = character.isNull();
    switch (key) {
    case TEditKey::Scroll:
    case TEditKey::Caret:
        searchText_.clear();
        field_.StandardHandling({});
        break;
    case TEditKey::Escape:
        searchText_.clear();
        if (field_.ItemCount() > 0) {
            field_.SelectItem(0);
            field_.RaiseClick();
            field_.RaiseChange();
        }
        break;
    case TEditKey::Backspace:
        searchText_.chop(1);
        TypeAheadSelect(searchText_.isEmpty() ? 0 : FindItem(searchText_));
        break;
    case TEditKey::Character:
        if (IsPrintable(character)) {
            const int index = FindItem(searchText_ + character);
            if (index < 0) {
                field_.InvalidKey();
            } else {
                searchText_ += character;
                TypeAheadSelect(index);
            }
        } else {
            field_.StandardHandling(Report(character));
        }
        break;
    default:
        field_.StandardHandling({});
        break;
    }
    keyReported_ = true;
}

void TComboCompletion::TypeAheadSelect(int index) {
    if (index < 0 || index >= field_.ItemCount()) {
        return;
    }
    field_.SelectItem(index);
    field_.RaiseClick();
    field_.RaiseChange();
    Report(key_);
}

void TComboCompletion::WheelStep(bool down) {
    const int index = field_.ItemIndex();
    if (down) {
        // The step down stops at the last item as the step up stops at the first.
        if (index + 1 < field_.ItemCount()) {
            field_.SelectItem(index + 1);
            field_.RaiseClick();
            field_.RaiseChange();
        }
    } else if (index >= 1) {
        field_.SelectItem(index - 1);
        field_.RaiseClick();
        field_.RaiseChange();
    } else if (field_.ItemCount() > 0) {
        field_.SelectItem(0);
    }
}
