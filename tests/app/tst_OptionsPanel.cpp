#include "TestSupport.h"

#include "HintPolicy.h"
#include "OptionsPanel.h"
#include "MainWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QHelpEvent>
#include <QLineEdit>
#include <QSettings>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>

namespace {

// A click on the box's square, as the user toggles it.
void ClickBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

QString StoredText(const TProgramFixture& fixture, const QString& name) {
    return QSettings(fixture.SettingsFile(), QSettings::IniFormat).value(name).toString();
}

QByteArray StoreContent(const TProgramFixture& fixture) {
    QFile file(fixture.SettingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void PutStoreContent(const TProgramFixture& fixture, const QByteArray& content) {
    QDir().mkpath(QFileInfo(fixture.SettingsFile()).absolutePath());
    QFile file(fixture.SettingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Picks `path` in the data-file dialog, or cancels it when `path` is empty.
void AnswerDataFileDialog(const QString& path) {
    WhenModalShows([path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), "Please choose a data-file...");
        QCOMPARE(dialog->nameFilters(), QStringList{"vr Data (*.vr)"});
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed into the file name box, as a user would.
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

void OpenOptions(TForm1* form) {
    form->OButClick();
    QApplication::processEvents();
}

// Asks the control for its hint the way the toolkit does when the pointer rests on it.
QString HintShownFor(QWidget* control) {
    QToolTip::hideText();
    QHelpEvent request(QEvent::ToolTip, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(control, &request);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

class TOptionsPanelTest : public QObject {
    Q_OBJECT

private slots:
    void thePanelStandsInPlaceOfThePagesAndSwitchesSubPanels() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        TForm1* form = fixture.Form1();
        QVERIFY(Find<QFrame>(form, "Options")->isHidden());
        QCOMPARE(Find<QFrame>(form, "Options")->parentWidget(), Find<QFrame>(form, "Panel1"));
        QCOMPARE(Find<QFrame>(form, "Options")->geometry(), QRect(8, 64, 441, 174));
        QCOMPARE(Find<QToolButton>(form, "SpeedButton6")->toolTip(), "General Settings");
        QCOMPARE(Find<QToolButton>(form, "SpeedButton10")->toolTip(), "Close option-menu");
        QCOMPARE(Find<QCheckBox>(form, "CheckBox3")->text(), "Display help-popups");
        QCOMPARE(Find<QCheckBox>(form, "CheckBox2")->parentWidget(),
                 Find<QWidget>(form, "TabSheet5"));
        QCOMPARE(Find<QCheckBox>(form, "CheckBox1")->parentWidget(),
                 Find<QWidget>(form, "TabSheet4"));
        QVERIFY(Find<QLineEdit>(form, "SysCoreDat")->isReadOnly() &&
                !Find<QLineEdit>(form, "SysCoreDat")->hasFrame());

        OpenOptions(form);
        QVERIFY(Find<QFrame>(form, "Options")->isVisible() &&
                Find<QFrame>(form, "AllgEinst")->isVisible());
        QVERIFY(!Find<QFrame>(form, "DataEinst")->isVisible());
        QTest::mouseClick(Find<QToolButton>(form, "SpeedButton7"), Qt::LeftButton);
        QVERIFY(Find<QFrame>(form, "DataEinst")->isVisible() &&
                !Find<QFrame>(form, "AllgEinst")->isVisible());
        QTest::mouseClick(Find<QToolButton>(form, "SpeedButton6"), Qt::LeftButton);
        QVERIFY(Find<QFrame>(form, "AllgEinst")->isVisible() &&
                !Find<QFrame>(form, "DataEinst")->isVisible());
        // Reopening starts on the general sub-panel again.
        QTest::mouseClick(Find<QToolButton>(form, "SpeedButton7"), Qt::LeftButton);
        QTest::mouseClick(Find<QToolButton>(form, "SpeedButton10"), Qt::LeftButton);
        QVERIFY(Find<QFrame>(form, "Options")->isHidden() &&
                Find<QTabWidget>(form, "PageControl1")->isVisible());
        OpenOptions(form);
        QVERIFY(Find<QFrame>(form, "AllgEinst")->isVisible() &&
                !Find<QFrame>(form, "DataEinst")->isVisible());
    }

    void aShortPathKeepsTheStartAndTheFileName() {
        QCOMPARE(TOptionsPanel::ShortPathText("D:\\Games\\Universe\\Data\\Files\\core.vr"),
                 "D:\\...\\core.vr");
        QCOMPARE(TOptionsPanel::ShortPathText("/home/pilot/games/vantor/data/core.vr"),
                 "/ho.../core.vr");
        QCOMPARE(TOptionsPanel::ShortPathText("C:\\Zenit\\data/mixed\\vantor.vr"),
                 "C:\\...\\vantor.vr");
    }

    void chosenDataFilesShowByTheirLengthNowAndAfterARestart() {
        QTemporaryDir folder(QDir::tempPath() + "/vt-XXXXXX");
        const QString base = folder.path() + '/';
        if (base.size() > 25) {
            QSKIP("the temporary folder's name is too long for paths of 30 characters");
        }
        // The core data file's path is 30 characters long, the info data file's 31.
        const QString core = base + QString(30 - base.size() - 3, 'c') + ".vr";
        const QString info = base + QString(31 - base.size() - 3, 'i') + ".vr";
        QCOMPARE(core.size(), 30);
        QCOMPARE(info.size(), 31);

        QByteArray store;
        {
            TProgramFixture fixture;
            QVERIFY(QFile::copy(fixture.ProgramFolder() + "core.vr", core));
            QVERIFY(QFile::copy(fixture.ProgramFolder() + "vantor.vr", info));
            fixture.StartAndShow();
            TForm1* form = fixture.Form1();
            const std::string loadedCore = form->Engine().Filename();
            OpenOptions(form);
            QTest::mouseClick(Find<QToolButton>(form, "SpeedButton7"), Qt::LeftButton);
            TMessageAnswerer answerer;
            AnswerDataFileDialog(core);
            QTest::mouseClick(Find<QToolButton>(form, "SpeedButton8"), Qt::LeftButton);
            AnswerDataFileDialog(info);
            QTest::mouseClick(Find<QToolButton>(form, "SpeedButton9"), Qt::LeftButton);

            QCOMPARE(form->OptionsPanel().CoreDataPath(), core);
            QCOMPARE(Find<QLineEdit>(form, "SysCoreDat")->text(), core);
            QCOMPARE(Find<QFrame>(form, "Shape5")->toolTip(), core);
            QCOMPARE(form->OptionsPanel().InfoDataPath(), info);
            QCOMPARE(Find<QLineEdit>(form, "SysInfoDat")->text(),
                     TOptionsPanel::ShortPathText(info));
            QCOMPARE(Find<QFrame>(form, "Shape7")->toolTip(), info);
            QCOMPARE(answerer.Seen.size(), 2);
            const TSeenMessage& notice = answerer.Seen.first();
            QCOMPARE(notice.Caption, "Restart");
            QCOMPARE(notice.Text, "To let the changes take effect, please restart \"Vantor\" now.");
            QCOMPARE(notice.Sign, "!");
            QVERIFY(notice.LeftButton.isEmpty());
            QCOMPARE(notice.RightButton, "&OK");
            // The engine goes on with what it loaded until the restart.
            QCOMPARE(form->Engine().Filename(), loadedCore);
            QCOMPARE(StoredText(fixture, "SysCoreDat"), core);
            QCOMPARE(StoredText(fixture, "SysInfoDat"), info);
            store = StoreContent(fixture);
        }
        TProgramFixture restarted;
        PutStoreContent(restarted, store);
        restarted.StartAndShow();
        TForm1* form = restarted.Form1();
        QCOMPARE(form->OptionsPanel().CoreDataPath(), core);
        QCOMPARE(Find<QLineEdit>(form, "SysCoreDat")->text(), "Standard Data");
        QCOMPARE(form->Engine().Filename(), QFile::encodeName(core).toStdString());
        QCOMPARE(Find<QLineEdit>(form, "SysInfoDat")->text(), TOptionsPanel::ShortPathText(info));
        QCOMPARE(Find<QFrame>(form, "Shape7")->toolTip(), info);
    }

    void aCancelledDialogChangesNothingButStillWritesTheSettings() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        TForm1* form = fixture.Form1();
        const QString shown = Find<QLineEdit>(form, "SysInfoDat")->text();
        OpenOptions(form);
        QTest::mouseClick(Find<QToolButton>(form, "SpeedButton7"), Qt::LeftButton);
        TMessageAnswerer answerer;
        AnswerDataFileDialog(QString());
        QTest::mouseClick(Find<QToolButton>(form, "SpeedButton9"), Qt::LeftButton);
        QVERIFY(answerer.Seen.isEmpty());
        QCOMPARE(form->OptionsPanel().InfoDataPath(), fixture.ProgramFolder() + "vantor.vr");
        QCOMPARE(Find<QLineEdit>(form, "SysInfoDat")->text(), shown);
        QCOMPARE(StoredText(fixture, "SysInfoDat"), fixture.ProgramFolder() + "vantor.vr");
        QCOMPARE(StoredText(fixture, "Data Lines"), "1");
    }

    void withHintsOffNoControlShowsAHint() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        TForm1* form = fixture.Form1();
        // A hint comes at once and stays five seconds.
        QCOMPARE(form->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, form), 0);
        QCOMPARE(THintPolicy::Instance().ShowTime(), 5000);
        QCOMPARE(HintShownFor(Find<QAbstractButton>(form, "OBut")), "Options");
        OpenOptions(form);
        QCOMPARE(HintShownFor(Find<QToolButton>(form, "SpeedButton6")), "General Settings");

        ClickBox(Find<QCheckBox>(form, "CheckBox3"));
        QCOMPARE(StoredText(fixture, "Help POP"), "0");
        for (QWidget* control : QList<QWidget*>{
                 Find<QToolButton>(form, "SpeedButton6"), Find<QToolButton>(form, "SpeedButton7"),
                 Find<QToolButton>(form, "SpeedButton10"), Find<QCheckBox>(form, "CheckBox3")}) {
            QCOMPARE(HintShownFor(control), QString());
        }
        QTest::mouseClick(Find<QToolButton>(form, "SpeedButton7"), Qt::LeftButton);
        QCOMPARE(HintShownFor(Find<QFrame>(form, "Shape5")), QString());
        QCOMPARE(HintShownFor(Find<QToolButton>(form, "SpeedButton8")), QString());
        QTest::mouseClick(Find<QToolButton>(form, "SpeedButton10"), Qt::LeftButton);
        QCOMPARE(HintShownFor(Find<QAbstractButton>(form, "OBut")), QString());

        Find<QCheckBox>(form, "CheckBox3")->setChecked(true);
        QCOMPARE(HintShownFor(Find<QAbstractButton>(form, "OBut")), "Options");
        QToolTip::hideText();
    }
};

VANTOR_GUI_TEST_MAIN(TOptionsPanelTest)
#include "tst_OptionsPanel.moc"
