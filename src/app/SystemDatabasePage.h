#pragma once

#include "DatabasePage.h"

#include <memory>

class QAbstractItemModel;
class SearchListModel;

// The "System Database" page: the reference tree of the universe as the
// info data file holds it, never edited, with its export "Vantor.txt".
class SystemDatabasePage : public DatabasePage {
    Q_OBJECT

public:
    SystemDatabasePage(QWidget* parent, DatabaseLinks links);
    ~SystemDatabasePage() override;

    // Shows the info data file as the tree, in the file's order, and offers
    // every entry's text in the search box. Throws TreeFileError; after a
    // level error the tree holds the entries before it and the search box
    // offers nothing.
    void loadInfoData(const QString& path);

    // The item list of the search box, which the other pages' boxes share:
    // the texts of the info data file as read at start.
    QAbstractItemModel* searchList() const;

private:
    void buildPageControls() override;
    void onExportSaveClicked();
    void onExportLoadClicked();

    // Goes before the tree it looks at.
    std::unique_ptr<SearchListModel> searchList_;
};
