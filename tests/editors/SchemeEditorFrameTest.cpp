// The frame of the scheme editors, under an editor of its own that only counts what reaches it:
// its actions and keys, the close query behind every way of closing, the scheme area's wheel and
// mouse, and the information buttons.

#include "editors/common/SchemeEditorFrame.h"
#include "EditorFixture.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <tuple>

namespace {

class CountingEditor : public SchemeEditorFrame {
  public:
    using SchemeEditorFrame::SchemeEditorFrame;

    void InPortClick() override { ++reads; }
    void OutPortClick() override { ++writes; }
    bool FormCloseQuery() override {
        ++closeQueries;
        return mayClose;
    }
    void ScrollBox1Click(QObject* sender) override { clickedBy = sender; }
    bool InformFillOnly() const override { return fillOnly; }

    int reads = 0, writes = 0, closeQueries = 0;
    bool mayClose = false, fillOnly = false;
    QObject* clickedBy = nullptr;
};

class SchemeEditorFrameTest : public ::testing::Test {
  protected:
    TComPortClass port;
    EditorSurroundings parts{port};
    CountingEditor editor{parts.context};
};

} // namespace

TEST_F(SchemeEditorFrameTest, ActionsCarryTheirCaptionsAndKeys) {
    EXPECT_EQ(editor.ScrollBoxPopup, editor.PopupMenu3);
    EXPECT_EQ(editor.ScrollBox1->widget(), editor.SchemeArea);
    EXPECT_TRUE(editor.LabelFile->isHidden());
    EXPECT_TRUE(editor.ProgressBar1->isHidden());
    EXPECT_TRUE(editor.InformButMR->isHidden());

    const std::tuple<QAction*, QString, QKeySequence> cases[] = {
        {editor.AInPort, "Ввод с СОМ-порта", Qt::Key_F9},
        {editor.AOutPort, "Вывод на СОМ-порт", Qt::Key_F10},
        {editor.AClose, "Выход", Qt::ALT | Qt::Key_X},
        {editor.ACopyGroup, "Копировать ", Qt::CTRL | Qt::Key_C},
        {editor.AAddGroup, "", Qt::CTRL | Qt::Key_V},
        {editor.AChooseAll, "Выделить все", Qt::CTRL | Qt::Key_A},
        {editor.ADelChoose, "Удалить", Qt::Key_Delete},
        {editor.ADelete, "Удаление элементов", {}},
    };
    for (const auto& [action, caption, key] : cases) {
        EXPECT_EQ(action->text(), caption);
        EXPECT_EQ(action->shortcut(), key) << caption.toStdString();
        EXPECT_TRUE(editor.actions().contains(action)) << caption.toStdString();
    }
}

TEST_F(SchemeEditorFrameTest, KeysReachTheEditorAndEveryCloseAsksItsQuery) {
    editor.show();
    QApplication::setActiveWindow(&editor);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    QTest::keyClick(&editor, Qt::Key_F9);
    QTest::keyClick(&editor, Qt::Key_F10);
    QTest::keyClick(&editor, Qt::Key_F10);
    EXPECT_EQ(editor.reads, 1);
    EXPECT_EQ(editor.writes, 2);

    // Refused: Alt+X, Escape and the close box leave the window open.
    QTest::keyClick(&editor, Qt::Key_X, Qt::AltModifier);
    QTest::keyClick(&editor, Qt::Key_Escape);
    editor.close();
    EXPECT_EQ(editor.closeQueries, 3);
    EXPECT_TRUE(editor.isVisible());

    editor.mayClose = true;
    QTest::keyClick(&editor, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(editor.closeQueries, 4);
    EXPECT_FALSE(editor.isVisible());
}

TEST_F(SchemeEditorFrameTest, WheelScrollsTheSchemeByTenPixels) {
    editor.SchemeArea->resize(200, 3000);
    editor.resize(400, 400);
    editor.show();
    QScrollBar* bar = editor.ScrollBox1->verticalScrollBar();
    const auto turn = [&](QWidget* target, int delta) {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
        return bar->value();
    };
    EXPECT_EQ(turn(editor.ScrollBox1->viewport(), -120), 10);
    EXPECT_EQ(turn(editor.SchemeArea, -120), 20);
    EXPECT_EQ(turn(editor.SchemeArea, 120), 10);
    EXPECT_EQ(turn(editor.ScrollBox1->viewport(), 120), 0);
    EXPECT_EQ(turn(editor.ScrollBox1->viewport(), 120), 0); // not above the top
}

// Any press on the empty scheme restores its popup; only a left click reaches the editor's click.
TEST_F(SchemeEditorFrameTest, ClickOnTheEmptySchemeRestoresItsPopupAndOnlyALeftOneReachesTheEditor) {
    editor.show();
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton}) {
        editor.ScrollBoxPopup = editor.PopupMenu1; // as after a press on an element
        QTest::mouseClick(editor.SchemeArea, button);
        EXPECT_EQ(editor.ScrollBoxPopup, editor.PopupMenu3) << button;
        EXPECT_EQ(editor.clickedBy, button == Qt::LeftButton ? editor.ScrollBox1 : nullptr) << button;
    }
}

TEST_F(SchemeEditorFrameTest, InformationButtonsFillTheirWindows) {
    editor.show();
    parts.inform.StringGrid1->item(5, TInform::dcText)->setText("старое");
    editor.fillOnly = true;
    editor.InformBut->click();
    EXPECT_TRUE(parts.inform.StringGrid1->item(5, TInform::dcText)->text().isEmpty());
    EXPECT_TRUE(parts.inform.isHidden());
    editor.fillOnly = false;
    editor.InformBut->click();
    EXPECT_TRUE(parts.inform.isVisible());
    editor.InformButMRClick();
    EXPECT_TRUE(parts.informMR.isVisible());
}
