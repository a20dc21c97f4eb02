// The scheme rebuilt from the function-block records.

#include "Colors.h"
#include "FbEditorFixture.h"
#include "Obrinform.h"
#include "editors/discrete/Prog_diskr.h"
#include "panels/Panfb.h"
#include "panels/Panmr.h"
#include "panels/Pansign.h"
#include "panels/Pshapez.h"
#include "panels/Shapehorz.h"
#include "panels/Shapemark.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
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

TEST_F(FbEditorFixture, PositionsFollowRowsRelayOutputsAndAlgorithms) {
    for (int i = 0; i < 7; ++i)
        SetBlock(i, 1);
    FB().SetB9Plus(1, 1, 0x05); // block 2 drives relays 1 and 3 of module 1
    FB().SetB9Plus(1, 4, 0x80);
    FB().AlgTable.SetMark(6, 7); // block 7 starts an algorithm
    FB().SetSigTipS(4, 2);
    FB().SetSigNTabS(4, 7);
    Form().RebuildFBScheme();

    const FBEditorState& st = FB().EditorState;
    ASSERT_EQ(st.PanelCount, 7);
    // (row, column): block 1 (0,0), block 2 (0,1) with a relay output ends the row, blocks 3..5
    // fill row 1, block 6 (2,0), block 7 starts row 3 for its algorithm.
    const int rows[] = {0, 0, 1, 1, 1, 2, 3};
    const int cols[] = {0, 1, 0, 1, 2, 0, 0};
    for (int n = 0; n < 7; ++n) {
        const TPanFB* p = Form().PanFB[n];
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->Number(), n + 1);
        EXPECT_EQ(At(p), QPoint(cols[n] * 250, rows[n] * 120 + 15)) << n;
        const int link[] = {n, cols[n] * 250, rows[n] * 120 + 15, rows[n], cols[n]};
        EXPECT_TRUE(std::equal(link, link + 5, st.Links[n].w.begin())) << n;
        EXPECT_EQ(At(Form().ShapeFB[n]), At(p));
        EXPECT_EQ(At(Form().ShapeMark[n]), At(p) + QPoint(150, 72));
        EXPECT_EQ(At(Form().ShapeZ[n]), At(p) + QPoint(230, 20));
        EXPECT_EQ(st.HasRelay[n] + 2 * st.HasSign[n], n == 1 ? 1 : n == 4 ? 2 : 0) << n;
    }
    // Block 2's relay panel, its line to column 3 and the widened background.
    const TPanMR* mr = Form().PanMR[1];
    ASSERT_NE(mr, nullptr);
    EXPECT_EQ(At(mr), QPoint(750, 15 + 24));
    EXPECT_EQ(mr->Mask(0), 0x05);
    EXPECT_EQ(mr->Mask(3), 0x80);
    const TShapeHorz* line = Form().ShapeHorz[1];
    EXPECT_EQ(At(line), QPoint(500, 15 + 44));
    EXPECT_EQ(line->Width(), 250);
    EXPECT_EQ(Form().ShapeFB[1]->Width(), 250 + 64 + 250);
    EXPECT_EQ(Form().ShapeZ[1]->TypeShape(), stZigzag2);
    EXPECT_EQ(Form().PanMR[0], nullptr);
    // Block 5's signalling.
    const TPanSign* sign = Form().PanSign[4];
    ASSERT_NE(sign, nullptr);
    EXPECT_EQ(At(sign), At(Form().PanFB[4]) + QPoint(165, 10));
    EXPECT_EQ(sign->Type(), 2);
    EXPECT_EQ(sign->Cell(), 7);
    EXPECT_EQ(At(Form().ShapeZSign[4]), At(Form().PanFB[4]) + QPoint(192, 17));
    // The scroll range ends 20 below the last panel.
    EXPECT_EQ(Form().SchemeArea->height(), 3 * 120 + 15 + TPanFB::kHeight + 20);
    EXPECT_EQ(st.SchemeNonEmpty, 1);
}

TEST_F(FbEditorFixture, InputsShowTheirSourcesAndTheConnectorReachesTheNextBlock) {
    Cfg().Serv.SetInputTextString(4, 0, "БРОН");
    Cfg().Serv.SetInputTextString(4, 1, ".Д5");
    form1->Inform->StringGrid2->item(2, TInform::acIdent)->setText("БРОН.А3");
    SetBlock(0, 3, {{0, 5}, {4, 5}, {2, 3}, {1, 121}});
    SetBlock(1, 1, {{1, 185}, {3, 4}, {1, 1}, {0, 0}});
    FB().SetInType(1, 1, 0); // inverse
    SetBlock(2, 4, {{1, 1}, {0, 193}, {1, 2}});
    SetBlock(3, 6, {{1, 3}}); // timer T0: two inputs
    Form().RebuildFBScheme();

    const auto caption = [&](int n, int j) { return Form().PanFB[n]->InputBox(j)->Text(); };
    // Block 2: past the КВУ numbers, kind 3 names nothing, a block, nothing.
    const QStringList expected[] = {{"БРОН.Д5", "БРОН.Д5  b", "БРОН.А3  b", "КВУ121"}, {"", "", "ФБ1", ""}};
    for (int n = 0; n < 2; ++n)
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(caption(n, j), expected[n][j]) << n << " " << j;
    EXPECT_EQ(caption(2, 1), "");
    EXPECT_EQ(Form().PanFB[1]->InputBox(1)->Type(), itInverse);
    EXPECT_EQ(Form().PanFB[1]->InputBox(0)->Type(), itNormal);

    // Block 2's input 3 takes block 1: block 1's connector reaches input 3. Block 3 takes
    // block 1 too, which shows only the caption; its input 3 takes block 2: connector to input 3.
    EXPECT_EQ(caption(2, 0), "ФБ1");
    for (int n = 0; n < 2; ++n) {
        EXPECT_EQ(Form().ShapeZ[n]->TypeShape(), stZigzag1);
        EXPECT_FALSE(Form().ShapeZ[n]->isHidden());
    }
    EXPECT_EQ(Form().ShapeZ[2]->TypeShape(), stZigzag3); // block 4's input 1
    EXPECT_TRUE(Form().ShapeZ[3]->isHidden());           // nothing takes block 4
    // Links keep the feeding block numbers of kind-1 sources within the table only.
    const auto& links = FB().EditorState.Links;
    EXPECT_EQ(links[0].w[8], 0); // КВУ121
    EXPECT_EQ(links[1].w[7], 1);
    EXPECT_EQ(links[2].w[5], 1);
    EXPECT_EQ(links[2].w[7], 2);

    // A block with a relay output keeps its relay connector whatever the next block takes.
    FB().SetB9Plus(0, 2, 1);
    Form().RebuildFBScheme();
    EXPECT_EQ(Form().ShapeZ[0]->TypeShape(), stZigzag2);
    EXPECT_FALSE(Form().ShapeZ[0]->isHidden());

    // The comparator: its discrete input from bytes 7..8 on input 1, the analogue operand's
    // caption on the next box.
    SetBlock(4, 8);
    FB().SetIn8Type(4, 1);
    FB().SetIn8Kind(4, 1);
    FB().SetIn8Num(4, 4);
    FB().SetX1Num(4, 3);
    FB().SetX1Src(4, 0);
    FB().SetCompHyst(4, 9);
    Form().RebuildFBScheme();
    const TPanFB* cmp = Form().PanFB[4];
    EXPECT_EQ(caption(4, 0), "ФБ4");
    EXPECT_EQ(Form().ShapeZ[3]->TypeShape(), stZigzag3);
    ASSERT_NE(cmp->InputBox(1), nullptr);
    EXPECT_TRUE(cmp->InputBox(1)->isVisibleTo(cmp));
    EXPECT_EQ(caption(4, 1), "БРОН.А3");
    FB().SetX1Src(4, 1);
    Form().RebuildFBScheme();
    EXPECT_EQ(caption(4, 1), "МБ3");
}

TEST_F(FbEditorFixture, TheSchemeEndsAtTheFirstRecordOfNoLogicType) {
    // An empty table builds nothing and leaves the scroll range.
    Form().SchemeArea->resize(Form().SchemeArea->width(), 777);
    form1->FormPrgD->SchemeState = 0;
    Form().RebuildFBScheme();
    EXPECT_EQ(FB().EditorState.PanelCount, 0);
    EXPECT_EQ(Shown<TPanFB>(*Form().SchemeArea), 0);
    EXPECT_TRUE(Form().AlgLabels.empty());
    EXPECT_EQ(Form().SchemeArea->height(), 777);
    EXPECT_EQ(FB().EditorState.SchemeNonEmpty, 0);
    EXPECT_EQ(form1->FormPrgD->SchemeState, 1);

    // Three blocks, two integrators and one arithmetic block after them; then an AND block
    // that is not drawn.
    for (int i = 0; i < 3; ++i)
        SetBlock(i, 5);
    SetBlock(3, 12);
    SetBlock(4, 12);
    SetBlock(5, 0x1C);
    SetBlock(6, 1);
    Form().RebuildFBScheme();
    EXPECT_EQ(FB().EditorState.PanelCount, 3);
    EXPECT_EQ(Shown<TPanFB>(*Form().SchemeArea), 3);
    EXPECT_EQ(FB().IntegratorCount, 2);
    EXPECT_EQ(FB().ArithBlockCount, 1);
    EXPECT_EQ(FB().GetLogicFBCount(), 120 - 1 - 2);

    // A type outside 1..9 ends the scheme like an empty record, whatever follows.
    for (int bad : {0, 10, 11, 13, 15}) {
        SetBlock(1, bad);
        Form().RebuildFBScheme();
        EXPECT_EQ(FB().EditorState.PanelCount, 1) << bad;
        EXPECT_EQ(Shown<TPanFB>(*Form().SchemeArea), 1) << bad;
        EXPECT_EQ(Form().PanFB[1], nullptr);
    }

    // Fields outside their enumerations show as the first member; the record stays as it was.
    SetBlock(1, 6);
    FB().SetSubtype(1, 9);
    FB().SetTimerDiskr(1, 3);
    FB().SetTimeUst(1, 200);
    SetBlock(2, 7);
    FB().SetSubtype(2, 6);
    const auto t = FB().GetRecord(1), tr = FB().GetRecord(2);
    Form().RebuildFBScheme();
    ASSERT_EQ(FB().EditorState.PanelCount, 3);
    EXPECT_EQ(Form().PanFB[1]->TypeImage()->Lines().mid(1, 2), (QStringList{"T0", "12,0 с"}));
    EXPECT_EQ(Form().PanFB[1]->InputCount(), 2);
    EXPECT_EQ(Form().PanFB[2]->TypeImage()->Lines().value(1), "RS");
    EXPECT_EQ(FB().GetRecord(1), t);
    EXPECT_EQ(FB().GetRecord(2), tr);

    // Removing the scheme frees every element and scrolls back to the top.
    Form().ButAssignConfigClick();
    EXPECT_EQ(Shown<TPanFB>(*Form().SchemeArea), 0);
    EXPECT_EQ(Shown<TShapeMark>(*Form().SchemeArea), 0);
    EXPECT_EQ(Shown<TShape>(*Form().SchemeArea), 0);
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

    // The same indices now hold other blocks, without signalling or relay outputs.
    SetBlock(0, 1, {{0, 0}, {0, 0}, {0, 0}, {0, 0}});
    SetBlock(1, 6, {{0, 0}, {0, 0}});
    Form().RebuildFBScheme();
    const TPanFB* p0 = Form().PanFB[0];
    EXPECT_EQ(p0->GetTFB(), ftAND);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(p0->InputBox(j)->Text(), "") << j;
        EXPECT_EQ(p0->InputBox(j)->Type(), itNormal) << j;
    }
    EXPECT_EQ(Shown<TPanSign>(*Form().SchemeArea), 0);
    EXPECT_EQ(Shown<TPanMR>(*Form().SchemeArea), 0);
    EXPECT_EQ(Shown<TShapeHorz>(*Form().SchemeArea), 0);
    EXPECT_EQ(Shown<TPShapeZ>(*Form().SchemeArea), 0); // block 2 does not take block 1
    EXPECT_EQ(Form().ShapeZ[0]->TypeShape(), stZigzag0);
    EXPECT_EQ(Form().ShapeFB[0]->Width(), 250);
    EXPECT_EQ(At(Form().PanFB[1]), QPoint(250, 15));
    EXPECT_EQ(Form().PanFB[1]->GetTFB(), ftTimer);
    EXPECT_EQ(Form().PanFB[1]->Color(), clBtnFace());
    EXPECT_EQ(Form().PanFB[1]->NumberBox()->Color(), clBtnFace());
    EXPECT_EQ(Shown<TPanFB>(*Form().SchemeArea), 2);
}

TEST_F(FbEditorFixture, SixtyBlockTableBoundsTheScheme) {
    for (int i = 0; i < 120; ++i)
        SetBlock(i, 1);
    FB().FBCount = 60;
    SetBlock(60, 12); // beyond the table: not a calculation block of it
    // A kind-1 number above 60 is a КВУ signal there.
    SetBlock(1, 1, {{1, 61}, {1, 120}, {1, 121}});
    Form().RebuildFBScheme();
    EXPECT_EQ(FB().EditorState.PanelCount, 60);
    EXPECT_EQ(FB().IntegratorCount, 0);
    EXPECT_EQ(Form().PanFB[1]->InputBox(0)->Text(), "КВУ61");
    EXPECT_EQ(Form().PanFB[1]->InputBox(1)->Text(), "КВУ120");
    EXPECT_EQ(Form().PanFB[1]->InputBox(2)->Text(), "");
}

TEST_F(FbEditorFixture, AlgorithmLabelsStandAboveTheirFirstBuiltBlock) {
    for (int i = 0; i < 5; ++i)
        SetBlock(i, 1);
    auto& alg = FB().AlgTable;
    alg.SetCount(4);
    alg.SetEntry(0, 0, 4);
    alg.SetEntry(0, 1, 5);
    alg.SetMark(3, 4);
    // Algorithm 1 is empty; 2 starts with 0; 3 with a block that has no panel.
    alg.SetEntry(2, 0, 0);
    alg.SetEntry(3, 0, 50);
    for (int a = 0; a < 4; ++a)
        FB().SetFbText(a, QString("Алгоритм %1   ").arg(a + 1));
    Form().RebuildFBScheme();

    ASSERT_EQ(Form().AlgLabels.size(), 4u);
    const int lastTop = Form().PanFB[4]->Top();
    EXPECT_EQ(Form().AlgLabels[0]->pos(), QPoint(8, Form().PanFB[3]->Top() - 12));
    for (int a = 1; a < 4; ++a)
        EXPECT_EQ(Form().AlgLabels[size_t(a)]->pos(), QPoint(8, lastTop + 108)) << a;
    EXPECT_EQ(Form().AlgLabels[0]->text(), "Алгоритм 1");

    // A rebuild replaces the labels; no panel, no labels.
    for (int i = 0; i < 5; ++i)
        FB().ClearRecord(i);
    Form().RebuildFBScheme();
    EXPECT_TRUE(Form().AlgLabels.empty());
    EXPECT_TRUE(Form().SchemeArea->findChildren<QLabel*>().isEmpty());
}

// A click on the empty area clears the multi-selection and its colours.
TEST_F(FbEditorFixture, AClickOnTheEmptyAreaClearsTheSelection) {
    for (int i = 0; i < 3; ++i)
        SetBlock(i, 1);
    Form().RebuildFBScheme();
    FB().EditorState.Chosen[2] = 1;
    FB().EditorState.ChosenCount = 1;
    FB().EditorState.SelectedIndex = 2;
    Form().SetPanFBColor(Form().PanFB[2], QColor(0xA6, 0xCA, 0xF0));
    Form().ScrollBox1Click(Form().ScrollBox1);
    EXPECT_EQ(FB().EditorState.Chosen[2], 0);
    EXPECT_EQ(FB().EditorState.ChosenCount, 0);
    EXPECT_EQ(FB().EditorState.SelectedIndex, -1);
    EXPECT_EQ(Form().PanFB[2]->Color(), clBtnFace());
    EXPECT_EQ(Form().PanFB[2]->NumberBox()->Color(), clBtnFace());
}
