#include "FlatComboBox.h"

#include <QAbstractItemView>
#include <QIcon>
#include <QListView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <utility>

// The owner-drawn styles: the list's items and the box's face are drawn by
// the owner's handler, and a csOwnerDrawVariable box asks it for each item's
// height.

namespace {

class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    OwnerDrawDelegate(QObject* parent, const CustomFlatComboBox::DrawItemHandler& draw,
                      const CustomFlatComboBox::MeasureItemHandler& measure,
                      const CustomFlatComboBox::ComboBoxStyle& style)
        : QStyledItemDelegate(parent)
        , draw_(draw)
        , measure_(measure)
        , style_(style) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!draw_) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const CustomFlatComboBox::ItemDrawState state{option.state.testFlag(QStyle::State_Selected),
                                                      option.state.testFlag(QStyle::State_HasFocus),
                                                      false};
        painter->save();
        draw_(*painter, option.rect, index.row(), state);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (style_ == CustomFlatComboBox::csOwnerDrawVariable && measure_) {
            size.setHeight(std::max(1, measure_(index.row())));
        }
        return size;
    }

private:
    const CustomFlatComboBox::DrawItemHandler& draw_;
    const CustomFlatComboBox::MeasureItemHandler& measure_;
    const CustomFlatComboBox::ComboBoxStyle& style_;
};

} // namespace

void CustomFlatComboBox::setDrawItemHandler(DrawItemHandler handler) {
    drawItem_ = std::move(handler);
    update();
    view()->viewport()->update();
}

void CustomFlatComboBox::setMeasureItemHandler(MeasureItemHandler handler) {
    measureItem_ = std::move(handler);
    view()->doItemsLayout();
}

// The list takes the owner's delegate in the owner-drawn styles and gets its
// own back in the others. Items of one height need not be measured each.
void CustomFlatComboBox::applyOwnerDraw() {
    if (listDelegate_ == nullptr) {
        listDelegate_ = itemDelegate();
    }
    if (ownerDrawn() && ownerDrawDelegate_ == nullptr) {
        ownerDrawDelegate_ = new OwnerDrawDelegate(this, drawItem_, measureItem_, style_);
    }
    QAbstractItemDelegate* wanted = ownerDrawn() ? ownerDrawDelegate_ : listDelegate_;
    if (itemDelegate() != wanted) {
        setItemDelegate(wanted);
    }
    if (auto* list = qobject_cast<QListView*>(view())) {
        list->setUniformItemSizes(style_ != csOwnerDrawVariable);
    }
}

// The box's frame and button as the style draws them, and in the field the
// current item as the owner draws it.
void CustomFlatComboBox::paintOwnerDrawnFace() {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) {
        return;
    }
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.save();
    painter.setClipRect(field);
    drawItem_(painter, field, currentIndex(), {hasFocus(), hasFocus(), true});
    painter.restore();
}
