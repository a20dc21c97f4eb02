// The relay-module editor's window: the block-9 read on opening, the rows, input numbers, the
// close query, copy and replace, the write and the live-view request.
#include "ModbusFrame.h"
#include "RelayEditorFixture.h"

#include <QTest>

TEST_F(RelayEditor, OpeningReadsBlockNineOnceAndShowsTheModule) {
    const Bytes sample = device.Block(9);
    ASSERT_TRUE(Open(3, [&] {
        EXPECT_EQ(form.LabNMod->text(), "1");
        EXPECT_EQ(form.LabTMod->text(), "МР11");
        EXPECT_EQ(form.EditVxKvit[0]->text(), QString::number(Cfg().MR.GetVxKvit(0, 0)));
        EXPECT_TRUE(form.Block[7]->isVisibleTo(&form)); // the sample's control output
        EXPECT_FALSE(form.Kvit[7]->isVisibleTo(&form));
        EXPECT_FALSE(form.EditVhSbr[6]->isEnabled()); // its sound output
        form.CancelClick();
    }));
    ASSERT_EQ(device.Received().size(), 1u);
    EXPECT_EQ(device.Received()[0], Frame::Build(1, 'D', Bytes{9}));
    EXPECT_EQ(Image(), sample);
    EXPECT_EQ(Reserve(), sample);
    EXPECT_EQ(form.ModuleIndex(), 0);
}

TEST_F(RelayEditor, AFailedReadOpensNothing) {
    const Bytes before = Image();
    device.Faults().faults = {{FaultKind::Exception, 'D', 9, 1, 2}};
    ExpectDeviceError("Неверный адрес данных.");
    EXPECT_FALSE(form.EditSlot(3));
    EXPECT_EQ(modals.Shown(), 0);
    EXPECT_EQ(CountOf('E'), 0);
    EXPECT_EQ(Image(), before);
}

TEST_F(RelayEditor, OpenerTakesOnlyTheFirstFiveRelayModules) {
    for (int slot : {1, 2, 6, 0, 9}) // controller, discrete module, empty slot, no slot
        EXPECT_FALSE(form.EditSlot(slot)) << slot;
    for (int slot = 4; slot <= 8; ++slot)
        Cfg().Serv.SetSlotModuleCode(slot, 11);
    EXPECT_FALSE(form.EditSlot(8)); // a sixth relay module
    EXPECT_TRUE(device.Received().empty());

    // A relay module before the discrete one: its place among the relay modules counts.
    Cfg().Serv.SetSlotModuleCode(2, 12);
    Cfg().Serv.SetSlotModuleCode(3, 2);
    Open(4, [&] { form.CancelClick(); });
    EXPECT_EQ(form.ModuleIndex(), 1);
    EXPECT_EQ(Cfg().MR.GetCurSlot(), 4);
    EXPECT_EQ(Cfg().MR.GetSlot2(), 4);
}

TEST_F(RelayEditor, RowControlsSetTheirBitsClearTheSavedFlagAndTakeDigitsOnly) {
    Open(3, [&] {
        TProgMRClass& mr = Cfg().MR;
        Choose(form.TipVyh[1], 1);
        EXPECT_EQ(mr.GetTipVyh(1, 0), 1);
        EXPECT_EQ(form.EditVxKvit[1]->text(), "00");
        EXPECT_FALSE(form.KvitVizo[1]->isEnabled());
        EXPECT_TRUE(form.SbrVizo[1]->isEnabled());
        EXPECT_EQ(mr.GetMrBaseSaved(3), 0);
        Choose(form.Block[1], 1);
        EXPECT_EQ(mr.GetKvitBlock(1, 0), 1);
        Choose(form.Kvit[0], 1);
        EXPECT_FALSE(form.SbrTopLevel[0]->isEnabled());

        const std::array<std::pair<QCheckBox*, int>, 4> boxes4{{{form.SbrTopLevel[2], 2},
                                                                {form.KvitTopLevel[2], 3},
                                                                {form.SbrVizo[2], 4},
                                                                {form.KvitVizo[2], 5}}};
        for (const auto& [box, bit] : boxes4) {
            const int byte = mr.GetModByte(7);
            box->click();
            EXPECT_EQ(mr.GetModByte(7), byte ^ (1 << bit)) << bit;
        }
        InputError(); // a number edit takes digits only
        QTest::keyClick(form.EditVhSbr[1], Qt::Key_A);
        EXPECT_EQ(form.EditVhSbr[1]->text(), QString::number(mr.GetVhSbr(1, 0)));
        form.CancelClick();
    });
}

TEST_F(RelayEditor, InputNumbersOnLeavingAndOnClosing) {
    Cfg().Serv.SetSlotModuleCode(6, 3); // two discrete modules: numbers up to 24
    Open(3, [&] {
        TProgMRClass& mr = Cfg().MR;
        QLineEdit* kvit = form.EditVxKvit[0];
        kvit->setText("24");
        form.EditVxKvit1Exit(kvit);
        EXPECT_EQ(mr.GetVxKvit(0, 0), 24);
        kvit->setText("x");
        InputError();
        form.EditVxKvit1Exit(kvit);
        EXPECT_EQ(kvit->text(), "24");
        // One above the limit in either column refuses the close with the column's hint.
        const std::pair<QLineEdit*, const char*> cols[] = {
            {form.EditVxKvit[3], " Неверный адрес входа внеш. квитирования"},
            {form.EditVhSbr[3], " Неверный адрес входа внеш. сброса"}};
        for (const auto& [edit, hint] : cols) {
            const QString stored = edit->text();
            edit->setText("25");
            form.OKClick();
            EXPECT_TRUE(form.isVisible());
            EXPECT_EQ(form.ErrorText->text(), hint);
            EXPECT_FALSE(form.ErrorText->isHidden());
            EXPECT_EQ(edit->text(), stored);
            QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(form.ErrorText, &move);
            EXPECT_TRUE(form.ErrorText->isHidden());
        }
        form.EditVhSbr[5]->setText("");
        InputError();
        form.OKClick();
        EXPECT_TRUE(form.isVisible());
        form.EditVhSbr[5]->setText("1");
        CloseQuestion(mrNo);
        form.OKClick();
    });
    EXPECT_EQ(CountOf('E'), 0);
}

TEST_F(RelayEditor, CancelTheCloseBoxAndNoRestoreAllBytesAndYesWrites) {
    const Bytes read = ReadOnce();
    // Cancel, the close box, and No restore every byte. Minimise and restore between the change
    // and OK open nothing anew: the question still comes.
    for (int way : {0, 1, 2}) {
        Open(3, [&] {
            Choose(form.TipVyh[0], 1);
            Cfg().MR.SetModByte(120, 0xEE);
            form.showMinimized();
            form.showNormal();
            if (way == 0) return form.CancelClick();
            if (way == 1) form.EditVhSbr[1]->setText("99"); // OK refused: the close box still cancels
            if (way == 2) CloseQuestion(mrNo);
            form.OKClick();
            if (way == 1) form.reject();
        });
        EXPECT_EQ(Image(), read) << way;
    }
    EXPECT_EQ(Cfg().MR.GetMrBaseSaved(3), 1);

    device.ClearLog();
    clock.sleeps.clear();
    device.Faults().busyPolls = 1;
    Open(3, [&] {
        Choose(form.TipVyh[2], 1);
        CloseQuestion(mrYes);
        form.OKClick();
    });
    Bytes sent = Image();
    sent.insert(sent.begin(), 9);
    const Bytes poll = Frame::Build(1, 0x0E, {});
    EXPECT_EQ(device.Received(),
              (std::vector<Bytes>{Frame::Build(1, 'D', Bytes{9}), Frame::Build(1, 'E', sent), poll, poll}));
    EXPECT_EQ(clock.sleeps, (std::vector<int>{300, 200}));
    const Bytes written = Image();
    EXPECT_EQ(Bytes(written.begin() + 24, written.end()), Bytes(read.begin() + 24, read.end()));
    EXPECT_EQ(written[6], 0x01);
    EXPECT_EQ(device.Block(9), Image());
    EXPECT_EQ(Reserve(), Image());
    EXPECT_EQ(Cfg().MR.GetMrBaseSaved(3), 1);
}

TEST_F(RelayEditor, FailedOrRefusedWriteClosesWithoutRestoring) {
    const Bytes read = ReadOnce();
    device.Faults().faults = {{FaultKind::Exception, 'E', 9, -1, 7}};
    Open(3, [&] {
        Choose(form.TipVyh[0], 1);
        CloseQuestion(mrYes);
        ExpectDeviceError("Прибор не может выполнить запрос.");
        form.OKClick();
    });
    EXPECT_EQ(CountOf('E'), 1);
    EXPECT_EQ(Reserve(), read);
    EXPECT_NE(Image(), read);

    Cfg().Veg.AccessLevel = 0;
    Open(3, [&] {
        Choose(form.TipVyh[1], 1);
        CloseQuestion(mrYes);
        boxes.Expect("Ваш уровень доступа не позволяет\nпроизводить передачу в прибор", "Предупреждение",
                     MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
        form.OKClick();
        EXPECT_FALSE(form.isVisible());
    });
    EXPECT_EQ(CountOf('E'), 1);
    EXPECT_EQ(Cfg().MR.GetTipVyh(1, 0), 1);
}

TEST_F(RelayEditor, FileModeKeepsTheEditInTheReserveAndMarksOnlyAChange) {
    Cfg().Serv.FileMode = 1;
    Open(3, [&] { form.OKClick(); });
    EXPECT_EQ(Cfg().Serv.Modified, 0);
    Open(3, [&] {
        form.KvitVizo[0]->click();
        form.OKClick();
    });
    EXPECT_TRUE(device.Received().empty());
    EXPECT_EQ(Cfg().Serv.Modified, 1);
    EXPECT_EQ(Cfg().MR.GetKvitPanel(0, 0), 1);
    EXPECT_EQ(Reserve(), Image());
}

TEST_F(RelayEditor, CopyAndReplaceFollowTheClipboardAndTheCodeRule) {
    Open(3, [&] {
        EXPECT_FALSE(form.ButtonChange->isEnabled());
        form.ButtonCopy->click();
        EXPECT_TRUE(form.ButtonChange->isEnabled());
        EXPECT_TRUE(form.AChangeBase->isEnabled());
        form.CancelClick();
    });
    const Bytes read = Image();
    const Bytes copied(read.begin(), read.begin() + 24);
    EXPECT_EQ(Cfg().MR.GetMrCopyIndex(), 0);
    EXPECT_EQ(Cfg().MR.GetMrCopyCode(), 11);
    Cfg().Copy.RelayBases().SetByte(0, 1, 30); // output 1's acknowledge number, above 12

    Open(4, [&] {
        Cfg().MR.SetModByte(1, 0x3F); // the copied module changed since: the clipboard counts
        ASSERT_TRUE(form.ButtonChange->isEnabled());
        form.ButtonChange->click();
        EXPECT_EQ(form.EditVxKvit[0]->text(), "0");
        EXPECT_EQ(Cfg().MR.GetMrBaseSaved(4), 0);
        Bytes expected = copied;
        expected[1] = 0;
        const Bytes image = Image();
        EXPECT_EQ(Bytes(image.begin() + 24, image.begin() + 48), expected);
        CloseQuestion(mrNo);
        form.OKClick();
    });
    Open(5, [&] { // code 12 takes no base of code 11
        EXPECT_FALSE(form.ButtonChange->isEnabled());
        form.ChangeBaseClick();
        form.CancelClick();
    });
    EXPECT_EQ(Image(), read);
}

TEST_F(RelayEditor, LiveViewRequestNamesTheModuleAndItsFirstOutputs) {
    std::vector<RelayLiveViewRequest> requests;
    form.openLiveView = [&](const RelayLiveViewRequest& r) { requests.push_back(r); };
    for (int o = 0; o < 4; ++o)
        Cfg().Serv.SetOutputTextString(8 + o, 0, QStringLiteral("вых%1").arg(o));
    Open(4, [&] {
        form.ButOnLine->click();
        form.CancelClick();
    });
    ASSERT_EQ(requests.size(), 1u);
    const RelayLiveViewRequest& r = requests[0];
    EXPECT_EQ(std::tuple(r.moduleNumber, r.moduleText, r.slotAddress), std::tuple(2, QString("МР11"), 3));
    for (int o = 0; o < 4; ++o)
        EXPECT_EQ(r.outputTexts[size_t(o)], Cfg().Serv.GetOutputText(8 + o));
}
