#include "Shape.h"

#include "Colors.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

SchemeControl::SchemeControl(QWidget* owner) : QWidget(owner), color_(clBtnFace()) {
    setMouseTracking(true); // moves are reported without a button held, as the editors expect
}

void SchemeControl::SetColor(const QColor& color) {
    Assign(color_, color);
}

void SchemeControl::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    emit MouseDown(this, event->button(), event->modifiers(), event->position().toPoint());
    event->accept();
}

void SchemeControl::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(this, event->modifiers(), event->position().toPoint());
    event->accept();
}

void SchemeControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit Click(this);
}

void SchemeControl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (doubleClicksToParent_) {
        event->ignore(); // the application hands it on to the parent
        return;
    }
    pressed_ = true;
    event->accept();
    if (event->button() == Qt::LeftButton) emit DblClick(this);
}

void DrawFrame(QPainter& painter, const QRect& rect, const QColor& color) {
    painter.fillRect(rect.left(), rect.top(), rect.width(), 1, color);
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, color);
    painter.fillRect(rect.left(), rect.top(), 1, rect.height(), color);
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), color);
}

QFont FitFont(QFont base, const QString& text, qreal width, int maxPx) {
    for (int px = maxPx; px > kSmallestTextPx; --px) {
        base.setPixelSize(px);
        if (QFontMetricsF(base).horizontalAdvance(text) <= width) return base;
    }
    base.setPixelSize(kSmallestTextPx);
    return base;
}

TShape::TShape(QWidget* owner) : SchemeControl(owner), penColor_(Qt::black) {}

void TShape::SetPenColor(const QColor& color) {
    Assign(penColor_, color);
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    DrawFrame(painter, rect(), penColor_);
}
