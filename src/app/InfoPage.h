#pragma once

#include <QWidget>

// The "Info" page: four switchable panels about the program.
class TInfoPage : public QWidget {
    Q_OBJECT

public:
    explicit TInfoPage(QWidget* parent);
};
