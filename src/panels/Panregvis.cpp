#include "Panregvis.h"

#include <QPainter>
#include <cmath>

namespace {
constexpr int kMargin = 2;
constexpr int kTitleHeight = 20;
constexpr int kBoxTop = 27; // the view lays its value editor over this row
constexpr int kBoxHeight = 22;
constexpr int kCaptionTop = 50;
constexpr int kLabelHeight = 14;
constexpr int kBarTop = 84;
constexpr int kBarBottom = 280;
constexpr int kBarWidth = 24;
constexpr int kMarksTop = 302;
constexpr int kMarksHeight = 18;

const std::array<QString, 3> kCaptions{"PV", "SP", "OUT %"};
const std::array<QColor, 3> kBarColors{QColor(0, 90, 200), QColor(0, 150, 60), QColor(230, 120, 0)};

int ColumnLeft(int q) {
    return kMargin + q * (TPanRegVis::kWidth - 2 * kMargin) / 3;
}
int ColumnWidth() {
    return (TPanRegVis::kWidth - 2 * kMargin) / 3 - 2;
}

QString ClassText(int loopClass) {
    static const std::array<QString, 4> names{"повторитель", "одноконтурный", "каскадный", "с ПЗ"};
    return loopClass >= 0 && loopClass < int(names.size()) ? names[loopClass] : QString();
}
} // namespace

TPanRegVis::TPanRegVis(QWidget* owner, int loopNumber, int loopClass)
    : SchemeControl(owner), loopNumber_(loopNumber), loopClass_(loopClass), numberBox_(new PanelPart(this)) {
    resize(kWidth, kHeight);
    numberBox_->setGeometry(kMargin, kMargin, kWidth - 2 * kMargin, kTitleHeight);
    numberBox_->SetText(QString("Рег. №%1  %2").arg(loopNumber).arg(ClassText(loopClass)));
    for (int q = 0; q < kQuantities; ++q) {
        boxes_[q] = new PanelPart(this);
        boxes_[q]->setGeometry(ColumnLeft(q), kBoxTop, ColumnWidth(), kBoxHeight);
        boxes_[q]->SetColor(Qt::white);
        SetValue(Quantity(q), 0);
    }
}

QString TPanRegVis::ValueText(float value) {
    const double v = value;
    const int decimals = (v > -100 && v <= 100) ? 2 : (v > -1000 && v <= 1000) ? 1 : 0;
    return QString::number(v, 'f', decimals);
}

double TPanRegVis::BarShare(float value, float low, float high) {
    if (!(high > low) || !std::isfinite(value)) return 0;
    return std::clamp((double(value) - low) / (double(high) - low), 0.0, 1.0);
}

void TPanRegVis::SetScale(Quantity q, int end, float value) {
    Assign(scales_[q][end], value);
}

void TPanRegVis::SetValue(Quantity q, float value) {
    boxes_[q]->SetText(ValueText(value));
    Assign(values_[q], value);
}

void TPanRegVis::SetColorP_In(const QColor& color) {
    Assign(colorIn_, color);
}

void TPanRegVis::SetColorP_Out(const QColor& color) {
    Assign(colorOut_, color);
}

void TPanRegVis::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    DrawFrame(painter, rect(), kFrameColor);
    QFont font = painter.font();
    font.setPixelSize(kLabelHeight * 2 / 3 + 1);
    painter.setFont(font);
    for (int q = 0; q < kQuantities; ++q) {
        const int left = ColumnLeft(q);
        const int w = ColumnWidth();
        painter.setPen(Qt::black);
        painter.drawText(QRect(left, kCaptionTop, w, kLabelHeight), Qt::AlignCenter, kCaptions[q]);
        const auto [low, high] = scales_[q];
        painter.drawText(QRect(left, kBarTop - kLabelHeight - 2, w, kLabelHeight), Qt::AlignCenter,
                         ValueText(high));
        painter.drawText(QRect(left, kBarBottom + 2, w, kLabelHeight), Qt::AlignCenter, ValueText(low));
        const QRect bar(left + (w - kBarWidth) / 2, kBarTop, kBarWidth, kBarBottom - kBarTop);
        painter.fillRect(bar, Qt::white);
        const int filled = int(std::lround(BarShare(values_[q], low, high) * bar.height()));
        painter.fillRect(QRect(bar.left(), bar.bottom() + 1 - filled, bar.width(), filled), kBarColors[q]);
        DrawFrame(painter, bar, kFrameColor);
    }
    // State marks of the loop's input and output.
    painter.setRenderHint(QPainter::Antialiasing);
    const std::array<std::pair<QString, QColor>, 2> marks{{{"вход", colorIn_}, {"выход", colorOut_}}};
    for (size_t i = 0; i < marks.size(); ++i) {
        const int left = kMargin + int(i) * (kWidth / 2);
        painter.setPen(kFrameColor);
        painter.setBrush(marks[i].second);
        painter.drawEllipse(QRect(left + 4, kMarksTop + 2, kMarksHeight - 4, kMarksHeight - 4));
        painter.setPen(Qt::black);
        painter.drawText(
            QRect(left + kMarksHeight + 4, kMarksTop, kWidth / 2 - kMarksHeight - 8, kMarksHeight),
            Qt::AlignLeft | Qt::AlignVCenter, marks[i].first);
    }
}
