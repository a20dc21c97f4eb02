#include "Panmr.h"

#include "Colors.h"

#include <QPainter>

namespace {
constexpr int kMargin = 2;
bool ValidModule(int module) {
    return module >= 0 && module < TPanMR::kModules;
}
} // namespace

TPanMR::TPanMR(QWidget* owner, int number) : SchemeControl(owner), number_(number) {
    resize(kWidth, kHeight);
}

void TPanMR::ActiveMR(QWidget*, int module, uint8_t mask) {
    SetMask(module, mask);
}

void TPanMR::PassiveMR(QWidget*, int module) {
    SetMask(module, 0);
}

void TPanMR::SetMask(int module, uint8_t mask) {
    if (!ValidModule(module)) return;
    masks_[module] = mask;
    QStringList lines;
    for (int m = 0; m < kModules; ++m)
        if (masks_[m] != 0) lines.append(ModuleText(m));
    setToolTip(lines.join('\n'));
    update();
}

uint8_t TPanMR::Mask(int module) const {
    return ValidModule(module) ? masks_[module] : 0;
}

QString TPanMR::ModuleText(int module) const {
    QStringList relays;
    for (int r = 0; r < kRelays; ++r)
        if (Mask(module) & (1u << r)) relays.append(QString::number(r + 1));
    return QString("МР%1:  ").arg(module + 1) + relays.join(',');
}

QString TPanMR::Hint(int module) const {
    return Mask(module) != 0 ? ModuleText(module) + ' ' : QString();
}

void TPanMR::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    DrawFrame(painter, rect(), kFrameColor);
    painter.setPen(kFrameColor);
    const double cellW = double(width() - 2 * kMargin) / kRelays;
    const double cellH = double(height() - 2 * kMargin) / kModules;
    const QColor active = TColorToQColor(0x008080);
    for (int m = 0; m < kModules; ++m)
        for (int r = 0; r < kRelays; ++r) {
            const QRectF cell(kMargin + r * cellW, kMargin + m * cellH, cellW, cellH);
            painter.setBrush((masks_[m] & (1u << r)) ? active : QColor(Qt::white));
            painter.drawRect(cell.adjusted(0.5, 0.5, -0.5, -0.5));
        }
}
