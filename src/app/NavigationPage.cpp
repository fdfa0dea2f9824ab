#include "NavigationPage.h"

#include "Artwork.h"
#include "Colors.h"
#include "Cp1252.h"
#include "ErrorBox.h"
#include "FlatComboBox.h"
#include "Look.h"
#include "Messenger.h"
#include "Printing.h"
#include "RichEditSink.h"
#include "WindowStrip.h"

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <utility>

namespace {

constexpr std::uint32_t PlaceholderColor = 0x909090;

// The sunken holder of a flat button at the foot of the page.
QToolButton* SunkenButton(QWidget* parent, const char* holderName, int top, const char* name,
                          const QString& caption, const QString& hint, bool bold) {
    auto* holder = MakeControl<QFrame>(parent, holderName);
    holder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Place(holder, 3, top, 111, 27);
    QToolButton* button = PageButton(holder, name, caption, hint, bold, Palette::Accent);
    Place(button, 2, 2, 107, 23);
    return button;
}

QTextEdit* WayBox(QWidget* parent) {
    auto* box = MakeControl<QTextEdit>(parent, "RichEdit1");
    box->setFrameStyle(QFrame::NoFrame);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setFont(VantorFont(11));
    SetColors(box, Palette::Black, Palette::Silver);
    QPalette placeholder = box->palette();
    placeholder.setColor(QPalette::PlaceholderText, FromBgr(PlaceholderColor));
    box->setPalette(placeholder);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setAccessibleName(QStringLiteral("Way"));
    Place(box, 4, 6, 306, 351);
    return box;
}

bool AnyAvoided(const AvoidFlags& avoid) {
    return std::any_of(avoid.begin(), avoid.end(), [](bool avoided) { return avoided; });
}

} // namespace

TNavigationPage::TNavigationPage(QWidget* parent, TNinjaMatrix& engine, TMessenger& messenger,
                                 TWindowStrip& strip)
    : QWidget(parent)
    , engine_(engine)
    , messenger_(messenger)
    , strip_(strip) {
    setObjectName(QStringLiteral("TabSheet3"));
    SetColors(this, Palette::DarkGround, Palette::Silver);
    st.SetDivider(" through");
    BuildControls();
    BuildPopupMenu();
    waySink_ = std::make_unique<TRichEditSink>(RichEdit1);
    engine_.SetOutPutField(waySink_.get());
}

TNavigationPage::~TNavigationPage() {
    // The engine must not write into the box while the widgets go away.
    engine_.SetOutPutField(nullptr);
}

void TNavigationPage::BuildControls() {
    Label1 = Heading(this, "Label1", QStringLiteral("From"), 4, 0);
    Von = CompletingBox(this, "Von", QStringLiteral("From"), Palette::DarkGround, 3, 17, 109);
    Label1->setBuddy(Von);
    Label2 = Heading(this, "Label2", QStringLiteral("To"), 4, 47);
    Nach = CompletingBox(this, "Nach", QStringLiteral("To"), Palette::DarkGround, 3, 65, 109);
    Label2->setBuddy(Nach);

    SpeedButton5 = SunkenButton(this, "SpeedButton5Holder", 333, "SpeedButton5",
                                QStringLiteral("Avoid contact with"),
                                QStringLiteral("Avoid contact with a specific race"), false);
    Way = SunkenButton(this, "WayHolder", 365, "Way", QStringLiteral("Find a way..."),
                       QStringLiteral("Find the fastest way from A to B"), true);

    Panel2 = MakeControl<QFrame>(this, "Panel2");
    SetColors(Panel2, Palette::Black, Palette::Silver);
    Place(Panel2, 117, 0, 316, 390);
    RichEdit1 = WayBox(Panel2);

    SpeedButton1 = PageButton(Panel2, "SpeedButton1", QStringLiteral("X"),
                              QStringLiteral("Clear all displays"), true, Palette::Red);
    Place(SpeedButton1, 4, 366, 25, 19);
    SpeedButton3 = PageButton(Panel2, "SpeedButton3", QStringLiteral("Short description"),
                              QStringLiteral("Only display stargates"), true, Palette::Accent);
    Place(SpeedButton3, 33, 366, 110, 19);
    SpeedButton4 = PageButton(Panel2, "SpeedButton4", QStringLiteral("Print"),
                              QStringLiteral("Prints the way shown above"), false, Palette::Accent);
    Place(SpeedButton4, 237, 366, 75, 19);

    connect(Von, &TFlatComboBox::ReturnPressed, this, Guarded([this] { VonKeyPress(); }));
    connect(Nach, &TFlatComboBox::ReturnPressed, this, Guarded([this] { NachKeyPress(); }));
    connect(Way, &QToolButton::clicked, this, Guarded([this] { WayClick(Way); }));
    connect(SpeedButton3, &QToolButton::clicked, this, Guarded([this] { WayClick(SpeedButton3); }));
    connect(SpeedButton1, &QToolButton::clicked, this, Guarded([this] { SpeedButton1Click(); }));
    connect(SpeedButton5, &QToolButton::clicked, this, Guarded([this] { SpeedButton5Click(); }));
    connect(SpeedButton4, &QToolButton::clicked, this, Guarded([this] { SpeedButton4Click(); }));
}

// The way output's own menu, in place of the box's usual one.
void TNavigationPage::BuildPopupMenu() {
    PopupMenu1 = MakeControl<QMenu>(this, "PopupMenu1");
    PopupMenu1->setAccessibleName(QStringLiteral("Find the system"));
    const auto item = [this](const char* name, int picture, const QString& caption,
                             TFindTarget target) {
        QAction* action = PopupMenu1->addAction(ImageListPicture(picture), caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                Guarded([this, target] { SysData1Click(target); }));
        return action;
    };
    SysData1 =
        item("SysData1", 2, QStringLiteral("Find in System-Databse"), TFindTarget::SystemDatabase);
    EigData1 =
        item("EigData1", 3, QStringLiteral("Find in Own-Database"), TFindTarget::OwnDatabase);
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N1"));
    Notiz1 = item("Notiz1", 0, QStringLiteral("Find in Notepad"), TFindTarget::Notepad);

    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit1, &QTextEdit::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(RichEdit1->viewport()->mapToGlobal(at));
    });
}

void TNavigationPage::FillSystemLists() {
    // Column by column; the boxes keep their lists sorted themselves.
    QStringList names;
    for (int x = 0; x < TNinjaMatrix::GridSize; ++x) {
        for (int y = 0; y < TNinjaMatrix::GridSize; ++y) {
            // A cell the file leaves undefined has no name to offer.
            const std::string& name = std::as_const(engine_).Sector(x, y).Name;
            if (!name.empty()) {
                names << DecodeCp1252(name);
            }
        }
    }
    for (TFlatComboBox* box : {Von, Nach}) {
        box->SetItems(names);
    }
}

void TNavigationPage::SetAvoidFlagsSource(std::function<AvoidFlags()> source) {
    avoidFlags_ = std::move(source);
}

void TNavigationPage::MapStartPicked(int column, int row, const QString& name) {
    Von->setCurrentText(name);
    from_ = {static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row)};
}

void TNavigationPage::MapTargetPicked(int column, int row, const QString& name) {
    Nach->setCurrentText(name);
    to_ = {static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row)};
    // Both outlines go back to their race colours. A request from the boxes
    // may have replaced the picked start by "no such system" since the first
    // click; the request below then reports it.
    for (const SectorPosition picked : {from_, to_}) {
        if (picked.Known()) {
            engine_.SetRaceColor(picked.Column, picked.Row);
        }
    }
    WayClick(nullptr);
}

void TNavigationPage::SetMapPicking(bool picking) {
    mapPicking_ = picking;
    for (QWidget* control : std::initializer_list<QWidget*>{Von, Nach, Way, Label1, Label2}) {
        control->setEnabled(!picking);
    }
}

void TNavigationPage::AvoidedRacesChanged() {
    WayClick(nullptr);
}

void TNavigationPage::VonKeyPress() {
    Nach->setFocus(Qt::OtherFocusReason);
}

void TNavigationPage::NachKeyPress() {
    WayClick(Nach);
}

// An empty box names no system, even where the file leaves a cell without a name.
SectorPosition TNavigationPage::LookUp(const QString& name) const {
    return name.isEmpty() ? SectorPosition{} : engine_.FindSectorPosition(EncodeCp1252(name));
}

void TNavigationPage::WayClick(QObject* sender) {
    RichEdit1->setPlaceholderText(QString());
    if (Von->currentText().isEmpty() && Nach->currentText().isEmpty()) {
        messenger_.Notify(QStringLiteral("General error occured."),
                          QStringLiteral("You forgot to enter a keyword / ... ."),
                          MessageKind::Notice);
    }
    RichEdit1->clear();
    // While the map picks the sectors, its picks stand and the boxes are not read.
    if (!mapPicking_) {
        from_ = LookUp(Von->currentText());
        to_ = LookUp(Nach->currentText());
    }
    if (!from_.Known()) {
        messenger_.Notify(
            QStringLiteral("Error."),
            QStringLiteral("You have entered a wrong \"from-system\". Please correct your entry!"),
            MessageKind::Alert);
        return;
    }
    if (!to_.Known()) {
        messenger_.Notify(
            QStringLiteral("Error."),
            QStringLiteral("You have entered a wrong \"to-system\". Please correct your entry!"),
            MessageKind::Alert);
        return;
    }
    const AvoidFlags avoid = avoidFlags_ ? avoidFlags_() : AvoidFlags{};
    const bool searched = engine_.FindWay(from_.Column, from_.Row, to_.Column, to_.Row, avoid,
                                          sender == SpeedButton3);
    if (!searched || !engine_.LastWayStatus().Reached) {
        ExplainNoWay(!searched, avoid);
    }
}

// The box stays empty; its placeholder, which is not part of the text, tells why.
void TNavigationPage::ExplainNoWay(bool searchFailed, const AvoidFlags& avoid) {
    if (searchFailed) {
        RichEdit1->setPlaceholderText(QStringLiteral("Navigation Error: the search failed"));
        return;
    }
    const QString from = DecodeCp1252(std::as_const(engine_).Sector(from_.Column, from_.Row).Name);
    const QString to = DecodeCp1252(std::as_const(engine_).Sector(to_.Column, to_.Row).Name);
    RichEdit1->setPlaceholderText(
        AnyAvoided(avoid)
            ? QStringLiteral("No way from %1 to %2 avoids the chosen races.").arg(from, to)
            : QStringLiteral("No way leads from %1 to %2.").arg(from, to));
}

void TNavigationPage::SpeedButton1Click() {
    RichEdit1->clear();
    RichEdit1->setPlaceholderText(QString());
    engine_.ResetMatrix();
    Von->clearEditText();
    Nach->clearEditText();
}

void TNavigationPage::SpeedButton5Click() {
    strip_.ShowAvoid();
}

void TNavigationPage::SpeedButton4Click() {
    PrintWithDialog(this, *WayForPaper(*RichEdit1->document()));
}

// The line of the caret (of the selection's start), whatever the mouse
// points at; its first piece before " through" is the system's name, a line
// without one is taken whole.
void TNavigationPage::SysData1Click(TFindTarget target) {
    const int caret = RichEdit1->textCursor().selectionStart();
    const QString line = RichEdit1->document()->findBlock(caret).text();
    st.Tokenize(EncodeCp1252(line));
    const QString keyword = DecodeCp1252(st.NextToken());
    if (!keyword.isEmpty()) {
        emit FindRequested(target, keyword);
    }
}
