#include "AutoLoadOption.h"

#include "Colors.h"
#include "Look.h"

#include <QCheckBox>
#include <QFileInfo>

AutoLoadOption::AutoLoadOption(QWidget* page, const char* boxName, int left, int top, int width,
                               std::function<void(const QString&)> load)
    : QObject(page)
    , box_(makeControl<QCheckBox>(page, boxName))
    , load_(std::move(load)) {
    const QString caption = QStringLiteral("Automatically load last import / export at startup");
    box_->setText(caption);
    box_->setAccessibleName(caption);
    box_->setFont(vantorFont(9));
    setTextColor(box_, Palette::Silver);
    place(box_, left, top, width, 17);
    connect(box_, &QCheckBox::toggled, this, [this] { emit toggled(); });
}

bool AutoLoadOption::checked() const {
    return box_->isChecked();
}

void AutoLoadOption::setChecked(bool checked) {
    box_->setChecked(checked);
}

void AutoLoadOption::restore(const QString& storedPath) {
    lastFile_ = storedPath;
    if (!box_->isChecked()) {
        return;
    }
    // A stored path that names a folder counts as a missing file.
    if (!QFileInfo(storedPath).isFile()) {
        box_->setChecked(false);
        return;
    }
    if (load_) {
        load_(storedPath);
    }
}
