// The local network: its rules over the configuration (positions, deletion, request checks,
// Ф15 checks) and what its windows add, on the simulated device.

#include "LocalNetFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

TEST_F(LocalNetTest, DeletionMovesRecordsTablesAndCounts) {
    Cfg().MBM.NetEdit.SelectedBlock = 0;
    lnet.show();
    lnet.DeleteBlClick();
    TProgMBMClass& m = Cfg().MBM;
    EXPECT_EQ(m.GetKodF(0), 3);
    EXPECT_EQ(m.GetStAddrBeg1(0), 36);
    EXPECT_EQ(m.GetStAddrBeg2(0), 4);
    EXPECT_EQ(m.GetKodF(1), 0);
    EXPECT_EQ(m.GetStAddrBeg1(1), 0);
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 44);
    EXPECT_EQ(Cfg().Serv.GetAnInCount(), 6);
    EXPECT_EQ(Cfg().Serv.GetNameText(36), "N44"); // the names moved down by 8
    EXPECT_EQ(Cfg().FB.GetInNum(0, 0), 37);       // and the block input with them
    EXPECT_EQ(Cfg().Serv.GetInputText8(36), "ЛС1.А1.LL");
    EXPECT_EQ(Cfg().Serv.GetNetBlockCount(), 1);
    EXPECT_EQ(lnet.Buttons[0]->text(), "Ф3");
    EXPECT_EQ(lnet.Buttons[1]->text(), "");
    EXPECT_EQ(m.NetEdit.NetTablesChanged, 1);

    // Deleting the last block leaves all counts recomputed.
    m.NetEdit.SelectedBlock = 0;
    lnet.DeleteBlClick();
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 36);
    EXPECT_EQ(Cfg().Serv.GetAnInCount(), 4);
    EXPECT_EQ(Cfg().Serv.GetNetAnTotal(), 0);
    EXPECT_EQ(Cfg().Serv.GetNetBlockCount(), 0);

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

TEST_F(LocalNetTest, SaveWritesTheStagesInOrder) {
    lnet.show();
    Cfg().MBM.NetEdit.SelectedBlock = 0;
    lnet.DeleteBlClick();
    clock.sleeps.clear();
    ExpectTransferQuestion(mrYes);
    lnet.OKClick();
    std::vector<int> expected{2, 3, 4, 5, 6, 7, 8, 10};
    for (int id = 12; id <= 19; ++id)
        expected.push_back(id);
    for (int id = 41; id <= 51; ++id)
        expected.push_back(id);
    for (int id = 20; id <= 31; ++id) // the block inputs were renumbered
        expected.push_back(id);
    EXPECT_EQ(WrittenIds(), expected);
    Bytes data = Descriptor();
    data[0] = 10;
    EXPECT_EQ(device.ReceivedOf('E')[7], Frame::Build(1, 'E', data));
    EXPECT_EQ(device.Block(10), Bytes(data.begin() + 1, data.end()));
    EXPECT_EQ(clock.sleeps.back(), 3000);
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
}

TEST_F(LocalNetTest, RequestEditorStoresShiftsAndRollsBack) {
    lnet.show();
    // A new ВЕГ-01 block: record with the data count, counts, default texts, no frame.
    SetModalHandler([&](QDialog*) {
        mbm.TipUstr->setCurrentIndex(Veg01);
        mbm.TipUstrClick(Veg01);
        mbm.EditUstr->setText("7");
        mbm.OKClick();
        return mbm.result();
    });
    lnet.Button1Click(2);
    EXPECT_EQ(Cfg().MBM.GetKodF(2), 1);
    EXPECT_EQ(Cfg().MBM.GetKolDat(2), 16);
    EXPECT_EQ(Cfg().MBM.GetStAddrBeg1(2), 52);
    EXPECT_EQ(Cfg().MBM.GetStAddrBeg2(2), 6);
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 68);
    EXPECT_EQ(Cfg().Serv.GetInputText8(52), "ЛС3.Д1");
    EXPECT_EQ(lnet.Buttons[2]->text(), "Ф1");
    EXPECT_EQ(CountOf('E'), 0);

    // Shrinking the analogue block 1 (2 → 1 value) moves block 2 and its names down by 4.
    Cfg().Serv.SetNameText(52, "first");
    SetModalHandler([&](QDialog*) {
        mbm.EditKolVh->setText("1");
        mbm.EditKolDat->setText("1");
        mbm.OKClick();
        return mbm.result();
    });
    lnet.Button1Click(1);
    EXPECT_EQ(Cfg().MBM.GetStAddrBeg1(2), 48);
    EXPECT_EQ(Cfg().MBM.GetStAddrBeg2(2), 5);
    EXPECT_EQ(Cfg().Serv.GetNameText(48), "first");
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 64);
    EXPECT_EQ(Cfg().Serv.GetAnInCount(), 5);
    EXPECT_EQ(Cfg().MBM.NetEdit.DiscreteShift, -4);
    EXPECT_EQ(Cfg().MBM.NetEdit.AnalogueShift, -1);

    // A failed check rolls back and keeps the pending tables.
    const Bytes before = Descriptor();
    SetModalHandler([&](QDialog*) {
        mbm.EditKolVh->setText("3");
        mbm.OKClick();
        return mbm.result();
    });
    boxes
        .Expect("ошибка в количестве выходов блока ВЕГ-01\n", kInputError, MsgButtons::OK, MsgIcon::Warning,
                mrNone, mrOk)
        .Expect("ошибка в количестве данных в запросе\n", kInputError, MsgButtons::OK, MsgIcon::Warning,
                mrNone, mrOk)
        .Expect("программирование закончено с ошибкой ", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone,
                mrOk);
    lnet.Button1Click(0);
    EXPECT_EQ(Descriptor(), before);
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 64);
    EXPECT_EQ(Cfg().MBM.NetEdit.NetTablesChanged, 1);
    EXPECT_EQ(Cfg().MBM.NetEdit.BlockFailed[0], 1);

    // The 192 limit: a ВЕГ-01 block of 16 past 180 rows is refused and left empty.
    Cfg().Serv.SetDiscrInCount(180);
    SetModalHandler([&](QDialog*) {
        mbm.TipUstr->setCurrentIndex(Veg01);
        mbm.TipUstrClick(Veg01);
        mbm.EditUstr->setText("1");
        mbm.OKClick();
        return mbm.result();
    });
    boxes
        .Expect("не хватает свободных адресов лок. сети\n", kInputError, MsgButtons::OK, MsgIcon::Warning,
                mrNone, mrOk)
        .Expect("программирование закончено с ошибкой ", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone,
                mrOk);
    lnet.Button1Click(5);
    EXPECT_EQ(Cfg().MBM.GetKodF(5), 0);
    EXPECT_EQ(Cfg().Serv.GetDiscrInCount(), 180);
    Cfg().Serv.SetDiscrInCount(192);
    boxes.ExpectText("нет свободных адресов лок.сети", "Программатор ВЕГ-17");
    lnet.Button1Click(6);
    SetModalHandler({});
}

TEST_F(LocalNetTest, F15CreateCheckAndDelete) {
    lnet.show();
    SetModalHandler([&](QDialog*) {
        f15.EditKodF->setText("15");
        f15.CBoxUstr->setCurrentIndex(4);
        f15.EditKolVh->setText("2");
        f15.EditKolVhExit();
        f15.EditKolDat->setText("2");
        f15.Edits[0]->setText("193");
        f15.Edits[1]->setText("7");
        f15.EditKolVhChange();
        f15.OKClick();
        return f15.result();
    });
    boxes.Expect("База  была изменена.Сохранить?", "Подтвердите сохранение базы данных",
                 MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, mrYes);
    lnet.LocNet15_1Click(2);
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
        SetModalHandler([&](QDialog*) {
            f15.EditKolVh->setText(inputs);
            f15.EditKolDat->setText(inputs);
            f15.Edits[0]->setText(signal);
            f15.OKClick();
            return f15.result();
        });
        boxes.Expect(message, kInputError, MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk)
            .Expect("Ошибка программирования \nЗакончить?", "Подтвердите окончание программирования",
                    MsgButtons::YesNo, MsgIcon::Question, mrNone, mrYes)
            .Expect("программирование закончено с ошибкой", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone,
                    mrOk);
        lnet.LocNet15_1Click(2);
        EXPECT_EQ(Cfg().F15.GetSignal(1, 0), 193);
    }

    // Tabbing through an unchanged count keeps the signals.
    f15.Prepare(1);
    f15.EditKolVhExit();
    EXPECT_EQ(f15.Edits[0]->text(), "193");
    EXPECT_FALSE(f15.Edits[2]->isEnabled());

    // Deleting in the list window, then closing, writes one frame.
    device.ClearLog();
    Cfg().F15.SetF15Selected(1);
    lnet.DeleteBl15Click();
    EXPECT_EQ(lnet.LocNet15[1]->text(), "");
    ExpectTransferQuestion(mrYes);
    lnet.OKClick();
    ASSERT_EQ(CountOf('E'), 1);
    EXPECT_EQ(device.Block(11), Bytes(80, 0));
    SetModalHandler({});
}
