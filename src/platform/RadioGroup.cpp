#include "RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

RadioGroup::RadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)) {
    new QGridLayout(this);
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::Clicked);
    SetItems(items);
}

void RadioGroup::SetItems(const QStringList& items) {
    for (QAbstractButton* button : group_->buttons()) {
        group_->removeButton(button);
        delete button;
    }
    for (int i = 0; i < items.size(); ++i)
        group_->addButton(new QRadioButton(items[i], this), i);
    PlaceButtons();
}

void RadioGroup::SetColumns(int columns) {
    columns_ = std::max(1, columns);
    PlaceButtons();
}

void RadioGroup::SetCompact() {
    auto* grid = static_cast<QGridLayout*>(layout());
    grid->setVerticalSpacing(0);
    const QMargins m = grid->contentsMargins();
    grid->setContentsMargins(m.left(), m.top() / 2, m.right(), m.bottom() / 2);
}

// The items run down the first column, then the next, as in the item list.
void RadioGroup::PlaceButtons() {
    auto* grid = static_cast<QGridLayout*>(layout());
    const int count = ItemCount();
    const int rows = (count + columns_ - 1) / columns_;
    for (int i = 0; i < count; ++i) {
        grid->removeWidget(group_->button(i));
        grid->addWidget(group_->button(i), i % std::max(rows, 1), i / std::max(rows, 1));
    }
}

int RadioGroup::ItemCount() const {
    return int(group_->buttons().size());
}

int RadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void RadioGroup::SetItemIndex(int index) {
    if (index < 0 || index >= ItemCount()) {
        // Deselect all: exclusive groups refuse to uncheck their checked button.
        group_->setExclusive(false);
        for (QAbstractButton* button : group_->buttons())
            button->setChecked(false);
        group_->setExclusive(true);
        return;
    }
    group_->button(index)->setChecked(true);
}

QRadioButton* RadioGroup::Button(int index) const {
    return qobject_cast<QRadioButton*>(group_->button(index));
}
