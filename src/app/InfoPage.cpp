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
// The links stand in the panel's right part, their captions right-aligned
// before them.
constexpr int LinkLeft = 201;
constexpr int CaptionGap = 4;

// Short enough to stand whole between the links' place and the panel's edge.
const QString MakerMail = QStringLiteral("info@tessaly.test");
const QString MakerWeb = QStringLiteral("http://www.tessaly.test");
// Relative: looked up in the current folder.
const QString ActualInformationFile = QStringLiteral("upgrade.vr");

QLabel* textLabel(QWidget* parent, const char* name, const QString& text, int pixelSize, bool bold,
                  std::uint32_t color) {
    auto* label = makeControl<QLabel>(parent, name);
    setLabelCaption(label, text);
    label->setFont(vantorFont(pixelSize, bold));
    setTextColor(label, color);
    return label;
}

// A text that wraps within the panel's margins, from the given top down.
QLabel* paragraph(QWidget* parent, const char* name, const QString& text, int top,
                  std::uint32_t color = Palette::Silver, Qt::Alignment alignment = Qt::AlignLeft) {
    QLabel* label = textLabel(parent, name, text, 11, false, color);
    label->setWordWrap(true);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setFixedWidth(TextWidth);
    label->adjustSize();
    label->move(TextLeft, top);
    return label;
}

QToolButton* columnButton(QWidget* column, const char* name, const QString& caption, int top,
                          std::uint32_t color) {
    QToolButton* button = pageButton(column, name, caption, QString(), true, color);
    setColors(button, Palette::Black, color);
    place(button, 3, top, 127, 19);
    return button;
}

} // namespace

InfoPage::InfoPage(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));
    setColors(this, Palette::DarkGround, Palette::Silver);
}

// The page is built when it is first shown: the start of the program need
// not wait for panels that most runs never open.
void InfoPage::setVisible(bool visible) {
    if (visible && buttonColumn_ == nullptr) {
        buildButtonColumn();
        buildInfoPanel();
        buildThanks();
        buildCopyR();
        buildReadme();
        showVersionLine();
        showInformations();
    }
    QWidget::setVisible(visible);
}

void InfoPage::buildButtonColumn() {
    buttonColumn_ = makeControl<QFrame>(this, "Panel3");
    setColors(buttonColumn_, Palette::Black, Palette::Silver);
    place(buttonColumn_, 2, 0, 133, 390);

    columnPicture_ = lazyPicture(buttonColumn_, "Image2",
                                 [] { return shippedPicture(ShippedPicture::InfoColumn); });
    columnPicture_->setAccessibleName(QStringLiteral("Vantor"));
    place(columnPicture_, 1, 1, 131, 144);

    informationsButton_ = columnButton(buttonColumn_, "SpeedButton2",
                                       QStringLiteral("Informations"), 280, Palette::Accent);
    thanksButton_ = columnButton(buttonColumn_, "SpeedButton11", QStringLiteral("Special Thanks"),
                                 304, Palette::Accent);
    copyrightsButton_ = columnButton(buttonColumn_, "SpeedButton12", QStringLiteral("Copyrights"),
                                     328, Palette::Accent);
    actualInformationsButton_ =
        columnButton(buttonColumn_, "SpeedButton13", QStringLiteral("Actual Informations"), 368,
                     Palette::SubTitle);
    for (QToolButton* button :
         {informationsButton_, thanksButton_, copyrightsButton_, actualInformationsButton_}) {
        connect(button, &QToolButton::clicked, this,
                guarded([this, button] { onPanelButtonClicked(button); }));
    }
}

QFrame* InfoPage::makePanel(const char* name) {
    auto* panel = makeControl<QFrame>(this, name);
    setColors(panel, Palette::DarkGround, Palette::Silver);
    place(panel, 139, 0, PanelWidth, PanelHeight);
    return panel;
}

// The icon, the program's name and the version line over a divider; the
// version label is returned so that start-up can set its text.
QLabel* InfoPage::addHeader(QFrame* panel, const char* versionName) {
    const QByteArray prefix = panel->objectName().toLatin1();
    auto* icon = makeControl<QLabel>(panel, (prefix + "Icon").constData());
    icon->setPixmap(programIcon().pixmap(32, 32));
    icon->setAccessibleName(QStringLiteral("Vantor"));
    place(icon, 7, 3, 32, 32);

    QLabel* name = textLabel(panel, (prefix + "Name").constData(), QStringLiteral("Vantor"), 12,
                             true, Palette::Silver);
    name->adjustSize();
    name->move(44, 2);

    QLabel* version = textLabel(panel, versionName, QString(), 9, true, Palette::Silver);
    version->move(44, 18);

    auto* divider = makeControl<QFrame>(panel, (prefix + "Divider").constData());
    divider->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    place(divider, 4, 38, PanelWidth - 8, 2);
    return version;
}

void InfoPage::buildInfoPanel() {
    infoPanel_ = makePanel("InfoPanel");
    infoVersionLabel_ = addHeader(infoPanel_, "Label33");
    paragraph(infoPanel_, "Label34",
              QStringLiteral("Copyright \u00A9 Tessaly. All rights reserved."), 48);
    paragraph(infoPanel_, "Label35",
              QStringLiteral("Designed and written by the Tessaly workshop."), 66);
    paragraph(infoPanel_, "Label36",
              QStringLiteral("Use and copies of Vantor follow the terms that Tessaly sets; ask "
                             "at the addresses below."),
              84, Palette::SubTitle);
    mailLink_ = addLinkRow("Label37", QStringLiteral("eMail:"), "Label39", MakerMail, 119);
    webLink_ = addLinkRow("Label38", QStringLiteral("Internet:"), "Label17",
                          QString(MakerWeb).remove(QStringLiteral("http://")), 133);
    paragraph(infoPanel_, "Label40",
              QStringLiteral("Vantor finds the way with the fewest gate jumps through the Zenit "
                             "universe, keeps a reference of its systems and your own notes, and "
                             "shows it all on a small star map.\n\nQuestions, corrections and "
                             "ideas are welcome at the addresses above."),
              160);
    showLinkColors(false, false);
}

// "eMail:" or "Internet:" and the link beside it: bold, on black, with the
// hand pointer; reachable with Tab and opened with Enter or Space as well.
QLabel* InfoPage::addLinkRow(const char* captionName, const QString& caption, const char* linkName,
                             const QString& link, int top) {
    QLabel* label = textLabel(infoPanel_, captionName, caption, 9, false, Palette::Silver);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->adjustSize();
    place(label, TextLeft, top, LinkLeft - CaptionGap - TextLeft, label->height());

    QLabel* target = textLabel(infoPanel_, linkName, link, 9, true, Palette::Accent);
    setColors(target, Palette::Black, Palette::Accent);
    target->setCursor(Qt::PointingHandCursor);
    target->setFocusPolicy(Qt::TabFocus);
    target->adjustSize();
    target->move(LinkLeft, top);
    target->installEventFilter(this);
    label->setBuddy(target);
    return target;
}

void InfoPage::buildThanks() {
    thanksPanel_ = makePanel("Thanks");
    thanksVersionLabel_ = addHeader(thanksPanel_, "Label9");
    QLabel* heading = textLabel(thanksPanel_, "Label10", QStringLiteral("Special thanks go to"), 11,
                                true, Palette::Accent);
    heading->adjustSize();
    heading->move(TextLeft, 48);

    auto* credits = makeControl<QFrame>(thanksPanel_, "Panel4");
    credits->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setColors(credits, Palette::Black, Palette::Silver);
    place(credits, TextLeft, 70, TextWidth, 308);
    QLabel* names = paragraph(
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

void InfoPage::buildCopyR() {
    copyrightsPanel_ = makePanel("CopyR");
    QLabel* title =
        textLabel(copyrightsPanel_, "Label12", QStringLiteral("ZENIT"), 30, true, Palette::Accent);
    title->setAlignment(Qt::AlignCenter);
    place(title, 0, 24, PanelWidth, 40);
    QLabel* subtitle =
        textLabel(copyrightsPanel_, "Label13", QStringLiteral("the space trading game"), 9, true,
                  Palette::SubTitle);
    subtitle->setAlignment(Qt::AlignCenter);
    place(subtitle, 0, 64, PanelWidth, 14);
    paragraph(copyrightsPanel_, "Label14",
              QStringLiteral("The name Zenit and the Zenit logo belong to the makers of the game "
                             "and are used in this program with their kind permission.\n\n"
                             "Vantor is an independent companion. It is neither made nor "
                             "supported by the makers of the game; please send questions about "
                             "Vantor to Tessaly, not to them.\n\n"
                             "All pictures in Vantor are drawn by the program itself."),
              104, Palette::Silver, Qt::AlignHCenter);
}

void InfoPage::buildReadme() {
    actualInformationsPanel_ = makePanel("Readme");
    actualVersionLabel_ = addHeader(actualInformationsPanel_, "Label25");
    actualInformations_ = makeControl<QTextEdit>(actualInformationsPanel_, "RichEdit3");
    actualInformations_->setFrameStyle(QFrame::NoFrame);
    actualInformations_->setReadOnly(true);
    actualInformations_->setFont(vantorFont(11));
    setColors(actualInformations_, Palette::DarkGround, Palette::Silver);
    // Long lines are cut off at the right edge: the box scrolls up and down only.
    actualInformations_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    actualInformations_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    actualInformations_->setLineWrapMode(QTextEdit::NoWrap);
    actualInformations_->document()->setDocumentMargin(2);
    actualInformations_->setPlainText(QStringLiteral("Actual information-file NOT FOUND !"));
    actualInformations_->setAccessibleName(QStringLiteral("Actual Informations"));
    place(actualInformations_, 2, 48, 288, 338);
}

void InfoPage::setVersionLine(const QString& text) {
    versionLine_ = text;
    if (buttonColumn_ != nullptr) {
        showVersionLine();
    }
}

void InfoPage::showVersionLine() {
    for (QLabel* label : {infoVersionLabel_, actualVersionLabel_, thanksVersionLabel_}) {
        setLabelCaption(label, versionLine_);
        label->adjustSize();
    }
}

void InfoPage::showInformations() {
    // A page not built yet opens on its first panel anyway.
    if (buttonColumn_ != nullptr) {
        onPanelButtonClicked(informationsButton_);
    }
}

void InfoPage::onPanelButtonClicked(const QObject* sender) {
    // The file is read before anything changes: when it can't be read, the
    // error box says so and the page stays on the panel it showed.
    if (sender == actualInformationsButton_) {
        loadActualInformations();
    }
    QFrame* shown = panelOf(sender);
    for (QFrame* panel : {infoPanel_, thanksPanel_, copyrightsPanel_, actualInformationsPanel_}) {
        panel->setVisible(panel == shown);
    }
}

QFrame* InfoPage::panelOf(const QObject* button) const {
    if (button == thanksButton_) {
        return thanksPanel_;
    }
    if (button == copyrightsButton_) {
        return copyrightsPanel_;
    }
    if (button == actualInformationsButton_) {
        return actualInformationsPanel_;
    }
    return infoPanel_;
}

// Read at every press, so that a newer file shows without a restart. A file
// that has gone leaves the text it showed. Only a plain file is opened: a
// pipe or a device of that name could keep the window waiting for ever.
void InfoPage::loadActualInformations() {
    const QFileInfo file(ActualInformationFile);
    if (!file.exists()) {
        return;
    }
    if (!file.isFile()) {
        throw NotesFileError(QStringLiteral("Datei %1 kann nicht geöffnet werden")
                                 .arg(QDir::toNativeSeparators(file.absoluteFilePath())));
    }
    showActualInformations(loadNotesFile(ActualInformationFile));
}

void InfoPage::showActualInformations(std::unique_ptr<QTextDocument> document) {
    document->setDefaultFont(actualInformations_->font());
    document->setDocumentMargin(2);
    // The box owns the document it shows, and setDocument deletes the one
    // read before, which was its child too.
    document->setParent(actualInformations_);
    actualInformations_->setDocument(document.release());
}

// What the desktop answers is not ours to report: without a mail or web
// program nothing happens.
void InfoPage::onMailLinkClicked() {
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + MakerMail));
}

void InfoPage::onWebLinkClicked() {
    QDesktopServices::openUrl(QUrl(MakerWeb));
}

void InfoPage::onPointerOverMailLink() {
    showLinkColors(true, false);
}

void InfoPage::onPointerOverWebLink() {
    showLinkColors(false, true);
}

void InfoPage::onPointerOverPanel() {
    showLinkColors(false, false);
}

void InfoPage::showLinkColors(bool mailLit, bool webLit) {
    setTextColor(mailLink_, mailLit ? Palette::LinkHover : Palette::Accent);
    setTextColor(webLink_, webLit ? Palette::LinkHover : Palette::Accent);
}

// The links light up while the pointer is over them and go back to rest the
// moment it leaves, wherever it goes: one filter instead of a handler on
// every control around them.
bool InfoPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mailLink_ || watched == webLink_) {
        bool handled = false;
        runGuarded([&] { handled = linkEvent(static_cast<QLabel*>(watched), event); });
        if (handled) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool InfoPage::linkEvent(QLabel* link, QEvent* event) {
    const bool mail = link == mailLink_;
    switch (event->type()) {
    case QEvent::Enter:
        if (mail) {
            onPointerOverMailLink();
        } else {
            onPointerOverWebLink();
        }
        return false;
    case QEvent::Leave:
        onPointerOverPanel();
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
        onMailLinkClicked();
    } else {
        onWebLinkClicked();
    }
    return true;
}
