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
QToolButton* sunkenButton(QWidget* parent, const char* holderName, int top, const char* name,
                          const QString& caption, const QString& hint, bool bold) {
    auto* holder = makeControl<QFrame>(parent, holderName);
    holder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    place(holder, 3, top, 111, 27);
    QToolButton* button = pageButton(holder, name, caption, hint, bold, Palette::Accent);
    place(button, 2, 2, 107, 23);
    return button;
}

QTextEdit* wayBox(QWidget* parent) {
    auto* box = makeControl<QTextEdit>(parent, "RichEdit1");
    box->setFrameStyle(QFrame::NoFrame);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setFont(vantorFont(11));
    setColors(box, Palette::Black, Palette::Silver);
    QPalette placeholder = box->palette();
    placeholder.setColor(QPalette::PlaceholderText, fromBgr(PlaceholderColor));
    box->setPalette(placeholder);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setAccessibleName(QStringLiteral("Way"));
    place(box, 4, 6, 306, 351);
    return box;
}

bool anyAvoided(const AvoidFlags& avoid) {
    return std::any_of(avoid.begin(), avoid.end(), [](bool avoided) { return avoided; });
}

} // namespace

NavigationPage::NavigationPage(QWidget* parent, RouteEngine& engine, Messenger& messenger,
                               WindowStrip& strip)
    : QWidget(parent)
    , engine_(engine)
    , messenger_(messenger)
    , strip_(strip) {
    setObjectName(QStringLiteral("TabSheet3"));
    setColors(this, Palette::DarkGround, Palette::Silver);
    tokenizer_.setDivider(" through");
    buildControls();
    buildPopupMenu();
    waySink_ = std::make_unique<RichEditSink>(wayOutput_);
    engine_.setOutputField(waySink_.get());
}

NavigationPage::~NavigationPage() {
    // The engine must not write into the box while the widgets go away.
    engine_.setOutputField(nullptr);
}

void NavigationPage::buildControls() {
    fromLabel_ = makeHeading(this, "Label1", QStringLiteral("From"), 4, 0);
    fromBox_ = completingBox(this, "Von", QStringLiteral("From"), Palette::DarkGround, 3, 17, 109);
    fromLabel_->setBuddy(fromBox_);
    toLabel_ = makeHeading(this, "Label2", QStringLiteral("To"), 4, 47);
    toBox_ = completingBox(this, "Nach", QStringLiteral("To"), Palette::DarkGround, 3, 65, 109);
    toLabel_->setBuddy(toBox_);

    avoidButton_ = sunkenButton(this, "SpeedButton5Holder", 333, "SpeedButton5",
                                QStringLiteral("Avoid contact with"),
                                QStringLiteral("Avoid contact with a specific race"), false);
    findWayButton_ = sunkenButton(this, "WayHolder", 365, "Way", QStringLiteral("Find a way..."),
                                  QStringLiteral("Find the fastest way from A to B"), true);

    outputPanel_ = makeControl<QFrame>(this, "Panel2");
    setColors(outputPanel_, Palette::Black, Palette::Silver);
    place(outputPanel_, 117, 0, 316, 390);
    wayOutput_ = wayBox(outputPanel_);

    clearButton_ = pageButton(outputPanel_, "SpeedButton1", QStringLiteral("X"),
                              QStringLiteral("Clear all displays"), true, Palette::Red);
    place(clearButton_, 4, 366, 25, 19);
    shortButton_ = pageButton(outputPanel_, "SpeedButton3", QStringLiteral("Short description"),
                              QStringLiteral("Only display stargates"), true, Palette::Accent);
    place(shortButton_, 33, 366, 110, 19);
    printButton_ = pageButton(outputPanel_, "SpeedButton4", QStringLiteral("Print"),
                              QStringLiteral("Prints the way shown above"), false, Palette::Accent);
    place(printButton_, 237, 366, 75, 19);

    connect(fromBox_, &FlatComboBox::returnPressed, this,
            guarded([this] { onFromReturnPressed(); }));
    connect(toBox_, &FlatComboBox::returnPressed, this, guarded([this] { onToReturnPressed(); }));
    connect(findWayButton_, &QToolButton::clicked, this,
            guarded([this] { onWayRequested(findWayButton_); }));
    connect(shortButton_, &QToolButton::clicked, this,
            guarded([this] { onWayRequested(shortButton_); }));
    connect(clearButton_, &QToolButton::clicked, this, guarded([this] { onClearClicked(); }));
    connect(avoidButton_, &QToolButton::clicked, this, guarded([this] { onAvoidClicked(); }));
    connect(printButton_, &QToolButton::clicked, this, guarded([this] { onPrintClicked(); }));
}

// The way output's own menu, in place of the box's usual one.
void NavigationPage::buildPopupMenu() {
    wayMenu_ = makeControl<QMenu>(this, "PopupMenu1");
    wayMenu_->setAccessibleName(QStringLiteral("Find the system"));
    const auto item = [this](const char* name, int picture, const QString& caption,
                             FindTarget target) {
        QAction* action = wayMenu_->addAction(imageListPicture(picture), caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                guarded([this, target] { onFindInTriggered(target); }));
        return action;
    };
    findInSystemDatabase_ =
        item("SysData1", 2, QStringLiteral("Find in System-Databse"), FindTarget::SystemDatabase);
    findInOwnDatabase_ =
        item("EigData1", 3, QStringLiteral("Find in Own-Database"), FindTarget::OwnDatabase);
    wayMenu_->addSeparator()->setObjectName(QStringLiteral("N1"));
    findInNotepad_ = item("Notiz1", 0, QStringLiteral("Find in Notepad"), FindTarget::Notepad);

    wayOutput_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(wayOutput_, &QTextEdit::customContextMenuRequested, this,
            [this](const QPoint& at) { wayMenu_->popup(wayOutput_->viewport()->mapToGlobal(at)); });
}

void NavigationPage::fillSystemLists() {
    // Column by column; the boxes keep their lists sorted themselves.
    QStringList names;
    for (int x = 0; x < RouteEngine::GridSize; ++x) {
        for (int y = 0; y < RouteEngine::GridSize; ++y) {
            // A cell the file leaves undefined has no name to offer.
            const std::string& name = std::as_const(engine_).sectorAt(x, y).name;
            if (!name.empty()) {
                names << decodeCp1252(name);
            }
        }
    }
    for (FlatComboBox* box : {fromBox_, toBox_}) {
        box->setItems(names);
    }
}

void NavigationPage::setAvoidFlagsSource(std::function<AvoidFlags()> source) {
    avoidFlags_ = std::move(source);
}

void NavigationPage::mapStartPicked(int column, int row, const QString& name) {
    fromBox_->setCurrentText(name);
    from_ = {static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row)};
}

void NavigationPage::mapTargetPicked(int column, int row, const QString& name) {
    toBox_->setCurrentText(name);
    to_ = {static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row)};
    // Both outlines go back to their race colours. A request from the boxes
    // may have replaced the picked start by "no such system" since the first
    // click; the request below then reports it.
    for (const SectorPosition picked : {from_, to_}) {
        if (picked.known()) {
            engine_.setRaceColor(picked.column, picked.row);
        }
    }
    onWayRequested(nullptr);
}

void NavigationPage::setMapPicking(bool picking) {
    mapPicking_ = picking;
    for (QWidget* control :
         std::initializer_list<QWidget*>{fromBox_, toBox_, findWayButton_, fromLabel_, toLabel_}) {
        control->setEnabled(!picking);
    }
}

void NavigationPage::avoidedRacesChanged() {
    onWayRequested(nullptr);
}

void NavigationPage::onFromReturnPressed() {
    toBox_->setFocus(Qt::OtherFocusReason);
}

void NavigationPage::onToReturnPressed() {
    onWayRequested(toBox_);
}

// An empty box names no system, even where the file leaves a cell without a name.
SectorPosition NavigationPage::lookUp(const QString& name) const {
    return name.isEmpty() ? SectorPosition{} : engine_.findSectorPosition(encodeCp1252(name));
}

void NavigationPage::onWayRequested(QObject* sender) {
    wayOutput_->setPlaceholderText(QString());
    if (fromBox_->currentText().isEmpty() && toBox_->currentText().isEmpty()) {
        messenger_.notify(QStringLiteral("General error occured."),
                          QStringLiteral("You forgot to enter a keyword / ... ."),
                          MessageKind::Notice);
    }
    wayOutput_->clear();
    // While the map picks the sectors, its picks stand and the boxes are not read.
    if (!mapPicking_) {
        from_ = lookUp(fromBox_->currentText());
        to_ = lookUp(toBox_->currentText());
    }
    if (!from_.known()) {
        messenger_.notify(
            QStringLiteral("Error."),
            QStringLiteral("You have entered a wrong \"from-system\". Please correct your entry!"),
            MessageKind::Alert);
        return;
    }
    if (!to_.known()) {
        messenger_.notify(
            QStringLiteral("Error."),
            QStringLiteral("You have entered a wrong \"to-system\". Please correct your entry!"),
            MessageKind::Alert);
        return;
    }
    const AvoidFlags avoid = avoidFlags_ ? avoidFlags_() : AvoidFlags{};
    const bool searched = engine_.findWay(from_.column, from_.row, to_.column, to_.row, avoid,
                                          sender == shortButton_);
    if (!searched || !engine_.lastWayStatus().reached) {
        explainNoWay(!searched, avoid);
    }
}

// The box stays empty; its placeholder, which is not part of the text, tells why.
void NavigationPage::explainNoWay(bool searchFailed, const AvoidFlags& avoid) {
    if (searchFailed) {
        wayOutput_->setPlaceholderText(QStringLiteral("Navigation Error: the search failed"));
        return;
    }
    const QString from =
        decodeCp1252(std::as_const(engine_).sectorAt(from_.column, from_.row).name);
    const QString to = decodeCp1252(std::as_const(engine_).sectorAt(to_.column, to_.row).name);
    wayOutput_->setPlaceholderText(
        anyAvoided(avoid)
            ? QStringLiteral("No way from %1 to %2 avoids the chosen races.").arg(from, to)
            : QStringLiteral("No way leads from %1 to %2.").arg(from, to));
}

void NavigationPage::onClearClicked() {
    wayOutput_->clear();
    wayOutput_->setPlaceholderText(QString());
    engine_.resetMatrix();
    fromBox_->clearEditText();
    toBox_->clearEditText();
}

void NavigationPage::onAvoidClicked() {
    strip_.showAvoid();
}

void NavigationPage::onPrintClicked() {
    printWithDialog(this, *wayForPaper(*wayOutput_->document()));
}

// The line of the caret (of the selection's start), whatever the mouse
// points at; its first piece before " through" is the system's name, a line
// without one is taken whole.
void NavigationPage::onFindInTriggered(FindTarget target) {
    const int caret = wayOutput_->textCursor().selectionStart();
    const QString line = wayOutput_->document()->findBlock(caret).text();
    tokenizer_.tokenize(encodeCp1252(line));
    const QString keyword = decodeCp1252(tokenizer_.nextToken());
    if (!keyword.isEmpty()) {
        emit findRequested(target, keyword);
    }
}
