// Each panel kind rendered offscreen at 100 % and 200 %: the expected size, content drawn, and
// the drawing scaled with the screen rather than clipped or left at its 100 % size.
#include "PanelTestSupport.h"

#include "Panfb.h"
#include "Panmr.h"
#include "Panreg.h"
#include "Panregvis.h"
#include "Pansign.h"
#include "Pshapez.h"
#include "Shapehorz.h"
#include "Shapemark.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct PanelCase {
    const char* name;
    QSize size;
    std::function<QWidget*()> make;
};

std::function<QWidget*()> Connector(ShapeZType shape) {
    return [shape] {
        auto* p = new TPShapeZ(nullptr);
        p->PutTypeShape(nullptr, shape);
        return p;
    };
}

std::vector<PanelCase> Cases() {
    return {
        {"fb_and",
         {150, 106},
         [] {
             auto* p = new TPanFB(nullptr, 12, ftAND);
             p->PutIdVh(0, "Вход 1");
             p->PutIdVh(1, "ФБ11");
             p->PutTInp(1, itInverse);
             p->PutIdVh(3, "КВУ121");
             return p;
         }},
        {"fb_timer",
         {150, 106},
         [] {
             auto* p = new TPanFB(nullptr, 3, ftTimer);
             p->SetTimer(T2);
             p->SetTimerD(tdsec);
             p->SetTime(120);
             p->PutIdVh(0, "Д7");
             return p;
         }},
        {"fb_comparator",
         {150, 106},
         [] {
             auto* p = new TPanFB(nullptr, 40, ftComparator);
             p->SetCompCond(ccH);
             p->PutLimit(25.5f);
             p->PutGisterezis(5);
             p->PutIdVh(0, "МБ2");
             return p;
         }},
        {"sign", {56, 32}, [] { return new TPanSign(nullptr, 2, 17, 5); }},
        {"relay",
         {64, 42},
         [] {
             auto* p = new TPanMR(nullptr, 5);
             p->ActiveMR(nullptr, 0, 0x05);
             p->ActiveMR(nullptr, 3, 0x80);
             return p;
         }},
        {"horz", {100, 3}, [] { return new TShapeHorz(nullptr); }},
        {"mark", {80, 22}, [] { return new TShapeMark(nullptr, 7); }},
        {"zigzag3", {20, 74}, Connector(stZigzag3)},
        {"cascade", {23, 146}, Connector(stCascade)},
        {"program_sp", {23, 194}, Connector(stProgramSP)},
        {"reg_pid",
         {180, 168},
         [] {
             auto* p = new TPanReg(nullptr, 1, rtPID, toInverse, rfcNone);
             p->SetIdVh1("AI3");
             p->SetIdVh2("SP");
             p->PutKP(1.5f);
             p->PutOH(100);
             return p;
         }},
        {"reg_ps", {180, 72}, [] { return new TPanReg(nullptr, 2, rtPS, toDirect, rfcFC); }},
        {"reg_pz",
         {180, 216},
         [] {
             auto* p = new TPanReg(nullptr, 1, rtPZ, toDirect, rfcNone);
             p->PutTime(0, 30);
             p->PutValue(0, 12.5f);
             return p;
         }},
        {"reg_vis",
         {180, 430},
         [] {
             auto* p = new TPanRegVis(nullptr, 1, 1);
             p->SetVSk_PV(200);
             p->SetVal_PV(50);
             p->SetVal_SP(60);
             p->SetVal_OUT(30);
             return p;
         }},
    };
}

} // namespace

TEST(PanelRender, EveryKindHasItsSizeAndScalesItsDrawing) {
    for (const PanelCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QWidget> panel(c.make());
        EXPECT_EQ(panel->size(), c.size);
        const QImage one = Render(panel.get(), 1, c.name);
        const QImage two = Render(panel.get(), 2, c.name);
        ASSERT_EQ(one.size(), c.size);
        ASSERT_EQ(two.size(), c.size * 2);

        // Painted all over (nothing left transparent) and with something drawn on it.
        int unpainted = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x)
                unpainted += qAlpha(one.pixel(x, y)) != 255;
        EXPECT_EQ(unpainted, 0);
        const int dark1 = DarkPixels(one);
        const int dark2 = DarkPixels(two);
        EXPECT_GT(dark1, 0);
        // At 200 % lines and text cover about four times the pixels; text kept at its 100 % size
        // or clipped would give much less.
        EXPECT_GT(dark2, dark1 * 5 / 2) << dark1 << " " << dark2;
        EXPECT_LT(dark2, dark1 * 6) << dark1 << " " << dark2;
    }
}
