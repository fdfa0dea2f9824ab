#include "NotepadPage.h"

#include "AutoLoadOption.h"
#include "ColorBitmapButton.h"
#include "Colors.h"
#include "ErrorBox.h"
#include "FlatComboBox.h"
#include "Look.h"
#include "Messenger.h"
#include "NotesFile.h"
#include "NotesFormatting.h"
#include "Printing.h"
#include "RichTextBox.h"
#include "SearchPosition.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

QTextEdit* notesBox(QWidget* parent) {
    auto* box = makeControl<RichTextBox>(parent, "RichEdit2");
    box->setFont(vantorFont(11));
    setColors(box, Palette::Black, Palette::Silver);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QTextEdit::WidgetWidth);
    box->setAccessibleName(QStringLiteral("Notepad"));
    place(box, 2, 22, 431, 341);
    return box;
}

ColorBitmapButton* notesButton(QWidget* parent, const char* name, const QString& caption,
                               const QString& hint, int left, bool bold = false) {
    ColorBitmapButton* button = colourButton(parent, name, caption, hint, vantorFont(9, bold));
    place(button, left, 369, 52, 22);
    return button;
}

// The toolkit's own dialog, the same on every system; it can be resized.
QFileDialog* notesDialog(QWidget* parent, const char* name, const QString& title,
                         const QStringList& filters) {
    auto* dialog = new QFileDialog(parent, title);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::ReadOnly, false);
    dialog->setNameFilters(filters);
    dialog->setSizeGripEnabled(true);
    return dialog;
}

} // namespace

void showDocument(QTextEdit& box, std::unique_ptr<QTextDocument> document) {
    QTextDocument* old = box.document();
    document->setDefaultFont(box.font());
    document->setDefaultTextOption(old->defaultTextOption());
    document->setDocumentMargin(old->documentMargin());
    document->setParent(&box);
    // The first document belongs to the box's text control, which deletes it
    // while it takes the new one; the ones set here belong to the box. Who
    // owns it must be asked before, as the first one is gone after.
    const bool boxOwnsOld = old->parent() == &box;
    box.setDocument(document.release());
    if (boxOwnsOld) {
        delete old;
    }
}

NotepadPage::NotepadPage(QWidget* parent, Messenger& messenger, SearchPosition& searchPosition)
    : QWidget(parent)
    , messenger_(messenger)
    , searchPosition_(searchPosition)
    , autoLoad_(new AutoLoadOption(this, "CheckBox1", 2, 2, 255,
                                   [this](const QString& path) { loadFile(path); })) {
    setObjectName(QStringLiteral("TabSheet4"));
    setColors(this, Palette::DarkGround, Palette::Silver);
    // The notes are there from the start: the last file may be loaded into them.
    notes_ = notesBox(this);
    new NotesFormatting(notes_);
    watchDocument();
}

void NotepadPage::setVisible(bool visible) {
    if (visible) {
        ensureBuilt();
    }
    QWidget::setVisible(visible);
    // Turning to the page, the user can type into the notes at once.
    if (visible) {
        notes_->setFocus(Qt::OtherFocusReason);
    }
}

// The search box and the buttons are built when the page is first shown.
void NotepadPage::ensureBuilt() {
    if (searchBox_ != nullptr) {
        return;
    }
    searchBox_ =
        completingBox(this, "NoteS", QStringLiteral("Keyword"), Palette::Black, 2, 369, 199);
    findButton_ = notesButton(this, "NotesSearch", QStringLiteral("Find"),
                              QStringLiteral("Search the keyword in whole notepad"), 205, true);
    printButton_ = notesButton(this, "BitBtnWithColor6", QStringLiteral("Print"),
                               QStringLiteral("Print whole notepad"), 272);
    loadButton_ = notesButton(this, "BitBtnWithColor5", QStringLiteral("Load"),
                              QStringLiteral("Import an external notepad"), 327);
    saveButton_ = notesButton(this, "BitBtnWithColor4", QStringLiteral("Save"),
                              QStringLiteral("Export the actual notepad"), 382);

    connect(searchBox_, &FlatComboBox::returnPressed, this,
            guarded([this] { onSearchBoxReturnPressed(); }));
    connect(searchBox_, &FlatComboBox::changed, this, guarded([this] { onSearchTextChanged(); }));
    connect(findButton_, &ColorBitmapButton::clicked, this, guarded([this] { onFindClicked(); }));
    connect(printButton_, &ColorBitmapButton::clicked, this, guarded([this] { onPrintClicked(); }));
    connect(loadButton_, &ColorBitmapButton::clicked, this, guarded([this] { onLoadClicked(); }));
    connect(saveButton_, &ColorBitmapButton::clicked, this, guarded([this] { onSaveClicked(); }));
    if (searchList_ != nullptr) {
        searchBox_->setModel(searchList_);
    }
    setTabOrder(notes_, searchBox_);
}

void NotepadPage::setSearchList(QAbstractItemModel* list) {
    searchList_ = list;
    if (searchBox_ != nullptr) {
        searchBox_->setModel(list);
    }
}

PageKeyTargets NotepadPage::keyTargets() {
    ensureBuilt();
    return {searchBox_, saveButton_, printButton_, loadButton_};
}

// A new keyword from elsewhere is looked for from the top, as the trees do:
// after an earlier hit further down, it would be reported missing.
void NotepadPage::findFromOutput(const QString& keyword) {
    ensureBuilt();
    searchBox_->setCurrentText(keyword);
    QTextCursor caret = notes_->textCursor();
    caret.clearSelection();
    notes_->setTextCursor(caret);
    onFindClicked();
}

// From the end of the selection on, so that each press finds the next hit;
// without a selection from the top, wherever the caret stands.
void NotepadPage::onFindClicked() {
    const QString keyword = searchBox_->currentText();
    if (keyword.isEmpty()) {
        messenger_.notify(QStringLiteral("Error."),
                          QStringLiteral("You forgot to enter a keyword to search for."),
                          MessageKind::Notice);
        return;
    }
    const QTextCursor selection = notes_->textCursor();
    const int start = selection.hasSelection() ? selection.selectionEnd() : 0;
    const QTextCursor hit = notes_->document()->find(keyword, start);
    if (hit.isNull()) {
        messenger_.notify(QStringLiteral("Search completed."),
                          QStringLiteral("\"%1\" was not found in the notepad.").arg(keyword),
                          MessageKind::Alert);
        return;
    }
    notes_->setFocus(Qt::OtherFocusReason);
    notes_->setTextCursor(hit);
}

// Enter in an empty box is an Enter like any other.
void NotepadPage::onSearchBoxReturnPressed() {
    if (!searchBox_->currentText().isEmpty()) {
        onFindClicked();
    }
}

void NotepadPage::onSearchTextChanged() {
    searchPosition_.value = 0;
}

// Saving without a question at the end goes only into a file of rich text: a
// plain text file that was read stays plain text unless the user says so.
void NotepadPage::loadFile(const QString& path) {
    adoptDocument(loadNotesFile(path));
    currentFile_ = isRichTextFile(path) ? path : QString();
}

void NotepadPage::adoptDocument(std::unique_ptr<QTextDocument> document) {
    const bool wasUnsaved = unsaved();
    // Building it modified it; as it stands, it is what the file holds.
    document->setModified(false);
    showDocument(*notes_, std::move(document));
    watchDocument();
    emit changed();
    if (wasUnsaved != unsaved()) {
        emit unsavedChanged(unsaved());
    }
}

void NotepadPage::watchDocument() {
    QTextDocument* document = notes_->document();
    connect(document, &QTextDocument::contentsChanged, this, &NotepadPage::changed);
    connect(document, &QTextDocument::modificationChanged, this, &NotepadPage::unsavedChanged);
}

bool NotepadPage::unsaved() const {
    return notes_->document()->isModified();
}

const QTextDocument& NotepadPage::notes() const {
    return *notes_->document();
}

void NotepadPage::restoreNotes(const QString& path) {
    adoptDocument(loadNotesFile(path));
    currentFile_.clear();
    notes_->document()->setModified(true);
}

void NotepadPage::saveFile(const QString& path) {
    saveNotesFile(path, *notes_->document());
    currentFile_ = path;
    notes_->document()->setModified(false);
    autoLoad_->setLastFile(path);
    emit settingsChanged();
}

bool NotepadPage::saveUnsaved() {
    if (currentFile_.isEmpty()) {
        onSaveClicked();
        return !currentFile_.isEmpty();
    }
    saveFile(currentFile_);
    return true;
}

QFileDialog* NotepadPage::makeOpenDialog() {
    QFileDialog* dialog =
        notesDialog(this, "OpenDialog1", QStringLiteral("Please choose a notepad-file..."),
                    {QStringLiteral("Vantor-tension (*.vrn)"), QStringLiteral("All Files (*)")});
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    return dialog;
}

QFileDialog* NotepadPage::makeSaveDialog() {
    QFileDialog* dialog =
        notesDialog(this, "SaveDialog1", QStringLiteral("Das Notizblatt exportieren..."),
                    {QStringLiteral("Vantor-tension (*.vrn)"), QStringLiteral("Alle Dateien (*)")});
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("vrn"));
    // Saving replaces a file of the chosen name without asking.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return dialog;
}

// Offers the dialog's last choice again; before the first, the folder of the
// last notes file, else the home folder. Empty when the user cancels.
QString NotepadPage::chooseFile(QFileDialog* dialog, QString& lastChosen) {
    if (!lastChosen.isEmpty()) {
        dialog->selectFile(lastChosen);
    } else {
        const QFileInfo last(autoLoad_->lastFile());
        dialog->setDirectory(!autoLoad_->lastFile().isEmpty() && last.absoluteDir().exists()
                                 ? last.absolutePath()
                                 : QDir::homePath());
    }
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return {};
    }
    lastChosen = QDir::toNativeSeparators(dialog->selectedFiles().constFirst());
    return lastChosen;
}

// A file that can't be read leaves the notes and the last file as they were;
// the error reaches the standard error box.
void NotepadPage::onLoadClicked() {
    if (openDialog_ == nullptr) {
        openDialog_ = makeOpenDialog();
    }
    const QString path = chooseFile(openDialog_, lastOpened_);
    if (path.isEmpty()) {
        return;
    }
    loadFile(path);
    autoLoad_->setLastFile(path);
    emit settingsChanged();
}

// The save goes beside the old file and replaces it only when complete.
void NotepadPage::onSaveClicked() {
    if (saveDialog_ == nullptr) {
        saveDialog_ = makeSaveDialog();
    }
    const QString path = chooseFile(saveDialog_, lastSaved_);
    if (path.isEmpty()) {
        return;
    }
    saveFile(path);
}

void NotepadPage::onPrintClicked() {
    printWithDialog(this, *notes_->document());
}
