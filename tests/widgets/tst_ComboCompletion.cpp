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

struct Stroke {
    EditKey key;
    QChar character;
    Qt::Key code;
};

Stroke strokeFor(QChar typed) {
    switch (typed.unicode()) {
    case u'\b':
        return {EditKey::Backspace, typed, Qt::Key_Backspace};
    case 0x1B:
        return {EditKey::Escape, typed, Qt::Key_Escape};
    case u'\r':
        return {EditKey::Character, typed, Qt::Key_Return};
    case 0x7F:
        return {EditKey::Delete, {}, Qt::Key_Delete};
    case 0x01:
        return {EditKey::Caret, {}, Qt::Key_Home};
    case 0x16:
        return {EditKey::CharPaste, typed, Qt::Key_V};
    case 0x0F:
        return {EditKey::InsertPaste, {}, Qt::Key_Insert};
    default:
        return {EditKey::Character, typed, Qt::Key_unknown};
    }
}

// A text field as small as the completion needs: it edits as a text field
// does and logs the events it is asked to raise.
class FakeField : public CompletionField {
public:
    QStringList items{QStringLiteral("Alpha Base"), QStringLiteral("Amber Gate"),
                      QStringLiteral("Corvane"), QStringLiteral("Home Port")};
    QString text;
    int selectionStart = 0;
    int selectionLength = 0;
    int index = -1;
    QStringList events;
    int beeps = 0;
    Qt::Key code = Qt::Key_unknown;

    QString fieldText() const override { return text; }
    int selStart() const override { return selectionStart; }
    int selLength() const override { return selectionLength; }
    int itemCount() const override { return static_cast<int>(items.size()); }
    QString fieldItemText(int at) const override { return at < 0 ? QString() : items.at(at); }
    int itemIndex() const override { return index; }
    void selectItem(int at) override {
        index = at;
        text = fieldItemText(at);
        selectionStart = static_cast<int>(text.size());
        selectionLength = 0;
    }
    void setFieldText(const QString& newText) override {
        text = newText;
        selectionStart = std::min(selectionStart, static_cast<int>(text.size()));
        selectionLength = 0;
    }
    void setSelection(int start, int length) override {
        selectionStart = start;
        selectionLength = length;
    }
    void standardHandling(QChar key) override {
        const QString before = text;
        switch (code) {
        case Qt::Key_Backspace:
            if (selectionLength == 0 && selectionStart > 0) {
                --selectionStart;
                selectionLength = 1;
            }
            replace({});
            break;
        case Qt::Key_Delete:
            selectionLength = std::max(selectionLength,
                                       std::min(1, static_cast<int>(text.size()) - selectionStart));
            replace({});
            break;
        case Qt::Key_Home:
            selectionStart = 0;
            selectionLength = 0;
            break;
        case Qt::Key_V:
        case Qt::Key_Insert:
            replace(QStringLiteral("amb"));
            break;
        default:
            if (key.isPrint()) {
                replace(key);
            }
        }
        if (text != before) {
            events << QStringLiteral("Change");
        }
    }
    void raiseClick() override { events << QStringLiteral("Click"); }
    void raiseChange() override { events << QStringLiteral("Change"); }
    void raiseMatch() override { events << QStringLiteral("Match"); }
    void invalidKey() override { ++beeps; }
    QChar raiseKeyPress(QChar key) override {
        events << QStringLiteral("KeyPress");
        return key;
    }

private:
    void replace(const QString& with) {
        text.replace(selectionStart, selectionLength, with);
        selectionStart += static_cast<int>(with.size());
        selectionLength = 0;
    }
};

} // namespace

class ComboCompletionTest : public QObject {
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
        FakeField field;
        ComboCompletion completion(field);
        completion.setAllowEdit(allowEdit);
        for (const QChar typed : keys) {
            const Stroke stroke = strokeFor(typed);
            field.events.clear();
            field.code = stroke.code;
            completion.typeKey(stroke.key, stroke.character);
        }
        QTEST(field.text, "text");
        QTEST(field.selectionStart, "selStart");
        QTEST(field.selectionLength, "selLength");
        QTEST(completion.searchText(), "searchText");
        QTEST(field.events.join(u' '), "lastKeyEvents");
        QTEST(field.beeps, "beeps");
    }

    void keyPressHandlerMayDropTheCharacter() {
        class DroppingField : public FakeField {
            QChar raiseKeyPress(QChar) override { return {}; }
        } field;
        ComboCompletion completion(field);
        completion.typeKey(EditKey::Character, u'a');
        QCOMPARE(field.text, QString());
        QCOMPARE(completion.searchText(), QString());
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
        FakeField field;
        ComboCompletion completion(field);
        for (const QChar typed : keys) {
            const Stroke stroke = strokeFor(typed);
            completion.typeAheadKey(stroke.key, stroke.character);
        }
        QTEST(field.text, "text");
        QTEST(completion.searchText(), "searchText");
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
        FakeField field;
        field.index = start;
        ComboCompletion completion(field);
        completion.wheelStep(down);
        QTEST(field.index, "index");
        QTEST(field.events.join(u' '), "events");
    }
};

QTEST_APPLESS_MAIN(ComboCompletionTest)

#include "tst_ComboCompletion.moc"
