#include "Colors.h"

#include <QApplication>
#include <QPalette>

QColor clBtnFace() {
    return QApplication::palette().color(QPalette::Button);
}
