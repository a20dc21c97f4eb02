#include "Panelpart.h"

#include <QPainter>

namespace {
constexpr int kPad = 2;
constexpr double kFontPerLine = 0.72; // font pixel size as a share of one line's band
constexpr int kMaxFontPx = 12;        // so few lines in a tall box do not grow past the others
} // namespace

PanelPart::PanelPart(QWidget* parent) : SchemeControl(parent) {}

void PanelPart::SetLines(const QStringList& lines) {
    Assign(lines_, lines);
}

void PanelPart::SetAlignment(Qt::Alignment alignment) {
    Assign(alignment_, alignment);
}

void PanelPart::SetFramed(bool framed) {
    Assign(framed_, framed);
}

void PanelPart::SetBoldFirstLine(bool bold) {
    Assign(boldFirst_, bold);
}

void PanelPart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintBox(painter, rect());
}

void PanelPart::PaintBox(QPainter& painter, const QRect& box) const {
    painter.fillRect(box, Color());
    if (framed_) {
        DrawFrame(painter, box, kFrameColor);
    }
    if (lines_.isEmpty()) return;
    const QRect inner = box.adjusted(kPad, kPad, -kPad, -kPad);
    const double band = double(inner.height()) / lines_.size();
    painter.setPen(Qt::black);
    for (int i = 0; i < lines_.size(); ++i) {
        const QRect line(inner.left(), inner.top() + int(i * band), inner.width(), int(band));
        QFont font = painter.font();
        font.setBold(boldFirst_ && i == 0);
        const int largest = std::clamp(int(band * kFontPerLine), kSmallestTextPx, kMaxFontPx);
        painter.setFont(FitFont(font, lines_[i], line.width(), largest));
        painter.drawText(line, int((alignment_ & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter), lines_[i]);
    }
}

TInputBox::TInputBox(QWidget* parent) : PanelPart(parent) {
    SetAlignment(Qt::AlignLeft);
}

void TInputBox::SetType(InputType type) {
    Assign(type_, EnumFromRawOrFirst<InputType>(type));
}

void TInputBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box(0, 0, width() - kLeadWidth, height());
    PaintBox(painter, box);
    painter.fillRect(QRect(box.right() + 1, 0, kLeadWidth, height()), Color());
    const int mid = height() / 2;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    if (type_ == itInverse) {
        const int r = kLeadWidth / 2 - 1;
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPoint(box.right() + 1 + kLeadWidth / 2, mid), r, r);
    } else {
        painter.drawLine(box.right() + 1, mid, width(), mid);
    }
}
