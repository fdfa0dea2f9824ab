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

QFrame* bevel(QWidget* parent, const char* name, QFrame::Shadow shadow, int left, int top,
              int width, int height) {
    auto* frame = makeControl<QFrame>(parent, name);
    frame->setFrameStyle(QFrame::Panel | shadow);
    frame->setLineWidth(1);
    place(frame, left, top, width, height);
    return frame;
}

QToolButton* messageButton(QFrame* holder, const char* name, const QString& caption) {
    auto* button = makeControl<QToolButton>(holder, name);
    setButtonCaption(button, caption);
    button->setAutoRaise(true);
    button->setFont(vantorFont(11, true));
    place(button, 3, 3, 128, 22);
    return button;
}

} // namespace

MessageWindow::MessageWindow(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Information"));
    setModal(true);
    setFixedSize(437, 138);
    setFont(vantorFont(11));

    signPanel_ = bevel(this, "Panel2", QFrame::Sunken, 8, 8, 41, 93);
    setColors(signPanel_, Palette::Gray, SignColor);
    signLabel_ = makeControl<QLabel>(signPanel_, "Label1");
    signLabel_->setFont(vantorFont(53, true));
    signLabel_->setText(QStringLiteral("!"));
    signLabel_->move(10, SignTop);

    messagePanel_ = makeControl<QFrame>(this, "Panel3");
    messagePanel_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setColors(messagePanel_, MessageGround, Palette::Black);
    place(messagePanel_, 48, 8, 381, 93);
    captionBar_ = makeControl<QLabel>(messagePanel_, "Panel4");
    setColors(captionBar_, Palette::Gray, Palette::Black);
    captionBar_->setFont(vantorFont(13, true));
    captionBar_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    captionBar_->setContentsMargins(2, 0, 2, 0);
    place(captionBar_, 1, 1, 379, 16);

    // Read-only and out of the keyboard's reach: no caret, no selection.
    messageText_ = makeControl<QTextEdit>(messagePanel_, "RichEdit1");
    messageText_->setFrameStyle(QFrame::NoFrame);
    messageText_->document()->setDocumentMargin(4);
    setColors(messageText_, MessageGround, Palette::Black);
    messageText_->setFont(vantorFont(11));
    messageText_->setReadOnly(true);
    messageText_->setTextInteractionFlags(Qt::NoTextInteraction);
    messageText_->setFocusPolicy(Qt::NoFocus);
    messageText_->setLineWrapMode(QTextEdit::WidgetWidth);
    messageText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageText_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    messageText_->setAccessibleName(QStringLiteral("Message"));
    place(messageText_, 1, 17, 379, 75);

    leftButtonHolder_ = bevel(this, "B01P", QFrame::Sunken, 8, 106, 134, 28);
    leftButton_ = messageButton(leftButtonHolder_, "B01", QStringLiteral("&OK"));
    leftButtonHolder_->hide();
    rightButtonHolder_ = bevel(this, "B02P", QFrame::Sunken, 295, 106, 134, 28);
    rightButton_ = messageButton(rightButtonHolder_, "B02", QStringLiteral("&Cancel"));
    rightButtonHolder_->hide();
    connect(leftButton_, &QToolButton::clicked, this, guarded([this] { onLeftButtonClicked(); }));
    connect(rightButton_, &QToolButton::clicked, this, guarded([this] { onRightButtonClicked(); }));
}

void MessageWindow::showMessage(const QString& caption, const QString& text, int kind,
                                const QString& leftButton, const QString& rightButton) {
    // The right-hand button answers "no" to the question: the safe default.
    present(caption, text, kind, leftButton, rightButton, rightButton.isEmpty());
    // Escape or the system closed it: no button gave a "yes".
    if (pressed_ == Choice::Neither) {
        messageResult_ = false;
    }
}

Choice MessageWindow::choose(const QString& caption, const QString& text, int kind,
                             const QString& first, const QString& second) {
    present(caption, text, kind, first, second, true);
    return pressed_;
}

void MessageWindow::present(const QString& caption, const QString& text, int kind,
                            const QString& leftButton, const QString& rightButton,
                            bool leftFocused) {
    messageText_->clear();
    setLabelCaption(captionBar_, caption);
    messageText_->setPlainText(text);
    showButton(leftButtonHolder_, leftButton_, leftButton);
    showButton(rightButtonHolder_, rightButton_, rightButton);
    showSign(kind);

    if (const QScreen* shownOn = QGuiApplication::primaryScreen()) {
        move(shownOn->availableGeometry().center() - rect().center());
    }
    (leftFocused ? leftButton_ : rightButton_)->setFocus();
    pressed_ = Choice::Neither;
    exec();
}

void MessageWindow::showButton(QFrame* holder, QToolButton* button, const QString& caption) {
    holder->setVisible(!caption.isEmpty());
    if (!caption.isEmpty()) {
        setButtonCaption(button, caption);
    }
}

void MessageWindow::showSign(int kind) {
    switch (kind) {
    case MessageKind::Alert:
        signLabel_->setText(QStringLiteral("!"));
        signLabel_->move(10, SignTop);
        break;
    case MessageKind::Question:
        signLabel_->setText(QStringLiteral("?"));
        signLabel_->move(6, SignTop);
        break;
    case MessageKind::Notice:
        signLabel_->setText(QStringLiteral(":"));
        signLabel_->move(10, SignTop);
        break;
    default:
        // Any other kind keeps the sign of the last message.
        break;
    }
    signLabel_->adjustSize();
}

void MessageWindow::onLeftButtonClicked() {
    messageResult_ = !rightButtonHolder_->isHidden();
    pressed_ = Choice::First;
    close();
}

void MessageWindow::onRightButtonClicked() {
    messageResult_ = leftButtonHolder_->isHidden();
    pressed_ = Choice::Second;
    close();
}
