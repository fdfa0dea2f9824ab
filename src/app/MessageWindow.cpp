#include "MessageWindow.h"

#include "Colors.h"
#include "ErrorBox.h"
#include "Look.h"
#include "Messenger.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTextEdit>
#include <QToolButton>

namespace {

constexpr std::uint32_t SignColor = 4802889;     // RGB 73, 73, 73
constexpr std::uint32_t MessageGround = 9474192; // RGB 144, 144, 144
constexpr int SignTop = 13;

QFrame* Bevel(QWidget* parent, const char* name, QFrame::Shadow shadow, int left, int top,
              int width, int height) {
    auto* frame = MakeControl<QFrame>(parent, name);
    frame->setFrameStyle(QFrame::Panel | shadow);
    frame->setLineWidth(1);
    Place(frame, left, top, width, height);
    return frame;
}

QToolButton* MessageButton(QFrame* holder, const char* name, const QString& caption) {
    auto* button = MakeControl<QToolButton>(holder, name);
    SetButtonCaption(button, caption);
    button->setAutoRaise(true);
    button->setFont(VantorFont(11, true));
    Place(button, 3, 3, 128, 22);
    return button;
}

} // namespace

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Information"));
    setModal(true);
    setFixedSize(437, 138);
    setFont(VantorFont(11));

    Panel2 = Bevel(this, "Panel2", QFrame::Sunken, 8, 8, 41, 93);
    SetColors(Panel2, Palette::Gray, SignColor);
    Label1 = MakeControl<QLabel>(Panel2, "Label1");
    Label1->setFont(VantorFont(53, true));
    Label1->setText(QStringLiteral("!"));
    Label1->move(10, SignTop);

    Panel3 = MakeControl<QFrame>(this, "Panel3");
    Panel3->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    SetColors(Panel3, MessageGround, Palette::Black);
    Place(Panel3, 48, 8, 381, 93);
    Panel4 = MakeControl<QLabel>(Panel3, "Panel4");
    SetColors(Panel4, Palette::Gray, Palette::Black);
    Panel4->setFont(VantorFont(13, true));
    Panel4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Panel4->setContentsMargins(2, 0, 2, 0);
    Place(Panel4, 1, 1, 379, 16);

    // Read-only and out of the keyboard's reach: no caret, no selection.
    RichEdit1 = MakeControl<QTextEdit>(Panel3, "RichEdit1");
    RichEdit1->setFrameStyle(QFrame::NoFrame);
    RichEdit1->document()->setDocumentMargin(4);
    SetColors(RichEdit1, MessageGround, Palette::Black);
    RichEdit1->setFont(VantorFont(11));
    RichEdit1->setReadOnly(true);
    RichEdit1->setTextInteractionFlags(Qt::NoTextInteraction);
    RichEdit1->setFocusPolicy(Qt::NoFocus);
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setAccessibleName(QStringLiteral("Message"));
    Place(RichEdit1, 1, 17, 379, 75);

    B01P = Bevel(this, "B01P", QFrame::Sunken, 8, 106, 134, 28);
    B01 = MessageButton(B01P, "B01", QStringLiteral("&OK"));
    B01P->hide();
    B02P = Bevel(this, "B02P", QFrame::Sunken, 295, 106, 134, 28);
    B02 = MessageButton(B02P, "B02", QStringLiteral("&Cancel"));
    B02P->hide();
    connect(B01, &QToolButton::clicked, this, Guarded([this] { B01Click(); }));
    connect(B02, &QToolButton::clicked, this, Guarded([this] { B02Click(); }));
}

void TForm2::Show(const QString& caption, const QString& text, int kind, const QString& leftButton,
                  const QString& rightButton) {
    RichEdit1->clear();
    SetLabelCaption(Panel4, caption);
    RichEdit1->setPlainText(text);
    ShowButton(B01P, B01, leftButton);
    ShowButton(B02P, B02, rightButton);
    ShowSign(kind);

    if (const QScreen* shownOn = QGuiApplication::primaryScreen()) {
        move(shownOn->availableGeometry().center() - rect().center());
    }
    // The right-hand button answers "no" to the question: the safe default.
    (B02P->isHidden() ? B01 : B02)->setFocus();
    answered_ = false;
    exec();
    // Escape or the system closed it: no button gave a "yes".
    if (!answered_) {
        messageResult_ = false;
    }
}

void TForm2::ShowButton(QFrame* holder, QToolButton* button, const QString& caption) {
    holder->setVisible(!caption.isEmpty());
    if (!caption.isEmpty()) {
        SetButtonCaption(button, caption);
    }
}

void TForm2::ShowSign(int kind) {
    switch (kind) {
    case MessageKind::Alert:
        Label1->setText(QStringLiteral("!"));
        Label1->move(10, SignTop);
        break;
    case MessageKind::Question:
        Label1->setText(QStringLiteral("?"));
        Label1->move(6, SignTop);
        break;
    case MessageKind::Notice:
        Label1->setText(QStringLiteral(":"));
        Label1->move(10, SignTop);
        break;
    default:
        // Any other kind keeps the sign of the last message.
        break;
    }
    Label1->adjustSize();
}

void TForm2::B01Click() {
    messageResult_ = !B02P->isHidden();
    answered_ = true;
    close();
}

void TForm2::B02Click() {
    messageResult_ = B01P->isHidden();
    answered_ = true;
    close();
}
