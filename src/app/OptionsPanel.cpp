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

enum class TGlyph { GeneralSettings, DatabaseSettings, Close, ChooseFile };

void DrawGeneralSettings(QPainter& painter) {
    // Three sliders.
    for (int row = 0; row < 3; ++row) {
        const int y = 3 + row * 5;
        painter.drawLine(2, y, 14, y);
        const int knob = row == 1 ? 9 : (row == 0 ? 4 : 11);
        painter.fillRect(knob - 1, y - 2, 3, 5, painter.pen().color());
    }
}

void DrawDatabaseSettings(QPainter& painter) {
    // A stack of discs.
    painter.drawEllipse(QRectF(2.5, 1.5, 11, 4));
    painter.drawLine(2, 3, 2, 13);
    painter.drawLine(14, 3, 14, 13);
    painter.drawArc(QRectF(2.5, 6.5, 11, 4), 180 * 16, 180 * 16);
    painter.drawArc(QRectF(2.5, 10.5, 11, 4), 180 * 16, 180 * 16);
}

void DrawClose(QPainter& painter) {
    painter.drawLine(3, 3, 12, 12);
    painter.drawLine(12, 3, 3, 12);
}

void DrawChooseFile(QPainter& painter) {
    for (int dot = 0; dot < 3; ++dot) {
        painter.fillRect(2 + dot * 5, 7, 2, 2, painter.pen().color());
    }
}

QIcon GlyphIcon(TGlyph glyph) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, glyph == TGlyph::DatabaseSettings);
    painter.setPen(QPen(FromBgr(Palette::Accent), 1.6));
    switch (glyph) {
    case TGlyph::GeneralSettings:
        DrawGeneralSettings(painter);
        break;
    case TGlyph::DatabaseSettings:
        DrawDatabaseSettings(painter);
        break;
    case TGlyph::Close:
        DrawClose(painter);
        break;
    case TGlyph::ChooseFile:
        DrawChooseFile(painter);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}

// --- Building blocks ---------------------------------------------------------------

template <typename Widget> Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QFrame* Bar(QWidget* parent, const QString& name, std::uint32_t colour, int left, int top,
            int width, int height) {
    auto* bar = Named(new QFrame(parent), name);
    SetColors(bar, colour, colour);
    Place(bar, left, top, width, height);
    return bar;
}

QLabel* Text(QWidget* parent, const QString& name, const QString& text, const QFont& font,
             std::uint32_t colour) {
    auto* label = Named(new QLabel(text, parent), name);
    label->setFont(font);
    SetTextColor(label, colour);
    return label;
}

QToolButton* GlyphButton(QWidget* parent, const QString& name, TGlyph glyph, const QString& hint,
                         int left, int top, int width, int height) {
    auto* button = Named(new QToolButton(parent), name);
    button->setAutoRaise(true);
    button->setIcon(GlyphIcon(glyph));
    button->setIconSize(QSize(std::min(16, width - 4), std::min(16, height - 2)));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setFocusPolicy(Qt::NoFocus);
    Place(button, left, top, width, height);
    return button;
}

QCheckBox* OptionBox(QWidget* parent, const QString& name, const QString& caption, int left,
                     int top, int width, int height, const QFont& font, std::uint32_t colour,
                     bool checked) {
    auto* box = Named(new QCheckBox(caption, parent), name);
    box->setAccessibleName(caption);
    box->setFont(font);
    SetTextColor(box, colour);
    box->setChecked(checked);
    Place(box, left, top, width, height);
    return box;
}

QFrame* SubPanel(QWidget* parent, const QString& name, const QString& title) {
    auto* panel = Named(new QFrame(parent), name);
    SetColors(panel, Palette::DarkGround, Palette::OptionText);
    Place(panel, InnerLeft, InnerTop, SubPanelWidth, InnerHeight);
    auto* heading =
        Text(panel, name + QStringLiteral("Title"), title, VantorFont(13, true), Palette::SubTitle);
    heading->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Place(heading, 0, 2, SubPanelWidth - 6, 18);
    panel->setAccessibleName(title);
    return panel;
}

// One data-file row: label, marker, spacer, path box and choose button.
struct TDataFileRow {
    QFrame* Marker = nullptr;
    QLineEdit* PathBox = nullptr;
    QToolButton* Choose = nullptr;
};

TDataFileRow DataFileRow(QWidget* parent, int top, const QString& caption,
                         const QString& markerName, const QString& spacerName,
                         const QString& boxName, const QString& buttonName,
                         const QString& labelName) {
    TDataFileRow row;
    auto* label = Text(parent, labelName, caption, VantorFont(9), RowLabelText);
    Place(label, 48, top - 13, 240, 12);
    row.Marker = Bar(parent, markerName, Palette::SubTitle, 48, top, 6, 16);
    row.Marker->setAccessibleName(caption);
    Bar(parent, spacerName, Palette::Black, 56, top, 10, 16);
    row.PathBox = Named(new QLineEdit(QStringLiteral("Standard Data"), parent), boxName);
    row.PathBox->setFrame(false);
    row.PathBox->setReadOnly(true);
    row.PathBox->setFont(VantorFont(11));
    row.PathBox->setAccessibleName(caption);
    SetColors(row.PathBox, Palette::DarkGround, Palette::SubTitle);
    Place(row.PathBox, 64, top, 217, 15);
    row.Choose = GlyphButton(parent, buttonName, TGlyph::ChooseFile, caption, 284, top + 1, 21, 14);
    return row;
}

// The chosen file's full path, or empty when the user cancelled.
QString ChooseDataFile(QFileDialog* dialog, const QString& currentPath,
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

void ShowPathIn(QLineEdit* box, const QString& path) {
    box->setText(
        path.size() <= TOptionsPanel::LongestFullPath ? path : TOptionsPanel::ShortPathText(path));
}

} // namespace

TOptionsPanel::TOptionsPanel(QWidget* parent, TMessenger& messenger, QString programFolder)
    : QFrame(parent)
    , messenger_(messenger)
    , programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("Options"));
    SetColors(this, Palette::DarkGround, Palette::OptionText);
    Place(this, 8, 64, 441, 174);
    setAccessibleName(QStringLiteral("Options"));
    hide();

    heading_ = Text(this, QStringLiteral("Label6"), QStringLiteral("Options"), VantorFont(13, true),
                    Palette::Accent);
    heading_->move(6, -1);
    Bar(this, QStringLiteral("Shape2"), Palette::Black, 22, 15, 411, 4);

    BuildStrip();
    BuildGeneralSettings();
    BuildDatabaseSettings();

    // The hint switch starts as the box shows it.
    THintPolicy::Instance().SetHintsShown(CheckBox3->isChecked());
}

// The heading takes its text's size when the panel first shows: measuring
// the text loads its font, which the start of the program need not wait for.
void TOptionsPanel::showEvent(QShowEvent* event) {
    if (!headingSized_) {
        heading_->adjustSize();
        headingSized_ = true;
    }
    QFrame::showEvent(event);
}

void TOptionsPanel::BuildStrip() {
    Panel5 = Named(new QFrame(this), QStringLiteral("Panel5"));
    Panel5->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel5->setLineWidth(2);
    SetColors(Panel5, StripGround, Palette::Black);
    Place(Panel5, InnerLeft + SubPanelWidth, InnerTop, StripWidth, InnerHeight);
    SpeedButton6 = GlyphButton(Panel5, QStringLiteral("SpeedButton6"), TGlyph::GeneralSettings,
                               QStringLiteral("General Settings"), 13, 12, 24, 24);
    SpeedButton7 = GlyphButton(Panel5, QStringLiteral("SpeedButton7"), TGlyph::DatabaseSettings,
                               QStringLiteral("Database Settings"), 13, 44, 24, 24);
    SpeedButton10 = GlyphButton(Panel5, QStringLiteral("SpeedButton10"), TGlyph::Close,
                                QStringLiteral("Close option-menu"), 13, 116, 24, 24);
    connect(SpeedButton6, &QToolButton::clicked, this, Guarded([this] { SpeedButton6Click(); }));
    connect(SpeedButton7, &QToolButton::clicked, this, Guarded([this] { SpeedButton7Click(); }));
    connect(SpeedButton10, &QToolButton::clicked, this, [this] { emit CloseRequested(); });
}

void TOptionsPanel::BuildGeneralSettings() {
    const QFont optionFont = VantorFont(11);
    AllgEinst = SubPanel(this, QStringLiteral("AllgEinst"), QStringLiteral("General Settings"));
    CheckBox3 =
        OptionBox(AllgEinst, QStringLiteral("CheckBox3"), QStringLiteral("Display help-popups"), 48,
                  24, 300, 17, optionFont, Palette::OptionText, true);
    CheckBox4 = OptionBox(AllgEinst, QStringLiteral("CheckBox4"),
                          QStringLiteral("Show starmap linked with database entries"), 48, 48, 300,
                          17, optionFont, Palette::OptionText, true);
    // The handlers run on every change of state, also when the settings are read.
    connect(CheckBox3, &QCheckBox::toggled, this, Guarded([this] { CheckBox3Click(); }));
    connect(CheckBox4, &QCheckBox::toggled, this, [this] { emit SettingsChanged(); });
}

void TOptionsPanel::BuildDatabaseSettings() {
    const QFont optionFont = VantorFont(11);
    DataEinst = SubPanel(this, QStringLiteral("DataEinst"), QStringLiteral("Database Settings"));
    DataEinst->hide();
    CheckBox5 = OptionBox(DataEinst, QStringLiteral("CheckBox5"),
                          QStringLiteral("Automatic database-rollout"), 48, 24, 300, 17, optionFont,
                          Palette::OptionText, true);
    CheckBox6 = OptionBox(DataEinst, QStringLiteral("CheckBox6"),
                          QStringLiteral("Show node-lines (in database)"), 48, 48, 300, 17,
                          optionFont, Palette::OptionText, true);
    Bar(DataEinst, QStringLiteral("DataDivider"), Palette::Black, 47, 73, 258, 4);

    const TDataFileRow core = DataFileRow(
        DataEinst, 98, QStringLiteral("System- and Coordinate-Data"), QStringLiteral("Shape5"),
        QStringLiteral("Shape6"), QStringLiteral("SysCoreDat"), QStringLiteral("SpeedButton8"),
        QStringLiteral("CoreDataLabel"));
    Shape5 = core.Marker;
    SysCoreDat = core.PathBox;
    SpeedButton8 = core.Choose;
    const TDataFileRow info = DataFileRow(
        DataEinst, 130, QStringLiteral("System- and Info-Data"), QStringLiteral("Shape7"),
        QStringLiteral("Shape8"), QStringLiteral("SysInfoDat"), QStringLiteral("SpeedButton9"),
        QStringLiteral("InfoDataLabel"));
    Shape7 = info.Marker;
    SysInfoDat = info.PathBox;
    SpeedButton9 = info.Choose;

    connect(SpeedButton8, &QToolButton::clicked, this,
            Guarded([this] { SpeedButton8Click(SpeedButton8); }));
    connect(SpeedButton9, &QToolButton::clicked, this,
            Guarded([this] { SpeedButton8Click(SpeedButton9); }));
    // The database trees take the roll-out and node-line options on every change.
    connect(CheckBox5, &QCheckBox::toggled, this, [this](bool on) {
        emit RollOutChanged(on);
        emit SettingsChanged();
    });
    connect(CheckBox6, &QCheckBox::toggled, this, [this](bool on) {
        emit NodeLinesChanged(on);
        emit SettingsChanged();
    });
}

void TOptionsPanel::SpeedButton6Click() {
    DataEinst->hide();
    AllgEinst->show();
}

void TOptionsPanel::SpeedButton7Click() {
    AllgEinst->hide();
    DataEinst->show();
}

bool TOptionsPanel::HintsShown() const {
    return CheckBox3->isChecked();
}
void TOptionsPanel::SetHintsShown(bool shown) {
    CheckBox3->setChecked(shown);
}
bool TOptionsPanel::StarMapLinked() const {
    return CheckBox4->isChecked();
}
void TOptionsPanel::SetStarMapLinked(bool linked) {
    CheckBox4->setChecked(linked);
}
bool TOptionsPanel::RollOut() const {
    return CheckBox5->isChecked();
}
void TOptionsPanel::SetRollOut(bool on) {
    CheckBox5->setChecked(on);
}
bool TOptionsPanel::NodeLines() const {
    return CheckBox6->isChecked();
}
void TOptionsPanel::SetNodeLines(bool on) {
    CheckBox6->setChecked(on);
}

// At start-up a path the box can hold in full keeps the box's "Standard Data".
void TOptionsPanel::SetCoreDataPath(const QString& path) {
    coreDataPath_ = path;
    if (path.size() > LongestFullPath) {
        SysCoreDat->setText(ShortPathText(path));
    }
}

void TOptionsPanel::SetInfoDataPath(const QString& path) {
    infoDataPath_ = path;
    if (path.size() > LongestFullPath) {
        SysInfoDat->setText(ShortPathText(path));
    }
}

void TOptionsPanel::ShowDataFileHints() {
    Shape5->setToolTip(coreDataPath_);
    Shape7->setToolTip(infoDataPath_);
}

// The chosen file is stored and shown; the engine and the system database keep
// what they loaded until the program is restarted.
void TOptionsPanel::SpeedButton8Click(QObject* sender) {
    const bool infoData = sender == SpeedButton9;
    QString& path = infoData ? infoDataPath_ : coreDataPath_;
    const QString chosen = ChooseDataFile(DataFileDialog(), path, programFolder_);
    if (!chosen.isEmpty()) {
        path = chosen;
        ShowPathIn(infoData ? SysInfoDat : SysCoreDat, chosen);
        (infoData ? Shape7 : Shape5)->setToolTip(chosen);
        messenger_.Notify(
            QStringLiteral("Restart"),
            QStringLiteral("To let the changes take effect, please restart \"Vantor\" now."),
            MessageKind::Alert);
    }
    emit SettingsChanged();
}

// Made when first needed: building a file dialog loads icons and lists a
// folder, which the start of the program need not wait for.
QFileDialog* TOptionsPanel::DataFileDialog() {
    if (OpenDialog2 == nullptr) {
        OpenDialog2 = Named(new QFileDialog(this, QStringLiteral("Please choose a data-file...")),
                            QStringLiteral("OpenDialog2"));
        // The toolkit's own dialog, the same on every system.
        OpenDialog2->setOption(QFileDialog::DontUseNativeDialog);
        OpenDialog2->setFileMode(QFileDialog::ExistingFile);
        OpenDialog2->setAcceptMode(QFileDialog::AcceptOpen);
        OpenDialog2->setNameFilter(QStringLiteral("vr Data (*.vr)"));
    }
    return OpenDialog2;
}

void TOptionsPanel::CheckBox3Click() {
    THintPolicy::Instance().SetHintsShown(CheckBox3->isChecked());
    emit SettingsChanged();
}

// The path's first three characters, "...", the path's own separator and the
// file name: a path keeps its own look.
QString TOptionsPanel::ShortPathText(const QString& path) {
    const qsizetype lastSeparator =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QChar separator = lastSeparator >= 0 ? path.at(lastSeparator) : QDir::separator();
    return path.left(3) + QStringLiteral("...") + separator + path.mid(lastSeparator + 1);
}
