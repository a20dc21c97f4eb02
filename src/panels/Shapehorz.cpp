#include "Shapehorz.h"

#include "Shapemark.h"

#include <QPainter>

TShapeHorz::TShapeHorz(QWidget* owner) : SchemeControl(owner) {
    resize(100, kHeight);
}

void TShapeHorz::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    painter.fillRect(0, 0, width(), TShapeMark::kLineWidth, Qt::black);
}
