#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QFileDialog>

ScriptedMessageBoxes::ScriptedMessageBoxes() {
    SetMessageBoxHandler([this](QWidget*, const MessageBoxRequest& request) {
        ++shown_;
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected message box: \"" << request.text.toStdString() << "\" caption \""
                          << request.caption.toStdString() << "\"";
            return int(mrCancel);
        }
        const Entry entry = script_.front();
        script_.pop_front();
        EXPECT_EQ(request.text.toStdString(), entry.text.toStdString());
        EXPECT_EQ(request.caption.toStdString(), entry.caption.toStdString());
        if (entry.checkStyle) {
            EXPECT_EQ(int(request.buttons), int(entry.buttons)) << request.text.toStdString();
            EXPECT_EQ(int(request.icon), int(entry.icon)) << request.text.toStdString();
            EXPECT_EQ(request.defaultButton, entry.defaultButton) << request.text.toStdString();
        }
        return entry.answer;
    });
}

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
    SetMessageBoxHandler({});
    for (const Entry& entry : script_)
        ADD_FAILURE() << "expected message box never shown: \"" << entry.text.toStdString() << "\"";
}

ScriptedModals::ScriptedModals() {
    SetModalHandler([this](QDialog* dialog) {
        ++shown_;
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected modal window: " << dialog->metaObject()->className() << " \""
                          << dialog->windowTitle().toStdString() << "\"";
            return int(mrCancel);
        }
        Handler handler = script_.front();
        script_.pop_front();
        return handler(dialog);
    });
}

ScriptedModals::~ScriptedModals() {
    SetModalHandler({});
    if (!script_.empty()) ADD_FAILURE() << script_.size() << " expected modal window(s) never shown";
}

ScriptedModals::Handler ChooseFile(const QString& path) {
    return [path](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        EXPECT_NE(files, nullptr);
        if (files) files->selectFile(path);
        return int(QDialog::Accepted);
    };
}
