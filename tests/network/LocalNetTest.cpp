// The local network: its rules over the configuration (positions, deletion, request checks, Ф15
// checks) and what its windows add, on the simulated device: the stages a save writes, request
// blocks created or changed in kind, the last of the 16 blocks, a block created in front of a later
// one, and the Ф15 editor.

#include "LocalNetFixture.h"

#include <QLabel>

TEST_F(LocalNetTest, DeletionMovesRecordsTablesAndCounts) {
    Cfg().MBM.NetEdit.SelectedBlock = 0;
    lnet.show();
    lnet.DeleteBlClick();
    TProgMBMClass& m = Cfg().MBM;
    EXPECT_EQ(m.GetKodF(0), 3);
    EXPECT_EQ(Starts(0), std::pair(36, 4));
    EXPECT_EQ(m.GetKodF(1), 0);
    EXPECT_EQ(m.GetStAddrBeg1(1), 0);
    EXPECT_EQ(Counts(), std::pair(44, 6));
    EXPECT_EQ(Cfg().Serv.GetNameText(36), "N44"); // the names moved down by 8
    EXPECT_EQ(Cfg().FB.GetInNum(0, 0), 37);       // and the block input with them
    const QStringList setPoints{"ЛС1.А1.LL", "ЛС1.А1.L", "ЛС1.А1.H", "ЛС1.А1.HH"};
    for (int s = 0; s < 4; ++s)
        EXPECT_EQ(Cfg().Serv.GetInputText8(36 + s), setPoints[s]);
    EXPECT_EQ(Cfg().Serv.GetNetBlockCount(), 1);
    EXPECT_EQ(lnet.Buttons[0]->text(), "Ф3");
    EXPECT_EQ(lnet.Buttons[1]->text(), "");
    EXPECT_EQ(m.NetEdit.NetTablesChanged, 1);

    // Deleting the last block leaves all counts recomputed.
    m.NetEdit.SelectedBlock = 0;
    lnet.DeleteBlClick();
    EXPECT_EQ(Counts(), std::pair(36, 4));
    EXPECT_EQ(Cfg().Serv.GetNetAnTotal() + Cfg().Serv.GetNetBlockCount(), 0);

    // No at closing: everything as last written.
    ExpectTransferQuestion(mrNo);
    lnet.OKClick();
    EXPECT_EQ(m.GetKodF(0), 1);
    EXPECT_EQ(m.GetKodF(1), 3);
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 52);
    EXPECT_EQ(Cfg().Serv.GetNameText(36), "N36");
    EXPECT_EQ(Cfg().FB.GetInNum(0, 0), 45);
    EXPECT_EQ(CountOf('E'), 0);
}

// A link change together with a deletion of block 0, closed with Yes, writes the groups, block 10
// (byte by byte, with its link byte) and the tables, then pauses.
TEST_F(LocalNetTest, LinkChangeWithADeletionWritesEverything) {
    lnet.PopupAutoShow = false;
    lnet.show();
    lnet.Parit->setCurrentIndex(3);
    emit lnet.Parit->activated(3);
    lnet.Button1MouseDown(0);
    lnet.DeleteBlClick();
    clock.sleeps.clear();
    ExpectTransferQuestion(mrYes);
    lnet.OKClick();
    // The inputs renumbered.
    EXPECT_EQ(WrittenIds(), Ids({{2, 8}, {10, 10}, {12, 19}, {41, 51}, {20, 31}}));
    Bytes data = Descriptor();
    data[0] = 10;
    EXPECT_EQ(data[193], 3);
    const auto frames = device.ReceivedOf('E');
    ASSERT_GE(frames.size(), 8u);
    EXPECT_EQ(frames[7], Frame::Build(1, 'E', data));
    EXPECT_EQ(device.Block(10), Bytes(data.begin() + 1, data.end()));
    EXPECT_EQ(clock.sleeps.back(), 3000);
    EXPECT_EQ(Cfg().MBM.NetEdit.NetTablesChanged, 0);
    EXPECT_EQ(Cfg().Reserv.GetDiscrInCount(), 44);
    EXPECT_EQ(Cfg().FB.FBRenumbered, 1);
}

TEST_F(LocalNetTest, LinkOnlyFailureAndFileMode) {
    lnet.show();
    lnet.Skor->setCurrentIndex(2);
    emit lnet.Skor->activated(2);
    ExpectTransferQuestion(mrYes);
    lnet.OKClick();
    ASSERT_EQ(WrittenIds(), std::vector<int>{10});
    EXPECT_EQ(device.ReceivedOf('E')[0][2 + 193], 2 << 2);

    // Exception 7 on a group restores all groups and sends nothing more.
    device.ClearLog();
    lnet.show();
    Cfg().MBM.SetChNSkText("5", 0);
    Cfg().MBM.NetEdit.AnGroupsWritten = 0;
    device.Faults().faults = {{FaultKind::Exception, 'E', -1, -1, 7}};
    ExpectDeviceError("Прибор не может выполнить запрос.");
    lnet.SaveClick();
    EXPECT_EQ(WrittenIds(), std::vector<int>{2});
    EXPECT_EQ(Cfg().MBM.GetChNSkText(0), "0");
    device.Faults().faults.clear();

    // File mode asks nothing and sends nothing.
    device.ClearLog();
    Cfg().Serv.FileMode = 1;
    lnet.show();
    Cfg().MBM.NetEdit.SelectedBlock = 1;
    lnet.DeleteBlClick();
    lnet.OKClick();
    EXPECT_EQ(CountOf('E'), 0);
    EXPECT_EQ(Cfg().Serv.Modified, 1);
}

TEST_F(LocalNetTest, RequestChecksGiveTheirMessages) {
    const struct {
        RequestEntries e;
        QStringList messages;
    } cases[] = {
        {{-1, 1, "1", "8", "0", "0000", "8"}, {"тип устройства не задан\n"}},
        {{Veg01, 0, "1", "8", "0", "0000", "8"}, {"код функции не задан\n"}},
        {{Veg01, 1, "256", "8", "0", "0000", "8"}, {"адрес Slave в локальной сети задан неверно\n"}},
        {{Veg01, 1, "1", "", "", "0000", "8"}, {"количество выходов блока не задано\n"}},
        {{Veg01, 1, "1", "6", "0", "0008", "7"},
         {"ошибка в количестве выходов блока ВЕГ-01\n",
          "ошибка в начальном адресе данных в запросе блока ВЕГ-01\n",
          "ошибка в количестве данных в запросе\n"}},
        {{Veg01, 2, "1", "24", "0", "0010", "24"}, {"сумма нач адр и кол-ва данных в запросе >32(Dec)\n"}},
        {{Dlts, 3, "1", "6", "20000", "0", "6"}, {"ошибка в максимальном значении кода\n"}},
        {{Veg05, 2, "1", "12", "0", "0", "12"}, {"ошибка в количестве выходов блока\n"}},
        {{Others, 4, "1", "40", "0", "0", "40"}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckRequest(c.e), c.messages) << c.e.type << " " << c.e.code;
    EXPECT_TRUE(FunctionAllowed(Veg05, 3));
    EXPECT_FALSE(FunctionAllowed(Veg01, 3));
    EXPECT_FALSE(FunctionAllowed(8, 1));
    EXPECT_EQ(PresetFor(Dkrn, 0).xmax, "16384");
    EXPECT_EQ(PresetFor(Dlts, 170).outputs, "0");
    EXPECT_EQ(PresetFor(Dlts, 50).outputs, "6");
}

TEST_F(LocalNetTest, RequestEditorStoresShiftsAndRollsBack) {
    lnet.show();
    // A new ВЕГ-01 block: record with the data count, counts, default texts, no frame.
    const auto veg01 = [&](const char* slave) {
        return [this, slave] {
            ChooseType(Veg01);
            mbm.EditUstr->setText(slave);
        };
    };
    EditBlock(2, veg01("7"));
    EXPECT_EQ(Cfg().MBM.GetKodF(2), 1);
    EXPECT_EQ(Cfg().MBM.GetKolDat(2), 16);
    EXPECT_EQ(Starts(2), std::pair(52, 6));
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 68);
    EXPECT_EQ(Cfg().Serv.GetInputText8(52), "ЛС3.Д1");
    EXPECT_EQ(lnet.Buttons[2]->text(), "Ф1");
    EXPECT_EQ(CountOf('E'), 0);

    // Shrinking the analogue block 1 (2 → 1 value) moves block 2 and its names down by 4.
    Cfg().Serv.SetNameText(52, "first");
    EditBlock(1, [&] {
        mbm.EditKolVh->setText("1");
        mbm.EditKolDat->setText("1");
    });
    EXPECT_EQ(Starts(2), std::pair(48, 5));
    EXPECT_EQ(Cfg().Serv.GetNameText(48), "first");
    EXPECT_EQ(Counts(), std::pair(64, 5));
    EXPECT_EQ(Cfg().MBM.NetEdit.DiscreteShift, -4);
    EXPECT_EQ(Cfg().MBM.NetEdit.AnalogueShift, -1);

    // A failed check rolls back and keeps the pending tables.
    const Bytes before = Descriptor();
    ExpectInputError("ошибка в количестве выходов блока ВЕГ-01\n");
    ExpectInputError("ошибка в количестве данных в запросе\n");
    ExpectEndedWithError();
    EditBlock(0, [&] { mbm.EditKolVh->setText("3"); });
    EXPECT_EQ(Descriptor(), before);
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 64);
    EXPECT_EQ(Cfg().MBM.NetEdit.NetTablesChanged, 1);
    EXPECT_EQ(Cfg().MBM.NetEdit.BlockFailed[0], 1);

    // The 192 limit: a ВЕГ-01 block of 16 past 180 rows is refused and left empty.
    Cfg().Serv.SetDiscrInCount(180);
    ExpectInputError("не хватает свободных адресов лок. сети\n");
    ExpectEndedWithError();
    EditBlock(5, veg01("1"));
    EXPECT_EQ(Cfg().MBM.GetKodF(5), 0);
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 180);
    Cfg().Serv.SetDiscrInCount(192);
    boxes.ExpectText("нет свободных адресов лок.сети", "Программатор ВЕГ-17");
    EditBlock(6, [] {});
}

// Block 0 a discrete block of 6 outputs, block 1 behind it at row 42 feeding function block 1 and
// holding the first channel; function 3, then 4, makes block 0 analogue of 6 values, and the shift
// counts once.
TEST_F(LocalNetTest, FunctionThreeThenFourShiftsOnce) {
    MakeBlock(Cfg(), 0, 1, 6, Others, 36, 4);
    MakeBlock(Cfg(), 1, 3, 2, Dkrn, 42, 4);
    Cfg().Serv.SetDiscrInCount(50);
    Cfg().FB.SetInNum(0, 0, 43);
    Cfg().MBM.SetChNSkText("5", 0);
    SaveAll();
    lnet.show();
    EditBlock(0, [&] {
        for (int code : {3, 4}) {
            mbm.CBoxKodF->setCurrentIndex(code - 1);
            mbm.CBoxKodFClick(code - 1);
        }
    });
    const TProgMBMClass& m = Cfg().MBM;
    EXPECT_EQ(m.GetKodF(0), 4);
    EXPECT_EQ(m.NetEdit.DiscreteShift, 24 - 6);
    EXPECT_EQ(m.NetEdit.AnalogueShift, 6);
    EXPECT_EQ(Starts(1), std::pair(60, 10));
    EXPECT_EQ(Counts(), std::pair(68, 12));
    EXPECT_EQ(Cfg().Serv.GetNameText(60), "N42");
    EXPECT_EQ(Cfg().Serv.GetNameText(36), "");
    EXPECT_EQ(Cfg().FB.GetInNum(0, 0), 61);
    EXPECT_EQ(m.GetChNSkText(6), "5");
    EXPECT_EQ(Cfg().Serv.GetInputText8(60), "ЛС2.А1.LL");
    EXPECT_EQ(m.NetEdit.NetTablesChanged, 1);
    EXPECT_EQ(m.NetEdit.AnGroupsWritten, 0);
    EXPECT_EQ(lnet.Buttons[0]->text(), "Ф4");
}

// Blocks 2..14 end at row 176; the 16th block of 16 inputs ends exactly at 192 and the counts
// are stored.
TEST_F(LocalNetTest, SixteenthBlockReachesTheLastRow) {
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
    EXPECT_EQ(Counts(), std::pair(192, 6));
    EXPECT_EQ(Cfg().Serv.GetNetBlockCount(), 16);
    EXPECT_EQ(Cfg().Serv.GetInputText8(191), "ЛС16.Д16");
    EXPECT_EQ(lnet.Buttons[15]->text(), "Ф1");
}

// Block 5 made while 2..4 are empty takes the next rows; block 3 made afterwards goes in front
// of it, and block 5 moves up with its names and inputs.
TEST_F(LocalNetTest, BlockCreatedBeforeALaterOneMovesIt) {
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
    EXPECT_EQ(Starts(5), std::pair(68, 6));
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 84);
    EXPECT_EQ(Cfg().Serv.GetNameText(68), "five");
    EXPECT_EQ(Cfg().Serv.GetNameText(52), "");
    EXPECT_EQ(Cfg().FB.GetInNum(0, 1), 69);
    EXPECT_EQ(Cfg().Serv.GetInputText8(52), "ЛС4.Д1");
    EXPECT_EQ(Cfg().Serv.GetInputText8(68), "ЛС6.Д1");
    EXPECT_EQ(m.NetEdit.NetTablesChanged, 1);
}

// Shrinking block 0 (8 → 4 inputs) moves block 1 down by 4 and clears, from the new end, as
// many rows as block 1 needs: rows that came down from past the old end hold nothing.
TEST_F(LocalNetTest, ShrinkingClearsTheRowsBroughtDownFromPastTheEnd) {
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

TEST_F(LocalNetTest, F15CreateCheckEditAndDelete) {
    lnet.show();
    ExpectF15SaveQuestion(mrYes);
    EditF15(2, [&] {
        f15.EditKodF->setText("15");
        f15.CBoxUstr->setCurrentIndex(4);
        f15.EditKolVh->setText("2");
        f15.EditKolVhExit();
        f15.EditKolDat->setText("2");
        f15.Edits[0]->setText("193");
        f15.Edits[1]->setText("7");
        f15.EditKolVhChange();
    });
    ASSERT_EQ(CountOf('E'), 1);
    Bytes data(81, 0);
    data[0] = 11;
    data[41] = 15, data[42] = 2, data[43] = 5, data[46] = 2, data[49] = 193, data[50] = 7;
    EXPECT_EQ(device.ReceivedOf('E')[0], Frame::Build(1, 'E', data));
    EXPECT_EQ(lnet.LocNet15[1]->text(), "Ф15");

    // 33 inputs and signal 255 give their messages; Yes restores the block.
    for (const auto& [inputs, signal, message] :
         {std::tuple{"33", "1", "ошибка в количестве входов блока"},
          std::tuple{"2", "255", "ошибка в адресе дискретного сигнала 1"}}) {
        ExpectInputError(message);
        ExpectFinishQuestion(mrYes);
        ExpectEndedWithError("программирование закончено с ошибкой");
        EditF15(2, [&] {
            f15.EditKolVh->setText(inputs);
            f15.EditKolDat->setText(inputs);
            f15.Edits[0]->setText(signal);
        });
        EXPECT_EQ(Cfg().F15.GetSignal(1, 0), 193);
    }

    // Code 7 is refused at the edit's exit and not stored, on an empty and on a used block.
    for (const auto& [k, code] : {std::pair(0, 0), std::pair(1, 15)}) {
        f15.Prepare(k);
        f15.EditKodF->setText("7");
        f15.EditKodFExit();
        EXPECT_EQ(Cfg().F15.GetFuncCode(k), code);
    }

    // Closing checks again: No keeps the editor open; corrected, the block closes.
    ExpectFinishQuestion(mrNo);
    EXPECT_FALSE(f15.FormCloseQuery());
    f15.EditKodF->setText("15");
    EXPECT_TRUE(f15.FormCloseQuery());
    EXPECT_TRUE(boxes.Done());

    // A larger count keeps the enabled signals; opening disables and zeroes the edits past it.
    f15.EditKolVh->setText("3");
    f15.EditKolVhExit();
    EXPECT_EQ(f15.Edits[1]->text(), "7");
    EXPECT_TRUE(f15.Edits[2]->isEnabled());
    EXPECT_EQ(f15.Edits[2]->text(), "0");
    f15.Edits[2]->setText("9");
    f15.Prepare(1);
    EXPECT_EQ(f15.Edits[0]->text(), "193");
    EXPECT_FALSE(f15.Edits[2]->isEnabled());
    EXPECT_EQ(f15.Edits[2]->text(), "0");

    // No at the close question gives the block back as written.
    f15.Edits[1]->setText("8");
    f15.EditKolVhChange();
    ExpectF15SaveQuestion(mrNo);
    EXPECT_TRUE(f15.FormCloseQuery());
    EXPECT_EQ(Cfg().F15.GetSignal(1, 1), 7);

    // Deleting in the list window, then closing, writes one frame.
    device.ClearLog();
    Cfg().F15.SetF15Selected(1);
    lnet.DeleteBl15Click();
    EXPECT_EQ(lnet.LocNet15[1]->text(), "");
    ExpectTransferQuestion(mrYes);
    lnet.OKClick();
    ASSERT_EQ(CountOf('E'), 1);
    EXPECT_EQ(device.Block(11), Bytes(80, 0));
}
