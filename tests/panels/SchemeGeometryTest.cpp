// Panels placed at the editors' offsets join up at 100 % and at 200 %: output marks continue the
// block's output level, connectors end on the inputs they are shaped for, the relay line meets the
// relay connector, and a loop's connectors reach the set point row of the loop they feed. Every
// element on these schemes is also checked to scale its drawing with the screen.
#include "PanelTestSupport.h"

#include <tuple>

namespace {

// A block at column col of row 0, with its output mark and output connector, as the scheme places them.
struct BlockRow {
    TPanFB* panel;
    TShapeMark* mark;
    TPShapeZ* connector;
};

BlockRow PlaceBlock(QWidget* scheme, int col, int number) {
    BlockRow b;
    b.panel = new TPanFB(scheme, number, ftOR);
    b.panel->move(col * 250, 15);
    b.panel->PutIdVh(0, "Вход 1");
    b.panel->PutTInp(1, itInverse);
    b.mark = new TShapeMark(scheme, number);
    b.mark->move(b.panel->Left() + 150, b.panel->Top() + 72);
    b.connector = new TPShapeZ(scheme);
    b.connector->move(b.mark->Left() + 80, b.panel->Top() + 20);
    return b;
}

} // namespace

TEST(SchemeGeometry, BlockConnectorsReachTheInputTheirShapeNames) {
    QWidget scheme;
    scheme.resize(820, 130);
    const BlockRow a = PlaceBlock(&scheme, 0, 1);
    const BlockRow b = PlaceBlock(&scheme, 1, 2);
    const int outputY = a.mark->Top() + TShapeMark::kLineY;
    EXPECT_EQ(outputY, a.panel->Top() + TPanFB::InputLineY(3)); // the output leaves at input 4's level
    for (int j = 0; j < TPanFB::kInputs; ++j) {
        // zigzag 3 - j reaches input j of the next block
        a.connector->PutTypeShape(&scheme, ShapeZType(TPanFB::kInputs - 1 - j));
        const auto images = RenderScaled(&scheme, QString("scheme_block_input%1").arg(j + 1));
        for (const QImage& image : images) {
            SCOPED_TRACE(
                QString("input %1 at %2 %").arg(j + 1).arg(image.devicePixelRatio() * 100).toStdString());
            const int inputY = b.panel->Top() + TPanFB::InputLineY(j);
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
}

TEST(SchemeGeometry, SignallingAndRelayElementsMeetTheBlockOutput) {
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

    const int relayY = line->Top();
    EXPECT_GE(relayY, relay->Top());
    EXPECT_LT(relayY, relay->Top() + relay->Height());
    const int riseX = signConnector->Left() + signConnector->Width() / 2;
    for (const QImage& image : RenderScaled(&scheme, "scheme_block_relay_sign")) {
        SCOPED_TRACE(image.devicePixelRatio() * 100);
        EXPECT_TRUE(IsDark(PixelAt(image, {a.connector->Left() + 19, relayY})));
        EXPECT_TRUE(IsDark(PixelAt(image, {line->Left(), relayY})));
        EXPECT_TRUE(IsDark(PixelAt(image, {line->Left() + line->Width() - 1, relayY})));
        EXPECT_TRUE(IsDark(PixelAt(image, {relay->Left(), relayY}))); // the relay panel's edge
        // The signalling connector runs up from the output level into the signalling panel.
        EXPECT_TRUE(IsDark(PixelAt(image, {riseX, sign->Top() + sign->Height()})));
        EXPECT_TRUE(IsDark(PixelAt(image, {riseX, a.mark->Top() + TShapeMark::kLineY - 4})));
    }
}

TEST(SchemeGeometry, LoopConnectorsReachTheSetPointRow) {
    // A cascade's outer loop feeds its inner loop, a program set point its loop: the feeding panel
    // at frame left + 20 with its mark right under it, the fed loop at frame left + 232.
    const int frameLeft = 24;
    for (const auto& [kind, shape, name] : {std::tuple{rtPID, stCascade, "scheme_cascade"},
                                            std::tuple{rtPZ, stProgramSP, "scheme_program_sp"}}) {
        SCOPED_TRACE(name);
        QWidget frame;
        frame.resize(640, 330);
        auto* feeder = new TPanReg(&frame, 1, kind, toDirect, rfcNone);
        feeder->move(frameLeft + 20, 15);
        feeder->PutTime(0, 30);
        feeder->PutKP(1.5f);
        auto* loop = new TPanReg(&frame, 2, rtPID, toDirect, rfcNone);
        loop->move(frameLeft + 232, 15);
        loop->SetIdVh2("SP");
        auto* mark = new TShapeMark(&frame, 1);
        mark->SetMark("на рег 2");
        mark->move(feeder->Left() + 109, feeder->Top() + (kind == rtPZ ? 216 : 168));
        auto* feed = new TPShapeZ(&frame);
        feed->PutTypeShape(&frame, shape);
        feed->move(mark->Left() + 80, feeder->Top() + 44);

        const int spY = loop->Top() + TPanReg::InputLineY(1);
        EXPECT_EQ(feeder->Top() + feeder->Height(), mark->Top());
        EXPECT_LE(feeder->Left() + feeder->Width(), feed->Left()); // side by side, not overlapping
        for (const QImage& image : RenderScaled(&frame, name)) {
            SCOPED_TRACE(image.devicePixelRatio() * 100);
            EXPECT_TRUE(IsDark(PixelAt(image, {feed->Left(), mark->Top() + TShapeMark::kLineY})));
            EXPECT_TRUE(IsDark(PixelAt(image, {feed->Left() + feed->Width() - 1, spY})));
            EXPECT_TRUE(IsDark(PixelAt(image, {loop->Left(), spY})));
        }
    }
}
