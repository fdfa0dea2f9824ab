#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QCheckBox;
class QWidget;

// "Automatically load last import / export at startup" on the Notepad and Own
// Database pages: the check box and the file of the last import or export.
class AutoLoadOption : public QObject {
    Q_OBJECT

public:
    // The box stands on the page at left, top; load reads a file into the page.
    AutoLoadOption(QWidget* page, const char* boxName, int left, int top, int width,
                   std::function<void(const QString&)> load);

    bool checked() const;
    // Runs the box's handler as a click would.
    void setChecked(bool checked);
    const QString& lastFile() const { return lastFile_; }
    void setLastFile(const QString& path) { lastFile_ = path; }

    // At start-up, with the stored file: loads it when the option is on; a
    // file that is gone switches the option off instead.
    void restore(const QString& storedPath);

signals:
    // The user or the settings switched the option.
    void toggled();

private:
    QCheckBox* box_;
    std::function<void(const QString&)> load_;
    QString lastFile_;
};
