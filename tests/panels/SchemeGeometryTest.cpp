// Panels placed at the editors' offsets join up: output marks continue the block's output level,
// connectors end on the inputs they are shaped for, the relay line meets the relay connector,
// and a loop's connectors reach the set point row of the loop they feed.
#include "PanelTestSupport.h"

#include "Panfb.h"
#include "Panmr.h"
#include "Panreg.h"
#include "Pansign.h"
#include "Pshapez.h"
#include "Shapehorz.h"
#include "Shapemark.h"

#include <gtest/gtest.h>

namespace {

// A block at column col of row 0, with its output mark and output connector, as the scheme places them.
struct BlockRow {
    TPanFB* panel;
    TShapeMark* mark;
    TPShapeZ* connector;
};

BlockRow PlaceBlock(QWidget* scheme, int col, int number)
{
    BlockRow b;
    b.panel = new TPanFB(scheme, number, ftOR);
    b.panel->move(col * 250, 15);
    b.mark = new TShapeMark(scheme, number);
    b.mark->move(b.panel->Left() + 150, b.panel->Top() + 72);
    b.connector = new TPShapeZ(scheme);
    b.connector->move(b.mark->Left() + 80, b.panel->Top() + 20);
    return b;
}

} // namespace

TEST(SchemeGeometry, BlockConnectorsReachTheInputTheirShapeNames)
{
    QWidget scheme;
    scheme.resize(820, 130);
    const BlockRow a = PlaceBlock(&scheme, 0, 1);
    const BlockRow b = PlaceBlock(&scheme, 1, 2);
    for (int j = 0; j < TPanFB::kInputs; ++j) {
        SCOPED_TRACE(j);
        // zigzag 3 - j reaches input j of the next block
        a.connector->PutTypeShape(&scheme, ShapeZType(TPanFB::kInputs - 1 - j));
        const QImage image = Render(&scheme, 1, QString("scheme_block_input%1").arg(j + 1));
        const int inputY = b.panel->Top() + TPanFB::InputLineY(j);
        const int outputY = a.mark->Top() + TShapeMark::kLineY;
        EXPECT_EQ(outputY, a.panel->Top() + TPanFB::InputLineY(3)); // the output leaves at input 4's level
        EXPECT_TRUE(IsDark(PixelAt(image, {a.panel->Left() + 149, outputY}))); // body edge
        EXPECT_TRUE(IsDark(PixelAt(image, {a.mark->Left() + 40, outputY})));
        EXPECT_TRUE(IsDark(PixelAt(image, {a.connector->Left(), outputY})));
        EXPECT_TRUE(IsDark(PixelAt(image, {a.connector->Left() + 19, inputY})));
        EXPECT_TRUE(IsDark(PixelAt(image, {b.panel->Left(), inputY}))); // the input box's edge
        // and on the other inputs' levels nothing arrives
        const int otherY = b.panel->Top() + TPanFB::InputLineY((j + 1) % TPanFB::kInputs);
        EXPECT_FALSE(IsDark(PixelAt(image, {a.connector->Left() + 19, otherY})));
    }
}

TEST(SchemeGeometry, SignallingAndRelayElementsMeetTheBlockOutput)
{
    QWidget scheme;
    scheme.resize(820, 130);
    const BlockRow a = PlaceBlock(&scheme, 1, 1);
    a.connector->PutTypeShape(&scheme, stZigzag2);
    auto* line = new TShapeHorz(&scheme);
    line->setGeometry(a.panel->Left() + 250, a.panel->Top() + 44, 500 - 250, line->Height());
    auto* relay = new TPanMR(&scheme, 1);
    relay->move(750, a.panel->Top() + 24);
    relay->ActiveMR(&scheme, 0, 0x03);
    auto* signConnector = new TPShapeZ(&scheme);
    signConnector->PutTypeShape(&scheme, stZigzag2);
    signConnector->move(a.panel->Left() + 192, a.panel->Top() + 17);
    auto* sign = new TPanSign(&scheme, 1, 4, 1);
    sign->move(a.panel->Left() + 165, a.panel->Top() + 10);
    const QImage image = Render(&scheme, 1, "scheme_block_relay_sign");

    const int relayY = line->Top();
    EXPECT_TRUE(IsDark(PixelAt(image, {a.connector->Left() + 19, relayY})));
    EXPECT_TRUE(IsDark(PixelAt(image, {line->Left(), relayY})));
    EXPECT_TRUE(IsDark(PixelAt(image, {line->Left() + line->Width() - 1, relayY})));
    EXPECT_TRUE(IsDark(PixelAt(image, {relay->Left(), relayY}))); // the relay panel's edge
    EXPECT_GE(relayY, relay->Top());
    EXPECT_LT(relayY, relay->Top() + relay->Height());
    // The signalling connector runs up from the output level into the signalling panel.
    const int riseX = signConnector->Left() + signConnector->Width() / 2;
    EXPECT_TRUE(IsDark(PixelAt(image, {riseX, sign->Top() + sign->Height()})));
    EXPECT_TRUE(IsDark(PixelAt(image, {riseX, a.mark->Top() + TShapeMark::kLineY - 4})));
}

TEST(SchemeGeometry, LoopConnectorsReachTheSetPointRow)
{
    QWidget scheme;
    scheme.resize(640, 330);
    const int frameLeft = 24;
    auto* outer = new TPanReg(&scheme, 1, rtPID, toDirect, rfcNone);
    outer->move(frameLeft + 20, 15);
    auto* inner = new TPanReg(&scheme, 2, rtPID, toDirect, rfcNone);
    inner->move(frameLeft + 232, 15);
    auto* mark = new TShapeMark(&scheme, 1);
    mark->SetMark("на рег 2");
    mark->move(outer->Left() + 109, outer->Top() + 168);
    auto* cascade = new TPShapeZ(&scheme);
    cascade->PutTypeShape(&scheme, stCascade);
    cascade->move(mark->Left() + 80, outer->Top() + 44);
    const QImage image = Render(&scheme, 1, "scheme_cascade");

    const int spY = inner->Top() + TPanReg::InputLineY(1);
    EXPECT_EQ(outer->Top() + outer->Height(), mark->Top()); // the mark sits right under the loop
    EXPECT_TRUE(IsDark(PixelAt(image, {cascade->Left(), mark->Top() + TShapeMark::kLineY})));
    EXPECT_TRUE(IsDark(PixelAt(image, {cascade->Left() + cascade->Width() - 1, spY})));
    EXPECT_TRUE(IsDark(PixelAt(image, {inner->Left(), spY})));
    EXPECT_LE(outer->Left() + outer->Width(), cascade->Left()); // panels side by side do not overlap

    // A program set point feeds its loop's set point row the same way.
    QWidget frame;
    frame.resize(640, 330);
    auto* pz = new TPanReg(&frame, 1, rtPZ, toDirect, rfcNone);
    pz->move(frameLeft + 20, 15);
    auto* loop = new TPanReg(&frame, 1, rtPID, toDirect, rfcNone);
    loop->move(frameLeft + 232, 15);
    auto* pzMark = new TShapeMark(&frame, 1);
    pzMark->SetMark("на рег 1");
    pzMark->move(pz->Left() + 109, pz->Top() + 216);
    auto* feed = new TPShapeZ(&frame);
    feed->PutTypeShape(&frame, stProgramSP);
    feed->move(pzMark->Left() + 80, pz->Top() + 44);
    const QImage pzImage = Render(&frame, 1, "scheme_program_sp");
    EXPECT_EQ(pz->Top() + pz->Height(), pzMark->Top());
    EXPECT_TRUE(IsDark(PixelAt(pzImage, {feed->Left(), pzMark->Top() + TShapeMark::kLineY})));
    EXPECT_TRUE(IsDark(PixelAt(pzImage, {feed->Left() + feed->Width() - 1, spY})));
    EXPECT_TRUE(IsDark(PixelAt(pzImage, {loop->Left(), spY})));
}
