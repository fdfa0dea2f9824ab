#pragma once

#include <QChar>
#include <QString>

// The text field and item list that typing completes from, as a combo box
// (or a test) offers them to ComboCompletion.
class CompletionField {
public:
    virtual ~CompletionField() = default;

    virtual QString fieldText() const = 0;
    // The start of the selection (the caret when nothing is selected) and
    // the number of selected characters.
    virtual int selStart() const = 0;
    virtual int selLength() const = 0;
    virtual int itemCount() const = 0;
    virtual QString fieldItemText(int index) const = 0;
    virtual int itemIndex() const = 0;

    // Makes an item the current one and shows its text; -1 empties the field.
    virtual void selectItem(int index) = 0;
    // Rewrites the text without that counting as the user's edit.
    virtual void setFieldText(const QString& text) = 0;
    virtual void setSelection(int start, int length) = 0;
    // The field's own editing of the key in hand. `key` is its character as
    // the key-press handlers left it, or null for a key without a character.
    virtual void standardHandling(QChar key) = 0;

    virtual void raiseClick() = 0;
    virtual void raiseChange() = 0;
    virtual void raiseMatch() = 0;
    // A key was refused.
    virtual void invalidKey() = 0;
    // Reports a typed character; the answer is the character as the handlers
    // leave it, null when they dropped it.
    virtual QChar raiseKeyPress(QChar key) = 0;
};

// The keys as the completion tells them apart.
enum class EditKey {
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
class ComboCompletion {
public:
    explicit ComboCompletion(CompletionField& field)
        : field_(field) {}

    bool allowEdit() const { return allowEdit_; }
    void setAllowEdit(bool allow) { allowEdit_ = allow; }

    const QString& searchText() const { return searchText_; }
    void setSearchText(const QString& text) { searchText_ = text; }

    // The first item, in list order, that begins with `text` regardless of
    // letter case; -1 when there is none or `text` is empty.
    int findItem(const QString& text) const;

    // Completes the field from the first item that begins with `typed`:
    // shows the item in its own spelling and selects the appended part.
    bool completeText(const QString& typed);

    // Selects the first item that begins with the text and its appended part,
    // without events: the text was set from outside.
    void matchQuietly();

    // A key typed into the text field of an editable box.
    void typeKey(EditKey key, QChar character = {});
    // A key typed into a box whose text is only ever one of its items.
    void typeAheadKey(EditKey key, QChar character = {});
    // One notch of the mouse wheel.
    void wheelStep(bool down);

private:
    void deleteKey();
    void backspaceKey();
    void escapeKey();
    void printableKey();
    void clipboardKey(bool reportsKey);
    void selectNothing();
    void typeAheadSelect(int index);
    QChar report(QChar key);

    CompletionField& field_;
    bool allowEdit_ = true;
    QString searchText_;
    QChar key_;               // the character in hand
    bool keyReported_ = true; // its key-press event was raised
};
