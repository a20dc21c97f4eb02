#include "Shape.h"

#include "Colors.h"

#include <QMouseEvent>
#include <QPainter>

SchemeControl::SchemeControl(QWidget* owner) : QWidget(owner), color_(clBtnFace())
{
    setMouseTracking(true); // moves are reported without a button held, as the editors expect
}

void SchemeControl::SetColor(const QColor& color) { Assign(color_, color); }

void SchemeControl::mousePressEvent(QMouseEvent* event)
{
    pressed_ = true;
    emit MouseDown(this, event->button(), event->modifiers(), event->position().toPoint());
    event->accept();
}

void SchemeControl::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(this, event->modifiers(), event->position().toPoint());
    event->accept();
}

void SchemeControl::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit Click(this);
}

void SchemeControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    pressed_ = true;
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit DblClick(this);
}

TShape::TShape(QWidget* owner) : SchemeControl(owner), penColor_(Qt::black) {}

void TShape::SetPenColor(const QColor& color) { Assign(penColor_, color); }

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    painter.setPen(penColor_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
