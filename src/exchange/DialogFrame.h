#pragma once
// The layout both exchange dialogs share: their rows of settings above OK and Cancel.

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

template <class Form> void LayOutSettings(Form* dialog, QFormLayout* rows, void (Form::*ok)()) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, ok);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(rows);
    layout->addWidget(buttons);
}
