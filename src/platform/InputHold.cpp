#include "InputHold.h"

#include <QApplication>
#include <QEvent>
#include <memory>
#include <vector>

InputHold::InputHold() {
    if (qApp) {
        qApp->installEventFilter(this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

InputHold::~InputHold() {
    if (qApp) QApplication::restoreOverrideCursor();
}

bool InputHold::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Drop:
    case QEvent::Close:
        event->ignore();
        return true;
    default:
        return false;
    }
}

namespace {

std::vector<std::unique_ptr<InputHold>>& Holds() {
    static std::vector<std::unique_ptr<InputHold>> holds;
    return holds;
}

} // namespace

void HoldInput() {
    Holds().push_back(std::make_unique<InputHold>());
}

void ReleaseInput() {
    if (!Holds().empty()) Holds().pop_back();
}
