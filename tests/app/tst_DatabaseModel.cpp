#include "TestSupport.h"

#include "DatabaseHistory.h"
#include "DatabaseModel.h"
#include "TreeFile.h"
#include "TreeText.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QTreeView>

namespace {

const TextLess kByteOrder = [](const std::string& a, const std::string& b) {
    return a < b;
};

// A model over the tree text, renames allowed everywhere except on "Argons",
// checked throughout by Qt's model tester.
struct ModelFixture {
    explicit ModelFixture(const std::string& text) {
        Tree tree;
        readTree(text, tree);
        model.replace(std::move(tree));
        model.setTextOrder(kByteOrder);
        model.setEditableCheck([](const TreeNode& node) { return node.text() != "Argons"; });
    }

    QModelIndex at(std::size_t position) const {
        return model.indexOf(*model.tree().nodeAt(position));
    }
    std::string text() const { return writeTree(model.tree()); }

    DatabaseModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
};

} // namespace

class DatabaseModelTest : public QObject {
    Q_OBJECT

private slots:
    void aRenameSortsTheListAndTheSelectionFollowsTheNode() {
        ModelFixture fixture("Root\n\tArgons\n\tBorons\n\t\tKessa\n\tSplit\n\tTeladi");
        QTreeView view;
        view.setModel(&fixture.model);
        const QModelIndex borons = fixture.at(2);
        view.expand(borons);
        view.setCurrentIndex(borons);
        const QPersistentModelIndex kessa(fixture.at(3));

        QVERIFY(fixture.model.setData(borons, u"Xenon \u00c4"_qs));
        const QModelIndex renamed = view.currentIndex();
        QCOMPARE(renamed.data().toString(), u"Xenon \u00c4"_qs);
        QCOMPARE(renamed.row(), 3);
        QCOMPARE(fixture.model.nodeOf(renamed)->text(), "Xenon \xc4");
        QVERIFY(view.selectionModel()->isSelected(renamed));
        QVERIFY(view.isExpanded(renamed));
        QCOMPARE(kessa.parent(), renamed);
        QCOMPARE(writeTree(fixture.model.tree()),
                 "Root\r\n\tArgons\r\n\tSplit\r\n\tTeladi\r\n\tXenon \xc4\r\n\t\tKessa\r\n");
    }

    void onlyNodesTheCheckAllowsCanBeRenamed() {
        ModelFixture fixture("Argons\nBorons");
        QVERIFY(!(fixture.at(0).flags() & Qt::ItemIsEditable));
        QVERIFY(!fixture.model.setData(fixture.at(0), u"Changed"_qs));
        QVERIFY(fixture.at(1).flags() & Qt::ItemIsEditable);
        fixture.model.setEditableCheck({});
        QVERIFY(!(fixture.at(1).flags() & Qt::ItemIsEditable));
        QCOMPARE(writeTree(fixture.model.tree()), "Argons\r\nBorons\r\n");
    }

    void appendAddsLastAndRemoveTakesTheWholeBranch() {
        ModelFixture fixture("b\n\tz\n\t\tdeep\n\ty\na");
        const QModelIndex top = fixture.model.append(QModelIndex(), u"Gr\u00fc\u00df"_qs);
        QCOMPARE(top.row(), 2);
        QCOMPARE(top.data().toString(), u"Gr\u00fc\u00df"_qs);
        fixture.model.append(fixture.at(0), std::string("x"));
        fixture.model.remove(fixture.at(1));
        QCOMPARE(writeTree(fixture.model.tree()), "b\r\n\ty\r\n\tx\r\na\r\nGr\xfc\xdf\r\n");
        fixture.model.sortTree();
        QCOMPARE(writeTree(fixture.model.tree()), "Gr\xfc\xdf\r\na\r\nb\r\n\tx\r\n\ty\r\n");
    }

    void findStepsFromHitToHitByTheShownText() {
        ModelFixture fixture("Teladi\n\tGr\xfc\xdf Teladi\n\tKessa\nTeladi Gain");
        QList<std::size_t> positions;
        for (auto hit = fixture.model.find(0, u"\u00df Teladi"_qs); hit;
             hit = fixture.model.find(hit->position + 1, u"\u00df Teladi"_qs)) {
            positions << hit->position;
            QCOMPARE(hit->index, fixture.at(hit->position));
        }
        QCOMPARE(positions, QList<std::size_t>{1});
        QCOMPARE(fixture.model.find(2, u"Teladi"_qs)->position, std::size_t{3});
        QVERIFY(!fixture.model.find(4, u"Teladi"_qs));
    }

    void loadingReplacesTheTreeAndABadFileKeepsWhatTheErrorSays() {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"OwnData.txt"_qs);
        ModelFixture fixture("old");
        QVERIFY_THROWS_EXCEPTION(TreeFileError, fixture.model.load(path));
        QCOMPARE(writeTree(fixture.model.tree()), "old\r\n");

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("new\n\tchild\n\t\t\tbad\nlost");
        file.close();
        QVERIFY_THROWS_EXCEPTION(TreeFileError, fixture.model.load(path));
        QCOMPARE(writeTree(fixture.model.tree()), "new\r\n\tchild\r\n");
        fixture.model.save(path);
        fixture.model.load(path);
        QCOMPARE(fixture.model.rowCount(fixture.at(0)), 1);
    }

    // A chain far deeper than any call stack: shown, searched, its deepest
    // showable node selected, renamed, and freed.
    void aTreeAHundredThousandLevelsDeepIsShownAndClosed() {
        constexpr std::size_t depth = 100'000;
        Tree tree;
        TreeNode* node = &tree.root();
        for (std::size_t level = 0; level < depth; ++level) {
            node = &tree.append(*node, "level");
        }
        auto model = std::make_unique<DatabaseModel>();
        model->replace(std::move(tree));
        model->setEditableCheck([](const TreeNode&) { return true; });
        QTreeView view;
        view.setModel(model.get());
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        QVERIFY(model->setData(model->indexOf(*node), u"renamed"_qs));
        const auto hit = model->find(0, u"renamed"_qs);
        QCOMPARE(hit->position, depth - 1);
        const QModelIndex shown = model->showableIndex(hit->index);
        QCOMPARE(model->nodeOf(shown)->level(), DatabaseModel::ShownLevels);
        view.setCurrentIndex(shown);
        QVERIFY(model->setData(shown, u"open"_qs));
        QCOMPARE(view.currentIndex().data().toString(), u"open"_qs);
        QVERIFY(view.isExpanded(shown.parent()));
        view.setModel(nullptr);
        model.reset();
    }

    // Each step taken back gives the tree before it to the byte, unsorted
    // lists and a deleted branch's place included; done again, the tree
    // after it. Loading counts as saved, and so does coming back to it. A
    // moved entry sorts an unsorted list it goes into; taken back, the list
    // is as the file had it.
    void everyStepIsTakenBackAndDoneAgain() {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"OwnData.txt"_qs);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("loaded\n\tzz\n\taa");
        file.close();
        ModelFixture fixture("Root\n\tzeta\n\t\tdeep\n\talpha\n\tkappa\nlast");
        DatabaseHistory history(
            fixture.model, [](const std::string&) { return false; }, nullptr);
        history.start();
        QTreeView view;
        view.setModel(&fixture.model);
        const QList<std::pair<std::function<void()>, QString>> steps{
            {[&] { history.add(fixture.at(0), u"new"_qs); }, u"Undo add 'new'"_qs},
            {[&] { history.rename(fixture.at(3), "beta"); }, u"Undo rename 'alpha'"_qs},
            {[&] { history.rename(fixture.at(1), "R&D"); }, u"Undo rename 'beta'"_qs},
            {[&] { history.remove(fixture.at(4)); }, u"Undo delete 'zeta'"_qs},
            {[&] { history.remove(fixture.at(1)); }, u"Undo delete 'R&&D'"_qs},
            {[&] { history.load(path); }, u"Undo load 'OwnData.txt'"_qs},
            {[&] { history.add({}, u"top"_qs); }, u"Undo add 'top'"_qs},
            {[&] { history.move(fixture.at(3), fixture.at(0)); }, u"Undo move 'top'"_qs},
        };
        QList<std::string> trees{fixture.text()};
        for (const auto& [step, caption] : steps) {
            step();
            trees << fixture.text();
            QCOMPARE(history.undoCaption(), caption);
        }
        QCOMPARE(trees[3], "Root\r\n\tR&D\r\n\tkappa\r\n\tnew\r\n\tzeta\r\n\t\tdeep\r\nlast\r\n");
        QVERIFY(history.unsaved());
        for (qsizetype step = steps.size(); step > 0; --step) {
            QVERIFY(history.undo());
            QCOMPARE(fixture.text(), trees[step - 1]);
            QCOMPARE(history.unsaved(), step - 1 != 6);
        }
        QCOMPARE(history.redoCaption(), u"Redo add 'new'"_qs);
        for (qsizetype step = 1; step <= steps.size(); ++step) {
            QVERIFY(history.redo());
            QCOMPARE(fixture.text(), trees[step]);
        }
        QCOMPARE(history.redoCaption(), u"Redo"_qs);
        QVERIFY(history.undo());
        view.setCurrentIndex(fixture.at(1));
        const QSignalSpy restored(&history, &DatabaseHistory::entryRestored);
        history.remove(fixture.at(1));
        QVERIFY(history.undo());
        QCOMPARE(restored.size(), 1);
        QCOMPARE(restored[0][0].toModelIndex(), fixture.at(1));
    }

    // No step renames or deletes a protected entry, backwards or forwards;
    // the history keeps its hundred steps, and a change made past it ends it.
    void theHistoryGuardsTheSkeletonAndKeepsAHundredSteps() {
        ModelFixture fixture("Root\n\tnote");
        DatabaseHistory history(
            fixture.model, [](const std::string& text) { return text == "Argons"; }, nullptr);
        history.start();
        history.add(fixture.at(0), u"Argons"_qs);
        QVERIFY(!history.undo());
        history.rename(fixture.at(1), "Argons");
        QVERIFY(!history.undo());
        QCOMPARE(fixture.text(), "Root\r\n\tArgons\r\n\tArgons\r\n");

        for (int step = 0; step < 150; ++step) {
            history.add({}, QString::number(step));
        }
        int undone = 0;
        while (history.canUndo() && history.undo()) {
            ++undone;
        }
        QCOMPARE(undone, DatabaseHistory::Steps);
        QVERIFY(DatabaseHistory::Steps >= 100);

        fixture.model.append({}, std::string("past the history"));
        QVERIFY(!history.canUndo() && !history.canRedo());
        QVERIFY(history.unsaved());
    }
};

VANTOR_GUI_TEST_MAIN(DatabaseModelTest)
#include "tst_DatabaseModel.moc"
