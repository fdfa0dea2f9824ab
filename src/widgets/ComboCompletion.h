#pragma once

#include <QChar>
#include <QString>

// The text field and item list that typing completes from, as a combo box
// (or a test) offers them to TComboCompletion.
class TCompletionField {
public:
    virtual ~TCompletionField() = default;

    virtual QString Text() const = 0;
    // The start of the selection (the caret when nothing is selected) and
    // the number of selected characters.
    virtual int SelStart() const = 0;
    virtual int SelLength() const = 0;
    virtual int ItemCount() const = 0;
    virtual QString ItemText(int index) const = 0;
    virtual int ItemIndex() const = 0;

    // Makes an item the current one and shows its text; -1 empties the field.
    virtual void SelectItem(int index) = 0;
    // Rewrites the text without that counting as the user's edit.
    virtual void SetText(const QString& text) = 0;
    virtual void SetSelection(int start, int length) = 0;
    // The field's own editing of the key in hand. `key` is its character as
    // the key-press handlers left it, or null for a key without a character.
    virtual void StandardHandling(QChar key) = 0;

    virtual void RaiseClick() = 0;
    virtual void RaiseChange() = 0;
    virtual void RaiseMatch() = 0;
    // A key was refused.
    virtual void InvalidKey() = 0;
    // Reports a typed character; the answer is the character as the handlers
    // leave it, null when they dropped it.
    virtual QChar RaiseKeyPress(QChar key) = 0;
};

// The keys as the completion tells them apart.
enum class TEditKey {
    Scroll,      // Up, Down, Page Up, Page Down
    Caret,       // Home, End, Left, Right
    Insert,      // Insert alone
    InsertPaste, // Shift+Insert
    Delete,      // Delete, with or without Shift
    Backspace,
    Escape,
    CharPaste, // Ctrl+V
    CharCut,   // Ctrl+X
    Character, // any other character, Enter among them
    Other,     // a key without a character
};

// Completes what the user types from the field's item list. It keeps the
// part of the text that the user typed (the search text) apart from the part
// that completion appended, so that the appended part can be replaced by the
// next key and taken back by Backspace.
class TComboCompletion {
public:
    explicit TComboCompletion(TCompletionField& field)
        : field_(field) {}

    bool AllowEdit() const { return allowEdit_; }
    void SetAllowEdit(bool allow) { allowEdit_ = allow; }

    const QString& SearchText() const { return searchText_; }
    void SetSearchText(const QString& text) { searchText_ = text; }

    // The first item, in list order, that begins with `text` regardless of
    // letter case; -1 when there is none or `text` is empty.
    int FindItem(const QString& text) const;

    // Completes the field from the first item that begins with `typed`:
    // shows the item in its own spelling and selects the appended part.
    bool CompleteText(const QString& typed);

    // Selects the first item that begins with the text and its appended part,
    // without events: the text was set from outside.
    void MatchQuietly();

    // A key typed into the text field of an editable box.
    void TypeKey(TEditKey key, QChar character = {});
    // A key typed into a box whose text is only ever one of its items.
    void TypeAheadKey(TEditKey key, QChar character = {});
    // One notch of the mouse wheel.
    void WheelStep(bool down);

private:
    void DeleteKey();
    void BackspaceKey();
    void EscapeKey();
    void PrintableKey();
    void ClipboardKey(bool reportsKey);
    void SelectNothing();
    void TypeAheadSelect(int index);
    QChar Report(QChar key);

    TCompletionField& field_;
    bool allowEdit_ = true;
    QString searchText_;
    QChar key_;               // the character in hand
    bool keyReported_ = true; // its key-press event was raised
};
