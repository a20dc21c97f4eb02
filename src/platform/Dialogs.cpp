#include "Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

MessageBoxHandler& messageBoxHandler() {
    static MessageBoxHandler handler;
    return handler;
}

ModalHandler& modalHandler() {
    static ModalHandler handler;
    return handler;
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int result;
};

QList<ButtonSpec> buttonsOf(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OK:
        return {{QMessageBox::Ok, mrOk}};
    case MsgButtons::OKCancel:
        return {{QMessageBox::Ok, mrOk}, {QMessageBox::Cancel, mrCancel}};
    case MsgButtons::YesNo:
        return {{QMessageBox::Yes, mrYes}, {QMessageBox::No, mrNo}};
    case MsgButtons::YesNoCancel:
        return {{QMessageBox::Yes, mrYes}, {QMessageBox::No, mrNo}, {QMessageBox::Cancel, mrCancel}};
    case MsgButtons::RetryCancel:
        return {{QMessageBox::Retry, mrRetry}, {QMessageBox::Cancel, mrCancel}};
    }
    return {{QMessageBox::Ok, mrOk}};
}

QMessageBox::Icon iconOf(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

int showInteractive(QWidget* parent, const MessageBoxRequest& request) {
    QMessageBox box(iconOf(request.icon), request.caption, request.text, QMessageBox::NoButton, parent);
    const auto choices = buttonsOf(request.buttons);
    int escapeResult = choices.back().result;
    for (const auto& choice : choices) {
        QPushButton* button = box.addButton(choice.button);
        if (choice.result == request.defaultButton) box.setDefaultButton(button);
    }
    box.setEscapeButton(box.button(choices.back().button));
    box.exec();
    for (const auto& choice : choices)
        if (box.clickedButton() == box.button(choice.button)) return choice.result;
    return escapeResult;
}

} // namespace

int MessageBox(QWidget* parent, const QString& text, const QString& caption, MsgButtons buttons, MsgIcon icon,
               int defaultButton) {
    const MessageBoxRequest request{text, caption, buttons, icon, defaultButton};
    if (messageBoxHandler()) return messageBoxHandler()(parent, request);
    return showInteractive(parent, request);
}

int ShowModal(QDialog* dialog) {
    if (modalHandler()) return modalHandler()(dialog);
    return dialog->exec();
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
    messageBoxHandler() = std::move(handler);
}

void SetModalHandler(ModalHandler handler) {
    modalHandler() = std::move(handler);
}
