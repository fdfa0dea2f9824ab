// The navigation page: the From and To boxes, the way request and its output.
#include "main.h"

#include "Ausw.h"
#include "Colors.h"
#include "Cp1252.h"
#include "ErrorBox.h"
#include "Look.h"
#include "mappy.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <functional>

namespace {

constexpr std::uint32_t PlaceholderColor = 0x909090;

QLabel* Heading(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* label = MakeControl<QLabel>(parent, name);
    SetLabelCaption(label, caption);
    label->setFont(VantorFont(11, true));
    SetTextColor(label, Palette::Accent);
    label->adjustSize();
    label->move(left, top);
    return label;
}

// An editable box whose list the program fills; typed text is never added to it.
QComboBox* SystemBox(QWidget* parent, const char* name, const QString& spokenName, int top) {
    auto* box = MakeControl<QComboBox>(parent, name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // Names match exactly, letter case included: the completion must not
    // quietly turn "corvane" into "Corvane".
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    box->setFont(VantorFont(11));
    SetColors(box, Palette::DarkGround, Palette::Silver);
    SetColors(box->view(), Palette::DarkGround, Palette::Silver);
    box->setAccessibleName(spokenName);
    Place(box, 3, 17 + top, 109, 21);
    return box;
}

QToolButton* PageButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint, bool bold, std::uint32_t color) {
    auto* button = MakeControl<QToolButton>(parent, name);
    SetButtonCaption(button, caption);
    button->setToolTip(hint);
    button->setAccessibleDescription(hint);
    button->setAutoRaise(true);
    button->setFont(VantorFont(9, bold));
    SetTextColor(button, color);
    return button;
}

// The sunken holder of a flat button at the foot of the page.
QFrame* SunkenHolder(QWidget* parent, const char* name, int top, QToolButton*& button,
                     const char* buttonName, const QString& caption, const QString& hint,
                     bool bold) {
    auto* holder = MakeControl<QFrame>(parent, name);
    holder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(holder, 3, top, 111, 27);
    button = PageButton(holder, buttonName, caption, hint, bold, Palette::Accent);
    Place(button, 2, 2, 107, 23);
    return holder;
}

// Takes Enter away from a box and runs its handler instead: the box would
// otherwise hand the key on to its combo box, which gives it back to the box
// once more, so that one press would act twice.
class TEnterKey : public QObject {
public:
    TEnterKey(QWidget* box, std::function<void()> handler)
        : QObject(box)
        , handler_(std::move(handler)) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                RunGuarded(handler_);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> handler_;
};

bool AnyAvoided(const AvoidFlags& avoid) {
    return std::any_of(avoid.begin(), avoid.end(), [](bool avoided) { return avoided; });
}

} // namespace

void TForm1::BuildNavigationPage() {
    QWidget* page = TabSheet3;
    Label1 = Heading(page, "Label1", QStringLiteral("From"), 4, 0);
    Von = SystemBox(page, "Von", QStringLiteral("From"), 0);
    Label1->setBuddy(Von);
    Label2 = Heading(page, "Label2", QStringLiteral("To"), 4, 47);
    Nach = SystemBox(page, "Nach", QStringLiteral("To"), 48);
    Label2->setBuddy(Nach);

    SunkenHolder(page, "SpeedButton5Holder", 333, SpeedButton5, "SpeedButton5",
                 QStringLiteral("Avoid contact with"),
                 QStringLiteral("Avoid contact with a specific race"), false);
    SunkenHolder(page, "WayHolder", 365, Way, "Way", QStringLiteral("Find a way..."),
                 QStringLiteral("Find the fastest way from A to B"), true);

    Panel2 = MakeControl<QFrame>(page, "Panel2");
    SetColors(Panel2, Palette::Black, Palette::Silver);
    Place(Panel2, 117, 0, 316, 390);

    RichEdit1 = MakeControl<QTextEdit>(Panel2, "RichEdit1");
    RichEdit1->setFrameStyle(QFrame::NoFrame);
    RichEdit1->setReadOnly(true);
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichEdit1->setFont(VantorFont(11));
    SetColors(RichEdit1, Palette::Black, Palette::Silver);
    QPalette placeholder = RichEdit1->palette();
    placeholder.setColor(QPalette::PlaceholderText, FromBgr(PlaceholderColor));
    RichEdit1->setPalette(placeholder);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setAccessibleName(QStringLiteral("Way"));
    Place(RichEdit1, 4, 6, 306, 351);

    SpeedButton1 = PageButton(Panel2, "SpeedButton1", QStringLiteral("X"),
                              QStringLiteral("Clear all displays"), true, Palette::Red);
    Place(SpeedButton1, 4, 366, 25, 19);
    SpeedButton3 = PageButton(Panel2, "SpeedButton3", QStringLiteral("Short description"),
                              QStringLiteral("Only display stargates"), true, Palette::Accent);
    Place(SpeedButton3, 33, 366, 110, 19);
    SpeedButton4 = PageButton(Panel2, "SpeedButton4", QStringLiteral("Print"),
                              QStringLiteral("Prints the way shown above"), false, Palette::Accent);
    Place(SpeedButton4, 237, 366, 75, 19);

    new TEnterKey(Von->lineEdit(), [this] { VonKeyPress(); });
    new TEnterKey(Nach->lineEdit(), [this] { NachKeyPress(); });
    connect(Way, &QToolButton::clicked, this, Guarded([this] { WayClick(Way); }));
    connect(SpeedButton3, &QToolButton::clicked, this, Guarded([this] { WayClick(SpeedButton3); }));
    connect(SpeedButton1, &QToolButton::clicked, this, Guarded([this] { SpeedButton1Click(); }));
    connect(SpeedButton5, &QToolButton::clicked, this, Guarded([this] { SpeedButton5Click(); }));
}

void TForm1::FillSystemLists() {
    QStringList names;
    for (int x = 0; x < TNinjaMatrix::GridSize; ++x) {
        for (int y = 0; y < TNinjaMatrix::GridSize; ++y) {
            // A cell the file leaves undefined has no name to offer.
            const std::string& name = NinjaMatrix1.Sector(x, y).Name;
            if (!name.empty()) {
                names << DecodeCp1252(name);
            }
        }
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    for (QComboBox* box : {Von, Nach}) {
        box->clear();
        box->addItems(names);
        box->setCurrentIndex(-1);
    }
}

void TForm1::VonKeyPress() {
    Nach->setFocus(Qt::OtherFocusReason);
}

void TForm1::NachKeyPress() {
    WayClick(Nach);
}

void TForm1::WayClick(QObject* sender) {
    RichEdit1->setPlaceholderText(QString());
    if (Von->currentText().isEmpty() && Nach->currentText().isEmpty()) {
        Showme(QStringLiteral("General error occured."),
               QStringLiteral("You forgot to enter a keyword / ... ."), 2, QString(),
               QStringLiteral("&OK"));
    }
    RichEdit1->clear();
    const bool mapShown = windows_.Form4 != nullptr && windows_.Form4->isVisible();
    if (!mapShown) {
        // An empty box names no system, even where the file leaves a cell
        // without a name.
        const auto lookUp = [this](const QString& text) {
            return text.isEmpty() ? SectorPosition{}
                                  : NinjaMatrix1.FindSectorPosition(EncodeCp1252(text));
        };
        const SectorPosition start = lookUp(Von->currentText());
        const SectorPosition target = lookUp(Nach->currentText());
        FromColumn = start.Column;
        FromRow = start.Row;
        ToColumn = target.Column;
        ToRow = target.Row;
    }
    if (FromColumn == 255 || FromRow == 255) {
        Showme(
            QStringLiteral("Error."),
            QStringLiteral("You have entered a wrong \"from-system\". Please correct your entry!"),
            0, QString(), QStringLiteral("&OK"));
        return;
    }
    if (ToColumn == 255 || ToRow == 255) {
        Showme(QStringLiteral("Error."),
               QStringLiteral("You have entered a wrong \"to-system\". Please correct your entry!"),
               0, QString(), QStringLiteral("&OK"));
        return;
    }
    const AvoidFlags avoid = windows_.Form3 != nullptr ? windows_.Form3->Flags() : AvoidFlags{};
    NinjaMatrix1.FindWay(FromColumn, FromRow, ToColumn, ToRow, avoid, sender == SpeedButton3);
    if (!NinjaMatrix1.LastWayStatus().Reached) {
        // The box stays empty; its placeholder, which is not part of the
        // text, tells why.
        const QString from = DecodeCp1252(NinjaMatrix1.Sector(FromColumn, FromRow).Name);
        const QString to = DecodeCp1252(NinjaMatrix1.Sector(ToColumn, ToRow).Name);
        RichEdit1->setPlaceholderText(
            AnyAvoided(avoid)
                ? QStringLiteral("No way from %1 to %2 avoids the chosen races.").arg(from, to)
                : QStringLiteral("No way leads from %1 to %2.").arg(from, to));
    }
}

void TForm1::SpeedButton1Click() {
    RichEdit1->clear();
    RichEdit1->setPlaceholderText(QString());
    NinjaMatrix1.ResetMatrix();
    Von->clearEditText();
    Nach->clearEditText();
}

void TForm1::SpeedButton5Click() {
    TForm3* avoid = windows_.Form3;
    if (avoid == nullptr) {
        return;
    }
    PutAtSlot(avoid, FirstSlot);
    if (windows_.Form4 != nullptr && windows_.Form4->isVisible()) {
        PutAtSlot(windows_.Form4, SecondSlot);
    }
    avoid->show();
    avoid->raise();
    avoid->activateWindow();
}
