#include "Shapemark.h"

#include <QPainter>

namespace {
constexpr int kCaptionLeft = 4;
} // namespace

TShapeMark::TShapeMark(QWidget* owner, int number)
    : SchemeControl(owner), number_(number), mark_(QString("ФБ%1").arg(number)) {
    resize(kWidth, kHeight);
}

void TShapeMark::SetMark(const QString& text) {
    Assign(mark_, text);
}

void TShapeMark::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    painter.fillRect(0, kLineY, width(), kLineWidth, Qt::black);
    painter.setPen(Qt::black);
    const QRect caption(kCaptionLeft, 0, width() - kCaptionLeft, kLineY);
    painter.setFont(FitFont(painter.font(), mark_, caption.width(), kLineY * 3 / 5));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignBottom, mark_);
}
