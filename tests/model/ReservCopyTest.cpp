#include "TCopyBlocksClass.h"
#include "TReservBlocksClass.h"

#include <gtest/gtest.h>

#include <QStringList>

TEST(ReservBlocks, SectionsKeepTheirImagesRefuseShortDataAndReset) {
    TReservBlocksClass r;
    QByteArray module(169, 0);
    for (int k = 0; k < 169; ++k)
        module[k] = char(k);
    ASSERT_TRUE(r.ModuleImages().Set(7, module));
    EXPECT_FALSE(r.ModuleImages().Set(8, module));
    EXPECT_FALSE(r.ModuleImages().Set(0, module.left(168)));
    EXPECT_EQ((std::array{r.ModuleImages().Get(7), r.ModuleImages().Get(6), r.ModuleImages().Get(0),
                          r.ModuleImages().Get(8)}),
              (std::array{module, QByteArray(169, 0), QByteArray(169, 0), QByteArray()}));

    // Network group g at section offset 169·g: its last byte is separate from the next group.
    r.NetGroups().SetByte(2, 168, 0x5A);
    r.NetGroups().SetByte(2, 169, 1);
    EXPECT_EQ((std::array{r.NetGroups().GetByte(2, 168), r.NetGroups().GetByte(3, 0),
                          r.NetGroups().GetByte(2, 169)}),
              (std::array{0x5A, 0, 0}));

    InputTextRow row;
    row[0] = QStringLiteral("БРОН");
    r.SetInputTextRow(191, row);
    r.SetInputTextRow(192, row);
    EXPECT_EQ(QStringList({r.GetInputTextRow(191)[0], r.GetInputTextRow(192)[0]}), QStringList({"БРОН", ""}));

    // The algorithm reserve and its reset.
    r.AlgReserve.SetCount(2);
    r.AlgReserve.SetMark(4, 5);
    r.AlgReserve.SetEntry(1, 119, 7);
    r.AlgReserve.SetEntry(1, 120, 7); // rows hold 120 entries
    EXPECT_EQ(r.AlgReserve.GetEntry(1, 120), 0);
    r.AlgNames().Set(0, QByteArray(100, 'x'));
    r.ResetAlgorithms();
    EXPECT_EQ((std::array{r.AlgReserve.GetCount(), r.AlgReserve.GetMark(4), r.AlgReserve.GetEntry(1, 119)}),
              (std::array{0, 255, 255}));
    EXPECT_EQ(r.AlgNames().Get(0), QByteArray(100, ' '));
}

TEST(CopyBlocks, ClipboardSectionsAreBounded) {
    TCopyBlocksClass c;
    c.SetFbCopyMark(120, 1);
    c.SetFbCopyMark(121, 1);
    c.SetRegCopyFlag(2, 1);
    EXPECT_EQ((std::array{c.GetFbCopyMark(120), c.GetFbCopyMark(121), c.GetRegCopyFlag(2)}),
              (std::array{1, 0, 0}));
    EXPECT_TRUE(c.RelayBases().Set(4, QByteArray(24, 'r')));
    EXPECT_FALSE(c.RelayBases().Set(5, QByteArray(24, 'r')));
    EXPECT_EQ(c.RelayBases().Get(4), QByteArray(24, 'r'));
}
