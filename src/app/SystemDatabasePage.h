#pragma once

#include <QWidget>

// The "System Database" page: the reference tree of the universe.
class TSystemDatabasePage : public QWidget {
    Q_OBJECT

public:
    explicit TSystemDatabasePage(QWidget* parent);
};
