#pragma once
// The layout both exchange dialogs share: their rows of settings above OK and Cancel.

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

// OK is the default button every time: Cancel never becomes the default by holding the focus,
// so Enter confirms even after an earlier Cancel.
template <class Form> void LayOutSettings(Form* dialog, QFormLayout* rows, void (Form::*ok)()) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, ok);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(rows);
    layout->addWidget(buttons);
}
