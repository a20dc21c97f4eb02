#include "Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Room a title bar takes beside the caption: the window's icon and its buttons.
constexpr int kTitleBarControls = 160;

// The width a window needs for the window manager's title bar to show its caption whole: title
// bars set the caption in the application font made bold.
int CaptionWidth(const QString& caption) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(caption) + kTitleBarControls;
}

// A dialog whose contents need less width than its caption gets the caption's width as its
// least. Others are left alone: an explicit minimum width would stop their layout's from
// following their contents.
void FitCaption(QDialog* dialog) {
    const int need = CaptionWidth(dialog->windowTitle());
    if (dialog->minimumWidth() < need && dialog->minimumSizeHint().width() < need)
        dialog->setMinimumWidth(need);
}

// A message box sizes itself to its text when shown, over any minimum width; an empty row across
// its layout makes that text's room at least what the caption needs.
void FitCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const QMargins margins = grid->contentsMargins();
    const int width = CaptionWidth(box.windowTitle()) - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

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
    FitCaption(box);
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
    FitCaption(dialog);
    if (modalHandler()) return modalHandler()(dialog);
    return dialog->exec();
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
    messageBoxHandler() = std::move(handler);
}

void SetModalHandler(ModalHandler handler) {
    modalHandler() = std::move(handler);
}
