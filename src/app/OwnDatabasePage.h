#pragma once

#include <QWidget>

class TAutoLoadOption;

// The "Own Database" page: the user's own tree of notes by race and system.
class TOwnDatabasePage : public QWidget {
    Q_OBJECT

public:
    explicit TOwnDatabasePage(QWidget* parent);

    // The auto-load option and the file of the last import or export.
    TAutoLoadOption& AutoLoad() { return *autoLoad_; }

private:
    TAutoLoadOption* autoLoad_;
};
