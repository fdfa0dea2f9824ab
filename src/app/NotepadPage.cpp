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
#include "SearchPosition.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

QTextEdit* NotesBox(QWidget* parent) {
    auto* box = MakeControl<QTextEdit>(parent, "RichEdit2");
    box->setFont(VantorFont(11));
    SetColors(box, Palette::Black, Palette::Silver);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QTextEdit::WidgetWidth);
    box->setAccessibleName(QStringLiteral("Notepad"));
    Place(box, 2, 22, 431, 341);
    return box;
}

TBitBtnWithColor* NotesButton(QWidget* parent, const char* name, const QString& caption,
                              const QString& hint, int left, bool bold = false) {
    TBitBtnWithColor* button = ColourButton(parent, name, caption, hint, VantorFont(9, bold));
    Place(button, left, 369, 52, 22);
    return button;
}

// The toolkit's own dialog, the same on every system; it can be resized.
QFileDialog* NotesDialog(QWidget* parent, const char* name, const QString& title,
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

void ShowDocument(QTextEdit& box, std::unique_ptr<QTextDocument> document) {
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

TNotepadPage::TNotepadPage(QWidget* parent, TMessenger& messenger, TSearchPosition& searchPosition)
    : QWidget(parent)
    , messenger_(messenger)
    , searchPosition_(searchPosition)
    , autoLoad_(new TAutoLoadOption(this, "CheckBox1", 2, 2, 255,
                                    [this](const QString& path) { LoadFile(path); })) {
    setObjectName(QStringLiteral("TabSheet4"));
    SetColors(this, Palette::DarkGround, Palette::Silver);
    // The notes are there from the start: the last file may be loaded into them.
    RichEdit2 = NotesBox(this);
    new TNotesFormatting(RichEdit2);
}

void TNotepadPage::setVisible(bool visible) {
    if (visible) {
        EnsureBuilt();
    }
    QWidget::setVisible(visible);
}

// The search box and the buttons are built when the page is first shown.
void TNotepadPage::EnsureBuilt() {
    if (NoteS != nullptr) {
        return;
    }
    NoteS = CompletingBox(this, "NoteS", QStringLiteral("Keyword"), Palette::Black, 2, 369, 199);
    NotesSearch = NotesButton(this, "NotesSearch", QStringLiteral("Find"),
                              QStringLiteral("Search the keyword in whole notepad"), 205, true);
    BitBtnWithColor6 = NotesButton(this, "BitBtnWithColor6", QStringLiteral("Print"),
                                   QStringLiteral("Print whole notepad"), 272);
    BitBtnWithColor5 = NotesButton(this, "BitBtnWithColor5", QStringLiteral("Load"),
                                   QStringLiteral("Import an external notepad"), 327);
    BitBtnWithColor4 = NotesButton(this, "BitBtnWithColor4", QStringLiteral("Save"),
                                   QStringLiteral("Export the actual notepad"), 382);

    connect(NoteS, &TFlatComboBox::ReturnPressed, this, Guarded([this] { NoteSKeyPress(); }));
    connect(NoteS, &TFlatComboBox::Change, this, Guarded([this] { SucheChange(); }));
    connect(NotesSearch, &TBitBtnWithColor::clicked, this, Guarded([this] { NotesSearchClick(); }));
    connect(BitBtnWithColor6, &TBitBtnWithColor::clicked, this,
            Guarded([this] { BitBtnWithColor6Click(); }));
    connect(BitBtnWithColor5, &TBitBtnWithColor::clicked, this,
            Guarded([this] { BitBtnWithColor5Click(); }));
    connect(BitBtnWithColor4, &TBitBtnWithColor::clicked, this,
            Guarded([this] { BitBtnWithColor4Click(); }));
    NoteS->SetItems(searchItems_);
    setTabOrder(RichEdit2, NoteS);
}

void TNotepadPage::SetSearchItems(const QStringList& items) {
    searchItems_ = items;
    if (NoteS != nullptr) {
        NoteS->SetItems(items);
    }
}

// A new keyword from elsewhere is looked for from the top, as the trees do:
// after an earlier hit further down, it would be reported missing.
void TNotepadPage::FindFromOutput(const QString& keyword) {
    EnsureBuilt();
    NoteS->setCurrentText(keyword);
    QTextCursor caret = RichEdit2->textCursor();
    caret.clearSelection();
    RichEdit2->setTextCursor(caret);
    NotesSearchClick();
}

// From the end of the selection on, so that each press finds the next hit;
// without a selection from the top, wherever the caret stands.
void TNotepadPage::NotesSearchClick() {
    const QString keyword = NoteS->currentText();
    if (keyword.isEmpty()) {
        messenger_.Notify(QStringLiteral("Error."),
                          QStringLiteral("You forgot to enter a keyword to search for."),
                          MessageKind::Notice);
        return;
    }
    const QTextCursor selection = RichEdit2->textCursor();
    const int start = selection.hasSelection() ? selection.selectionEnd() : 0;
    const QTextCursor hit = RichEdit2->document()->find(keyword, start);
    if (hit.isNull()) {
        messenger_.Notify(QStringLiteral("Search completed."),
                          QStringLiteral("\"%1\" was not found in the notepad.").arg(keyword),
                          MessageKind::Alert);
        return;
    }
    RichEdit2->setFocus(Qt::OtherFocusReason);
    RichEdit2->setTextCursor(hit);
}

// Enter in an empty box is an Enter like any other.
void TNotepadPage::NoteSKeyPress() {
    if (!NoteS->currentText().isEmpty()) {
        NotesSearchClick();
    }
}

void TNotepadPage::SucheChange() {
    searchPosition_.Value = 0;
}

void TNotepadPage::LoadFile(const QString& path) {
    ShowDocument(*RichEdit2, LoadNotesFile(path));
}

QFileDialog* TNotepadPage::MakeOpenDialog() {
    QFileDialog* dialog =
        NotesDialog(this, "OpenDialog1", QStringLiteral("Please choose a notepad-file..."),
                    {QStringLiteral("Vantor-tension (*.vrn)"), QStringLiteral("All Files (*)")});
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    return dialog;
}

QFileDialog* TNotepadPage::MakeSaveDialog() {
    QFileDialog* dialog =
        NotesDialog(this, "SaveDialog1", QStringLiteral("Das Notizblatt exportieren..."),
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
QString TNotepadPage::ChooseFile(QFileDialog* dialog, QString& lastChosen) {
    if (!lastChosen.isEmpty()) {
        dialog->selectFile(lastChosen);
    } else {
        const QFileInfo last(autoLoad_->LastFile());
        dialog->setDirectory(!autoLoad_->LastFile().isEmpty() && last.absoluteDir().exists()
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
void TNotepadPage::BitBtnWithColor5Click() {
    if (OpenDialog1 == nullptr) {
        OpenDialog1 = MakeOpenDialog();
    }
    const QString path = ChooseFile(OpenDialog1, lastOpened_);
    if (path.isEmpty()) {
        return;
    }
    LoadFile(path);
    autoLoad_->SetLastFile(path);
    emit SettingsChanged();
}

// The save goes beside the old file and replaces it only when complete.
void TNotepadPage::BitBtnWithColor4Click() {
    if (SaveDialog1 == nullptr) {
        SaveDialog1 = MakeSaveDialog();
    }
    const QString path = ChooseFile(SaveDialog1, lastSaved_);
    if (path.isEmpty()) {
        return;
    }
    SaveNotesFile(path, *RichEdit2->document());
    autoLoad_->SetLastFile(path);
    emit SettingsChanged();
}

void TNotepadPage::BitBtnWithColor6Click() {
    PrintWithDialog(this, *RichEdit2->document());
}
