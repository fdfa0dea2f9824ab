#pragma once

#include "ComboCompletion.h"

#include <QColor>
#include <QComboBox>
#include <QTimer>

class QKeyEvent;

// A combo box that completes what the user types from its item list, steps
// through its items with the mouse wheel and can draw a flat frame of its
// own. In the simple style (the default) it is a plain text field with
// completion: no drop-down button, no list to open.
//
// Typing "corvane" over an item "Corvane" shows "Corvane" with nothing
// appended; typing "c" shows the whole item with "orvane" selected, so that
// the next key replaces the appended part. Backspace takes back one typed
// character, Escape empties the field.
//
// Every character typed raises KeyPress once, before the field handles it;
// a handler may replace the character or drop it by setting it to null.
// Enter raises KeyPress and then ReturnPressed. Keys reach the box the way
// typing delivers them, through the focus widget, which is the box itself.
class TCustomFlatComboBox : public QComboBox, private TCompletionField {
    Q_OBJECT
    Q_PROPERTY(TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE SetAllowEdit)
    Q_PROPERTY(bool BeepOnInvalidKey READ BeepOnInvalidKey WRITE SetBeepOnInvalidKey)
    Q_PROPERTY(int DropDownWidth READ DropDownWidth WRITE SetDropDownWidth)
    Q_PROPERTY(bool FlatButtons READ FlatButtons WRITE SetFlatButtons)
    Q_PROPERTY(QColor FrameColor READ FrameColor WRITE SetFrameColor)
    Q_PROPERTY(bool FrameFlat READ FrameFlat WRITE SetFrameFlat)
    Q_PROPERTY(TFrameStyle FrameFlatStyle READ FrameFlatStyle WRITE SetFrameFlatStyle)
    Q_PROPERTY(TFrameStyle FrameFocusStyle READ FrameFocusStyle WRITE SetFrameFocusStyle)
    Q_PROPERTY(TSides FrameSides READ FrameSides WRITE SetFrameSides)
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(bool FrameVisible READ FrameVisible WRITE SetFrameVisible)
    Q_PROPERTY(bool UseFrameController READ UseFrameController WRITE SetUseFrameController)
    Q_PROPERTY(QColor DisabledColor READ DisabledColor WRITE SetDisabledColor)

public:
    enum TComboBoxStyle {
        csDropDown,     // text field with a list to drop down
        csSimple,       // text field alone
        csDropDownList, // one of the items, picked from the list or by typing
    };
    Q_ENUM(TComboBoxStyle)

    enum TFrameStyle {
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
    Q_ENUM(TFrameStyle)

    enum TSide { sdLeft = 0x1, sdTop = 0x2, sdRight = 0x4, sdBottom = 0x8 };
    Q_DECLARE_FLAGS(TSides, TSide)
    Q_FLAG(TSides)

    explicit TCustomFlatComboBox(QWidget* parent = nullptr);

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    // Keeps the items in alphabetical order, letter case aside.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    // The longest text the field takes; 0 for no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);

    // Whether the field takes text that is no item.
    bool AllowEdit() const { return completion_.AllowEdit(); }
    void SetAllowEdit(bool allow);
    bool BeepOnInvalidKey() const { return beepOnInvalidKey_; }
    void SetBeepOnInvalidKey(bool beep) { beepOnInvalidKey_ = beep; }
    // The least width of the dropped-down list; 0 leaves it as wide as the box.
    int DropDownWidth() const { return dropDownWidth_; }
    void SetDropDownWidth(int width);

    // The frame of its own, drawn instead of the usual border while
    // FrameVisible is set.
    bool FlatButtons() const { return flatButtons_; }
    void SetFlatButtons(bool flat);
    QColor FrameColor() const { return frameColor_; }
    void SetFrameColor(const QColor& color);
    // The frame switches between FrameFlatStyle and FrameFocusStyle as the
    // box gains and loses the focus or the pointer.
    bool FrameFlat() const { return frameFlat_; }
    void SetFrameFlat(bool flat);
    TFrameStyle FrameFlatStyle() const { return frameFlatStyle_; }
    void SetFrameFlatStyle(TFrameStyle style);
    TFrameStyle FrameFocusStyle() const { return frameFocusStyle_; }
    void SetFrameFocusStyle(TFrameStyle style);
    TSides FrameSides() const { return frameSides_; }
    void SetFrameSides(TSides sides);
    TFrameStyle FrameStyle() const { return frameStyle_; }
    void SetFrameStyle(TFrameStyle style);
    bool FrameVisible() const { return frameVisible_; }
    void SetFrameVisible(bool visible);
    bool UseFrameController() const { return useFrameController_; }
    void SetUseFrameController(bool use) { useFrameController_ = use; }
    // Text and frame colour while the box is disabled.
    QColor DisabledColor() const { return disabledColor_; }
    void SetDisabledColor(const QColor& color);

    // The part of the text that the user typed, as opposed to the part that
    // completion appended.
    const QString& SearchText() const { return completion_.SearchText(); }
    // The first item that begins with `text`, letter case aside; -1 for none.
    int FindItem(const QString& text) const { return completion_.FindItem(text); }
    // Completes the field from the first item that begins with `typed`.
    bool CompleteText(const QString& typed) { return completion_.CompleteText(typed); }

    // Replaces the whole item list at once. A sorted box sorts the texts
    // before it takes them, so the list is built in its final order: a box
    // of a hundred thousand items fills in a blink and never has to move
    // its items around.
    void SetItems(QStringList texts);

    void setModel(QAbstractItemModel* model) override;
    void showPopup() override;
    void hidePopup() override;

signals:
    void Click();
    void Change();
    void KeyPress(QChar& key);
    void ReturnPressed();
    // Typing was completed from an item.
    void Match();
    void CloseUp();
    void MouseEnter();
    void MouseLeave();
    // The focus left a drop-down box whose text is no item.
    void NotInList();

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
    QString Text() const override;
    int SelStart() const override;
    int SelLength() const override;
    int ItemCount() const override { return count(); }
    QString ItemText(int index) const override { return itemText(index); }
    int ItemIndex() const override { return currentIndex(); }
    void SelectItem(int index) override;
    void SetText(const QString& text) override;
    void SetSelection(int start, int length) override;
    void StandardHandling(QChar key) override;
    void RaiseClick() override { emit Click(); }
    void RaiseChange() override { emit Change(); }
    void RaiseMatch() override { emit Match(); }
    void InvalidKey() override;
    QChar RaiseKeyPress(QChar key) override;

    void ApplyStyle();
    void AdoptTextField();
    void WatchModel();
    void PlaceTextField();
    void TextChangedElsewhere(const QString& text);
    void KeepSorted();
    void DimDisabledText();
    void UpdateFrame();
    void EndTypeAhead();
    bool ButtonShown() const { return style_ != csSimple; }
    QRect ButtonArea() const;
    void PaintOwnFrame(QPainter& painter);
    void PaintSimpleField(QPainter& painter);

    TComboCompletion completion_{*this};
    TComboBoxStyle style_ = csSimple;
    bool sorted_ = false;
    bool sorting_ = false;
    int maxLength_ = 0;
    bool beepOnInvalidKey_ = true;
    int dropDownWidth_ = 0;
    bool flatButtons_ = true;
    QColor frameColor_;
    bool frameFlat_ = false;
    TFrameStyle frameFlatStyle_ = fsStatus;
    TFrameStyle frameFocusStyle_ = fsLowered;
    TSides frameSides_ = TSides(sdLeft | sdTop | sdRight | sdBottom);
    TFrameStyle frameStyle_ = fsFlat;
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
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TCustomFlatComboBox::TSides)

// The flat combo box as the windows place it.
class TFlatComboBox : public TCustomFlatComboBox {
    Q_OBJECT

public:
    using TCustomFlatComboBox::TCustomFlatComboBox;
};
