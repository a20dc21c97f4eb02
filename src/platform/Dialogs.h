#pragma once
// The message-box and modal-window services every window goes through, so that tests can
// script the user's answers.

#include <QString>
#include <functional>

class QWidget;
class QDialog;

// Modal results with the numbers the device tool has always used.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Information, Warning, Error, Question };

struct MessageBoxRequest {
    QString text;
    QString caption;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    int defaultButton = mrNone; // a ModalResult; mrNone = the first button
};

// Shows a message box and returns the ModalResult of the button pressed.
int MessageBox(QWidget* parent, const QString& text, const QString& caption,
               MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None, int defaultButton = mrNone);

// Shows a dialog modally and returns its modal result.
int ShowModal(QDialog* dialog);

using MessageBoxHandler = std::function<int(QWidget* parent, const MessageBoxRequest&)>;
using ModalHandler = std::function<int(QDialog*)>;

// Replace the interactive implementations (tests). An empty handler restores the default.
void SetMessageBoxHandler(MessageBoxHandler handler);
void SetModalHandler(ModalHandler handler);
