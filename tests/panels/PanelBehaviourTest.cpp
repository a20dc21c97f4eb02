// What the panels show for what the editors set, the checked enumerations, and the mouse events
// each sub-control reports to the editor.
#include "PaintedTexts.h"
#include "PanelTestSupport.h"

#include "Colors.h"
#include "Panregvis.h"

#include <QTest>
#include <cmath>
#include <limits>

TEST(BlockPanel, ShowsTypeNameSettingsAndInputs) {
    // The type's name and its input boxes: a comparator shows its input and X1.
    const std::pair<const char*, int> types[] = {{"И", 4}, {"И-НЕ", 4}, {"ИЛИ", 4}, {"ИЛИ-НЕ", 4}, {"ГСТ", 2},
                                                 {"Т", 2}, {"Тр", 4},   {"СМР", 2}, {"СЧ", 4}};
    TPanFB panel(nullptr, 7, ftAND);
    for (int t = 0; t < int(std::size(types)); ++t) {
        panel.SetTFB(TFBType(t));
        EXPECT_EQ(panel.TypeImage()->Lines().value(0), types[t].first);
        for (int j = 0; j < TPanFB::kInputs; ++j)
            EXPECT_EQ(panel.InputBox(j) != nullptr, j < types[t].second) << t << " " << j;
    }

    panel.SetTFB(ftTimer);
    panel.SetTimer(T3);
    panel.SetTimerD(tdms);
    panel.SetTime(125);
    EXPECT_EQ(panel.TypeImage()->Lines().mid(1, 2), (QStringList{"T3", "12,5 с"}));
    panel.SetTimer(T5); // the alarm clock: its time of day and a single input
    panel.SetHour(7);
    panel.SetMin(5);
    panel.SetSec(30);
    EXPECT_EQ(panel.TypeImage()->Lines().mid(1, 2), (QStringList{"T5", "07:05:30"}));
    EXPECT_EQ(panel.InputCount(), 1);

    panel.SetTFB(ftComparator);
    panel.SetCompCond(ccH);
    panel.PutLimit(-2.75f);
    panel.PutGisterezis(31);
    panel.SetTimerD(tdsec);
    panel.SetTime(4);
    EXPECT_EQ(panel.TypeImage()->Lines().mid(1, 3), (QStringList{"H -2,75", "Г 31 %", "4 с"}));

    // Captions and inversion land on their input; indices outside 0..3 change nothing.
    panel.SetTFB(ftCounter);
    panel.PutIdVh(2, "ФБ3");
    panel.PutTInp(1, itInverse);
    for (int outside : {-1, 4, 9}) {
        panel.PutIdVh(outside, "лишний");
        panel.PutTInp(outside, itInverse);
    }
    for (int j = 0; j < TPanFB::kInputs; ++j) {
        EXPECT_EQ(panel.InputBox(j)->Text(), j == 2 ? "ФБ3" : "");
        EXPECT_EQ(panel.InputBox(j)->Type(), j == 1 ? itInverse : itNormal);
    }
    // The inversion mark is drawn: the inverse input's lead differs from a direct one.
    const QImage image = Render(&panel);
    const int lead = 80 - TInputBox::kLeadWidth / 2;
    EXPECT_NE(DarkPixels(image, QRect(lead - 4, TPanFB::InputLineY(1) - 5, 9, 11)),
              DarkPixels(image, QRect(lead - 4, TPanFB::InputLineY(0) - 5, 9, 11)));

    // A value cast from a bad record reads as the first member instead of running off the tables.
    panel.SetTFB(TFBType(42));
    EXPECT_EQ(panel.TypeImage()->Lines().value(0), "И");
    EXPECT_EQ(TPanFB(nullptr, 1, TFBType(-3)).GetTFB(), ftAND);
}

TEST(BlockPanel, PartsTakeTheSelectionColour) {
    TPanFB panel(nullptr, 1, ftOR);
    const QColor selected = TColorToQColor(clSelection);
    panel.SetColor(selected);
    panel.NumberBox()->SetColor(selected);
    panel.InputBox(0)->SetColor(selected);
    const QImage image = Render(&panel);
    const QPoint numberBox = panel.Body()->pos() + panel.NumberBox()->pos() + QPoint(3, 3);
    EXPECT_EQ(QColor(PixelAt(image, numberBox)), selected);
    EXPECT_EQ(QColor(PixelAt(image, panel.InputBox(0)->pos() + QPoint(60, 3))), selected);
    EXPECT_NE(QColor(PixelAt(image, panel.InputBox(1)->pos() + QPoint(60, 3))), selected);
    EXPECT_EQ(QColor(PixelAt(image, {40, TPanFB::InputLineY(0) + 12})), selected); // between boxes
}

TEST(RelayPanel, MarksRelaysPerModuleAndDescribesThem) {
    TPanMR panel(nullptr, 3);
    panel.ActiveMR(nullptr, 0, 0b1000'0101);
    panel.ActiveMR(nullptr, 4, 0x02);
    panel.ActiveMR(nullptr, 5, 0xFF); // no sixth module
    panel.ActiveMR(nullptr, -1, 0xFF);
    EXPECT_EQ(panel.ModuleText(0), "МР1:  1,3,8"); // the scheme printing takes the list from char 7
    EXPECT_EQ(panel.GetHint1() + panel.GetHint2() + panel.GetHint3() + panel.GetHint4() + panel.GetHint5(),
              "МР1:  1,3,8 МР5:  2 ");
    EXPECT_EQ(panel.toolTip(), "МР1:  1,3,8\nМР5:  2");

    // Relay r of module m is cell (r, m) of the grid, 7.5 by 7.6 pixels; cleared relays stop being drawn.
    const auto cell = [](int r, int m) { return QPoint(2 + r * 15 / 2 + 3, 2 + m * 38 / 5 + 3); };
    const QImage image = Render(&panel);
    for (int r = 0; r < TPanMR::kRelays; ++r) {
        EXPECT_EQ(QColor(PixelAt(image, cell(r, 0))), (0x85 >> r) & 1 ? TColorToQColor(0x008080) : Qt::white)
            << r;
        EXPECT_EQ(QColor(PixelAt(image, cell(r, 4))), r == 1 ? TColorToQColor(0x008080) : Qt::white) << r;
    }
    panel.PassiveMR(nullptr, 0);
    EXPECT_EQ(panel.GetHint1(), "");
    EXPECT_EQ(panel.Mask(4), 2);
    EXPECT_EQ(QColor(PixelAt(Render(&panel), cell(0, 0))), QColor(Qt::white));
}

TEST(SignallingPanel, ShowsTypeAndCell) {
    TPanSign panel(nullptr, 1, 12, 4);
    const QRect cellArea(36, 2, 18, 28);
    EXPECT_GT(DarkPixels(Render(&panel), cellArea), 0);
    panel.PutNTabS(nullptr, 3, 0);
    EXPECT_EQ(panel.Type(), 3);
    EXPECT_EQ(DarkPixels(Render(&panel), cellArea), 0) << "cell 0 shows no number";
    panel.PutTipS(nullptr, 7); // two bits in the record; anything else reads as none
    EXPECT_EQ(panel.Type(), 0);
    EXPECT_EQ(TPanSign::TypeText(-5), "");
}

TEST(LoopPanel, ShowsKindParametersAndPoints) {
    TPanReg pid(nullptr, 2, rtPID, toInverse, rfcNone);
    pid.PutSP(9);
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
    EXPECT_EQ(pid.InputRow(1)->Text(), "SP");
    EXPECT_EQ(pid.InputRow(2), nullptr);
    EXPECT_EQ(TPanReg(nullptr, 1, rtPS, toDirect, rfcFC).Image()->Lines(), (QStringList{"ПС", "прямой  FC"}));

    TPanReg pz(nullptr, 3, rtPZ, toDirect, rfcNone);
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
    const std::pair<float, const char*> texts[] = {{100, "100.00"},  {-99.994f, "-99.99"}, {100.5f, "100.5"},
                                                   {-100, "-100.0"}, {1000, "1000.0"},     {1234.4f, "1234"},
                                                   {-1000, "-1000"}};
    for (const auto& [value, text] : texts)
        EXPECT_EQ(TPanRegVis::ValueText(value), text) << value;
    const float inf = std::numeric_limits<float>::infinity();
    const std::tuple<float, float, float, double> shares[] = {
        {50, 0, 200, 0.25}, {250, 0, 200, 1.0},          {-1, 0, 200, 0.0},
        {5, 10, 10, 0.0}, // an empty scale: no bar
        {5, 10, 0, 0.0},    {std::nanf(""), 0, 10, 0.0}, {inf, 0, 10, 0.0}};
    for (const auto& [value, low, high, share] : shares)
        EXPECT_DOUBLE_EQ(TPanRegVis::BarShare(value, low, high), share) << value << " " << low << " " << high;

    QWidget view;
    view.resize(TPanRegVis::kWidth, TPanRegVis::kHeight);
    auto& panel = *new TPanRegVis(&view, 4, 2);
    EXPECT_EQ(panel.NumberBox()->Text(), "Рег. №4  каскадный");
    panel.SetVSk_PV(400);
    panel.SetVal_PV(-1234.4f);
    panel.SetVal_SP(12.5f);
    EXPECT_EQ(panel.PVBox()->Text(), "-1234");
    EXPECT_EQ(panel.SPBox()->Text(), "12.50");
    RenderScaled(&view, "online_loop");

    // The state marks take the colours the view sets.
    const QPoint inMark(2 + 4 + 7, 302 + 9);
    EXPECT_EQ(QColor(PixelAt(Render(&panel), inMark)), QColor(Qt::red));
    panel.SetColorP_In(Qt::green);
    EXPECT_EQ(QColor(PixelAt(Render(&panel), inMark)), QColor(Qt::green));
}

namespace {

using Events = std::vector<std::pair<QString, SchemeControl*>>;

// Records every event the scheme controls report.
struct EventLog {
    Events events;
    Qt::MouseButton lastButton = Qt::NoButton;
    Qt::KeyboardModifiers lastModifiers;

    void Watch(SchemeControl* c) {
        QObject::connect(c, &SchemeControl::MouseDown,
                         [this](SchemeControl* s, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint) {
                             events.emplace_back("down", s);
                             lastButton = b;
                             lastModifiers = m;
                         });
        QObject::connect(c, &SchemeControl::MouseMove,
                         [this](SchemeControl* s) { events.emplace_back("move", s); });
        QObject::connect(c, &SchemeControl::Click,
                         [this](SchemeControl* s) { events.emplace_back("click", s); });
        QObject::connect(c, &SchemeControl::DblClick,
                         [this](SchemeControl* s) { events.emplace_back("dbl", s); });
    }
    void WatchTree(SchemeControl* root) {
        Watch(root);
        for (SchemeControl* child : root->findChildren<SchemeControl*>())
            Watch(child);
    }
    // A real mouse action at point p of top reaches the deepest visible child there, as the
    // application dispatches it; gives the events it reported.
    Events Do(QTest::MouseAction action, QWidget* top, QPoint p, Qt::MouseButton b = Qt::LeftButton,
              Qt::KeyboardModifiers m = {}) {
        events.clear();
        QWidget* w = top->childAt(p) ? top->childAt(p) : top;
        QTest::mouseEvent(action, w, b, m, w->mapFrom(top, p));
        return events;
    }
};

QPoint In(QWidget* part, QWidget* top) {
    return part->mapTo(top, QPoint(part->width() / 2, part->height() / 2));
}

template <class W> void ShowExposed(W& w) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
}

} // namespace

TEST(PanelEvents, EachSubControlReportsItsOwnPressesAndDoubleClicks) {
    TPanFB panel(nullptr, 1, ftAND);
    ShowExposed(panel);
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
        EXPECT_EQ(log.Do(QTest::MouseClick, &panel, point, Qt::LeftButton, Qt::ControlModifier),
                  (Events{{"down", expected}, {"click", expected}}))
            << expected->metaObject()->className();
        EXPECT_EQ(log.lastModifiers, Qt::ControlModifier);
    }
    log.Do(QTest::MousePress, &panel, In(panel.NumberBox(), &panel), Qt::RightButton);
    EXPECT_EQ(log.lastButton, Qt::RightButton);

    // A double-click on any part drawn on the body is the body's: it opens the block's dialog.
    for (const QPoint& p : {QPoint(81, 100), In(panel.NumberBox(), &panel), In(panel.TypeImage(), &panel)})
        EXPECT_EQ(log.Do(QTest::MouseDClick, &panel, p), (Events{{"dbl", panel.Body()}}));
    EXPECT_EQ(log.Do(QTest::MouseMove, &panel, In(panel.InputBox(1), &panel), Qt::NoButton),
              (Events{{"move", panel.InputBox(1)}}));
}

TEST(PanelEvents, LoopPanelsAndSchemeElementsReportTheirPresses) {
    // A press on the loop panel's parameters is the body's: the editor wires the body, not them.
    TPanReg reg(nullptr, 1, rtPID, toDirect, rfcNone);
    ShowExposed(reg);
    EventLog log;
    log.WatchTree(&reg);
    const std::pair<QWidget*, SchemeControl*> parts[] = {{reg.Image(), reg.Image()},
                                                         {reg.NumberBox(), reg.NumberBox()},
                                                         {reg.InputRow(0), reg.InputRow(0)},
                                                         {reg.Values(), reg.Body()}};
    for (const auto& [part, expected] : parts) {
        EXPECT_EQ(log.Do(QTest::MousePress, &reg, In(part, &reg)), (Events{{"down", expected}}));
        if (part != reg.InputRow(0)) {
            EXPECT_EQ(log.Do(QTest::MouseDClick, &reg, In(part, &reg)), (Events{{"dbl", reg.Body()}}));
        }
    }

    // The online panel's value boxes report clicks.
    TPanRegVis vis(nullptr, 1, 1);
    ShowExposed(vis);
    log.WatchTree(&vis);
    for (PanelPart* box : {vis.SPBox(), vis.OUTBox()})
        EXPECT_EQ(log.Do(QTest::MouseClick, &vis, In(box, &vis)).back(), Events::value_type("click", box));
    EXPECT_EQ(log.Do(QTest::MousePress, &vis, QPoint(90, 200), Qt::RightButton), (Events{{"down", &vis}}));

    // Marks, connectors, lines, signalling, relay panels and shapes.
    QWidget scheme;
    scheme.resize(700, 200);
    const std::initializer_list<SchemeControl*> elements{
        new TShapeMark(&scheme, 1),     new TPShapeZ(&scheme),  new TShapeHorz(&scheme),
        new TPanSign(&scheme, 1, 1, 1), new TPanMR(&scheme, 1), new TShape(&scheme)};
    int left = 0;
    for (SchemeControl* c : elements) {
        c->move(left, 0);
        left += c->width() + 10;
        log.Watch(c);
    }
    ShowExposed(scheme);
    for (SchemeControl* c : elements) {
        EXPECT_EQ(log.Do(QTest::MousePress, &scheme, In(c, &scheme)), (Events{{"down", c}}))
            << c->metaObject()->className();
        EXPECT_EQ(log.Do(QTest::MouseDClick, &scheme, In(c, &scheme)), (Events{{"dbl", c}}))
            << c->metaObject()->className();
    }
}

// The longest texts the tool gives the panels read whole: the default identifiers of network
// inputs with their set point and unreliability flag, extreme settings, loop parameters and
// program points, and the marks of the loop scheme.
TEST(SchemeTexts, TheLongestCaptionsReadWhole) {
    TPanFB block(nullptr, 120, ftComparator);
    block.SetCompCond(ccH);
    block.SetLimit(-32767.5f);
    block.SetGisterezis(31);
    block.SetTimerD(tdDecsec);
    block.SetTime(120);
    block.PutIdVh(0, "ЛС16.А16.HH  b");
    block.PutIdVh(1, "МВА8.А4.HH  b");
    TPanFB timer(nullptr, 119, ftTimer);
    timer.SetTimer(T5);
    timer.SetHour(23), timer.SetMin(59), timer.SetSec(59);
    timer.PutIdVh(0, "КВУ184");
    TPanReg loop(nullptr, 2, rtPID, toInverse, rfcFC);
    loop.PutSP(21);
    loop.SetIdVh1("ЛС16.А16");
    loop.PutKP(-32767.5f), loop.PutTi(0.001234f), loop.PutTd(65535.f);
    loop.PutOL(-32767.5f), loop.PutOH(-32767.5f), loop.PutdSP(-32767.5f);
    TPanReg program(nullptr, 6, rtPZ, toDirect, rfcNone);
    for (int j = 0; j < TPanReg::kPoints; ++j)
        program.PutTime(j, 65535), program.PutValue(j, -32767.5f);
    QWidget scheme;
    for (const char* text : {"вых ЦАП №2", "на рег 2", "ФБ120"})
        (new TShapeMark(&scheme, 1))->SetMark(text);
    for (QWidget* w : std::initializer_list<QWidget*>{&block, &timer, &loop, &program, &scheme})
        EXPECT_EQ(CutTexts(w), QStringList()) << w->metaObject()->className();
}
