#pragma once

#include "PageKeys.h"

#include <QStringList>
#include <QWidget>
#include <memory>

class QAbstractItemModel;
class QFileDialog;
class QTextDocument;
class QTextEdit;
class AutoLoadOption;
class ColorBitmapButton;
class FlatComboBox;
class Messenger;
struct SearchPosition;

// Puts a loaded document into the box in place of its text: the box's font,
// line wrapping and margin stay, the former document goes.
void showDocument(QTextEdit& box, std::unique_ptr<QTextDocument> document);

// The "Notepad" page: the user's own rich-text notes, which the user formats,
// searches, prints, and saves to and loads from notes files (*.vrn).
class NotepadPage : public QWidget, public KeyedPage {
    Q_OBJECT

public:
    // Built before showing, so that the new controls show with the page.
    void setVisible(bool visible) override;
    // The search resets the tree searches' start whenever the user edits its box.
    NotepadPage(QWidget* parent, Messenger& messenger, SearchPosition& searchPosition);

    // The auto-load option and the file of the last import or export.
    AutoLoadOption& autoLoad() { return *autoLoad_; }

    // The list that the search box completes from, shared with other boxes.
    void setSearchList(QAbstractItemModel* list);

    // "Find in Notepad" of the way output: the keyword into the search box,
    // then the search from the top of the notes.
    void findFromOutput(const QString& keyword);

    // Whether the notes differ from what was last loaded or saved, or from
    // the empty notes of the start; undoing back clears it.
    bool unsaved() const;
    // Saves the notes to the file they were last loaded from or saved to; a
    // notepad that never had a file, or whose file was plain text, asks for
    // one as Save does. False when the user cancelled that.
    bool saveUnsaved();
    const QTextDocument& notes() const;
    // Puts the notes of a copy of unsaved work in place: unsaved, and with no
    // file yet, so that the user chooses where they go.
    void restoreNotes(const QString& path);
    PageKeyTargets keyTargets() override;

signals:
    // Load or Save named a new last file: the settings are due to be written.
    void settingsChanged();
    // The notes changed: text typed or deleted, formatting applied, a file loaded.
    void changed();
    void unsavedChanged(bool unsaved);

private:
    void ensureBuilt();
    // Replaces the notes by the file's text once it is read completely.
    void loadFile(const QString& path);
    // Shows the document in place of the notes and follows its changes.
    void adoptDocument(std::unique_ptr<QTextDocument> document);
    void watchDocument();
    // Writes the notes to the file; from now on they are saved there.
    void saveFile(const QString& path);
    QFileDialog* makeOpenDialog();
    QFileDialog* makeSaveDialog();
    QString chooseFile(QFileDialog* dialog, QString& lastChosen);

    void onFindClicked();
    void onSearchBoxReturnPressed();
    void onSearchTextChanged();
    void onSaveClicked();
    void onLoadClicked();
    void onPrintClicked();

    Messenger& messenger_;
    SearchPosition& searchPosition_;
    AutoLoadOption* autoLoad_;
    QAbstractItemModel* searchList_ = nullptr;
    QString lastOpened_;
    QString lastSaved_;
    // The file the notes were last loaded from or saved to in this run;
    // empty after a plain text file was loaded.
    QString currentFile_;

    QTextEdit* notes_ = nullptr;
    FlatComboBox* searchBox_ = nullptr;
    ColorBitmapButton* findButton_ = nullptr;
    ColorBitmapButton* printButton_ = nullptr;
    ColorBitmapButton* loadButton_ = nullptr;
    ColorBitmapButton* saveButton_ = nullptr;
    QFileDialog* openDialog_ = nullptr; // made at the first Load
    QFileDialog* saveDialog_ = nullptr; // made at the first Save
};
