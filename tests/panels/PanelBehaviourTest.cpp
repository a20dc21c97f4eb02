// What the panels show for what the editors set, the checked enumerations, and the mouse events
// each sub-control reports to the editor.
#include "PanelTestSupport.h"

#include "Colors.h"
#include "Panfb.h"
#include "Panmr.h"
#include "Panreg.h"
#include "Panregvis.h"
#include "Pansign.h"
#include "Pshapez.h"
#include "Shapehorz.h"
#include "Shapemark.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>

TEST(PanelEnums, RawValuesAreCheckedBeforeTheyReachAPanel) {
    EXPECT_EQ(FBTypeFromCode(1), ftAND);
    EXPECT_EQ(FBTypeFromCode(6), ftTimer);
    EXPECT_EQ(FBTypeFromCode(9), ftCounter);
    for (int code : {0, 10, 12, 15, -1})
        EXPECT_FALSE(FBTypeFromCode(code)) << code;

    // Connector shapes are not consecutive: 4, 5 and 7 name none.
    EXPECT_EQ(EnumFromRaw<ShapeZType>(6), stCascade);
    EXPECT_EQ(EnumFromRaw<ShapeZType>(8), stProgramSP);
    for (int raw : {4, 5, 7, 9})
        EXPECT_FALSE(EnumFromRaw<ShapeZType>(raw)) << raw;

    EXPECT_EQ(EnumFromRawOrFirst<TimerType>(5), T5);
    EXPECT_EQ(EnumFromRawOrFirst<TimerType>(6), T0);
    EXPECT_EQ(EnumFromRawOrFirst<TimerDiskr>(3), tdms);
    EXPECT_EQ(EnumFromRawOrFirst<TriggerType>(-1), ttRS);
    EXPECT_EQ(EnumFromRawOrFirst<TTypeRFC>(1), rfcFC);
}

TEST(BlockPanel, ShowsTypeNameSettingsAndInputs) {
    const QStringList names{"И", "И-НЕ", "ИЛИ", "ИЛИ-НЕ", "ГСТ", "Т", "Тр", "СМР", "СЧ"};
    const std::vector<int> inputs{4, 4, 4, 4, 2, 2, 4, 2, 4}; // a comparator: its input and X1
    TPanFB panel(nullptr, 7, ftAND);
    EXPECT_EQ(panel.NumberBox()->Text(), "7");
    for (int t = 0; t < names.size(); ++t) {
        panel.SetTFB(TFBType(t));
        EXPECT_EQ(panel.GetTFB(), TFBType(t));
        EXPECT_EQ(panel.TypeImage()->Lines().value(0), names[t]);
        EXPECT_EQ(panel.InputCount(), inputs[t]) << t;
        for (int j = 0; j < TPanFB::kInputs; ++j)
            EXPECT_EQ(panel.InputBox(j) != nullptr, j < inputs[t]) << t << " " << j;
    }

    panel.SetTFB(ftTimer);
    panel.SetTimer(T3);
    panel.SetTimerD(tdms);
    panel.SetTime(125);
    EXPECT_EQ(panel.TypeImage()->Lines().mid(1, 2), (QStringList{"T3", "12,5 с"}));
    panel.SetTimerD(tdDecsec);
    EXPECT_EQ(panel.TypeImage()->Lines().value(2), "1250 с");
    panel.SetTimer(T5); // the alarm clock: its time of day and a single input
    panel.SetHour(7);
    panel.SetMin(5);
    panel.SetSec(30);
    EXPECT_EQ(panel.TypeImage()->Lines().mid(1, 2), (QStringList{"T5", "07:05:30"}));
    EXPECT_EQ(panel.InputCount(), 1);

    panel.SetTFB(ftTrigger);
    panel.SetTrigger(ttSR);
    EXPECT_EQ(panel.TypeImage()->Lines().value(1), "SR");

    panel.SetTFB(ftComparator);
    panel.SetCompCond(ccH);
    panel.SetLimit(1.0f);
    panel.PutLimit(-2.75f);
    panel.PutGisterezis(31);
    panel.SetTimerD(tdsec);
    panel.SetTime(4);
    EXPECT_EQ(panel.TypeImage()->Lines().mid(1, 3), (QStringList{"H -2,75", "Г 31 %", "4 с"}));

    panel.SetTFB(ftCounter);
    panel.PutLimitCount(17);
    EXPECT_EQ(panel.TypeImage()->Lines().value(1), "N 17");

    // Captions and inversion land on their input; indices outside 0..3 change nothing.
    panel.PutIdVh(2, "ФБ3");
    panel.PutIdVh(4, "лишний");
    panel.PutIdVh(-1, "лишний");
    panel.PutTInp(3, itInverse);
    panel.PutTInp(9, itInverse);
    EXPECT_EQ(panel.InputBox(2)->Text(), "ФБ3");
    for (int j = 0; j < TPanFB::kInputs; ++j) {
        EXPECT_NE(panel.InputBox(j)->Text(), "лишний");
        EXPECT_EQ(panel.InputBox(j)->Type(), j == 3 ? itInverse : itNormal);
    }
    // The inversion mark is drawn: the inverse input's lead differs from a direct one.
    const QImage image = Render(&panel);
    const int lead = 80 - TInputBox::kLeadWidth / 2;
    EXPECT_NE(DarkPixels(image, QRect(lead - 4, TPanFB::InputLineY(3) - 5, 9, 11)),
              DarkPixels(image, QRect(lead - 4, TPanFB::InputLineY(0) - 5, 9, 11)));

    // A value cast from a bad record reads as the first member instead of running off the tables.
    panel.SetTFB(TFBType(42));
    EXPECT_EQ(panel.GetTFB(), ftAND);
    EXPECT_EQ(panel.TypeImage()->Lines().value(0), "И");
    TPanFB bad(nullptr, 1, TFBType(-3));
    EXPECT_EQ(bad.GetTFB(), ftAND);
}

TEST(BlockPanel, PartsTakeTheSelectionColour) {
    TPanFB panel(nullptr, 1, ftOR);
    const QColor selected = TColorToQColor(clSelection);
    EXPECT_EQ(selected, QColor(0xA6, 0xCA, 0xF0));
    panel.SetColor(selected);
    panel.NumberBox()->SetColor(selected);
    panel.InputBox(0)->SetColor(selected);
    const QImage image = Render(&panel);
    const QPoint numberBox = panel.Body()->pos() + panel.NumberBox()->pos() + QPoint(3, 3);
    EXPECT_EQ(QColor(PixelAt(image, numberBox)), selected);
    EXPECT_EQ(QColor(PixelAt(image, panel.InputBox(0)->pos() + QPoint(60, 3))), selected);
    EXPECT_NE(QColor(PixelAt(image, panel.InputBox(1)->pos() + QPoint(60, 3))), selected);
    EXPECT_EQ(QColor(PixelAt(image, {40, TPanFB::InputLineY(0) + 12})), selected); // the panel between boxes
}

TEST(RelayPanel, MarksRelaysPerModuleAndDescribesThem) {
    TPanMR panel(nullptr, 3);
    EXPECT_EQ(panel.GetHint1(), "");
    EXPECT_EQ(panel.ModuleText(0), "МР1:  ");
    panel.ActiveMR(nullptr, 0, 0b1000'0101);
    panel.ActiveMR(nullptr, 4, 0x02);
    panel.ActiveMR(nullptr, 5, 0xFF); // no sixth module
    panel.ActiveMR(nullptr, -1, 0xFF);
    EXPECT_EQ(panel.ModuleText(0), "МР1:  1,3,8");
    EXPECT_EQ(panel.GetHint1(), "МР1:  1,3,8 ");
    EXPECT_EQ(panel.GetHint2() + panel.GetHint3() + panel.GetHint4(), "");
    EXPECT_EQ(panel.GetHint5(), "МР5:  2 ");
    EXPECT_EQ(panel.toolTip(), "МР1:  1,3,8\nМР5:  2");
    EXPECT_EQ(panel.ModuleText(0).mid(6),
              "1,3,8"); // the scheme printing takes the list from the 7th character

    // Relay r of module m is cell (r, m) of the grid.
    const QPoint relay1(2 + 3, 2 + 3);
    const QPoint relay2(2 + 8 + 3, 2 + 3);
    const QColor active = TColorToQColor(0x008080);
    EXPECT_EQ(QColor(PixelAt(Render(&panel), relay1)), active);
    EXPECT_EQ(QColor(PixelAt(Render(&panel), relay2)), QColor(Qt::white));
    panel.PassiveMR(nullptr, 0);
    EXPECT_EQ(panel.Mask(0), 0);
    EXPECT_EQ(panel.GetHint1(), "");
    EXPECT_EQ(panel.Mask(4), 2);
    EXPECT_EQ(QColor(PixelAt(Render(&panel), relay1)), QColor(Qt::white))
        << "cleared relays stop being drawn";
}

TEST(SignallingPanel, ShowsTypeAndCell) {
    TPanSign panel(nullptr, 1, 12, 4);
    EXPECT_EQ(panel.Type(), 1);
    EXPECT_EQ(panel.Cell(), 12);
    EXPECT_EQ(panel.Number(), 4);
    const QRect cellArea(36, 2, 18, 28);
    const int withCell = DarkPixels(Render(&panel), cellArea);
    EXPECT_GT(withCell, 0);
    panel.PutNTabS(nullptr, 3, 0);
    EXPECT_EQ(panel.Type(), 3);
    EXPECT_EQ(DarkPixels(Render(&panel), cellArea), 0) << "cell 0 shows no number";
    panel.PutTipS(nullptr, 7); // two bits in the record; anything else reads as none
    EXPECT_EQ(panel.Type(), 0);
    EXPECT_EQ(TPanSign::TypeText(2), "АС");
    EXPECT_EQ(TPanSign::TypeText(-5), "");
}

TEST(LoopPanel, ShowsKindParametersAndPoints) {
    TPanReg pid(nullptr, 2, rtPID, toInverse, rfcNone);
    EXPECT_EQ(pid.Height(), TPanReg::kMarkTopPID);
    pid.PutSP(9);
    pid.SetIdVh1("AI3");
    pid.SetIdVh2("SP");
    pid.PutKP(1.5f);
    pid.PutTi(20);
    pid.PutTd(0.25f);
    pid.PutOL(-5);
    pid.PutOH(100);
    pid.PutdSP(3);
    EXPECT_EQ(pid.NumberBox()->Text(), "Рег 2");
    EXPECT_EQ(pid.Image()->Lines(), (QStringList{"ПИД", "обратный", "тип SP 9"}));
    EXPECT_EQ(pid.Values()->Lines(),
              (QStringList{"Kп  1,5", "Ти  20", "Тд  0,25", "OL  -5", "OH  100", "dSP  3"}));
    EXPECT_EQ(pid.InputRow(0)->Text(), "AI3");
    EXPECT_EQ(pid.InputRow(1)->Text(), "SP");
    EXPECT_EQ(pid.InputRow(2), nullptr);

    TPanReg ps(nullptr, 1, rtPS, toDirect, rfcFC);
    EXPECT_EQ(ps.Height(), TPanReg::kMarkTopPS);
    EXPECT_EQ(ps.Image()->Lines(), (QStringList{"ПС", "прямой  FC"}));

    TPanReg pz(nullptr, 3, rtPZ, toDirect, rfcNone);
    EXPECT_EQ(pz.Height(), TPanReg::kMarkTopPZ);
    EXPECT_EQ(pz.InputRow(0), nullptr);
    pz.SetIdVh1("ничего"); // a program set point has no input rows
    pz.PutTime(5, 600);
    pz.PutValue(5, 42.5f);
    pz.PutTime(6, 1);
    pz.PutValue(-1, 1);
    EXPECT_EQ(pz.NumberBox()->Text(), "ПЗ 3");
    EXPECT_EQ(pz.Values()->Lines().size(), TPanReg::kPoints);
    EXPECT_EQ(pz.Values()->Lines().value(5), "6)  t 600   42,5");
    EXPECT_EQ(pz.Values()->Lines().value(0), "1)  t 0   0");
}

TEST(OnlineLoopPanel, ShowsValuesOnBoxesAndBars) {
    EXPECT_EQ(TPanRegVis::ValueText(100), "100.00");
    EXPECT_EQ(TPanRegVis::ValueText(-99.994f), "-99.99");
    EXPECT_EQ(TPanRegVis::ValueText(100.5f), "100.5");
    EXPECT_EQ(TPanRegVis::ValueText(-100), "-100.0");
    EXPECT_EQ(TPanRegVis::ValueText(1000), "1000.0");
    EXPECT_EQ(TPanRegVis::ValueText(1234.4f), "1234");
    EXPECT_EQ(TPanRegVis::ValueText(-1000), "-1000");

    EXPECT_DOUBLE_EQ(TPanRegVis::BarShare(50, 0, 200), 0.25);
    EXPECT_DOUBLE_EQ(TPanRegVis::BarShare(250, 0, 200), 1.0);
    EXPECT_DOUBLE_EQ(TPanRegVis::BarShare(-1, 0, 200), 0.0);
    EXPECT_DOUBLE_EQ(TPanRegVis::BarShare(5, 10, 10), 0.0); // an empty scale draws no bar
    EXPECT_DOUBLE_EQ(TPanRegVis::BarShare(5, 10, 0), 0.0);
    EXPECT_DOUBLE_EQ(TPanRegVis::BarShare(std::nanf(""), 0, 10), 0.0);
    EXPECT_DOUBLE_EQ(TPanRegVis::BarShare(std::numeric_limits<float>::infinity(), 0, 10), 0.0);

    TPanRegVis panel(nullptr, 4, 2);
    EXPECT_EQ(panel.NumberBox()->Text(), "Рег. №4  каскадный");
    panel.SetNSk_PV(0);
    panel.SetVSk_PV(400);
    panel.SetVal_PV(-1234.4f);
    panel.SetVal_SP(12.5f);
    panel.SetVal_OUT(100);
    EXPECT_EQ(panel.PVBox()->Text(), "-1234");
    EXPECT_EQ(panel.SPBox()->Text(), "12.50");
    EXPECT_EQ(panel.OUTBox()->Text(), "100.00");

    // The state marks take the colours the view sets.
    const QImage red = Render(&panel);
    panel.SetColorP_In(Qt::green);
    panel.SetColorP_Out(Qt::red);
    EXPECT_EQ(panel.ColorP_In(), QColor(Qt::green));
    const QImage swapped = Render(&panel);
    const QPoint inMark(2 + 4 + 7, 302 + 9);
    EXPECT_EQ(QColor(PixelAt(red, inMark)), QColor(Qt::red));
    EXPECT_EQ(QColor(PixelAt(swapped, inMark)), QColor(Qt::green));
}

namespace {

// Records every event the scheme controls report.
struct EventLog {
    std::vector<std::pair<QString, SchemeControl*>> events;
    Qt::MouseButton lastButton = Qt::NoButton;
    Qt::KeyboardModifiers lastModifiers;

    void Watch(SchemeControl* control) {
        QObject::connect(control, &SchemeControl::MouseDown,
                         [this](SchemeControl* s, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint) {
                             events.emplace_back("down", s);
                             lastButton = b;
                             lastModifiers = m;
                         });
        QObject::connect(
            control, &SchemeControl::MouseMove,
            [this](SchemeControl* s, Qt::KeyboardModifiers, QPoint) { events.emplace_back("move", s); });
        QObject::connect(control, &SchemeControl::Click,
                         [this](SchemeControl* s) { events.emplace_back("click", s); });
        QObject::connect(control, &SchemeControl::DblClick,
                         [this](SchemeControl* s) { events.emplace_back("dbl", s); });
    }
    void WatchTree(SchemeControl* root) {
        Watch(root);
        for (SchemeControl* child : root->findChildren<SchemeControl*>())
            Watch(child);
    }
    std::vector<QString> Kinds() const {
        std::vector<QString> kinds;
        for (const auto& e : events)
            kinds.push_back(e.first);
        return kinds;
    }
};

QPoint In(QWidget* part, QWidget* top) {
    return part->mapTo(top, QPoint(part->width() / 2, part->height() / 2));
}

// The widget a real press at point of top reaches: the deepest visible child there that takes
// mouse events, as the application dispatches it.
QWidget* Target(QWidget* top, QPoint point) {
    QWidget* child = top->childAt(point);
    return child ? child : top;
}

void Press(QWidget* top, QPoint p, Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
    QWidget* w = Target(top, p);
    QTest::mousePress(w, b, m, w->mapFrom(top, p));
}

void Click(QWidget* top, QPoint p, Qt::KeyboardModifiers m = {}) {
    QWidget* w = Target(top, p);
    QTest::mouseClick(w, Qt::LeftButton, m, w->mapFrom(top, p));
}

void DClick(QWidget* top, QPoint p) {
    QWidget* w = Target(top, p);
    QTest::mouseDClick(w, Qt::LeftButton, {}, w->mapFrom(top, p));
}

void Move(QWidget* top, QPoint p) {
    QWidget* w = Target(top, p);
    QTest::mouseMove(w, w->mapFrom(top, p));
}

} // namespace

TEST(PanelEvents, EachSubControlReportsItsOwnPressesAndDoubleClicks) {
    TPanFB panel(nullptr, 1, ftAND);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    EventLog log;
    log.WatchTree(&panel);

    const std::vector<std::pair<QPoint, SchemeControl*>> hits{
        {In(panel.NumberBox(), &panel), panel.NumberBox()},
        {In(panel.TypeImage(), &panel), panel.TypeImage()},
        {In(panel.InputBox(2), &panel), panel.InputBox(2)},
        {QPoint(81, 100), panel.Body()},                  // the body's margin round its parts
        {QPoint(40, TPanFB::InputLineY(0) + 12), &panel}, // between two input boxes
    };
    for (const auto& [point, expected] : hits) {
        log.events.clear();
        Click(&panel, point, Qt::ControlModifier);
        ASSERT_EQ(log.Kinds(), (std::vector<QString>{"down", "click"}))
            << expected->metaObject()->className();
        EXPECT_EQ(log.events[0].second, expected) << "a press reaches only the part hit";
        EXPECT_EQ(log.lastModifiers, Qt::ControlModifier);
    }

    log.events.clear();
    Press(&panel, In(panel.NumberBox(), &panel), Qt::RightButton);
    EXPECT_EQ(log.lastButton, Qt::RightButton);

    log.events.clear();
    DClick(&panel, QPoint(81, 100));
    ASSERT_FALSE(log.events.empty());
    EXPECT_EQ(log.events.back(), std::make_pair(QString("dbl"), static_cast<SchemeControl*>(panel.Body())));

    log.events.clear();
    Move(&panel, In(panel.InputBox(1), &panel));
    ASSERT_FALSE(log.events.empty());
    EXPECT_EQ(log.events.back(),
              std::make_pair(QString("move"), static_cast<SchemeControl*>(panel.InputBox(1))));
}

TEST(PanelEvents, LoopPanelsAndSchemeElementsReportTheirPresses) {
    // A press on the loop panel's parameters is the body's: the editor wires the body, not them.
    TPanReg reg(nullptr, 1, rtPID, toDirect, rfcNone);
    reg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&reg));
    EventLog log;
    log.WatchTree(&reg);
    for (SchemeControl* part :
         {static_cast<SchemeControl*>(reg.Image()), static_cast<SchemeControl*>(reg.NumberBox()),
          static_cast<SchemeControl*>(reg.InputRow(0))}) {
        log.events.clear();
        Press(&reg, In(part, &reg));
        ASSERT_EQ(log.events.size(), 1u);
        EXPECT_EQ(log.events[0].second, part);
    }
    log.events.clear();
    Press(&reg, In(reg.Values(), &reg));
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].second, reg.Body());

    // The online panel's value boxes report clicks.
    TPanRegVis vis(nullptr, 1, 1);
    vis.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&vis));
    log.WatchTree(&vis);
    for (PanelPart* box : {vis.SPBox(), vis.OUTBox()}) {
        log.events.clear();
        Click(&vis, In(box, &vis));
        EXPECT_EQ(log.events.back(), std::make_pair(QString("click"), static_cast<SchemeControl*>(box)));
    }
    log.events.clear();
    Press(&vis, QPoint(90, 200), Qt::RightButton);
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].second, &vis);

    // Marks, connectors, lines, signalling, relay panels and shapes.
    QWidget scheme;
    scheme.resize(400, 200);
    auto* mark = new TShapeMark(&scheme, 1);
    auto* zig = new TPShapeZ(&scheme);
    zig->move(100, 0);
    auto* line = new TShapeHorz(&scheme);
    line->move(0, 120);
    auto* sign = new TPanSign(&scheme, 1, 1, 1);
    sign->move(150, 0);
    auto* relay = new TPanMR(&scheme, 1);
    relay->move(250, 0);
    auto* shape = new TShape(&scheme);
    shape->setGeometry(0, 140, 250, 50);
    scheme.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&scheme));
    EventLog elements;
    for (SchemeControl* c : std::initializer_list<SchemeControl*>{mark, zig, line, sign, relay, shape})
        elements.Watch(c);
    for (SchemeControl* c : std::initializer_list<SchemeControl*>{mark, zig, line, sign, relay, shape}) {
        elements.events.clear();
        Press(&scheme, In(c, &scheme));
        DClick(&scheme, In(c, &scheme));
        using Events = std::vector<std::pair<QString, SchemeControl*>>;
        EXPECT_EQ(elements.events, (Events{{"down", c}, {"dbl", c}})) << c->metaObject()->className();
    }
}
