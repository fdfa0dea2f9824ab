#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QAbstractButton;
class QKeySequence;
class QWidget;
class MainWindow;

// The controls of a page that the main window's keys reach; null where the
// page has none.
struct PageKeyTargets {
    QWidget* searchBox = nullptr;
    QAbstractButton* saveButton = nullptr;
    QAbstractButton* printButton = nullptr;
    QAbstractButton* loadButton = nullptr;
};

// A page that offers controls to the main window's keys. It is asked only
// while it is the shown page, so a page that builds its controls on first
// showing has them by then.
class KeyedPage {
public:
    virtual PageKeyTargets keyTargets() = 0;

protected:
    ~KeyedPage() = default;
};

// The main window's keys for the common actions: Ctrl+1 to Ctrl+5 turn to
// the pages in tab order, Ctrl+F puts the keyboard focus into the shown
// page's search box, Ctrl+S, Ctrl+P and Ctrl+O press its Save, Print and
// Load. They act only while the pages are shown, and each target's hint
// names its key.
class PageKeys : public QObject {
    Q_OBJECT

public:
    explicit PageKeys(MainWindow& main);

    // The pages in tab order; keyed is null for a page that offers nothing.
    void addPage(QWidget* page, KeyedPage* keyed);

private:
    struct Page {
        QWidget* widget;
        KeyedPage* keyed;
        bool labelled;
    };
    enum class Target { SearchBox, Save, Print, Load };

    static QKeySequence keyOf(Target target);
    static QWidget* controlOf(const PageKeyTargets& targets, Target target);
    void addKey(const QKeySequence& key, const std::function<void()>& act);
    Page* shownPage();
    void onPageChanged();
    // The hints of the page's targets name their keys.
    void labelPage(Page& page);
    void onPageKeyPressed(int index);
    void onTargetKeyPressed(Target target);

    MainWindow& main_;
    QList<Page> pages_;
};
