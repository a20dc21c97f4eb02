#include "Pshapez.h"

#include "Panfb.h"
#include "Panreg.h"
#include "Shapemark.h"

#include <QPainter>

namespace {
// A block's output connector is placed 20 below the panel's top, right of its output mark at
// Top + 72; loop connectors 44 below the loop panel's top, right of the mark under that panel.
constexpr int kZigzagTop = 20;
constexpr int kZigzagWidth = 20;
constexpr int kBlockMarkTop = 72;
constexpr int kLoopTop = 44;
constexpr int kLoopWidth = 23;

bool IsZigzag(ShapeZType type) {
    return type <= stZigzag3;
}
} // namespace

TPShapeZ::TPShapeZ(QWidget* owner) : SchemeControl(owner) {
    PutTypeShape(owner, stZigzag0);
}

int TPShapeZ::StartY(ShapeZType type) {
    switch (type) {
    case stCascade:
        return TPanReg::kMarkTopPID + TShapeMark::kLineY - kLoopTop;
    case stProgramSP:
        return TPanReg::kMarkTopPZ + TShapeMark::kLineY - kLoopTop;
    default:
        return kBlockMarkTop + TShapeMark::kLineY - kZigzagTop;
    }
}

int TPShapeZ::EndY(ShapeZType type) {
    if (IsZigzag(type)) // zigzag k reaches input 4 - k
        return TPanFB::InputLineY(TPanFB::kInputs - 1 - int(type)) - kZigzagTop;
    return TPanReg::InputLineY(1) - kLoopTop; // the loop's set point row
}

void TPShapeZ::PutTypeShape(QWidget*, ShapeZType type) {
    type_ = EnumFromRawOrFirst<ShapeZType>(type);
    resize(IsZigzag(type_) ? kZigzagWidth : kLoopWidth, StartY(type_) + TShapeMark::kLineWidth);
    update();
}

void TPShapeZ::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Color());
    const int line = TShapeMark::kLineWidth;
    const int start = StartY(type_);
    const int end = EndY(type_);
    const int mid = width() / 2 - line / 2;
    painter.fillRect(0, start, mid + line, line, Qt::black);
    painter.fillRect(mid, std::min(start, end), line, std::abs(start - end) + line, Qt::black);
    painter.fillRect(mid, end, width() - mid, line, Qt::black);
}
