#include "TestSupport.h"

// Replaced by the real window tests.
class TSmokeTest : public QObject {
    Q_OBJECT
private slots:
    void windowsAreCreatedInOrder() {
        TProgramFixture fixture;
        fixture.Start();
        QVERIFY(fixture.Form1() != nullptr);
        QVERIFY(fixture.Form4() != nullptr);
    }
};

VANTOR_GUI_TEST_MAIN(TSmokeTest)
#include "tst_Smoke.moc"
