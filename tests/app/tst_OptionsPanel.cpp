#include "TestSupport.h"

#include "HintPolicy.h"
#include "MainWindow.h"
#include "OptionsPanel.h"

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
void clickBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

QString storedText(const ProgramFixture& fixture, const QString& name) {
    return QSettings(fixture.settingsFile(), QSettings::IniFormat).value(name).toString();
}

QByteArray storeContent(const ProgramFixture& fixture) {
    QFile file(fixture.settingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void putStoreContent(const ProgramFixture& fixture, const QByteArray& content) {
    QDir().mkpath(QFileInfo(fixture.settingsFile()).absolutePath());
    QFile file(fixture.settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// Picks `path` in the data-file dialog, or cancels it when `path` is empty.
void answerDataFileDialog(const QString& path) {
    whenModalShows([path](QWidget* modal) {
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

void openOptions(MainWindow* form) {
    form->toggleOptionsPanel();
    QApplication::processEvents();
}

// Asks the control for its hint the way the toolkit does when the pointer rests on it.
QString hintShownFor(QWidget* control) {
    QToolTip::hideText();
    QHelpEvent request(QEvent::ToolTip, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(control, &request);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

class OptionsPanelTest : public QObject {
    Q_OBJECT

private slots:
    void thePanelStandsInPlaceOfThePagesAndSwitchesSubPanels() {
        ProgramFixture fixture;
        fixture.startAndShow();
        MainWindow* form = fixture.mainWindow();
        QVERIFY(findControl<QFrame>(form, "Options")->isHidden());
        QCOMPARE(findControl<QFrame>(form, "Options")->parentWidget(),
                 findControl<QFrame>(form, "Panel1"));
        QCOMPARE(findControl<QFrame>(form, "Options")->geometry(), QRect(8, 64, 441, 174));
        QCOMPARE(findControl<QToolButton>(form, "SpeedButton6")->toolTip(), "General Settings");
        QCOMPARE(findControl<QToolButton>(form, "SpeedButton10")->toolTip(), "Close option-menu");
        QCOMPARE(findControl<QCheckBox>(form, "CheckBox3")->text(), "Display help-popups");
        QCOMPARE(findControl<QCheckBox>(form, "CheckBox2")->parentWidget(),
                 findControl<QWidget>(form, "TabSheet5"));
        QCOMPARE(findControl<QCheckBox>(form, "CheckBox1")->parentWidget(),
                 findControl<QWidget>(form, "TabSheet4"));
        QVERIFY(findControl<QLineEdit>(form, "SysCoreDat")->isReadOnly() &&
                !findControl<QLineEdit>(form, "SysCoreDat")->hasFrame());

        openOptions(form);
        QVERIFY(findControl<QFrame>(form, "Options")->isVisible() &&
                findControl<QFrame>(form, "AllgEinst")->isVisible());
        QVERIFY(!findControl<QFrame>(form, "DataEinst")->isVisible());
        QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton7"), Qt::LeftButton);
        QVERIFY(findControl<QFrame>(form, "DataEinst")->isVisible() &&
                !findControl<QFrame>(form, "AllgEinst")->isVisible());
        QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton6"), Qt::LeftButton);
        QVERIFY(findControl<QFrame>(form, "AllgEinst")->isVisible() &&
                !findControl<QFrame>(form, "DataEinst")->isVisible());
        // Reopening starts on the general sub-panel again.
        QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton7"), Qt::LeftButton);
        QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton10"), Qt::LeftButton);
        QVERIFY(findControl<QFrame>(form, "Options")->isHidden() &&
                findControl<QTabWidget>(form, "PageControl1")->isVisible());
        openOptions(form);
        QVERIFY(findControl<QFrame>(form, "AllgEinst")->isVisible() &&
                !findControl<QFrame>(form, "DataEinst")->isVisible());
    }

    void aShortPathKeepsTheStartAndTheFileName() {
        QCOMPARE(OptionsPanel::shortPathText("D:\\Games\\Universe\\Data\\Files\\core.vr"),
                 "D:\\...\\core.vr");
        QCOMPARE(OptionsPanel::shortPathText("/home/pilot/games/vantor/data/core.vr"),
                 "/ho.../core.vr");
        QCOMPARE(OptionsPanel::shortPathText("C:\\Zenit\\data/mixed\\vantor.vr"),
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
            ProgramFixture fixture;
            QVERIFY(QFile::copy(fixture.programFolder() + "core.vr", core));
            QVERIFY(QFile::copy(fixture.programFolder() + "vantor.vr", info));
            fixture.startAndShow();
            MainWindow* form = fixture.mainWindow();
            const std::string loadedCore = fixture.parts().engine().filename();
            openOptions(form);
            QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton7"), Qt::LeftButton);
            MessageAnswerer answerer;
            answerDataFileDialog(core);
            QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton8"), Qt::LeftButton);
            answerDataFileDialog(info);
            QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton9"), Qt::LeftButton);

            QCOMPARE(fixture.parts().optionsPanel().coreDataPath(), core);
            QCOMPARE(findControl<QLineEdit>(form, "SysCoreDat")->text(), core);
            QCOMPARE(findControl<QFrame>(form, "Shape5")->toolTip(), core);
            QCOMPARE(fixture.parts().optionsPanel().infoDataPath(), info);
            QCOMPARE(findControl<QLineEdit>(form, "SysInfoDat")->text(),
                     OptionsPanel::shortPathText(info));
            QCOMPARE(findControl<QFrame>(form, "Shape7")->toolTip(), info);
            QCOMPARE(answerer.seenMessages.size(), 2);
            const SeenMessage& notice = answerer.seenMessages.first();
            QCOMPARE(notice.caption, "Restart");
            QCOMPARE(notice.text, "To let the changes take effect, please restart \"Vantor\" now.");
            QCOMPARE(notice.sign, "!");
            QVERIFY(notice.leftButton.isEmpty());
            QCOMPARE(notice.rightButton, "&OK");
            // The engine goes on with what it loaded until the restart.
            QCOMPARE(fixture.parts().engine().filename(), loadedCore);
            QCOMPARE(storedText(fixture, "SysCoreDat"), core);
            QCOMPARE(storedText(fixture, "SysInfoDat"), info);
            store = storeContent(fixture);
        }
        ProgramFixture restarted;
        putStoreContent(restarted, store);
        restarted.startAndShow();
        MainWindow* form = restarted.mainWindow();
        QCOMPARE(restarted.parts().optionsPanel().coreDataPath(), core);
        QCOMPARE(findControl<QLineEdit>(form, "SysCoreDat")->text(), "Standard Data");
        QCOMPARE(restarted.parts().engine().filename(), QFile::encodeName(core).toStdString());
        QCOMPARE(findControl<QLineEdit>(form, "SysInfoDat")->text(),
                 OptionsPanel::shortPathText(info));
        QCOMPARE(findControl<QFrame>(form, "Shape7")->toolTip(), info);
    }

    void aCancelledDialogChangesNothingButStillWritesTheSettings() {
        ProgramFixture fixture;
        fixture.startAndShow();
        MainWindow* form = fixture.mainWindow();
        const QString shown = findControl<QLineEdit>(form, "SysInfoDat")->text();
        openOptions(form);
        QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton7"), Qt::LeftButton);
        MessageAnswerer answerer;
        answerDataFileDialog(QString());
        QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton9"), Qt::LeftButton);
        QVERIFY(answerer.seenMessages.isEmpty());
        QCOMPARE(fixture.parts().optionsPanel().infoDataPath(),
                 fixture.programFolder() + "vantor.vr");
        QCOMPARE(findControl<QLineEdit>(form, "SysInfoDat")->text(), shown);
        QCOMPARE(storedText(fixture, "SysInfoDat"), fixture.programFolder() + "vantor.vr");
        QCOMPARE(storedText(fixture, "Data Lines"), "1");
    }

    void withHintsOffNoControlShowsAHint() {
        ProgramFixture fixture;
        fixture.startAndShow();
        MainWindow* form = fixture.mainWindow();
        // A hint comes at once and stays five seconds.
        QCOMPARE(form->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, form), 0);
        QCOMPARE(HintPolicy::instance().showTime(), 5000);
        QCOMPARE(hintShownFor(findControl<QAbstractButton>(form, "OBut")), "Options");
        openOptions(form);
        QCOMPARE(hintShownFor(findControl<QToolButton>(form, "SpeedButton6")), "General Settings");

        clickBox(findControl<QCheckBox>(form, "CheckBox3"));
        QCOMPARE(storedText(fixture, "Help POP"), "0");
        for (QWidget* control : QList<QWidget*>{findControl<QToolButton>(form, "SpeedButton6"),
                                                findControl<QToolButton>(form, "SpeedButton7"),
                                                findControl<QToolButton>(form, "SpeedButton10"),
                                                findControl<QCheckBox>(form, "CheckBox3")}) {
            QCOMPARE(hintShownFor(control), QString());
        }
        QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton7"), Qt::LeftButton);
        QCOMPARE(hintShownFor(findControl<QFrame>(form, "Shape5")), QString());
        QCOMPARE(hintShownFor(findControl<QToolButton>(form, "SpeedButton8")), QString());
        QTest::mouseClick(findControl<QToolButton>(form, "SpeedButton10"), Qt::LeftButton);
        QCOMPARE(hintShownFor(findControl<QAbstractButton>(form, "OBut")), QString());

        findControl<QCheckBox>(form, "CheckBox3")->setChecked(true);
        QCOMPARE(hintShownFor(findControl<QAbstractButton>(form, "OBut")), "Options");
        QToolTip::hideText();
    }
};

VANTOR_GUI_TEST_MAIN(OptionsPanelTest)
#include "tst_OptionsPanel.moc"
