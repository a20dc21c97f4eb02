#pragma once
// Which show and hide events open and close a window. The window manager's minimise and restore
// hide and show a window spontaneously; they are neither an opening nor a closing, so a window
// runs its opening logic (resetting what it shows, starting its polling) and its closing logic
// (stopping its polling) only on the events these functions accept. Every window's showEvent and
// hideEvent asks them.

#include <QHideEvent>
#include <QShowEvent>

inline bool IsOpening(const QShowEvent* event) {
    return !event->spontaneous();
}

inline bool IsClosing(const QHideEvent* event) {
    return !event->spontaneous();
}
