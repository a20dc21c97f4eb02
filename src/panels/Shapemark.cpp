#include "Shapemark.h"

#include <QPainter>

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
    QFont font = painter.font();
    font.setPixelSize(std::max(6, kLineY * 3 / 5));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRect caption(4, 0, width() - 4, kLineY);
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignBottom,
                     painter.fontMetrics().elidedText(mark_, Qt::ElideRight, caption.width()));
}
