#pragma once

#include "DatabasePage.h"

#include <QStringList>

// The "System Database" page: the reference tree of the universe as the
// info data file holds it, never edited, with its export "Vantor.txt".
class TSystemDatabasePage : public TDatabasePage {
    Q_OBJECT

public:
    TSystemDatabasePage(QWidget* parent, TDatabaseLinks links);

    // Shows the info data file as the tree, in the file's order, and offers
    // every entry's text in the search box. Throws TreeFileError; after a
    // level error the tree holds the entries before it and the search box
    // offers nothing.
    void LoadInfoData(const QString& path);

    // The item list of the search box: the texts of the info data file as
    // read at start.
    const QStringList& SearchItems() const { return searchItems_; }

private:
    void BuildPageControls() override;
    void BitBtnWithColor2Click();
    void BitBtnWithColor3Click();

    QStringList searchItems_;
};
