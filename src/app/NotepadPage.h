#pragma once

#include <QWidget>

class TAutoLoadOption;

// The "Notepad" page: the user's own rich-text notes.
class TNotepadPage : public QWidget {
    Q_OBJECT

public:
    explicit TNotepadPage(QWidget* parent);

    // The auto-load option and the file of the last import or export.
    TAutoLoadOption& AutoLoad() { return *autoLoad_; }

private:
    TAutoLoadOption* autoLoad_;
};
