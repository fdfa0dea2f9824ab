#include "TestSupport.h"

#include "MainWindow.h"
#include "MessageWindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QToolTip>

namespace {

QTabWidget* pages(const MainWindow* main) {
    return findControl<QTabWidget>(main, "PageControl1");
}

// Ctrl with the key, to the widget that has the focus.
void pressCtrl(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
}

// Runs the action and tells which modal window it opened, closing it again:
// a message's caption or a dialog's title; empty when none opened.
QString modalOpenedBy(const std::function<void()>& act) {
    MessageAnswerer answerer;
    QString title;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&title] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && qobject_cast<MessageWindow*>(dialog) == nullptr) {
            title = dialog->windowTitle();
            dialog->reject();
        }
    });
    watch.start();
    act();
    return answerer.seenMessages.isEmpty() ? title : answerer.seenMessages.first().caption;
}

} // namespace

class PageKeysTest : public ProgramTest {
    Q_OBJECT

    void turnTo(int page) const {
        QTabBar* tabs = pages(mainWindow())->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
        mainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
    }

private slots:
    // Ctrl+1 to Ctrl+5 turn to the pages in tab order, from wherever the
    // focus is; the tabs' hints name the keys.
    void ctrlDigitsTurnToThePages() {
        QTabWidget* tabs = pages(mainWindow());
        for (const int page : {4, 1, 2, 3, 0}) {
            pressCtrl(static_cast<Qt::Key>(Qt::Key_1 + page));
            QCOMPARE(tabs->currentIndex(), page);
            QVERIFY(QApplication::focusWidget() != nullptr);
        }
        QCOMPARE(hintShownAt(tabs->tabBar(), tabs->tabBar()->tabRect(2).center()),
                 QStringLiteral("Own Database (Ctrl+3)"));
    }

    // Each key reaches the shown page's control; a page without one does nothing.
    void keysReachTheShownPagesControls_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("focused");
        QTest::newRow("Navigation: Ctrl+F into From") << 0 << int(Qt::Key_F) << ""
                                                      << "Von";
        QTest::newRow("Navigation: Ctrl+P prints") << 0 << int(Qt::Key_P) << "Print"
                                                   << "";
        QTest::newRow("Navigation: no Save") << 0 << int(Qt::Key_S) << ""
                                             << "";
        QTest::newRow("System Database: Ctrl+F") << 1 << int(Qt::Key_F) << ""
                                                 << "Suche";
        QTest::newRow("System Database: Ctrl+S") << 1 << int(Qt::Key_S) << "Saved."
                                                 << "";
        QTest::newRow("Own Database: Ctrl+F") << 2 << int(Qt::Key_F) << ""
                                              << "OwnDat";
        QTest::newRow("Own Database: Ctrl+S") << 2 << int(Qt::Key_S) << "Saved."
                                              << "";
        QTest::newRow("Own Database: Ctrl+O") << 2 << int(Qt::Key_O) << "File error."
                                              << "";
        QTest::newRow("Own Database: no Print") << 2 << int(Qt::Key_P) << ""
                                                << "";
        QTest::newRow("Notepad: Ctrl+F") << 3 << int(Qt::Key_F) << ""
                                         << "NoteS";
        QTest::newRow("Notepad: Ctrl+S") << 3 << int(Qt::Key_S) << "Das Notizblatt exportieren..."
                                         << "";
        QTest::newRow("Notepad: Ctrl+O") << 3 << int(Qt::Key_O) << "Please choose a notepad-file..."
                                         << "";
        QTest::newRow("Notepad: Ctrl+P") << 3 << int(Qt::Key_P) << "Print"
                                         << "";
        QTest::newRow("Info: nothing") << 4 << int(Qt::Key_S) << ""
                                       << "";
    }
    void keysReachTheShownPagesControls() {
        QFETCH(int, page);
        QFETCH(int, key);
        QFETCH(QString, opened);
        QFETCH(QString, focused);
        turnTo(page);
        QWidget* focusBefore = QApplication::focusWidget();
        QCOMPARE(modalOpenedBy([key] { pressCtrl(static_cast<Qt::Key>(key)); }), opened);
        QCOMPARE(pages(mainWindow())->currentIndex(), page);
        if (focused.isEmpty()) {
            if (opened.isEmpty()) {
                QCOMPARE(QApplication::focusWidget(), focusBefore);
            }
            return;
        }
        // The box has the keyboard, its text selected for the keyword to replace.
        auto* box = findControl<QComboBox>(mainWindow(), focused.toLatin1().constData());
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->lineEdit()->selectedText(), box->currentText());
        QCOMPARE(hintShownAt(box, QPoint(2, 2)).endsWith(QStringLiteral(" (Ctrl+F)")), true);
    }

    // The buttons' hints name their keys after their own words.
    void buttonHintsNameTheirKeys() {
        turnTo(2);
        QCOMPARE(hintShownAt(findControl(mainWindow(), "BitBtnWithColor8"), QPoint(2, 2)),
                 QStringLiteral("Export the \"Own Database\" (Ctrl+S)"));
        QCOMPARE(findControl(mainWindow(), "BitBtnWithColor8")->toolTip(),
                 QStringLiteral("Export the \"Own Database\""));
        turnTo(0);
        QCOMPARE(hintShownAt(findControl(mainWindow(), "SpeedButton4"), QPoint(2, 2)),
                 QStringLiteral("Prints the way shown above (Ctrl+P)"));
    }

    // While the options panel stands in place of the pages, no key acts.
    void keysRestWhileTheOptionsAreOpen() {
        turnTo(2);
        mainWindow()->toggleOptionsPanel();
        QCOMPARE(modalOpenedBy([] {
                     pressCtrl(Qt::Key_1);
                     pressCtrl(Qt::Key_S);
                 }),
                 QString());
        QCOMPARE(pages(mainWindow())->currentIndex(), 2);
    }
};

VANTOR_GUI_TEST_MAIN(PageKeysTest)
#include "tst_PageKeys.moc"
