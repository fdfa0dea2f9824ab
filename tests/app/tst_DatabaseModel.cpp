#include "TestSupport.h"

#include "DatabaseModel.h"
#include "TreeFile.h"
#include "TreeText.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QTreeView>

namespace {

const TTextLess kByteOrder = [](const std::string& a, const std::string& b) {
    return a < b;
};

// A model over the tree text, renames allowed everywhere except on "Argons",
// checked throughout by Qt's model tester.
struct TModelFixture {
    explicit TModelFixture(const std::string& text) {
        TTree tree;
        ReadTree(text, tree);
        model.Replace(std::move(tree));
        model.SetTextOrder(kByteOrder);
        model.SetEditableCheck([](const TTreeNode& node) { return node.Text() != "Argons"; });
    }

    QModelIndex At(std::size_t position) const {
        return model.IndexOf(*model.Tree().NodeAt(position));
    }

    TDatabaseModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
};

} // namespace

class TDatabaseModelTest : public QObject {
    Q_OBJECT

private slots:
    void aRenameSortsTheListAndTheSelectionFollowsTheNode() {
        TModelFixture fixture("Root\n\tArgons\n\tBorons\n\t\tKessa\n\tSplit\n\tTeladi");
        QTreeView view;
        view.setModel(&fixture.model);
        const QModelIndex borons = fixture.At(2);
        view.expand(borons);
        view.setCurrentIndex(borons);
        const QPersistentModelIndex kessa(fixture.At(3));

        QVERIFY(fixture.model.setData(borons, u"Xenon \u00c4"_qs));
        const QModelIndex renamed = view.currentIndex();
        QCOMPARE(renamed.data().toString(), u"Xenon \u00c4"_qs);
        QCOMPARE(renamed.row(), 3);
        QCOMPARE(fixture.model.Node(renamed)->Text(), "Xenon \xc4");
        QVERIFY(view.selectionModel()->isSelected(renamed));
        QVERIFY(view.isExpanded(renamed));
        QCOMPARE(kessa.parent(), renamed);
        QCOMPARE(WriteTree(fixture.model.Tree()),
                 "Root\r\n\tArgons\r\n\tSplit\r\n\tTeladi\r\n\tXenon \xc4\r\n\t\tKessa\r\n");
    }

    void onlyNodesTheCheckAllowsCanBeRenamed() {
        TModelFixture fixture("Argons\nBorons");
        QVERIFY(!(fixture.At(0).flags() & Qt::ItemIsEditable));
        QVERIFY(!fixture.model.setData(fixture.At(0), u"Changed"_qs));
        QVERIFY(fixture.At(1).flags() & Qt::ItemIsEditable);
        fixture.model.SetEditableCheck({});
        QVERIFY(!(fixture.At(1).flags() & Qt::ItemIsEditable));
        QCOMPARE(WriteTree(fixture.model.Tree()), "Argons\r\nBorons\r\n");
    }

    void appendAddsLastAndRemoveTakesTheWholeBranch() {
        TModelFixture fixture("b\n\tz\n\t\tdeep\n\ty\na");
        const QModelIndex top = fixture.model.Append(QModelIndex(), u"Gr\u00fc\u00df"_qs);
        QCOMPARE(top.row(), 2);
        QCOMPARE(top.data().toString(), u"Gr\u00fc\u00df"_qs);
        fixture.model.Append(fixture.At(0), std::string("x"));
        fixture.model.Remove(fixture.At(1));
        QCOMPARE(WriteTree(fixture.model.Tree()), "b\r\n\ty\r\n\tx\r\na\r\nGr\xfc\xdf\r\n");
        fixture.model.SortTree();
        QCOMPARE(WriteTree(fixture.model.Tree()), "Gr\xfc\xdf\r\na\r\nb\r\n\tx\r\n\ty\r\n");
    }

    void findStepsFromHitToHitByTheShownText() {
        TModelFixture fixture("Teladi\n\tGr\xfc\xdf Teladi\n\tKessa\nTeladi Gain");
        QList<std::size_t> positions;
        for (auto hit = fixture.model.Find(0, u"\u00df Teladi"_qs); hit;
             hit = fixture.model.Find(hit->Position + 1, u"\u00df Teladi"_qs)) {
            positions << hit->Position;
            QCOMPARE(hit->Index, fixture.At(hit->Position));
        }
        QCOMPARE(positions, QList<std::size_t>{1});
        QCOMPARE(fixture.model.Find(2, u"Teladi"_qs)->Position, std::size_t{3});
        QVERIFY(!fixture.model.Find(4, u"Teladi"_qs));
    }

    void loadingReplacesTheTreeAndABadFileKeepsWhatTheErrorSays() {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"OwnData.txt"_qs);
        TModelFixture fixture("old");
        QVERIFY_THROWS_EXCEPTION(TreeFileError, fixture.model.Load(path));
        QCOMPARE(WriteTree(fixture.model.Tree()), "old\r\n");

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("new\n\tchild\n\t\t\tbad\nlost");
        file.close();
        QVERIFY_THROWS_EXCEPTION(TreeFileError, fixture.model.Load(path));
        QCOMPARE(WriteTree(fixture.model.Tree()), "new\r\n\tchild\r\n");
        fixture.model.Save(path);
        fixture.model.Load(path);
        QCOMPARE(fixture.model.rowCount(fixture.At(0)), 1);
    }

    // A chain far deeper than any call stack: shown, searched, its deepest
    // showable node selected, renamed, and freed.
    void aTreeAHundredThousandLevelsDeepIsShownAndClosed() {
        constexpr std::size_t depth = 100'000;
        TTree tree;
        TTreeNode* node = &tree.Root();
        for (std::size_t level = 0; level < depth; ++level) {
            node = &tree.Append(*node, "level");
        }
        auto model = std::make_unique<TDatabaseModel>();
        model->Replace(std::move(tree));
        model->SetEditableCheck([](const TTreeNode&) { return true; });
        QTreeView view;
        view.setModel(model.get());
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        QVERIFY(model->setData(model->IndexOf(*node), u"renamed"_qs));
        const auto hit = model->Find(0, u"renamed"_qs);
        QCOMPARE(hit->Position, depth - 1);
        const QModelIndex shown = model->ShowableIndex(hit->Index);
        QCOMPARE(model->Node(shown)->Level(), TDatabaseModel::ShownLevels);
        view.setCurrentIndex(shown);
        QVERIFY(model->setData(shown, u"open"_qs));
        QCOMPARE(view.currentIndex().data().toString(), u"open"_qs);
        QVERIFY(view.isExpanded(shown.parent()));
        view.setModel(nullptr);
        model.reset();
    }
};

VANTOR_GUI_TEST_MAIN(TDatabaseModelTest)
#include "tst_DatabaseModel.moc"
