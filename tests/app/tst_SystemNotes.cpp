#include "TestSupport.h"

#include "MainWindow.h"
#include "OptionsPanel.h"
#include "StarMapShape.h"
#include "StarMapWindow.h"
#include "WindowStrip.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QHelpEvent>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolTip>
#include <QTreeView>
#include <QWindow>

namespace {

QModelIndex entryOf(const QTreeView* tree, const QString& text) {
    return tree->model()
        ->match(tree->model()->index(0, 0), Qt::DisplayRole, text, 1,
                Qt::MatchExactly | Qt::MatchRecursive)
        .value(0);
}

} // namespace

class SystemNotesTest : public ProgramTest {
    Q_OBJECT

    QTreeView* ownTree() const { return findControl<QTreeView>(mainWindow(), "ODat"); }
    QComboBox* box(const char* name) const { return findControl<QComboBox>(mainWindow(), name); }

    // The main window takes the keyboard again, as after the user's click into it.
    void activateMain() const {
        // The map counts as part of the main window's activity, but has the keyboard.
        QTest::qWait(10);
        mainWindow()->windowHandle()->requestActivate();
        QTRY_COMPARE(QGuiApplication::focusWindow(), mainWindow()->windowHandle());
        QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    }
    void showTab(int page) const {
        QTabBar* tabs = findControl<QTabWidget>(mainWindow(), "PageControl1")->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    }
    QPoint entryPoint(const QString& text) const {
        ownTree()->scrollTo(entryOf(ownTree(), text));
        return ownTree()->visualRect(entryOf(ownTree(), text)).center();
    }
    void clickEntry(const QString& text) const {
        activateMain();
        QTest::mouseClick(ownTree()->viewport(), Qt::LeftButton, {}, entryPoint(text));
    }
    void addUnder(const QString& entry, const QString& text) const {
        clickEntry(entry);
        typeInto(box("AddTO"), text);
        pressEnter();
    }
    void rename(const QString& entry, const QString& text) const {
        clickEntry(entry);
        const QPoint at = entryPoint(entry);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at,
                                  ownTree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(ownTree()->viewport(), &request);
        auto* menu = findControl<QMenu>(ownTree()->parentWidget(), "ODatMenu");
        QAction* edit = findControl<QAction>(menu, "Editieren1");
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(edit).center());
        typeInto(QApplication::focusWidget(), text);
        pressEnter();
    }
    void remove(const QString& entry) const {
        MessageAnswerer yes(QStringLiteral("&Yes"));
        clickEntry(entry);
        QTRY_COMPARE(QApplication::focusWidget(), ownTree());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    }
    void load(const QByteArray& ownData) const {
        QFile file(fixture().programFolder() + QStringLiteral("OwnData.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ownData);
        file.close();
        MessageAnswerer ok;
        QTest::mouseClick(findControl<QAbstractButton>(mainWindow(), "BitBtnWithColor9"),
                          Qt::LeftButton);
    }
    // What the pointer shows over the system on the map.
    QString mapHint(int column, int row) const {
        StarMapShape* shape = ProgramAccess::sectorShape(fixture().starMapWindow(), column, row);
        return hintShownAt(shape, shape->rect().center());
    }
    // What the pointer shows over a line of the way.
    QString wayHint(int line) const {
        auto* way = findControl<QTextEdit>(&navigation(), "RichEdit1");
        const QTextCursor at(way->document()->findBlockByNumber(line));
        return hintShownAt(way->viewport(), way->cursorRect(at).center());
    }

    void prepare() override {
        // Clicks on entries leave the map as it is; it opens only when asked to.
        fixture().parts().optionsPanel().setStarMapLinked(false);
        showTab(2);
    }

private slots:
    // The map marks a system with notes and its hint adds their first three
    // lines, deeper ones indented; it follows every change of the tree, and
    // notes made while it was closed are there when it opens.
    void mapMarksFollowTheOwnDatabase() {
        const QString corvane = QStringLiteral("Corvane");
        addUnder(corvane, QStringLiteral("Cheap ore"));
        fixture().strip().showMap();
        // The map takes the keyboard as it opens; the main window takes it back.
        QVERIFY(QTest::qWaitForWindowActive(fixture().starMapWindow()));
        const StarMapShape* shape = ProgramAccess::sectorShape(fixture().starMapWindow(), 2, 1);
        struct Step {
            std::function<void()> change;
            QString corvaneHint;
            QString tallyholdHint;
        };
        const Step steps[] = {
            {[] {}, "Corvane\nCheap ore", "Tallyhold"},
            {[&] { addUnder("Cheap ore", "Buy at dawn"); }, "Corvane\nCheap ore\n  Buy at dawn",
             "Tallyhold"},
            {[&] {
                 addUnder(corvane, "Pirates east");
                 addUnder(corvane, "Spare tanks");
             },
             "Corvane\nCheap ore\n  Buy at dawn\nPirates east", "Tallyhold"},
            // The renamed note moves to its place among its sorted siblings.
            {[&] { rename("Cheap ore", "Dear ore"); },
             "Corvane\nDear ore\n  Buy at dawn\nPirates east", "Tallyhold"},
            {[&] { remove("Dear ore"); }, "Corvane\nPirates east\nSpare tanks", "Tallyhold"},
            {[&] { load("Tallyhold\r\n\tSafe harbour\r\nCorvane\r\n"); }, "Corvane",
             "Tallyhold\nSafe harbour"},
        };
        for (const Step& step : steps) {
            step.change();
            QTRY_COMPARE(mapHint(2, 1), step.corvaneHint);
            QCOMPARE(mapHint(4, 4), step.tallyholdHint);
            QCOMPARE(shape->notes().isEmpty(), step.corvaneHint == corvane);
        }
    }

    // Over a line of the way the pointer shows the notes of the line's
    // system; a line whose system has none shows nothing.
    void wayLinesShowTheirSystemsNotes() {
        addUnder(QStringLiteral("Tallyhold"), QStringLiteral("Safe harbour"));
        addUnder(QStringLiteral("Ledger's Rest"), QStringLiteral("Xenon nearby"));
        showTab(0);
        activateMain();
        typeInto(findControl(&navigation(), "Von"), QStringLiteral("Corvane"));
        typeInto(findControl(&navigation(), "Nach"), QStringLiteral("Tallyhold"));
        pressEnter();
        const QStringList hints{QString(),
                                QString(),
                                QString(),
                                QString(),
                                QStringLiteral("Ledger's Rest\nXenon nearby"),
                                QStringLiteral("Tallyhold\nSafe harbour")};
        for (int line = 0; line < hints.size(); ++line) {
            QCOMPARE(wayHint(line), hints.at(line));
        }
    }
};

VANTOR_GUI_TEST_MAIN(SystemNotesTest)
#include "tst_SystemNotes.moc"
