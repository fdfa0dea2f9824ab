#include "OptionsPanel.h"

#include "Colors.h"
#include "ErrorBox.h"
#include "HintPolicy.h"
#include "Look.h"
#include "Messenger.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr std::uint32_t StripGround = 4802889;          // RGB 73, 73, 73
constexpr std::uint32_t RowLabelText = Palette::Dimmed; // RGB 115, 115, 115

// The inner area below the heading: the sub-panels on the left, the button
// strip at the right edge.
constexpr int InnerLeft = 7;
constexpr int InnerTop = 24;
constexpr int SubPanelWidth = 378;
constexpr int StripWidth = 49;
constexpr int InnerHeight = 150;

// --- Glyphs of the panel's buttons, drawn in the accent colour -------------------

enum class Glyph { GeneralSettings, DatabaseSettings, Close, ChooseFile };

void drawGeneralSettings(QPainter& painter) {
    // Three sliders.
    for (int row = 0; row < 3; ++row) {
        const int y = 3 + row * 5;
        painter.drawLine(2, y, 14, y);
        const int knob = row == 1 ? 9 : (row == 0 ? 4 : 11);
        painter.fillRect(knob - 1, y - 2, 3, 5, painter.pen().color());
    }
}

void drawDatabaseSettings(QPainter& painter) {
    // A stack of discs.
    painter.drawEllipse(QRectF(2.5, 1.5, 11, 4));
    painter.drawLine(2, 3, 2, 13);
    painter.drawLine(14, 3, 14, 13);
    painter.drawArc(QRectF(2.5, 6.5, 11, 4), 180 * 16, 180 * 16);
    painter.drawArc(QRectF(2.5, 10.5, 11, 4), 180 * 16, 180 * 16);
}

void drawClose(QPainter& painter) {
    painter.drawLine(3, 3, 12, 12);
    painter.drawLine(12, 3, 3, 12);
}

void drawChooseFile(QPainter& painter) {
    for (int dot = 0; dot < 3; ++dot) {
        painter.fillRect(2 + dot * 5, 7, 2, 2, painter.pen().color());
    }
}

QIcon glyphIcon(Glyph glyph) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, glyph == Glyph::DatabaseSettings);
    painter.setPen(QPen(fromBgr(Palette::Accent), 1.6));
    switch (glyph) {
    case Glyph::GeneralSettings:
        drawGeneralSettings(painter);
        break;
    case Glyph::DatabaseSettings:
        drawDatabaseSettings(painter);
        break;
    case Glyph::Close:
        drawClose(painter);
        break;
    case Glyph::ChooseFile:
        drawChooseFile(painter);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}

// --- Building blocks ---------------------------------------------------------------

template <typename Widget> Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QFrame* bar(QWidget* parent, const QString& name, std::uint32_t colour, int left, int top,
            int width, int height) {
    auto* bar = named(new QFrame(parent), name);
    setColors(bar, colour, colour);
    place(bar, left, top, width, height);
    return bar;
}

QLabel* textLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                  std::uint32_t colour) {
    auto* label = named(new QLabel(text, parent), name);
    label->setFont(font);
    setTextColor(label, colour);
    return label;
}

QToolButton* glyphButton(QWidget* parent, const QString& name, Glyph glyph, const QString& hint,
                         int left, int top, int width, int height) {
    auto* button = named(new QToolButton(parent), name);
    button->setAutoRaise(true);
    button->setIcon(glyphIcon(glyph));
    button->setIconSize(QSize(std::min(16, width - 4), std::min(16, height - 2)));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setFocusPolicy(Qt::NoFocus);
    place(button, left, top, width, height);
    return button;
}

QCheckBox* optionBox(QWidget* parent, const QString& name, const QString& caption, int left,
                     int top, int width, int height, const QFont& font, std::uint32_t colour,
                     bool checked) {
    auto* box = named(new QCheckBox(caption, parent), name);
    box->setAccessibleName(caption);
    box->setFont(font);
    setTextColor(box, colour);
    box->setChecked(checked);
    place(box, left, top, width, height);
    return box;
}

QFrame* subPanel(QWidget* parent, const QString& name, const QString& title) {
    auto* panel = named(new QFrame(parent), name);
    setColors(panel, Palette::DarkGround, Palette::OptionText);
    place(panel, InnerLeft, InnerTop, SubPanelWidth, InnerHeight);
    auto* heading = textLabel(panel, name + QStringLiteral("Title"), title, vantorFont(13, true),
                              Palette::SubTitle);
    heading->setAlignment(Qt::AlignRight | Qt::AlignTop);
    place(heading, 0, 2, SubPanelWidth - 6, 18);
    panel->setAccessibleName(title);
    return panel;
}

// One data-file row: label, marker, spacer, path box and choose button.
struct DataFileRow {
    QFrame* marker = nullptr;
    QLineEdit* pathBox = nullptr;
    QToolButton* choose = nullptr;
};

DataFileRow dataFileRow(QWidget* parent, int top, const QString& caption, const QString& markerName,
                        const QString& spacerName, const QString& boxName,
                        const QString& buttonName, const QString& labelName) {
    DataFileRow row;
    auto* label = textLabel(parent, labelName, caption, vantorFont(9), RowLabelText);
    place(label, 48, top - 13, 240, 12);
    row.marker = bar(parent, markerName, Palette::SubTitle, 48, top, 6, 16);
    row.marker->setAccessibleName(caption);
    bar(parent, spacerName, Palette::Black, 56, top, 10, 16);
    row.pathBox = named(new QLineEdit(QStringLiteral("Standard Data"), parent), boxName);
    row.pathBox->setFrame(false);
    row.pathBox->setReadOnly(true);
    row.pathBox->setFont(vantorFont(11));
    row.pathBox->setAccessibleName(caption);
    setColors(row.pathBox, Palette::DarkGround, Palette::SubTitle);
    place(row.pathBox, 64, top, 217, 15);
    row.choose = glyphButton(parent, buttonName, Glyph::ChooseFile, caption, 284, top + 1, 21, 14);
    return row;
}

// The chosen file's full path, or empty when the user cancelled.
QString chooseDataFile(QFileDialog* dialog, const QString& currentPath,
                       const QString& programFolder) {
    const QFileInfo current(currentPath);
    dialog->setDirectory(!currentPath.isEmpty() && current.absoluteDir().exists()
                             ? current.absolutePath()
                             : programFolder);
    dialog->selectFile(QString());
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return {};
    }
    return QDir::toNativeSeparators(dialog->selectedFiles().constFirst());
}

void showPathIn(QLineEdit* box, const QString& path) {
    box->setText(path.size() <= OptionsPanel::LongestFullPath ? path
                                                              : OptionsPanel::shortPathText(path));
}

} // namespace

OptionsPanel::OptionsPanel(QWidget* parent, Messenger& messenger, QString programFolder)
    : QFrame(parent)
    , messenger_(messenger)
    , programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("Options"));
    setColors(this, Palette::DarkGround, Palette::OptionText);
    place(this, 8, 64, 441, 174);
    setAccessibleName(QStringLiteral("Options"));
    hide();

    heading_ = textLabel(this, QStringLiteral("Label6"), QStringLiteral("Options"),
                         vantorFont(13, true), Palette::Accent);
    heading_->move(6, -1);
    bar(this, QStringLiteral("Shape2"), Palette::Black, 22, 15, 411, 4);

    buildStrip();
    buildGeneralSettings();
    buildDatabaseSettings();

    // The hint switch starts as the box shows it.
    HintPolicy::instance().setHintsShown(hintsBox_->isChecked());
}

// The heading takes its text's size when the panel first shows: measuring
// the text loads its font, which the start of the program need not wait for.
void OptionsPanel::showEvent(QShowEvent* event) {
    if (!headingSized_) {
        heading_->adjustSize();
        headingSized_ = true;
    }
    QFrame::showEvent(event);
}

void OptionsPanel::buildStrip() {
    tabStrip_ = named(new QFrame(this), QStringLiteral("Panel5"));
    tabStrip_->setFrameStyle(QFrame::Box | QFrame::Plain);
    tabStrip_->setLineWidth(2);
    setColors(tabStrip_, StripGround, Palette::Black);
    place(tabStrip_, InnerLeft + SubPanelWidth, InnerTop, StripWidth, InnerHeight);
    generalButton_ = glyphButton(tabStrip_, QStringLiteral("SpeedButton6"), Glyph::GeneralSettings,
                                 QStringLiteral("General Settings"), 13, 12, 24, 24);
    databaseButton_ =
        glyphButton(tabStrip_, QStringLiteral("SpeedButton7"), Glyph::DatabaseSettings,
                    QStringLiteral("Database Settings"), 13, 44, 24, 24);
    closeButton_ = glyphButton(tabStrip_, QStringLiteral("SpeedButton10"), Glyph::Close,
                               QStringLiteral("Close option-menu"), 13, 116, 24, 24);
    connect(generalButton_, &QToolButton::clicked, this,
            guarded([this] { showGeneralSettings(); }));
    connect(databaseButton_, &QToolButton::clicked, this,
            guarded([this] { showDatabaseSettings(); }));
    connect(closeButton_, &QToolButton::clicked, this, [this] { emit closeRequested(); });
}

void OptionsPanel::buildGeneralSettings() {
    const QFont optionFont = vantorFont(11);
    generalPanel_ = subPanel(this, QStringLiteral("AllgEinst"), QStringLiteral("General Settings"));
    hintsBox_ =
        optionBox(generalPanel_, QStringLiteral("CheckBox3"), QStringLiteral("Display help-popups"),
                  48, 24, 300, 17, optionFont, Palette::OptionText, true);
    starMapLinkBox_ = optionBox(generalPanel_, QStringLiteral("CheckBox4"),
                                QStringLiteral("Show starmap linked with database entries"), 48, 48,
                                300, 17, optionFont, Palette::OptionText, true);
    // The handlers run on every change of state, also when the settings are read.
    connect(hintsBox_, &QCheckBox::toggled, this, guarded([this] { onHintsBoxClicked(); }));
    connect(starMapLinkBox_, &QCheckBox::toggled, this, [this] { emit settingsChanged(); });
}

void OptionsPanel::buildDatabaseSettings() {
    const QFont optionFont = vantorFont(11);
    databasePanel_ =
        subPanel(this, QStringLiteral("DataEinst"), QStringLiteral("Database Settings"));
    databasePanel_->hide();
    rollOutBox_ = optionBox(databasePanel_, QStringLiteral("CheckBox5"),
                            QStringLiteral("Automatic database-rollout"), 48, 24, 300, 17,
                            optionFont, Palette::OptionText, true);
    nodeLinesBox_ = optionBox(databasePanel_, QStringLiteral("CheckBox6"),
                              QStringLiteral("Show node-lines (in database)"), 48, 48, 300, 17,
                              optionFont, Palette::OptionText, true);
    bar(databasePanel_, QStringLiteral("DataDivider"), Palette::Black, 47, 73, 258, 4);

    const DataFileRow core = dataFileRow(
        databasePanel_, 98, QStringLiteral("System- and Coordinate-Data"), QStringLiteral("Shape5"),
        QStringLiteral("Shape6"), QStringLiteral("SysCoreDat"), QStringLiteral("SpeedButton8"),
        QStringLiteral("CoreDataLabel"));
    coreDataMarker_ = core.marker;
    coreDataField_ = core.pathBox;
    chooseCoreDataButton_ = core.choose;
    const DataFileRow info = dataFileRow(
        databasePanel_, 130, QStringLiteral("System- and Info-Data"), QStringLiteral("Shape7"),
        QStringLiteral("Shape8"), QStringLiteral("SysInfoDat"), QStringLiteral("SpeedButton9"),
        QStringLiteral("InfoDataLabel"));
    infoDataMarker_ = info.marker;
    infoDataField_ = info.pathBox;
    chooseInfoDataButton_ = info.choose;

    connect(chooseCoreDataButton_, &QToolButton::clicked, this,
            guarded([this] { onChooseDataFileClicked(chooseCoreDataButton_); }));
    connect(chooseInfoDataButton_, &QToolButton::clicked, this,
            guarded([this] { onChooseDataFileClicked(chooseInfoDataButton_); }));
    // The database trees take the roll-out and node-line options on every change.
    connect(rollOutBox_, &QCheckBox::toggled, this, [this](bool on) {
        emit rollOutChanged(on);
        emit settingsChanged();
    });
    connect(nodeLinesBox_, &QCheckBox::toggled, this, [this](bool on) {
        emit nodeLinesChanged(on);
        emit settingsChanged();
    });
}

void OptionsPanel::showGeneralSettings() {
    databasePanel_->hide();
    generalPanel_->show();
}

void OptionsPanel::showDatabaseSettings() {
    generalPanel_->hide();
    databasePanel_->show();
}

bool OptionsPanel::hintsShown() const {
    return hintsBox_->isChecked();
}
void OptionsPanel::setHintsShown(bool shown) {
    hintsBox_->setChecked(shown);
}
bool OptionsPanel::starMapLinked() const {
    return starMapLinkBox_->isChecked();
}
void OptionsPanel::setStarMapLinked(bool linked) {
    starMapLinkBox_->setChecked(linked);
}
bool OptionsPanel::rollOut() const {
    return rollOutBox_->isChecked();
}
void OptionsPanel::setRollOut(bool on) {
    rollOutBox_->setChecked(on);
}
bool OptionsPanel::nodeLines() const {
    return nodeLinesBox_->isChecked();
}
void OptionsPanel::setNodeLines(bool on) {
    nodeLinesBox_->setChecked(on);
}

// At start-up a path the box can hold in full keeps the box's "Standard Data".
void OptionsPanel::setCoreDataPath(const QString& path) {
    coreDataPath_ = path;
    if (path.size() > LongestFullPath) {
        coreDataField_->setText(shortPathText(path));
    }
}

void OptionsPanel::setInfoDataPath(const QString& path) {
    infoDataPath_ = path;
    if (path.size() > LongestFullPath) {
        infoDataField_->setText(shortPathText(path));
    }
}

void OptionsPanel::showDataFileHints() {
    coreDataMarker_->setToolTip(coreDataPath_);
    infoDataMarker_->setToolTip(infoDataPath_);
}

// The chosen file is stored and shown; the engine and the system database keep
// what they loaded until the program is restarted.
void OptionsPanel::onChooseDataFileClicked(QObject* sender) {
    const bool infoData = sender == chooseInfoDataButton_;
    QString& path = infoData ? infoDataPath_ : coreDataPath_;
    const QString chosen = chooseDataFile(dataFileDialog(), path, programFolder_);
    if (!chosen.isEmpty()) {
        path = chosen;
        showPathIn(infoData ? infoDataField_ : coreDataField_, chosen);
        (infoData ? infoDataMarker_ : coreDataMarker_)->setToolTip(chosen);
        messenger_.notify(
            QStringLiteral("Restart"),
            QStringLiteral("To let the changes take effect, please restart \"Vantor\" now."),
            MessageKind::Alert);
    }
    emit settingsChanged();
}

// Made when first needed: building a file dialog loads icons and lists a
// folder, which the start of the program need not wait for.
QFileDialog* OptionsPanel::dataFileDialog() {
    if (dataFileDialog_ == nullptr) {
        dataFileDialog_ =
            named(new QFileDialog(this, QStringLiteral("Please choose a data-file...")),
                  QStringLiteral("OpenDialog2"));
        // The toolkit's own dialog, the same on every system.
        dataFileDialog_->setOption(QFileDialog::DontUseNativeDialog);
        dataFileDialog_->setFileMode(QFileDialog::ExistingFile);
        dataFileDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        dataFileDialog_->setNameFilter(QStringLiteral("vr Data (*.vr)"));
    }
    return dataFileDialog_;
}

void OptionsPanel::onHintsBoxClicked() {
    HintPolicy::instance().setHintsShown(hintsBox_->isChecked());
    emit settingsChanged();
}

// The path's first three characters, "...", the path's own separator and the
// file name: a path keeps its own look.
QString OptionsPanel::shortPathText(const QString& path) {
    const qsizetype lastSeparator =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QChar separator = lastSeparator >= 0 ? path.at(lastSeparator) : QDir::separator();
    return path.left(3) + QStringLiteral("...") + separator + path.mid(lastSeparator + 1);
}
