#include "ComboCompletion.h"

#include <QTest>
#include <algorithm>

namespace {

// Keys in the tables: printable characters type themselves; these stand for
// the other keys.
const QString Bs = QStringLiteral("\b");
const QString Esc = QStringLiteral("\x1b");
const QString Del = QStringLiteral("\x7f");
const QString Home = QStringLiteral("\x01");
const QString CtrlV = QStringLiteral("\x16");
const QString ShiftIns = QStringLiteral("\x0f");

struct TStroke {
    TEditKey Key;
    QChar Character;
    Qt::Key Code;
};

TStroke StrokeFor(QChar typed) {
    switch (typed.unicode()) {
    case u'\b':
        return {TEditKey::Backspace, typed, Qt::Key_Backspace};
    case 0x1B:
        return {TEditKey::Escape, typed, Qt::Key_Escape};
    case u'\r':
        return {TEditKey::Character, typed, Qt::Key_Return};
    case 0x7F:
        return {TEditKey::Delete, {}, Qt::Key_Delete};
    case 0x01:
        return {TEditKey::Caret, {}, Qt::Key_Home};
    case 0x16:
        return {TEditKey::CharPaste, typed, Qt::Key_V};
    case 0x0F:
        return {TEditKey::InsertPaste, {}, Qt::Key_Insert};
    default:
        return {TEditKey::Character, typed, Qt::Key_unknown};
    }
}

// A text field as small as the completion needs: it edits as a text field
// does and logs the events it is asked to raise.
class TFakeField : public TCompletionField {
public:
    QStringList items{QStringLiteral("Alpha Base"), QStringLiteral("Amber Gate"),
                      QStringLiteral("Corvane"), QStringLiteral("Home Port")};
    QString text;
    int selStart = 0;
    int selLength = 0;
    int index = -1;
    QStringList events;
    int beeps = 0;
    Qt::Key code = Qt::Key_unknown;

    QString Text() const override { return text; }
    int SelStart() const override { return selStart; }
    int SelLength() const override { return selLength; }
    int ItemCount() const override { return static_cast<int>(items.size()); }
    QString ItemText(int at) const override { return at < 0 ? QString() : items.at(at); }
    int ItemIndex() const override { return index; }
    void SelectItem(int at) override {
        index = at;
        text = ItemText(at);
        selStart = static_cast<int>(text.size());
        selLength = 0;
    }
    void SetText(const QString& newText) override {
        text = newText;
        selStart = std::min(selStart, static_cast<int>(text.size()));
        selLength = 0;
    }
    void SetSelection(int start, int length) override {
        selStart = start;
        selLength = length;
    }
    void StandardHandling(QChar key) override {
        const QString before = text;
        switch (code) {
        case Qt::Key_Backspace:
            if (selLength == 0 && selStart > 0) {
                --selStart;
                selLength = 1;
            }
            Replace({});
            break;
        case Qt::Key_Delete:
            selLength = std::max(selLength, std::min(1, static_cast<int>(text.size()) - selStart));
            Replace({});
            break;
        case Qt::Key_Home:
            selStart = 0;
            selLength = 0;
            break;
        case Qt::Key_V:
        case Qt::Key_Insert:
            Replace(QStringLiteral("amb"));
            break;
        default:
            if (key.isPrint()) {
                Replace(key);
            }
        }
        if (text != before) {
            events << QStringLiteral("Change");
        }
    }
    void RaiseClick() override { events << QStringLiteral("Click"); }
    void RaiseChange() override { events << QStringLiteral("Change"); }
    void RaiseMatch() override { events << QStringLiteral("Match"); }
    void InvalidKey() override { ++beeps; }
    QChar RaiseKeyPress(QChar key) override {
        events << QStringLiteral("KeyPress");
        return key;
    }

private:
    void Replace(const QString& with) {
        text.replace(selStart, selLength, with);
        selStart += static_cast<int>(with.size());
        selLength = 0;
    }
};

} // namespace

class TComboCompletionTest : public QObject {
    Q_OBJECT

private slots:
    void typing_data() {
        QTest::addColumn<bool>("allowEdit");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<QString>("lastKeyEvents");
        QTest::addColumn<int>("beeps");

        const QString completed = QStringLiteral("KeyPress Click Change Match");
        QTest::newRow("first item of that beginning")
            << true << "a"
            << "Alpha Base" << 1 << 9 << "a" << completed << 0;
        QTest::newRow("next key replaces the appended part")
            << true << "am"
            << "Amber Gate" << 2 << 8 << "am" << completed << 0;
        QTest::newRow("case ignored, item's spelling shown")
            << true << "ALP"
            << "Alpha Base" << 3 << 7 << "ALP" << completed << 0;
        QTest::newRow("whole name typed in other case")
            << true << "corvane"
            << "Corvane" << 7 << 0 << "corvane" << completed << 0;
        QTest::newRow("backspace takes back a typed character")
            << true << "am" + Bs << "Alpha Base" << 1 << 9 << "a"
            << "Change Click Change KeyPress Match" << 0;
        QTest::newRow("backspace of the last typed character empties")
            << true << "a" + Bs << "" << 0 << 0 << ""
            << "Change Click Change KeyPress" << 0;
        QTest::newRow("backspace on an empty field beeps") << true << Bs << "" << 0 << 0 << ""
                                                           << "KeyPress" << 1;
        QTest::newRow("escape empties the field") << true << "am" + Esc << "" << 0 << 0 << ""
                                                  << "Click Change KeyPress" << 0;
        QTest::newRow("enter passes through") << true << "\r"
                                              << "" << 0 << 0 << ""
                                              << "KeyPress" << 0;
        QTest::newRow("free text when editing is allowed") << true << "ax"
                                                           << "ax" << 2 << 0 << "ax"
                                                           << "KeyPress Change" << 0;
        QTest::newRow("key typed where the caret stands")
            << true << "a" + Home + "x"
            << "xAlpha Base" << 1 << 0 << "xAlpha Base"
            << "KeyPress Change" << 0;
        QTest::newRow("delete removes the appended part")
            << true << "a" + Del << "A" << 1 << 0 << "A"
            << "Change" << 0;
        QTest::newRow("paste completes the pasted text")
            << true << CtrlV << "Amber Gate" << 3 << 7 << "amb"
            << "KeyPress Change Click Change Match" << 0;
        QTest::newRow("no free text without editing") << false << "ax"
                                                      << "Alpha Base" << 1 << 9 << "a"
                                                      << "KeyPress" << 1;
        QTest::newRow("no paste without editing") << false << CtrlV << "" << 0 << 0 << ""
                                                  << "" << 0;
        QTest::newRow("no shift+insert without editing") << false << ShiftIns << "" << 0 << 0 << ""
                                                         << "" << 0;
        QTest::newRow("no delete of a part without editing")
            << false << "a" + Home + Del << "Alpha Base" << 0 << 0 << "Alpha Base"
            << "" << 0;
    }

    void typing() {
        QFETCH(bool, allowEdit);
        QFETCH(QString, keys);
        TFakeField field;
        TComboCompletion completion(field);
        completion.SetAllowEdit(allowEdit);
        for (const QChar typed : keys) {
            const TStroke stroke = StrokeFor(typed);
            field.events.clear();
            field.code = stroke.Code;
            completion.TypeKey(stroke.Key, stroke.Character);
        }
        QTEST(field.text, "text");
        QTEST(field.selStart, "selStart");
        QTEST(field.selLength, "selLength");
        QTEST(completion.SearchText(), "searchText");
        QTEST(field.events.join(u' '), "lastKeyEvents");
        QTEST(field.beeps, "beeps");
    }

    void keyPressHandlerMayDropTheCharacter() {
        class TDroppingField : public TFakeField {
            QChar RaiseKeyPress(QChar) override { return {}; }
        } field;
        TComboCompletion completion(field);
        completion.TypeKey(TEditKey::Character, u'a');
        QCOMPARE(field.text, QString());
        QCOMPARE(completion.SearchText(), QString());
    }

    void typeAhead_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<int>("beeps");

        QTest::newRow("typed beginning picks the item") << "am"
                                                        << "Amber Gate"
                                                        << "am" << 0;
        QTest::newRow("unmatched key beeps and is forgotten") << "amx"
                                                              << "Amber Gate"
                                                              << "am" << 1;
        QTest::newRow("backspace picks again") << "am" + Bs << "Alpha Base"
                                               << "a" << 0;
        QTest::newRow("escape picks the first item") << "h" + Esc << "Alpha Base"
                                                     << "" << 0;
    }

    void typeAhead() {
        QFETCH(QString, keys);
        TFakeField field;
        TComboCompletion completion(field);
        for (const QChar typed : keys) {
            const TStroke stroke = StrokeFor(typed);
            completion.TypeAheadKey(stroke.Key, stroke.Character);
        }
        QTEST(field.text, "text");
        QTEST(completion.SearchText(), "searchText");
        QTEST(field.beeps, "beeps");
    }

    void wheel_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("down");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("events");

        QTest::newRow("down to the next item") << 1 << true << 2 << "Click Change";
        QTest::newRow("down from no item") << -1 << true << 0 << "Click Change";
        QTest::newRow("down stops at the last item") << 3 << true << 3 << "";
        QTest::newRow("up to the item before") << 2 << false << 1 << "Click Change";
        QTest::newRow("up stops at the first item") << 0 << false << 0 << "";
        QTest::newRow("up from no item") << -1 << false << 0 << "";
    }

    void wheel() {
        QFETCH(int, start);
        QFETCH(bool, down);
        TFakeField field;
        field.index = start;
        TComboCompletion completion(field);
        completion.WheelStep(down);
        QTEST(field.index, "index");
        QTEST(field.events.join(u' '), "events");
    }
};

QTEST_APPLESS_MAIN(TComboCompletionTest)

#include "tst_ComboCompletion.moc"
