#include "TestSupport.h"

#include "ColorBitmapButton.h"
#include "Colors.h"
#include "FadePicture.h"
#include "MainWindow.h"
#include "StarMapWindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>
#include <memory>
#include <sys/stat.h>

namespace {

const QStringList Panels{"InfoPanel", "Thanks", "CopyR", "Readme"};

// Stands in for the desktop's mail and web programs.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    UrlRecorder() {
        for (const char* scheme : {"mailto", "http"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
        }
    }
    ~UrlRecorder() override {
        for (const char* scheme : {"mailto", "http"}) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        }
    }
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

// A fresh current folder for the test, and the former one back afterwards.
class CurrentFolder {
public:
    CurrentFolder() { QDir::setCurrent(folder_.path()); }
    ~CurrentFolder() { QDir::setCurrent(former_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    QString former_ = QDir::currentPath();
    QTemporaryDir folder_;
};

} // namespace

// The Info page as the user meets it: opened from its tab, driven with the
// mouse and the keyboard.
class InfoPageTest : public ProgramTest {
    Q_OBJECT

    QTabBar* tabs() const {
        return findControl<QTabWidget>(mainWindow(), "PageControl1")->tabBar();
    }
    void clickTab(int index) const {
        QTest::mouseClick(tabs(), Qt::LeftButton, {}, tabs()->tabRect(index).center());
    }
    void press(const char* button) const {
        QTest::mouseClick(findControl<QToolButton>(mainWindow(), button), Qt::LeftButton);
    }
    QStringList shownPanels() const {
        QStringList shown;
        for (const QString& panel : Panels) {
            if (findControl(mainWindow(), qPrintable(panel))->isVisible()) {
                shown << panel;
            }
        }
        return shown;
    }
    QLabel* linkLabel(const char* name) const { return findControl<QLabel>(mainWindow(), name); }
    static QColor textColor(const QWidget* widget) {
        return widget->palette().color(QPalette::WindowText);
    }

    void prepare() override { clickTab(4); }

private slots:
    // The page opens on "Informations"; each button shows its panel alone.
    void buttonsSwitchThePanels_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("panel");
        QTest::newRow("Special Thanks") << "SpeedButton11"
                                        << "Thanks";
        QTest::newRow("Copyrights") << "SpeedButton12"
                                    << "CopyR";
        QTest::newRow("Actual Informations") << "SpeedButton13"
                                             << "Readme";
        QTest::newRow("Informations") << "SpeedButton2"
                                      << "InfoPanel";
    }
    void buttonsSwitchThePanels() {
        QFETCH(QString, button);
        QFETCH(QString, panel);
        QCOMPARE(shownPanels(), QStringList{"InfoPanel"});
        for (const char* version : {"Label33", "Label25", "Label9"}) {
            QCOMPARE(findControl<QLabel>(mainWindow(), version)->text(),
                     QStringLiteral("Version 1.03 Xtended-Database Release / EV"));
        }
        press(qPrintable(button));
        QCOMPARE(shownPanels(), QStringList{panel});
    }

    // Whichever page the user turns to, the Info page comes back on "Informations".
    void pageChangeRewindsToInformations_data() {
        QTest::addColumn<int>("page");
        QTest::newRow("Navigation") << 0;
        QTest::newRow("System Database") << 1;
        QTest::newRow("Own Database") << 2;
        QTest::newRow("Notepad") << 3;
    }
    void pageChangeRewindsToInformations() {
        QFETCH(int, page);
        press("SpeedButton12");
        clickTab(page);
        clickTab(4);
        QCOMPARE(shownPanels(), QStringList{"InfoPanel"});
    }

    // The link under the pointer is lit, never both, and both rest as soon
    // as the pointer is elsewhere.
    void linksLightUnderThePointer() {
        const QColor rest = fromBgr(Palette::Accent);
        const QColor lit = fromBgr(Palette::LinkHover);
        const struct {
            const char* over;
            QColor mail;
            QColor web;
        } steps[] = {
            {"Label39", lit, rest}, {"Label17", rest, lit},     {"InfoPanel", rest, rest},
            {"Label17", rest, lit}, {"Label39", lit, rest},     {"Panel3", rest, rest},
            {"Label39", lit, rest}, {"OrlenFade1", rest, rest},
        };
        for (const auto& step : steps) {
            QWidget* over = findControl(mainWindow(), step.over);
            QTest::mouseMove(over, over == findControl(mainWindow(), "InfoPanel")
                                       ? QPoint(5, 300)
                                       : over->rect().center());
            QCOMPARE(textColor(linkLabel("Label39")), step.mail);
            QCOMPARE(textColor(linkLabel("Label17")), step.web);
        }
    }

    // Each link stands whole in the panel, right of its caption. Long lines
    // of "upgrade.vr" are cut off at the box's edge: it scrolls up and down
    // only.
    void linksShowWholeAndLongLinesAreCutOff() {
        const QWidget* panel = findControl(mainWindow(), "InfoPanel");
        for (const auto& [caption, link] :
             {std::pair{"Label37", "Label39"}, {"Label38", "Label17"}}) {
            const QRect shown = linkLabel(link)->geometry();
            QVERIFY(panel->rect().contains(shown));
            QVERIFY(linkLabel(caption)->geometry().right() < shown.left());
        }
        const CurrentFolder current;
        QFile file(QStringLiteral("upgrade.vr"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((QByteArray(300, 'x') + "\r\n").repeated(60));
        file.close();
        press("SpeedButton13");
        const auto* box = findControl<QTextEdit>(mainWindow(), "RichEdit3");
        QVERIFY(!box->horizontalScrollBar()->isVisible());
        QVERIFY(box->verticalScrollBar()->isVisible());
    }

    // A click, or Enter and Space on a link that has the keyboard focus, hands
    // the address to the desktop.
    void linksOpenThroughTheDesktop_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("key");
        QTest::addColumn<QUrl>("url");
        const QUrl mail(QStringLiteral("mailto:info@tessaly.test"));
        const QUrl web(QStringLiteral("http://www.tessaly.test"));
        QTest::newRow("e-mail, click") << "Label39" << 0 << mail;
        QTest::newRow("web, click") << "Label17" << 0 << web;
        QTest::newRow("e-mail, Enter") << "Label39" << int(Qt::Key_Return) << mail;
        QTest::newRow("web, Space") << "Label17" << int(Qt::Key_Space) << web;
    }
    void linksOpenThroughTheDesktop() {
        QFETCH(QString, link);
        QFETCH(int, key);
        QFETCH(QUrl, url);
        UrlRecorder desktop;
        QLabel* label = linkLabel(qPrintable(link));
        if (key == 0) {
            QTest::mouseClick(label, Qt::LeftButton);
        } else {
            label->setFocus(Qt::TabFocusReason);
            QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
        }
        QCOMPARE(desktop.opened, QList<QUrl>{url});
    }

    // "upgrade.vr" from the current folder, read at every press: rich text
    // or plain text. A file gone since leaves the text it showed; one that
    // can't be read goes to the error box, and the page stays where it was.
    void actualInformationFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("panel");
        const QString missing = QStringLiteral("Actual information-file NOT FOUND !");
        QTest::newRow("plain text")
            << "file" << QByteArray("Line one\r\nLine two") << "Line one\nLine two"
            << "Readme";
        QTest::newRow("rich text")
            << "file" << QByteArray("{\\rtf1\\ansi Fresh {\\b news}}") << "Fresh news"
            << "Readme";
        QTest::newRow("removed after reading") << "removed" << QByteArray("Old news") << "Old news"
                                               << "Readme";
        QTest::newRow("a folder") << "folder" << QByteArray() << missing << "InfoPanel";
        QTest::newRow("a pipe") << "pipe" << QByteArray() << missing << "InfoPanel";
    }
    void actualInformationFile() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QFETCH(QString, panel);
        const CurrentFolder current;
        ErrorBoxRecorder errors;
        if (kind == "folder") {
            QVERIFY(QDir().mkdir(QStringLiteral("upgrade.vr")));
        } else if (kind == "pipe") {
            QCOMPARE(mkfifo("upgrade.vr", 0600), 0);
        } else {
            QFile file(QStringLiteral("upgrade.vr"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        press("SpeedButton13");
        if (kind == "removed") {
            QVERIFY(QFile::remove(QStringLiteral("upgrade.vr")));
            press("SpeedButton2");
            press("SpeedButton13");
        }
        QCOMPARE(findControl<QTextEdit>(mainWindow(), "RichEdit3")->toPlainText(), text);
        QCOMPARE(shownPanels(), QStringList{panel});
        const bool unreadable = panel != "Readme";
        QCOMPARE(errors.texts.size(), unreadable ? 1 : 0);
        if (unreadable) {
            QVERIFY2(errors.texts[0].contains(QStringLiteral("upgrade.vr")),
                     qPrintable(errors.texts[0]));
        }
    }

    // A help button anywhere in the program opens the Info page on its
    // first panel, and raises no click.
    void aHelpButtonOpensTheInfoPage() {
        press("SpeedButton12");
        clickTab(0);
        const std::unique_ptr<ColorBitmapButton> help(
            new ColorBitmapButton(findControl(mainWindow(), "TabSheet3")));
        help->setKind(ColorBitmapButton::bkHelp);
        help->show();
        QSignalSpy clicks(help.get(), &QAbstractButton::clicked);
        QTest::mouseClick(help.get(), Qt::LeftButton);
        QCOMPARE(tabs()->currentIndex(), 4);
        QCOMPARE(shownPanels(), QStringList{"InfoPanel"});
        QCOMPARE(clicks.count(), 0);
    }

    // The star-map picture lights up under the pointer, goes back when it
    // leaves, and a click opens the star map.
    void starMapPictureFadesAndOpensTheMap() {
        auto* picture = findControl<FadePicture>(mainWindow(), "OrlenFade2");
        const auto shows = [picture](const QImage& expected) {
            return picture->shownImage() == expected.convertToFormat(QImage::Format_RGB32);
        };
        QVERIFY(picture->picFrom().image() != picture->picTo().image());
        QTest::mouseMove(picture, picture->rect().center());
        QTRY_VERIFY(shows(picture->picTo().image()));
        QTest::mouseMove(findControl(mainWindow(), "OrlenFade1"));
        QTRY_VERIFY(shows(picture->picFrom().image()));
        QVERIFY(fixture().starMapWindow()->isHidden());
        QTest::mouseClick(picture, Qt::LeftButton);
        QVERIFY(fixture().starMapWindow()->isVisible());
    }
};

VANTOR_GUI_TEST_MAIN(InfoPageTest)
#include "tst_InfoPage.moc"
