#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

class QFileDialog;
class QTextDocument;
class QTextEdit;
class TAutoLoadOption;
class TBitBtnWithColor;
class TFlatComboBox;
class TMessenger;
struct TSearchPosition;

// Puts a loaded document into the box in place of its text: the box's font,
// line wrapping and margin stay, the former document goes.
void ShowDocument(QTextEdit& box, std::unique_ptr<QTextDocument> document);

// The "Notepad" page: the user's own rich-text notes, which the user formats,
// searches, prints, and saves to and loads from notes files (*.vrn).
class TNotepadPage : public QWidget {
    Q_OBJECT

public:
    // Built before showing, so that the new controls show with the page.
    void setVisible(bool visible) override;
    // The search resets the tree searches' start whenever the user edits its box.
    TNotepadPage(QWidget* parent, TMessenger& messenger, TSearchPosition& searchPosition);

    // The auto-load option and the file of the last import or export.
    TAutoLoadOption& AutoLoad() { return *autoLoad_; }

    // The list that the search box completes from.
    void SetSearchItems(const QStringList& items);

    // "Find in Notepad" of the way output: the keyword into the search box,
    // then the search from the top of the notes.
    void FindFromOutput(const QString& keyword);

signals:
    // Load or Save named a new last file: the settings are due to be written.
    void SettingsChanged();

private:
    void EnsureBuilt();
    // Replaces the notes by the file's text once it is read completely.
    void LoadFile(const QString& path);
    QFileDialog* MakeOpenDialog();
    QFileDialog* MakeSaveDialog();
    QString ChooseFile(QFileDialog* dialog, QString& lastChosen);

    void NotesSearchClick();
    void NoteSKeyPress();
    void SucheChange();
    void BitBtnWithColor4Click(); // Save
    void BitBtnWithColor5Click(); // Load
    void BitBtnWithColor6Click(); // Print

    TMessenger& messenger_;
    TSearchPosition& searchPosition_;
    TAutoLoadOption* autoLoad_;
    QStringList searchItems_;
    QString lastOpened_;
    QString lastSaved_;

    QTextEdit* RichEdit2 = nullptr;               // the notes
    TFlatComboBox* NoteS = nullptr;               // the keyword
    TBitBtnWithColor* NotesSearch = nullptr;      // "Find"
    TBitBtnWithColor* BitBtnWithColor6 = nullptr; // "Print"
    TBitBtnWithColor* BitBtnWithColor5 = nullptr; // "Load"
    TBitBtnWithColor* BitBtnWithColor4 = nullptr; // "Save"
    QFileDialog* OpenDialog1 = nullptr;           // made at the first Load
    QFileDialog* SaveDialog1 = nullptr;           // made at the first Save
};
