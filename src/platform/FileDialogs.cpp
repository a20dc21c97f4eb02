#include "FileDialogs.h"

#include "Dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>

QFileDialog* NewOpenFileDialog(QWidget* parent, const QString& caption, const QString& filter,
                               const QString& defaultSuffix) {
    auto* dialog = new QFileDialog(parent, caption, QString(), filter);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(defaultSuffix);
    return dialog;
}

SaveFileDialog::SaveFileDialog(QWidget* parent, const QString& caption, const QString& filter,
                               const QString& defaultSuffix)
    : QFileDialog(parent, caption, QString(), filter) {
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::DontConfirmOverwrite);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setDefaultSuffix(defaultSuffix);
}

void SaveFileDialog::accept() {
    const QFileInfo file(selectedFiles().value(0));
    if (file.exists() && !file.isDir()) {
        // Qt's own question, in the language of its dialogs.
        const QString question =
            QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                .arg(file.fileName());
        if (MessageBox(this, question, windowTitle(), MsgButtons::YesNo, MsgIcon::Warning, mrNo) != mrYes)
            return;
    }
    QFileDialog::accept();
}
