#include "InfoPage.h"

#include "Artwork.h"
#include "Colors.h"
#include "ErrorBox.h"
#include "Look.h"
#include "NotesFile.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>

namespace {

constexpr int PanelWidth = 291;
constexpr int PanelHeight = 390;
constexpr int TextLeft = 10;
constexpr int TextWidth = PanelWidth - 2 * TextLeft;
constexpr int LinkLeft = 62;

const QString MakerMail = QStringLiteral("vantor@tessaly.example");
const QString MakerWeb = QStringLiteral("http://www.tessaly.example/vantor");
// Relative: looked up in the current folder.
const QString ActualInformationFile = QStringLiteral("upgrade.vr");

QLabel* TextLabel(QWidget* parent, const char* name, const QString& text, int pixelSize, bool bold,
                  std::uint32_t color) {
    auto* label = MakeControl<QLabel>(parent, name);
    SetLabelCaption(label, text);
    label->setFont(VantorFont(pixelSize, bold));
    SetTextColor(label, color);
    return label;
}

// A text that wraps within the panel's margins, from the given top down.
QLabel* Paragraph(QWidget* parent, const char* name, const QString& text, int top,
                  std::uint32_t color = Palette::Silver, Qt::Alignment alignment = Qt::AlignLeft) {
    QLabel* label = TextLabel(parent, name, text, 11, false, color);
    label->setWordWrap(true);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setFixedWidth(TextWidth);
    label->adjustSize();
    label->move(TextLeft, top);
    return label;
}

QToolButton* ColumnButton(QWidget* column, const char* name, const QString& caption, int top,
                          std::uint32_t color) {
    QToolButton* button = PageButton(column, name, caption, QString(), true, color);
    SetColors(button, Palette::Black, color);
    Place(button, 3, top, 127, 19);
    return button;
}

} // namespace

TInfoPage::TInfoPage(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));
    SetColors(this, Palette::DarkGround, Palette::Silver);
}

// The page is built when it is first shown: the start of the program need
// not wait for panels that most runs never open.
void TInfoPage::setVisible(bool visible) {
    if (visible && Panel3 == nullptr) {
        BuildButtonColumn();
        BuildInfoPanel();
        BuildThanks();
        BuildCopyR();
        BuildReadme();
        ShowVersionLine();
        ShowInformations();
    }
    QWidget::setVisible(visible);
}

void TInfoPage::BuildButtonColumn() {
    Panel3 = MakeControl<QFrame>(this, "Panel3");
    SetColors(Panel3, Palette::Black, Palette::Silver);
    Place(Panel3, 2, 0, 133, 390);

    Image2 =
        LazyPicture(Panel3, "Image2", [] { return ShippedPicture(TShippedPicture::InfoColumn); });
    Image2->setAccessibleName(QStringLiteral("Vantor"));
    Place(Image2, 1, 1, 131, 144);

    SpeedButton2 =
        ColumnButton(Panel3, "SpeedButton2", QStringLiteral("Informations"), 280, Palette::Accent);
    SpeedButton11 = ColumnButton(Panel3, "SpeedButton11", QStringLiteral("Special Thanks"), 304,
                                 Palette::Accent);
    SpeedButton12 =
        ColumnButton(Panel3, "SpeedButton12", QStringLiteral("Copyrights"), 328, Palette::Accent);
    SpeedButton13 = ColumnButton(Panel3, "SpeedButton13", QStringLiteral("Actual Informations"),
                                 368, Palette::SubTitle);
    for (QToolButton* button : {SpeedButton2, SpeedButton11, SpeedButton12, SpeedButton13}) {
        connect(button, &QToolButton::clicked, this,
                Guarded([this, button] { SpeedButton2Click(button); }));
    }
}

QFrame* TInfoPage::MakePanel(const char* name) {
    auto* panel = MakeControl<QFrame>(this, name);
    SetColors(panel, Palette::DarkGround, Palette::Silver);
    Place(panel, 139, 0, PanelWidth, PanelHeight);
    return panel;
}

// The icon, the program's name and the version line over a divider; the
// version label is returned so that start-up can set its text.
QLabel* TInfoPage::AddHeader(QFrame* panel, const char* versionName) {
    const QByteArray prefix = panel->objectName().toLatin1();
    auto* icon = MakeControl<QLabel>(panel, (prefix + "Icon").constData());
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setAccessibleName(QStringLiteral("Vantor"));
    Place(icon, 7, 3, 32, 32);

    QLabel* name = TextLabel(panel, (prefix + "Name").constData(), QStringLiteral("Vantor"), 12,
                             true, Palette::Silver);
    name->adjustSize();
    name->move(44, 2);

    QLabel* version = TextLabel(panel, versionName, QString(), 9, true, Palette::Silver);
    version->move(44, 18);

    auto* divider = MakeControl<QFrame>(panel, (prefix + "Divider").constData());
    divider->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Place(divider, 4, 38, PanelWidth - 8, 2);
    return version;
}

void TInfoPage::BuildInfoPanel() {
    InfoPanel = MakePanel("InfoPanel");
    Label33 = AddHeader(InfoPanel, "Label33");
    Paragraph(InfoPanel, "Label34",
              QStringLiteral("Copyright \u00A9 Tessaly. All rights reserved."), 48);
    Paragraph(InfoPanel, "Label35", QStringLiteral("Designed and written by the Tessaly workshop."),
              66);
    Paragraph(InfoPanel, "Label36",
              QStringLiteral("Use and copies of Vantor follow the terms that Tessaly sets; ask "
                             "at the addresses below."),
              84, Palette::SubTitle);
    Label39 = AddLinkRow("Label37", QStringLiteral("eMail:"), "Label39", MakerMail, 119);
    Label17 = AddLinkRow("Label38", QStringLiteral("Internet:"), "Label17",
                         QString(MakerWeb).remove(QStringLiteral("http://")), 133);
    Paragraph(InfoPanel, "Label40",
              QStringLiteral("Vantor finds the way with the fewest gate jumps through the Zenit "
                             "universe, keeps a reference of its systems and your own notes, and "
                             "shows it all on a small star map.\n\nQuestions, corrections and "
                             "ideas are welcome at the addresses above."),
              160);
    ShowLinkColors(false, false);
}

// "eMail:" or "Internet:" and the link beside it: bold, on black, with the
// hand pointer; reachable with Tab and opened with Enter or Space as well.
QLabel* TInfoPage::AddLinkRow(const char* captionName, const QString& caption, const char* linkName,
                              const QString& link, int top) {
    QLabel* label = TextLabel(InfoPanel, captionName, caption, 9, false, Palette::Silver);
    label->adjustSize();
    label->move(TextLeft, top);

    QLabel* target = TextLabel(InfoPanel, linkName, link, 9, true, Palette::Accent);
    SetColors(target, Palette::Black, Palette::Accent);
    target->setCursor(Qt::PointingHandCursor);
    target->setFocusPolicy(Qt::TabFocus);
    target->adjustSize();
    target->move(LinkLeft, top);
    target->installEventFilter(this);
    label->setBuddy(target);
    return target;
}

void TInfoPage::BuildThanks() {
    Thanks = MakePanel("Thanks");
    Label9 = AddHeader(Thanks, "Label9");
    QLabel* heading = TextLabel(Thanks, "Label10", QStringLiteral("Special thanks go to"), 11, true,
                                Palette::Accent);
    heading->adjustSize();
    heading->move(TextLeft, 48);

    auto* credits = MakeControl<QFrame>(Thanks, "Panel4");
    credits->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetColors(credits, Palette::Black, Palette::Silver);
    Place(credits, TextLeft, 70, TextWidth, 308);
    QLabel* names = Paragraph(
        credits, "Label11",
        QStringLiteral("the pilots who charted the gates\nsector by sector,\n\n"
                       "everyone who flew the early builds\nand wrote in with corrections,\n\n"
                       "the keepers of the system notes\nthat became the database,\n\n"
                       "all who asked for a star map\nuntil there was one,\n\n"
                       "and you, for flying with Vantor."),
        0, Palette::Silver, Qt::AlignHCenter);
    names->setFixedWidth(TextWidth - 4);
    names->move(2, 14);
}

void TInfoPage::BuildCopyR() {
    CopyR = MakePanel("CopyR");
    QLabel* title = TextLabel(CopyR, "Label12", QStringLiteral("ZENIT"), 30, true, Palette::Accent);
    title->setAlignment(Qt::AlignCenter);
    Place(title, 0, 24, PanelWidth, 40);
    QLabel* subtitle = TextLabel(CopyR, "Label13", QStringLiteral("the space trading game"), 9,
                                 true, Palette::SubTitle);
    subtitle->setAlignment(Qt::AlignCenter);
    Place(subtitle, 0, 64, PanelWidth, 14);
    Paragraph(CopyR, "Label14",
              QStringLiteral("The name Zenit and the Zenit logo belong to the makers of the game "
                             "and are used in this program with their kind permission.\n\n"
                             "Vantor is an independent companion. It is neither made nor "
                             "supported by the makers of the game; please send questions about "
                             "Vantor to Tessaly, not to them.\n\n"
                             "All pictures in Vantor are drawn by the program itself."),
              104, Palette::Silver, Qt::AlignHCenter);
}

void TInfoPage::BuildReadme() {
    Readme = MakePanel("Readme");
    Label25 = AddHeader(Readme, "Label25");
    RichEdit3 = MakeControl<QTextEdit>(Readme, "RichEdit3");
    RichEdit3->setFrameStyle(QFrame::NoFrame);
    RichEdit3->setReadOnly(true);
    RichEdit3->setFont(VantorFont(11));
    SetColors(RichEdit3, Palette::DarkGround, Palette::Silver);
    RichEdit3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit3->setLineWrapMode(QTextEdit::NoWrap);
    RichEdit3->document()->setDocumentMargin(2);
    RichEdit3->setPlainText(QStringLiteral("Actual information-file NOT FOUND !"));
    RichEdit3->setAccessibleName(QStringLiteral("Actual Informations"));
    Place(RichEdit3, 2, 48, 288, 338);
}

void TInfoPage::SetVersionLine(const QString& text) {
    versionLine_ = text;
    if (Panel3 != nullptr) {
        ShowVersionLine();
    }
}

void TInfoPage::ShowVersionLine() {
    for (QLabel* label : {Label33, Label25, Label9}) {
        SetLabelCaption(label, versionLine_);
        label->adjustSize();
    }
}

void TInfoPage::ShowInformations() {
    // A page not built yet opens on its first panel anyway.
    if (Panel3 != nullptr) {
        SpeedButton2Click(SpeedButton2);
    }
}

void TInfoPage::SpeedButton2Click(const QObject* sender) {
    // The file is read before anything changes: when it can't be read, the
    // error box says so and the page stays on the panel it showed.
    if (sender == SpeedButton13) {
        LoadActualInformations();
    }
    QFrame* shown = PanelOf(sender);
    for (QFrame* panel : {InfoPanel, Thanks, CopyR, Readme}) {
        panel->setVisible(panel == shown);
    }
}

QFrame* TInfoPage::PanelOf(const QObject* button) const {
    if (button == SpeedButton11) {
        return Thanks;
    }
    if (button == SpeedButton12) {
        return CopyR;
    }
    if (button == SpeedButton13) {
        return Readme;
    }
    return InfoPanel;
}

// Read at every press, so that a newer file shows without a restart. A file
// that has gone leaves the text it showed. Only a plain file is opened: a
// pipe or a device of that name could keep the window waiting for ever.
void TInfoPage::LoadActualInformations() {
    const QFileInfo file(ActualInformationFile);
    if (!file.exists()) {
        return;
    }
    if (!file.isFile()) {
        throw TNotesFileError(QStringLiteral("Datei %1 kann nicht geöffnet werden")
                                  .arg(QDir::toNativeSeparators(file.absoluteFilePath())));
    }
    ShowActualInformations(LoadNotesFile(ActualInformationFile));
}

void TInfoPage::ShowActualInformations(std::unique_ptr<QTextDocument> document) {
    document->setDefaultFont(RichEdit3->font());
    document->setDocumentMargin(2);
    // The box owns the document it shows, and setDocument deletes the one
    // read before, which was its child too.
    document->setParent(RichEdit3);
    RichEdit3->setDocument(document.release());
}

// What the desktop answers is not ours to report: without a mail or web
// program nothing happens.
void TInfoPage::Label39Click() {
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + MakerMail));
}

void TInfoPage::Label17Click() {
    QDesktopServices::openUrl(QUrl(MakerWeb));
}

void TInfoPage::Label39MouseMove() {
    ShowLinkColors(true, false);
}

void TInfoPage::Label17MouseMove() {
    ShowLinkColors(false, true);
}

void TInfoPage::InfoPanelMouseMove() {
    ShowLinkColors(false, false);
}

void TInfoPage::ShowLinkColors(bool mailLit, bool webLit) {
    SetTextColor(Label39, mailLit ? Palette::LinkHover : Palette::Accent);
    SetTextColor(Label17, webLit ? Palette::LinkHover : Palette::Accent);
}

// The links light up while the pointer is over them and go back to rest the
// moment it leaves, wherever it goes: one filter instead of a handler on
// every control around them.
bool TInfoPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label39 || watched == Label17) {
        bool handled = false;
        RunGuarded([&] { handled = LinkEvent(static_cast<QLabel*>(watched), event); });
        if (handled) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TInfoPage::LinkEvent(QLabel* link, QEvent* event) {
    const bool mail = link == Label39;
    switch (event->type()) {
    case QEvent::Enter:
        if (mail) {
            Label39MouseMove();
        } else {
            Label17MouseMove();
        }
        return false;
    case QEvent::Leave:
        InfoPanelMouseMove();
        return false;
    case QEvent::MouseButtonPress:
        // Taken, so that the release comes back to the link.
        return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton ||
            !link->rect().contains(mouse->position().toPoint())) {
            return false;
        }
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) {
            return false;
        }
        break;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // The keyboard's place shows as an underline; colour stays the pointer's.
        QFont font = link->font();
        font.setUnderline(event->type() == QEvent::FocusIn);
        link->setFont(font);
        return false;
    }
    default:
        return false;
    }
    if (mail) {
        Label39Click();
    } else {
        Label17Click();
    }
    return true;
}
