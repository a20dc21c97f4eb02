#include "Pansign.h"

#include <QPainter>
#include <array>

namespace {
constexpr int kTypes = 4;
constexpr int kCellLeft = 34; // the cell number's column
int CheckedType(int type) {
    return type >= 0 && type < kTypes ? type : 0;
}
} // namespace

TPanSign::TPanSign(QWidget* owner, int type, int cell, int number) : SchemeControl(owner), number_(number) {
    resize(kWidth, kHeight);
    PutNTabS(owner, type, cell);
}

QString TPanSign::TypeText(int type) {
    static const std::array<QString, kTypes> names{"", "ПС", "АС", "ИС"};
    return names[CheckedType(type)];
}

void TPanSign::PutTipS(QWidget*, int type) {
    Assign(type_, CheckedType(type));
}

void TPanSign::PutNTabS(QWidget* owner, int type, int cell) {
    cell_ = cell;
    PutTipS(owner, type);
}

void TPanSign::paintEvent(QPaintEvent*) {
    static const std::array<QColor, kTypes> lamps{Qt::lightGray, Qt::yellow, Qt::red, Qt::green};
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    DrawFrame(painter, rect(), kFrameColor);
    painter.fillRect(kCellLeft - 2, 0, 1, height(), kFrameColor);
    painter.setPen(kFrameColor);

    QFont font = painter.font();
    font.setPixelSize(std::max(kSmallestTextPx, height() * 2 / 5));
    font.setBold(true);
    painter.setFont(font);
    const QRect lamp = QRect(3, 3, kCellLeft - 8, height() - 6);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(lamps[type_]);
    painter.drawEllipse(lamp);
    painter.setPen(Qt::black);
    painter.drawText(lamp, Qt::AlignCenter, TypeText(type_));
    if (cell_ != 0)
        painter.drawText(QRect(kCellLeft, 0, width() - kCellLeft, height()), Qt::AlignCenter,
                         QString::number(cell_));
}
