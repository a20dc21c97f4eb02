#include "Obrinform.h"
#include "Obrinformmr.h"

#include <gtest/gtest.h>

#include <QTableWidget>
#include <QTextEdit>

namespace {

void expectAllCellsEmpty(const QTableWidget* grid)
{
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c) {
            ASSERT_NE(grid->item(r, c), nullptr) << r << "," << c;
            EXPECT_TRUE(grid->item(r, c)->text().isEmpty()) << r << "," << c;
        }
}

} // namespace

TEST(InformationWindows, GridsHaveTheirShapeAndClearToEmptyCells)
{
    TInform inform;
    EXPECT_EQ(inform.windowTitle(), "Информация о входах");
    EXPECT_EQ(inform.StringGrid1->rowCount(), 192);
    EXPECT_EQ(inform.StringGrid1->columnCount(), 5);
    EXPECT_EQ(inform.StringGrid2->rowCount(), 60);
    EXPECT_EQ(inform.StringGrid2->columnCount(), 5);
    expectAllCellsEmpty(inform.StringGrid1);
    inform.StringGrid1->item(191, TInform::dcRelay)->setText("       V");
    inform.StringGrid2->item(59, TInform::acLongText)->setText("длинный текст");
    inform.RichEdit1->setPlainText("a");
    inform.RichEdit4->setPlainText("b");
    inform.Clear();
    expectAllCellsEmpty(inform.StringGrid1);
    expectAllCellsEmpty(inform.StringGrid2);
    EXPECT_TRUE(inform.RichEdit1->toPlainText().isEmpty());
    EXPECT_TRUE(inform.RichEdit4->toPlainText().isEmpty());

    TInformMR informMR;
    EXPECT_EQ(informMR.windowTitle(), "Информация о выходах");
    EXPECT_EQ(informMR.StringGrid1->rowCount(), 40);
    EXPECT_EQ(informMR.StringGrid1->columnCount(), int(TInformMR::colCount));
    informMR.StringGrid1->item(39, TInformMR::colBlocking)->setText("с   блокировкой");
    informMR.Clear();
    expectAllCellsEmpty(informMR.StringGrid1);
}
