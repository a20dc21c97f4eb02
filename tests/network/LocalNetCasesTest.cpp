// The local network's remaining cases: which stages a save writes, request blocks created or
// changed in kind, the last of the 16 blocks, a block created in front of a later one, and the
// Ф15 function code and signal edits.

#include "LocalNetFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace {

std::vector<int> Ids(int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

class LocalNetCasesTest : public LocalNetTest {
  protected:
    // Opens request block i in the editor, lets edit fill it, closes it with OK.
    void EditBlock(int i, const std::function<void()>& edit) {
        SetModalHandler([&](QDialog*) {
            edit();
            mbm.OKClick();
            return mbm.result();
        });
        lnet.Button1Click(i);
        SetModalHandler({});
    }
    void ChooseType(int type) {
        mbm.TipUstr->setCurrentIndex(type);
        mbm.TipUstrClick(type);
        mbm.EditKolVhChange();
    }
    void ChooseFunction(int code) {
        mbm.CBoxKodF->setCurrentIndex(code - 1);
        mbm.CBoxKodFClick(code - 1);
    }
    static std::vector<int> Tables() { return Ids(12, 19) + Ids(41, 51) + Ids(20, 31); }
    // Deletes block 0, closes with Yes; the blocks written in order, block 10's frame byte by
    // byte with its link byte.
    void DeleteFirstBlockAndSave(const std::vector<int>& written, int linkByte) {
        lnet.PopupAutoShow = false;
        lnet.show();
        lnet.Button1MouseDown(0);
        lnet.DeleteBlClick();
        ExpectTransferQuestion(mrYes);
        lnet.OKClick();
        EXPECT_EQ(WrittenIds(), written);
        Bytes data = Descriptor();
        data[0] = 10;
        EXPECT_EQ(data[193], linkByte);
        const auto frames = device.ReceivedOf('E');
        const auto at = size_t(std::find(written.begin(), written.end(), 10) - written.begin());
        ASSERT_GT(frames.size(), at);
        EXPECT_EQ(frames[at], Frame::Build(1, 'E', data));
        EXPECT_EQ(Cfg().MBM.NetEdit.NetTablesChanged, 0);
        EXPECT_EQ(Cfg().Reserv.GetDiscrInCount(), 44);
    }
    // Block 0 a discrete block of 6 outputs, block 1 behind it at row 42 feeding function block
    // 1 and holding the first channel; block 0 is edited and must become analogue of 6 values.
    void ExpectDiscreteBlockBecomesAnalogue(const std::function<void()>& edit, int code) {
        MakeBlock(Cfg(), 0, 1, 6, Others, 36, 4);
        MakeBlock(Cfg(), 1, 3, 2, Dkrn, 42, 4);
        Cfg().Serv.SetDiscrInCount(50);
        Cfg().FB.SetInNum(0, 0, 43);
        Cfg().MBM.SetChNSkText("5", 0);
        SaveAll();
        lnet.show();
        EditBlock(0, edit);
        const TProgMBMClass& m = Cfg().MBM;
        EXPECT_EQ(m.GetKodF(0), code);
        EXPECT_EQ(m.NetEdit.DiscreteShift, 24 - 6);
        EXPECT_EQ(m.NetEdit.AnalogueShift, 6);
        EXPECT_EQ(m.GetStAddrBeg1(1), 60);
        EXPECT_EQ(m.GetStAddrBeg2(1), 10);
        EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 68);
        EXPECT_EQ(Cfg().Serv.GetAnInCount(), 12);
        EXPECT_EQ(Cfg().Serv.GetNameText(60), "N42");
        EXPECT_EQ(Cfg().Serv.GetNameText(36), "");
        EXPECT_EQ(Cfg().FB.GetInNum(0, 0), 61);
        EXPECT_EQ(m.GetChNSkText(6), "5");
        EXPECT_EQ(Cfg().Serv.GetInputText8(60), "ЛС2.А1.LL");
        EXPECT_EQ(m.NetEdit.NetTablesChanged, 1);
        EXPECT_EQ(m.NetEdit.AnGroupsWritten, 0);
        EXPECT_EQ(lnet.Buttons[0]->text(), QString("Ф%1").arg(code));
    }
    Bytes RecordBytes(int i) {
        const Bytes d = Descriptor();
        return Bytes(d.begin() + 1 + TProgMBMClass::RequestSize * i,
                     d.begin() + 1 + TProgMBMClass::RequestSize * (i + 1));
    }
};

// With eight analogue modules no scaling group is written.
TEST_F(LocalNetCasesTest, EightModulesSendNoGroup) {
    for (int s = 1; s <= 8; ++s)
        Cfg().Serv.SetSlotModuleCode(s, 6);
    DeleteFirstBlockAndSave(Ids(10, 10) + Tables(), 0);
}

// A link change together with a deletion writes the tables too.
TEST_F(LocalNetCasesTest, LinkChangeWithADeletionWritesEverything) {
    lnet.show();
    lnet.Parit->setCurrentIndex(3);
    emit lnet.Parit->activated(3);
    DeleteFirstBlockAndSave(Ids(2, 8) + Ids(10, 10) + Tables(), 3);
}

TEST_F(LocalNetCasesTest, NewAnalogueBlockTakesItsPositionsWithoutAFrame) {
    lnet.show();
    EditBlock(2, [&] {
        EXPECT_EQ(mbm.Label9->text(), "Создание");
        ChooseType(Dkrn);
        mbm.EditUstr->setText("9");
    });
    EXPECT_EQ(RecordBytes(2), (Bytes{3, 1, 9, 0, 0, 1, 0, Dkrn, 52, 6, 0x00, 0x40}));
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 56);
    EXPECT_EQ(Cfg().Serv.GetAnInCount(), 7);
    EXPECT_EQ(Cfg().Serv.GetNetAnTotal(), 3);
    EXPECT_EQ(Cfg().Serv.GetNetBlockCount(), 3);
    const QStringList texts{"ЛС3.А1.LL", "ЛС3.А1.L", "ЛС3.А1.H", "ЛС3.А1.HH"};
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(Cfg().Serv.GetInputText8(52 + s), texts[s]);
    EXPECT_EQ(lnet.Buttons[2]->text(), "Ф3");
    EXPECT_EQ(Cfg().MBM.NetEdit.BlockFailed[2], 0);
    EXPECT_EQ(Cfg().MBM.NetEdit.DescriptorWritten, 0);
    EXPECT_EQ(CountOf('E'), 0);
}

// Function 3, then 4, on a discrete block counts the shift once.
TEST_F(LocalNetCasesTest, FunctionThreeThenFourShiftsOnce) {
    ExpectDiscreteBlockBecomesAnalogue([&] { ChooseFunction(3), ChooseFunction(4); }, 4);
}

// A preset that changes only the kind (6 outputs stay 6) shifts too.
TEST_F(LocalNetCasesTest, PresetChangingOnlyTheKindShifts) {
    ExpectDiscreteBlockBecomesAnalogue([&] { ChooseType(Dlts); }, 3);
}

// Blocks 2..14 end at row 176; the 16th block of 16 inputs ends exactly at 192 and the counts
// are stored.
TEST_F(LocalNetCasesTest, SixteenthBlockReachesTheLastRow) {
    int row = 52;
    for (int i = 2; i <= 14; ++i) {
        const int outputs = i == 2 ? 28 : 8;
        MakeBlock(Cfg(), i, 2, outputs, Others, row, 6);
        row += outputs;
    }
    Cfg().Serv.SetDiscrInCount(row);
    lnet.show();
    EditBlock(15, [&] {
        ChooseType(Veg01);
        mbm.EditUstr->setText("16");
    });
    EXPECT_EQ(Cfg().MBM.GetKodF(15), 1);
    EXPECT_EQ(Cfg().MBM.GetStAddrBeg1(15), 176);
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 192);
    EXPECT_EQ(Cfg().Serv.GetAnInCount(), 6);
    EXPECT_EQ(Cfg().Serv.GetNetBlockCount(), 16);
    EXPECT_EQ(Cfg().Serv.GetInputText8(191), "ЛС16.Д16");
    EXPECT_EQ(lnet.Buttons[15]->text(), "Ф1");
}

// Block 5 made while 2..4 are empty takes the next rows; block 3 made afterwards goes in front
// of it, and block 5 moves up with its names and inputs.
TEST_F(LocalNetCasesTest, BlockCreatedBeforeALaterOneMovesIt) {
    lnet.show();
    const auto veg01 = [&] {
        ChooseType(Veg01);
        mbm.EditUstr->setText("2");
    };
    EditBlock(5, veg01);
    EXPECT_EQ(Cfg().MBM.GetStAddrBeg1(5), 52);
    Cfg().Serv.SetNameText(52, "five");
    Cfg().FB.SetInNum(0, 1, 53);
    EditBlock(3, [&] {
        EXPECT_EQ(mbm.StAddr_Beg1->text(), "52");
        veg01();
    });
    const TProgMBMClass& m = Cfg().MBM;
    EXPECT_EQ(m.GetStAddrBeg1(3), 52);
    EXPECT_EQ(m.GetStAddrBeg1(5), 68);
    EXPECT_EQ(m.GetStAddrBeg2(5), 6);
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 84);
    EXPECT_EQ(Cfg().Serv.GetNameText(68), "five");
    EXPECT_EQ(Cfg().Serv.GetNameText(52), "");
    EXPECT_EQ(Cfg().FB.GetInNum(0, 1), 69);
    EXPECT_EQ(Cfg().Serv.GetInputText8(52), "ЛС4.Д1");
    EXPECT_EQ(Cfg().Serv.GetInputText8(68), "ЛС6.Д1");
    EXPECT_EQ(m.NetEdit.NetTablesChanged, 1);
}

TEST_F(LocalNetCasesTest, F15CodeAndSignalEdits) {
    lnet.show();
    // Code 7 is refused at the edit's exit and not stored, on an empty and on a used block.
    f15.Prepare(0);
    f15.EditKodF->setText("7");
    f15.EditKodFExit();
    EXPECT_EQ(Cfg().F15.GetFuncCode(0), 0);
    Cfg().F15.SetFuncCode(1, 15);
    Cfg().F15.SetB3(1, 3);
    Cfg().F15.SetB2(1, 2);
    Cfg().F15.SetW6(1, 2);
    Cfg().F15.SetSignal(1, 0, 40);
    Cfg().F15.SetSignal(1, 1, 41);
    SaveF15Reserve(Cfg());
    f15.Prepare(1);
    f15.EditKodF->setText("7");
    f15.EditKodFExit();
    EXPECT_EQ(Cfg().F15.GetFuncCode(1), 15);

    // Closing checks again: No keeps the editor open; corrected, the block closes.
    boxes.Expect("Ошибка программирования \nЗакончить?", "Подтвердите окончание программирования",
                 MsgButtons::YesNo, MsgIcon::Question, mrNone, mrNo);
    EXPECT_FALSE(f15.FormCloseQuery());
    f15.EditKodF->setText("15");
    EXPECT_TRUE(f15.FormCloseQuery());
    EXPECT_TRUE(boxes.Done());

    // A larger count keeps the enabled signals; opening disables and zeroes the edits past it.
    f15.EditKolVh->setText("3");
    f15.EditKolVhExit();
    EXPECT_EQ(f15.Edits[1]->text(), "41");
    EXPECT_TRUE(f15.Edits[2]->isEnabled());
    EXPECT_EQ(f15.Edits[2]->text(), "0");
    f15.Edits[2]->setText("9");
    f15.Prepare(1);
    EXPECT_EQ(f15.Edits[0]->text(), "40");
    EXPECT_FALSE(f15.Edits[2]->isEnabled());
    EXPECT_EQ(f15.Edits[2]->text(), "0");
}

// Shrinking block 0 (8 → 4 inputs) moves block 1 down by 4 and clears, from the new end, as
// many rows as block 1 needs: rows that came down from past the old end hold nothing.
TEST_F(LocalNetCasesTest, ShrinkingClearsTheRowsBroughtDownFromPastTheEnd) {
    for (int r = 52; r < 62; ++r)
        Cfg().Serv.SetNameText(r, QString("S%1").arg(r));
    Cfg().Veg.SetRecord(52, {0x41, 1, 2, 3, 4, 5, 6, 7});
    lnet.show();
    EditBlock(0, [&] {
        mbm.EditKolVh->setText("4");
        mbm.EditKolDat->setText("4");
    });
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 48);
    EXPECT_EQ(Cfg().MBM.GetStAddrBeg1(1), 40);
    EXPECT_EQ(Cfg().Serv.GetNameText(40), "N44");
    EXPECT_EQ(Cfg().Serv.GetNameText(47), "N51");
    for (int r = 48; r < 56; ++r)
        EXPECT_EQ(Cfg().Serv.GetNameText(r), "") << r;
    EXPECT_EQ(Cfg().Serv.GetNameText(56), "S60");
    EXPECT_EQ(Cfg().Veg.GetRecord(48), (std::array<uint8_t, 8>{0x20, 0, 0, 0, 0, 0, 0, 0}));
}
