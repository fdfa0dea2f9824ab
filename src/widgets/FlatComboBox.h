#pragma once

#include "ComboCompletion.h"

#include <QColor>
#include <QComboBox>
#include <QTimer>
#include <functional>

class QAbstractItemDelegate;
class QKeyEvent;
class QLineEdit;
class QPainter;

// A combo box that completes what the user types from its item list, steps
// through its items with the mouse wheel and can draw a flat frame of its
// own. It starts in the drop-down style, as a combo box does; in the simple
// style it is a plain text field with completion: no drop-down button, no
// list to open. In the list styles (drop-down list and the owner-drawn ones)
// it shows one of its items, picked from the list or by typing its start.
//
// Typing "corvane" over an item "Corvane" shows "Corvane" with nothing
// appended; typing "c" shows the whole item with "orvane" selected, so that
// the next key replaces the appended part. Backspace takes back one typed
// character, Escape empties the field.
//
// Every character typed raises keyPressed once, before the field handles it;
// a handler may replace the character or drop it by setting it to null.
// Enter raises keyPressed and then returnPressed. Keys reach the box the way
// typing delivers them, through the focus widget, which is the box itself.
class CustomFlatComboBox : public QComboBox, private CompletionField {
    Q_OBJECT
    Q_PROPERTY(ComboBoxStyle Style READ comboStyle WRITE setComboStyle)
    Q_PROPERTY(bool Sorted READ sorted WRITE setSorted)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)
    Q_PROPERTY(bool AllowEdit READ allowEdit WRITE setAllowEdit)
    Q_PROPERTY(bool BeepOnInvalidKey READ beepOnInvalidKey WRITE setBeepOnInvalidKey)
    Q_PROPERTY(int DropDownWidth READ dropDownWidth WRITE setDropDownWidth)
    Q_PROPERTY(bool FlatButtons READ flatButtons WRITE setFlatButtons)
    Q_PROPERTY(QColor FrameColor READ frameColor WRITE setFrameColor)
    Q_PROPERTY(bool FrameFlat READ frameFlat WRITE setFrameFlat)
    Q_PROPERTY(FrameStyle FrameFlatStyle READ frameFlatStyle WRITE setFrameFlatStyle)
    Q_PROPERTY(FrameStyle FrameFocusStyle READ frameFocusStyle WRITE setFrameFocusStyle)
    Q_PROPERTY(FrameSides FrameSides READ frameSides WRITE setFrameSides)
    Q_PROPERTY(FrameStyle FrameStyle READ frameStyle WRITE setFrameStyle)
    Q_PROPERTY(bool FrameVisible READ frameVisible WRITE setFrameVisible)
    Q_PROPERTY(bool UseFrameController READ useFrameController WRITE setUseFrameController)
    Q_PROPERTY(QColor DisabledColor READ disabledColor WRITE setDisabledColor)

public:
    enum ComboBoxStyle {
        csDropDown,          // text field with a list to drop down
        csSimple,            // text field alone
        csDropDownList,      // one of the items, picked from the list or by typing
        csOwnerDrawFixed,    // as csDropDownList, the items drawn by the owner, all one height
        csOwnerDrawVariable, // as csOwnerDrawFixed, each item as high as the owner measures it
    };
    Q_ENUM(ComboBoxStyle)

    enum FrameStyle {
        fsNone,
        fsFlat,
        fsGroove,
        fsBump,
        fsLowered,
        fsButtonDown,
        fsRaised,
        fsButtonUp,
        fsStatus,
        fsPopup,
    };
    Q_ENUM(FrameStyle)

    enum FrameSide { sdLeft = 0x1, sdTop = 0x2, sdRight = 0x4, sdBottom = 0x8 };
    Q_DECLARE_FLAGS(FrameSides, FrameSide)
    Q_FLAG(FrameSides)

    explicit CustomFlatComboBox(QWidget* parent = nullptr);

    // How an owner-drawn box shows an item: in the dropped-down list, or the
    // current one in the box's own face (inField).
    struct ItemDrawState {
        bool selected = false;
        bool focused = false;
        bool inField = false;
    };
    using DrawItemHandler =
        std::function<void(QPainter& painter, const QRect& rect, int index, ItemDrawState state)>;
    // The height of an item of a csOwnerDrawVariable box, in pixels.
    using MeasureItemHandler = std::function<int(int index)>;

    ComboBoxStyle comboStyle() const { return style_; }
    void setComboStyle(ComboBoxStyle style);
    // Keeps the items in alphabetical order, letter case aside.
    bool sorted() const { return sorted_; }
    void setSorted(bool sorted);
    // The longest text the field takes; 0 for no limit.
    int maxLength() const { return maxLength_; }
    void setMaxLength(int length);

    // Whether the field takes text that is no item.
    bool allowEdit() const { return completion_.allowEdit(); }
    void setAllowEdit(bool allow);
    bool beepOnInvalidKey() const { return beepOnInvalidKey_; }
    void setBeepOnInvalidKey(bool beep) { beepOnInvalidKey_ = beep; }
    // The least width of the dropped-down list; 0 leaves it as wide as the box.
    int dropDownWidth() const { return dropDownWidth_; }
    void setDropDownWidth(int width);

    // The frame of its own, drawn instead of the usual border while
    // frameVisible is set.
    bool flatButtons() const { return flatButtons_; }
    void setFlatButtons(bool flat);
    QColor frameColor() const { return frameColor_; }
    void setFrameColor(const QColor& color);
    // The frame switches between frameFlatStyle and frameFocusStyle as the
    // box gains and loses the focus or the pointer.
    bool frameFlat() const { return frameFlat_; }
    void setFrameFlat(bool flat);
    FrameStyle frameFlatStyle() const { return frameFlatStyle_; }
    void setFrameFlatStyle(FrameStyle style);
    FrameStyle frameFocusStyle() const { return frameFocusStyle_; }
    void setFrameFocusStyle(FrameStyle style);
    FrameSides frameSides() const { return frameSides_; }
    void setFrameSides(FrameSides sides);
    FrameStyle frameStyle() const { return frameStyle_; }
    void setFrameStyle(FrameStyle style);
    bool frameVisible() const { return frameVisible_; }
    void setFrameVisible(bool visible);
    bool useFrameController() const { return useFrameController_; }
    void setUseFrameController(bool use) { useFrameController_ = use; }
    // Text and frame colour while the box is disabled.
    QColor disabledColor() const { return disabledColor_; }
    void setDisabledColor(const QColor& color);

    // The owner-drawn styles draw their items through this handler; without
    // one an item shows its text.
    void setDrawItemHandler(DrawItemHandler handler);
    void setMeasureItemHandler(MeasureItemHandler handler);

    // The selection in the text field, in characters: its start (the caret
    // when nothing is selected) and length. Setting the start puts the caret
    // there and selects nothing; setting the length selects that many
    // characters from the start.
    int selStart() const override;
    void setSelStart(int start);
    int selLength() const override;
    void setSelLength(int length);

    // The part of the text that the user typed, as opposed to the part that
    // completion appended.
    const QString& searchText() const { return completion_.searchText(); }
    // The first item that begins with `text`, letter case aside; -1 for none.
    int findItem(const QString& text) const { return completion_.findItem(text); }
    // Completes the field from the first item that begins with `typed`.
    bool completeText(const QString& typed) { return completion_.completeText(typed); }

    // Replaces the whole item list at once. A sorted box sorts the texts
    // before it takes them, so the list is built in its final order: a box
    // of a hundred thousand items fills in a blink and never has to move
    // its items around.
    void setItems(QStringList texts);

    // Takes another item list, which other boxes may share; picks no item.
    // A sorted box keeps only a list of its own in order: a shared one comes
    // in its order already.
    void setModel(QAbstractItemModel* model) override;
    void showPopup() override;
    void hidePopup() override;

signals:
    void clicked();
    void changed();
    void keyPressed(QChar& key);
    void returnPressed();
    // Typing was completed from an item.
    void matched();
    void closedUp();
    void mouseEntered();
    void mouseLeft();
    // The focus left a drop-down box whose text is no item.
    void notInList();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The text field as the completion sees it.
    QString fieldText() const override;
    int itemCount() const override { return count(); }
    QString fieldItemText(int index) const override { return itemText(index); }
    int itemIndex() const override { return currentIndex(); }
    void selectItem(int index) override;
    void setFieldText(const QString& text) override;
    void setSelection(int start, int length) override;
    void standardHandling(QChar key) override;
    void raiseClick() override { emit clicked(); }
    void raiseChange() override { emit changed(); }
    void raiseMatch() override { emit matched(); }
    void invalidKey() override;
    QChar raiseKeyPress(QChar key) override;

    void applyStyle();
    bool listStyle() const { return style_ >= csDropDownList; }
    bool ownerDrawn() const { return style_ >= csOwnerDrawFixed; }
    void applyOwnerDraw();
    void paintOwnerDrawnFace();
    // The text field takes no pasted text while AllowEdit is off, however the
    // paste is sent.
    void guardPasting(QLineEdit* field);
    bool acceptsFieldChange(const QString& changed) const;
    void rememberShownText(const QString& text);
    void adoptTextField();
    void watchModel();
    void placeTextField();
    void textChangedElsewhere(const QString& text);
    void keepSorted();
    void dimDisabledText();
    void updateFrame();
    void endTypeAhead();
    bool buttonShown() const { return style_ != csSimple; }
    QRect buttonArea() const;
    void paintOwnFrame(QPainter& painter);
    void paintSimpleField(QPainter& painter);

    ComboCompletion completion_{*this};
    ComboBoxStyle style_ = csDropDown;
    bool sorted_ = false;
    bool sorting_ = false;
    int maxLength_ = 0;
    bool beepOnInvalidKey_ = true;
    int dropDownWidth_ = 0;
    bool flatButtons_ = true;
    QColor frameColor_;
    bool frameFlat_ = false;
    FrameStyle frameFlatStyle_ = fsStatus;
    FrameStyle frameFocusStyle_ = fsLowered;
    FrameSides frameSides_ = FrameSides(sdLeft | sdTop | sdRight | sdBottom);
    FrameStyle frameStyle_ = fsFlat;
    bool frameVisible_ = false;
    bool useFrameController_ = true;
    QColor disabledColor_ = QColor(115, 115, 115);

    bool focused_ = false;
    bool hot_ = false;
    // True while the box itself rewrites the text, which then is no edit.
    bool settingText_ = false;
    // The key being handled, and the character it was handed over with.
    QKeyEvent* key_ = nullptr;
    QChar keyCharacter_;
    int wheelRemainder_ = 0;
    QTimer typeAheadTimer_;
    // The field's text as it last changed, for telling a paste from a deletion.
    QString shownText_;
    DrawItemHandler drawItem_;
    MeasureItemHandler measureItem_;
    QAbstractItemDelegate* listDelegate_ = nullptr;
    QAbstractItemDelegate* ownerDrawDelegate_ = nullptr;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CustomFlatComboBox::FrameSides)

// The flat combo box as the windows place it.
class FlatComboBox : public CustomFlatComboBox {
    Q_OBJECT

public:
    using CustomFlatComboBox::CustomFlatComboBox;
};
