// The scheme rebuilt from the function-block records.

#include "Colors.h"
#include "FbEditorFixture.h"
#include "Obrinform.h"
#include "editors/fb/FbSchemeLayout.h"
#include "panels/Panmr.h"
#include "panels/Pansign.h"
#include "panels/Pshapez.h"
#include "panels/Shapehorz.h"
#include "panels/Shapemark.h"

#include <QScrollArea>
#include <QTableWidget>

namespace {

QPoint At(const SchemeControl* c) {
    return {c->Left(), c->Top()};
}

// The elements of a kind the scheme shows.
template <class W> int Shown(const QWidget& area) {
    int n = 0;
    for (const W* w : area.findChildren<W*>())
        n += w->isHidden() ? 0 : 1;
    return n;
}

} // namespace

// Every element stands where the layout says, shows what it says and is shown unless it says
// hidden; the editor state takes the layout's link records and marks.
TEST_F(FbEditorFixture, ElementsStandWhereTheLayoutSays) {
    Cfg().Serv.SetInputTextString(4, 0, "БРОН");
    parts.inform.StringGrid2->item(2, TInform::acIdent)->setText("БРОН.А3");
    SetBlock(0, 3, {{0, 5}, {4, 5}, {2, 3}, {1, 121}});
    SetBlock(1, 1, {{1, 185}, {3, 4}, {1, 1}, {0, 0}});
    FB().SetInType(1, 1, 0); // inverse
    FB().SetB9Plus(1, 1, 0x05);
    FB().SetB9Plus(1, 4, 0x80);
    SetBlock(2, 6, {{1, 2}});
    SetBlock(3, 8);
    FB().SetIn8Kind(3, 1);
    FB().SetIn8Num(3, 3);
    FB().SetX1Num(3, 3);
    SetBlock(4, 1);
    FB().SetSigTipS(4, 2);
    FB().SetSigNTabS(4, 7);
    SetBlock(5, 4);
    SetBlock(6, 9);
    FB().AlgTable.SetMark(6, 7);
    SetBlock(7, 12); // an integrator
    SetAlgorithm(FB(), 0, {7}, "Алгоритм 1");
    FB().AlgTable.SetCount(2);
    Form().RebuildFBScheme();

    // The analogue captions come from the information window's grid.
    EXPECT_EQ(Form().PanFB[0]->InputBox(2)->Text(), "БРОН.А3  b");
    EXPECT_EQ(Form().PanFB[3]->InputBox(1)->Text(), "БРОН.А3");
    const auto analogue = [](int n) { return n == 3 ? QString("БРОН.А3") : QString(); };
    const FbScheme::Layout layout = FbScheme::LayOut(FB(), Cfg().Serv, analogue, TPanFB::kHeight);
    const FBEditorState& st = FB().EditorState;
    ASSERT_EQ(layout.blocks.size(), 7u);
    ASSERT_EQ(st.PanelCount, 7);
    for (int n = 0; n < 7; ++n) {
        const FbScheme::Block& b = layout.blocks[size_t(n)];
        const TPanFB* p = Form().PanFB[n];
        ASSERT_NE(p, nullptr);
        EXPECT_FALSE(p->isHidden());
        EXPECT_EQ(std::tuple(p->Number(), p->GetTFB(), At(p)), std::tuple(n + 1, b.type, b.panel)) << n;
        for (int j = 0; j < p->InputCount(); ++j)
            EXPECT_EQ(std::pair(p->InputBox(j)->Text(), p->InputBox(j)->Type()),
                      std::pair(b.inputs[size_t(j)].caption, b.inputs[size_t(j)].type))
                << n << " " << j;
        EXPECT_EQ(std::pair(Form().ShapeFB[n]->geometry(), At(Form().ShapeMark[n])),
                  std::pair(b.background, b.mark))
            << n;
        EXPECT_FALSE(Form().ShapeFB[n]->isHidden() || Form().ShapeMark[n]->isHidden());
        const TPShapeZ* out = Form().ShapeZ[n];
        EXPECT_EQ(std::tuple(At(out), out->TypeShape(), !out->isHidden()),
                  std::tuple(b.output.pos, b.output.shape, b.output.shown))
            << n;
        EXPECT_EQ(std::pair(st.Links[n].w, st.PanelOrder[n]), std::pair(b.link.ToRecord().w, n)) << n;

        // The signalling and relay elements exist exactly where the layout has them.
        const int sig = b.signalling ? 1 : 0, relay = b.relay ? 1 : 0;
        EXPECT_EQ(std::tuple(int(st.HasSign[n]), Form().PanSign[n] != nullptr,
                             Form().ShapeZSign[n] != nullptr, int(st.HasRelay[n]), Form().PanMR[n] != nullptr,
                             Form().ShapeHorz[n] != nullptr),
                  std::tuple(sig, sig == 1, sig == 1, relay, relay == 1, relay == 1))
            << n;
        if (b.signalling) {
            const TPanSign* sign = Form().PanSign[n];
            const TPShapeZ* z = Form().ShapeZSign[n];
            EXPECT_EQ(std::tuple(At(sign), sign->Type(), sign->Cell(), At(z), z->TypeShape()),
                      std::tuple(b.signalling->panel, b.signalling->type, b.signalling->cell,
                                 b.signalling->connector.pos, b.signalling->connector.shape));
            EXPECT_FALSE(sign->isHidden() || z->isHidden());
        }
        if (b.relay) {
            const TPanMR* mr = Form().PanMR[n];
            const TShapeHorz* line = Form().ShapeHorz[n];
            EXPECT_EQ(mr->geometry(), QRect(b.relay->panel, QSize(FbScheme::RelayWidth, TPanMR::kHeight)));
            for (int k = 0; k < TPanMR::kModules; ++k)
                EXPECT_EQ(mr->Mask(k), b.relay->masks[size_t(k)]) << k;
            EXPECT_EQ(std::pair(At(line), line->Width()), std::pair(b.relay->line, b.relay->lineWidth));
            EXPECT_FALSE(mr->isHidden() || line->isHidden());
        }
    }
    // What the layout decides beyond single blocks.
    EXPECT_EQ(Form().ShapeZ[0]->TypeShape(), stZigzag1);
    EXPECT_TRUE(layout.blocks[1].relay && layout.blocks[4].signalling);
    ASSERT_EQ(Form().AlgLabels.size(), layout.labels.size());
    for (size_t a = 0; a < layout.labels.size(); ++a) {
        EXPECT_EQ(Form().AlgLabels[a]->text(), layout.labels[a].caption);
        EXPECT_EQ(Form().AlgLabels[a]->pos(), layout.labels[a].pos);
        EXPECT_FALSE(Form().AlgLabels[a]->isHidden());
    }
    EXPECT_EQ(Form().SchemeArea->height(), layout.height);
    EXPECT_EQ(Shown<TPanFB>(*Form().SchemeArea), 7);
    EXPECT_EQ(Shown<TPShapeZ>(*Form().SchemeArea), 4); // three output connectors, one signalling
    // Both integrator records stay reserved.
    EXPECT_EQ(std::tuple(FB().IntegratorCount, layout.integrators, FB().GetLogicFBLimit(), st.SchemeNonEmpty),
              std::tuple(1, 1, 120 - 2, 1));

    // A rebuild replaces the labels; no panel, no labels.
    for (int i = 0; i < 8; ++i)
        FB().ClearRecord(i);
    Form().RebuildFBScheme();
    EXPECT_TRUE(Form().AlgLabels.empty());
    EXPECT_TRUE(Form().SchemeArea->findChildren<QLabel*>().isEmpty());
}

TEST_F(FbEditorFixture, AnEmptyTableKeepsTheScrollRangeAndRemovingTheSchemeFreesIt) {
    // An empty table builds nothing and leaves the scroll range.
    Form().SchemeArea->resize(Form().SchemeArea->width(), 777);
    editors.prgD.SchemeState = 0;
    Form().RebuildFBScheme();
    EXPECT_EQ(std::tuple(FB().EditorState.PanelCount, Shown<TPanFB>(*Form().SchemeArea),
                         Form().SchemeArea->height(), FB().EditorState.SchemeNonEmpty,
                         editors.prgD.SchemeState),
              std::tuple(0, 0, 777, 0, 1));

    // Removing the scheme frees every element and scrolls back to the top.
    SetBlock(0, 5);
    Form().RebuildFBScheme();
    ASSERT_EQ(Shown<TPanFB>(*Form().SchemeArea), 1);
    Form().ButAssignConfigClick();
    const QWidget& area = *Form().SchemeArea;
    EXPECT_EQ((std::array{Shown<TPanFB>(area), Shown<TShapeMark>(area), Shown<TShape>(area)}),
              (std::array{0, 0, 0}));
    EXPECT_EQ(Form().PanFB[0], nullptr);
    EXPECT_EQ(FB().EditorState.SelectedIndex, -1);
}

TEST_F(FbEditorFixture, ARebuildShowsNothingOfTheSchemeBefore) {
    SetBlock(0, 8);
    FB().SetX1Num(0, 2);
    FB().SetX1Src(0, 1);
    FB().SetIn8Kind(0, 1);
    FB().SetIn8Num(0, 7);
    FB().SetSigTipS(0, 1);
    FB().SetB9Plus(0, 1, 3);
    SetBlock(1, 1, {{1, 1}, {1, 1}, {1, 1}, {1, 1}});
    FB().SetInType(1, 2, 0);
    Form().RebuildFBScheme();
    ASSERT_NE(Form().PanSign[0], nullptr);
    Form().SetPanFBColor(Form().PanFB[1], QColor(0xA6, 0xCA, 0xF0));
    const TPanFB* kept[] = {Form().PanFB[0], Form().PanFB[1]};

    // The same indices now hold other blocks, without signalling or relay outputs: the kept
    // elements are set up again.
    SetBlock(0, 1, {{0, 0}, {0, 0}, {0, 0}, {0, 0}});
    SetBlock(1, 6, {{0, 0}, {0, 0}});
    Form().RebuildFBScheme();
    EXPECT_TRUE(Form().PanFB[0] == kept[0] && Form().PanFB[1] == kept[1]);
    const TPanFB* p0 = Form().PanFB[0];
    EXPECT_EQ(p0->GetTFB(), ftAND);
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(std::pair(p0->InputBox(j)->Text(), p0->InputBox(j)->Type()), std::pair(QString(), itNormal))
            << j;
    // Block 2 does not take block 1: no connector either.
    const QWidget& area = *Form().SchemeArea;
    EXPECT_EQ((std::array{Shown<TPanSign>(area), Shown<TPanMR>(area), Shown<TShapeHorz>(area),
                          Shown<TPShapeZ>(area), Shown<TPanFB>(area)}),
              (std::array{0, 0, 0, 0, 2}));
    EXPECT_EQ(std::pair(Form().ShapeZ[0]->TypeShape(), Form().ShapeFB[0]->Width()),
              std::pair(stZigzag0, 250));
    const TPanFB* p1 = Form().PanFB[1];
    EXPECT_EQ(std::tuple(At(p1), p1->GetTFB(), p1->Color(), p1->NumberBox()->Color()),
              std::tuple(QPoint(250, 15), ftTimer, clBtnFace(), clBtnFace()));
}

// A left click on the empty area clears the multi-selection and its colours; a right click, for
// the scheme's popup, keeps them.
TEST_F(FbEditorFixture, ALeftClickOnTheEmptyAreaClearsTheSelection) {
    for (int i = 0; i < 3; ++i)
        SetBlock(i, 1);
    ASSERT_TRUE(ShowActive(Form()));
    const QPoint empty(Form().SchemeArea->width() - 2, 2);
    QTest::keyClick(&Form(), Qt::Key_A, Qt::ControlModifier);
    QTest::mouseClick(Form().SchemeArea, Qt::RightButton, {}, empty);
    EXPECT_EQ(FB().EditorState.ChosenCount, 3);
    QTest::mouseClick(Form().PanFB[2], Qt::LeftButton);
    QTest::mouseClick(Form().SchemeArea, Qt::RightButton, {}, empty);
    EXPECT_EQ(FB().EditorState.SelectedIndex, 2);
    EXPECT_EQ(Form().PanFB[2]->Color(), QColor(0xA6, 0xCA, 0xF0));
    QTest::mouseClick(Form().SchemeArea, Qt::LeftButton, {}, empty);
    const FBEditorState& st = FB().EditorState;
    EXPECT_EQ(std::tuple(int(st.Chosen[2]), st.ChosenCount, st.SelectedIndex), std::tuple(0, 0, -1));
    EXPECT_EQ(std::pair(Form().PanFB[2]->Color(), Form().PanFB[2]->NumberBox()->Color()),
              std::pair(clBtnFace(), clBtnFace()));

    // The scheme is the whole visible area: right of the blocks and below the last row as well.
    QWidget* viewport = Form().ScrollBox1->viewport();
    const QRect canvas = Form().SchemeArea->geometry();
    for (const QPoint at : {QPoint(canvas.right() + 5, 5), QPoint(5, canvas.bottom() + 5)}) {
        ASSERT_TRUE(viewport->rect().contains(at)) << at.x() << "," << at.y();
        QTest::mouseClick(Form().PanFB[1], Qt::LeftButton);
        QTest::mouseClick(Form().PanFB[1], Qt::RightButton);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        EXPECT_EQ(std::tuple(int(st.Chosen[1]), st.ChosenCount, st.SelectedIndex), std::tuple(0, 0, -1));
        EXPECT_EQ(Form().PanFB[1]->Color(), clBtnFace());
        ExpectWarning("Не выбран ФБ");
        Form().ADelete->trigger();
        EXPECT_EQ(st.PanelCount, 3);
    }
}

// A double-click anywhere on a block's body, its number and type captions included, opens the
// dialog of the block under the pointer, whatever was selected before.
TEST_F(FbEditorFixture, ADoubleClickOnABlocksBodyEditsThatBlock) {
    for (int i = 0; i < 3; ++i)
        SetBlock(i, 1);
    ASSERT_TRUE(ShowActive(Form()));
    QTest::mouseClick(Form().PanFB[0], Qt::LeftButton);
    const auto opened = [&](QWidget* part, QPoint at) {
        QString number;
        modals.Then([&](QDialog* d) {
            number = static_cast<TFormCreatFB*>(d)->EditNFB->text();
            d->reject(); // the close box: no deletion question
            return 0;
        });
        QTest::mouseDClick(part, Qt::LeftButton, {}, at);
        return number;
    };
    TPanFB* second = Form().PanFB[1];
    TPanFB* third = Form().PanFB[2];
    EXPECT_EQ(opened(third->TypeImage(), QPoint(10, 6)), "3"); // on "И"
    EXPECT_EQ(opened(second->NumberBox(), QPoint(30, 9)), "2");
    EXPECT_EQ(opened(third->Body(), QPoint(1, third->Body()->height() - 1)), "3"); // no caption there
    EXPECT_EQ(FB().EditorState.SelectedIndex, 2);
    EXPECT_EQ(modals.Shown(), 3);
}

// A comparator's panel reads as its dialog: the set point in the text of its stored field.
TEST_F(FbEditorFixture, AComparatorPanelShowsItsSetPointAsTheDialogDoes) {
    for (int i : {0, 1}) {
        SetBlock(i, TProgFBClass::TypeComparator);
        FB().SetCompCond(i, i); // L, then H
    }
    ASSERT_TRUE(FB().SetCompUstText(0, "12,34") && FB().SetCompUstText(1, "1000"));
    Form().RebuildFBScheme();
    for (int i : {0, 1}) {
        ASSERT_NE(Form().PanFB[i], nullptr);
        EXPECT_EQ(PaintedLines(Form().PanFB[i]->TypeImage()).value(1),
                  (i == 0 ? "L " : "H ") + FB().GetCompUstText(i))
            << i;
    }
}
