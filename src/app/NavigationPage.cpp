#include "NavigationPage.h"

#include "Artwork.h"
#include "Colors.h"
#include "Cp1252.h"
#include "ErrorBox.h"
#include "FlatComboBox.h"
#include "HintPolicy.h"
#include "Look.h"
#include "Messenger.h"
#include "Printing.h"
#include "RichEditSink.h"
#include "StarMapShape.h"
#include "WindowStrip.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolButton>
#include <QToolTip>
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
    // Stands below the explanation in the empty way box while it is offered.
    fewestAvoidedButton_ = pageButton(
        outputPanel_, "FewestAvoided",
        QStringLiteral("Show the way through the fewest avoided systems"),
        QStringLiteral("Writes the way that enters the fewest systems of the avoided races and "
                       "shows them on the star map"),
        false, Palette::Accent);
    fewestAvoidedButton_->setAccessibleName(fewestAvoidedButton_->text());
    HintPolicy::setKeyHint(fewestAvoidedButton_, QKeySequence(Qt::CTRL | Qt::Key_Return));
    fewestAvoidedButton_->hide();

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
    connect(fewestAvoidedButton_, &QToolButton::clicked, this,
            guarded([this] { onFewestAvoidedRequested(); }));
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
    wayMenu_->addSeparator()->setObjectName(QStringLiteral("N2"));
    copyWayAction_ = wayMenu_->addAction(QStringLiteral("Copy way"));
    copyWayAction_->setObjectName(QStringLiteral("CopyWay"));
    // Named in the menu; the box's own Ctrl+C does the copying.
    copyWayAction_->setShortcut(QKeySequence::Copy);
    copyWayAction_->setShortcutContext(Qt::WidgetShortcut);
    connect(copyWayAction_, &QAction::triggered, this, guarded([this] { copyWay(false); }));
    connect(wayMenu_, &QMenu::aboutToShow, this, guarded([this] { onWayMenuAboutToShow(); }));

    // The box's own keys and hints come after ours.
    wayOutput_->installEventFilter(this);
    wayOutput_->viewport()->installEventFilter(this);
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

void NavigationPage::setNotesSource(std::function<QStringList(SectorPosition)> source) {
    notesOf_ = std::move(source);
}

PageKeyTargets NavigationPage::keyTargets() {
    return {fromBox_, nullptr, printButton_, nullptr};
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
    showOffer(false);
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
    const bool shortForm = sender == shortButton_;
    const bool searched =
        engine_.findWay(from_.column, from_.row, to_.column, to_.row, avoid, shortForm);
    if (!searched || !engine_.lastWayStatus().reached) {
        explainNoWay(!searched, avoid, shortForm);
    }
}

// The box stays empty; its placeholder, which is not part of the text, tells
// why. Where only the avoided races stand in the way, it names what the best
// way through their systems costs, and that way is offered.
void NavigationPage::explainNoWay(bool searchFailed, const AvoidFlags& avoid, bool shortForm) {
    if (searchFailed) {
        wayOutput_->setPlaceholderText(QStringLiteral("Navigation Error: the search failed"));
        return;
    }
    const QString from = systemName(from_);
    const QString to = systemName(to_);
    if (!anyAvoided(avoid)) {
        wayOutput_->setPlaceholderText(QStringLiteral("No way leads from %1 to %2.").arg(from, to));
        return;
    }
    QString explanation =
        QStringLiteral("No way from %1 to %2 avoids the chosen races.").arg(from, to);
    const std::optional<PlannedWay> best =
        engine_.planLeastAvoidedWay(from_.column, from_.row, to_.column, to_.row, avoid);
    if (best && !best->avoided.empty()) {
        QStringList entered;
        for (const SectorPosition sector : best->avoided) {
            entered << systemName(sector);
        }
        explanation +=
            QStringLiteral(" The best way enters %1 of their systems (%2).")
                .arg(QString::number(entered.size()), entered.join(QStringLiteral(", ")));
        offer_ = FewestAvoidedOffer{from_, to_, avoid, shortForm};
    }
    wayOutput_->setPlaceholderText(explanation);
    showOffer(offer_.has_value());
}

QString NavigationPage::systemName(SectorPosition sector) const {
    return decodeCp1252(std::as_const(engine_).sectorAt(sector.column, sector.row).name);
}

// Below the explanation as the box draws it: at the top of the box, within
// its margin, wrapped at its width.
void NavigationPage::showOffer(bool shown) {
    if (!shown) {
        offer_.reset();
        fewestAvoidedButton_->hide();
        return;
    }
    QWidget* box = wayOutput_->viewport();
    const int margin = static_cast<int>(wayOutput_->document()->documentMargin());
    const QRect text = box->rect().adjusted(margin, margin, -margin, -margin);
    const int explained =
        box->fontMetrics()
            .boundingRect(text, Qt::AlignTop | Qt::TextWordWrap, wayOutput_->placeholderText())
            .height();
    const QPoint at = box->mapTo(outputPanel_, text.topLeft() + QPoint(0, explained + 6));
    const QSize size = fewestAvoidedButton_->sizeHint();
    fewestAvoidedButton_->setGeometry(at.x(), at.y(), std::min(size.width(), text.width()),
                                      size.height());
    fewestAvoidedButton_->raise();
    fewestAvoidedButton_->show();
}

// Written and drawn as any way; the avoided systems on it stand out on the map.
void NavigationPage::onFewestAvoidedRequested() {
    if (!offer_) {
        return;
    }
    const FewestAvoidedOffer offer = *offer_;
    wayOutput_->clear();
    wayOutput_->setPlaceholderText(QString());
    fewestAvoidedButton_->hide();
    if (!engine_.findLeastAvoidedWay(offer.from.column, offer.from.row, offer.to.column,
                                     offer.to.row, offer.avoid, offer.shortForm)) {
        wayOutput_->setPlaceholderText(QStringLiteral("Navigation Error: the search failed"));
    }
}

void NavigationPage::onClearClicked() {
    wayOutput_->clear();
    wayOutput_->setPlaceholderText(QString());
    showOffer(false);
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
    const QString keyword = systemOfLine(wayOutput_->document()->findBlock(caret).text());
    if (!keyword.isEmpty()) {
        emit findRequested(target, keyword);
    }
}

QString NavigationPage::systemOfLine(const QString& line) {
    tokenizer_.tokenize(encodeCp1252(line));
    return decodeCp1252(tokenizer_.nextToken());
}

// Plain text, one line per paragraph as the box shows them, each line ended.
void NavigationPage::copyWay(bool selectionOnly) {
    const QTextCursor caret = wayOutput_->textCursor();
    if (selectionOnly && caret.hasSelection()) {
        QGuiApplication::clipboard()->setText(caret.selection().toPlainText());
    } else if (!wayOutput_->document()->isEmpty()) {
        QGuiApplication::clipboard()->setText(wayOutput_->toPlainText() + u'\n');
    }
}

void NavigationPage::onWayMenuAboutToShow() {
    copyWayAction_->setEnabled(!wayOutput_->document()->isEmpty());
}

bool NavigationPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == wayOutput_ && event->type() == QEvent::KeyPress) {
        bool used = false;
        runGuarded([&] { used = onWayKeyPressed(static_cast<QKeyEvent*>(event)); });
        return used;
    }
    if (watched == wayOutput_->viewport() && event->type() == QEvent::ToolTip) {
        runGuarded([&] { showLineNotes(static_cast<QHelpEvent*>(event)); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Ctrl+C copies the selection, or the whole way when nothing is selected;
// Ctrl+Enter takes up the offer of the way through the fewest avoided systems.
bool NavigationPage::onWayKeyPressed(QKeyEvent* key) {
    if (key->matches(QKeySequence::Copy)) {
        copyWay(true);
        return true;
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        onFewestAvoidedRequested();
        return true;
    }
    return false;
}

// Only over a line's own text: below the last line the pointer names none.
void NavigationPage::showLineNotes(QHelpEvent* help) {
    const QPoint scrolled(wayOutput_->horizontalScrollBar()->value(),
                          wayOutput_->verticalScrollBar()->value());
    const QTextBlock block = wayOutput_->cursorForPosition(help->pos()).block();
    const QRect line = wayOutput_->document()
                           ->documentLayout()
                           ->blockBoundingRect(block)
                           .toAlignedRect()
                           .translated(-scrolled);
    const SectorPosition system =
        line.contains(help->pos()) ? lookUp(systemOfLine(block.text())) : SectorPosition{};
    const QStringList notes = system.known() && notesOf_ ? notesOf_(system) : QStringList();
    if (notes.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    const QString name =
        decodeCp1252(std::as_const(engine_).sectorAt(system.column, system.row).name);
    QToolTip::showText(help->globalPos(), hintWithNotes(name, notes), wayOutput_->viewport(), line,
                       HintPolicy::instance().showTime());
}
