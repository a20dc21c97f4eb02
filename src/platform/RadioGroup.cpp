#include "RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)) {
    new QVBoxLayout(this);
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::Clicked);
    SetItems(items);
}

void RadioGroup::SetItems(const QStringList& items) {
    for (QAbstractButton* button : group_->buttons()) {
        group_->removeButton(button);
        delete button;
    }
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        layout()->addWidget(button);
    }
}

void RadioGroup::SetCompact() {
    layout()->setSpacing(0);
    const QMargins m = layout()->contentsMargins();
    layout()->setContentsMargins(m.left(), m.top() / 2, m.right(), m.bottom() / 2);
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
