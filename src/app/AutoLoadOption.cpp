#include "AutoLoadOption.h"

#include "Colors.h"
#include "Look.h"

#include <QCheckBox>
#include <QFileInfo>

TAutoLoadOption::TAutoLoadOption(QWidget* page, const char* boxName, int left, int top, int width,
                                 std::function<void(const QString&)> load)
    : QObject(page)
    , box_(MakeControl<QCheckBox>(page, boxName))
    , load_(std::move(load)) {
    const QString caption = QStringLiteral("Automatically load last import / export at startup");
    box_->setText(caption);
    box_->setAccessibleName(caption);
    box_->setFont(VantorFont(9));
    SetTextColor(box_, Palette::Silver);
    Place(box_, left, top, width, 17);
    connect(box_, &QCheckBox::toggled, this, [this] { emit Toggled(); });
}

bool TAutoLoadOption::Checked() const {
    return box_->isChecked();
}

void TAutoLoadOption::SetChecked(bool checked) {
    box_->setChecked(checked);
}

void TAutoLoadOption::Restore(const QString& storedPath) {
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
