#pragma once
// The edits of the local-network block editors: leaving an edit runs its exit check, keys are
// filtered to decimal (or hexadecimal) digits, Enter moves to the next control.

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "ServInput.h"
#include "TServClass.h"

// Handles event of edit; true when the event is consumed. exit runs once per real leave (a box
// shown meanwhile takes the focus for a while: that is no leave).
template <class Exit> bool FilterNetEdit(QLineEdit* edit, QEvent* event, bool hex, bool& inExit, Exit exit) {
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (!inExit && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            inExit = true;
            exit();
            inExit = false;
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int r = hex ? ServInput::KeyFilterHexDigits(edit, key) : ServInput::KeyFilterDigits(edit, key);
        if (r == 1) return true;
        if (r == 13) {
            if (QWidget* next = edit->nextInFocusChain()) next->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return false;
}
