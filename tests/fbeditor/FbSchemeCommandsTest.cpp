// The block commands of the function-block editor as the user gives them: the block dialog in its
// modes, selection, signalling, relay outputs, copy and insert, deletion and the close query.
#include "Colors.h"
#include "FbEditorFixture.h"
#include "FbTableEdit.h"
#include "panels/Panmr.h"
#include "panels/Pansign.h"

#include <QScrollArea>
#include <QToolButton>

namespace {

class FbCommands : public FbEditorFixture {
  protected:
    void SetUp() override {
        FbEditorFixture::SetUp();
        Cfg().Serv.SetSlotModuleCode(1, 13);
        Cfg().Serv.SetDiscrInCount(24);
        Cfg().Serv.SetAnInCount(8);
    }
    void Blocks(int n) {
        for (int i = 0; i < n; ++i)
            SetLogicRecord(FB(), i, 1 + i % 4, {{1, i}}); // each takes the block before
        Form().RebuildFBScheme();
    }
    void Click(int i, Qt::KeyboardModifiers m = {}) {
        Form().PanFB1MouseDown(Form().PanFB[i], Qt::LeftButton, m);
    }
    void RightClick(int i) { Form().PanFB1MouseDown(Form().PanFB[i], Qt::RightButton, {}); }
    // Queues the block dialog's next showing; the handler fills and closes it.
    void OnCreat(std::function<void(TFormCreatFB&)> fill) {
        modals.Then([=](QDialog* d) {
            fill(*static_cast<TFormCreatFB*>(d));
            return 0;
        });
    }
    // The block dialog answered: type, input 1 (kind list index, number), and OK; then the action
    // that opens it.
    void AnswerBlockDialog(int type, int source, int number, QAction* then = nullptr, bool ok = true) {
        OnCreat([=](TFormCreatFB& dlg) {
            dlg.RadioGroup1->Button(type - 1)->click();
            dlg.SourceBoxes[0]->setCurrentIndex(source);
            dlg.EditVx1->setText(QString::number(number));
            (ok ? dlg.OK : dlg.Cancel)->click();
        });
        if (then) then->trigger();
    }
    void Refused(QAction* action, const QString& text) {
        ExpectWarning(text);
        action->trigger();
    }
};

} // namespace

TEST_F(FbCommands, CreateAtTheEndThroughTheDialog) {
    Blocks(3);
    SetLogicRecord(FB(), 3, 12); // an integrator behind the blocks
    FB().SetRecByte(3, 14, 77);
    const auto before = AllRecords(FB());
    // Cancel and the close box leave every byte and the modified flag, after a type was chosen
    // too; the number offered is the next one.
    AnswerBlockDialog(9, 0, 5, nullptr, false);
    OnCreat([](TFormCreatFB& d) {
        d.RadioGroup1->Button(0)->click();
        d.reject();
    });
    for (int modified : {0, 1}) {
        FB().FBModified = modified;
        Form().ABFunc->trigger();
        EXPECT_EQ(FB().FBModified, modified);
    }
    EXPECT_EQ((QStringList{editors.creat.EditNFB->text(), editors.creat.LabCreatProg->text()}),
              (QStringList{"4", "создание"}));
    EXPECT_EQ(AllRecords(FB()), before);

    AnswerBlockDialog(7, 1, 150, Form().ABFunc); // a КВУ number is kept
    // The integrator moved on after OK.
    EXPECT_EQ((std::array{FB().GetType(3), FB().GetInNum(3, 0), FB().GetRecByte(4, 14)}),
              (std::array{7, 150, 77}));
    EXPECT_EQ((std::array{FB().EditorState.PanelCount, FB().EditorState.SelectedIndex, FB().FBModified}),
              (std::array{4, 3, 1}));

    // A number of a block not built yet is stored as 0 and shown as "0".
    AnswerBlockDialog(1, 1, 9, Form().ABFunc);
    EXPECT_EQ(FB().GetInNum(4, 0), 0);
    EXPECT_EQ(editors.creat.EditVx1->text(), "0");
}

TEST_F(FbCommands, AllBlocksCreated) {
    FB().FBCount = 60;
    Blocks(60);
    const auto before = AllRecords(FB());
    Refused(Form().ABFunc, "Все функциональные блоки созданы");
    EXPECT_EQ(AllRecords(FB()), before);
    EXPECT_EQ(modals.Shown(), 0);
}

TEST_F(FbCommands, EditInPlaceAndCancelOffersDeletion) {
    Blocks(3);
    TPanFB* panel = Form().PanFB[1];
    Refused(Form().AFB, "Не выбран ФБ");

    Click(1);
    AnswerBlockDialog(8, 0, 4, Form().AFB); // a comparator now: bytes 0..8 cleared first
    EXPECT_EQ(FB().GetType(1), 8);
    EXPECT_EQ((std::array{FB().GetIn8Num(1), FB().GetInNum(1, 0)}), (std::array{4, 0}));
    EXPECT_EQ(Form().PanFB[1], panel); // updated in place, not rebuilt

    // "Отмена" on an existing block offers to delete the chosen blocks; the close box does not.
    OnCreat([](TFormCreatFB& d) {
        EXPECT_EQ(std::tuple(d.LabCreatProg->text(), d.RadioGroup1->ItemIndex(), d.EditVx1->text()),
                  std::tuple(QString("программирование"), 7, QString("4")));
        d.Cancel->click();
    });
    ExpectDeleteQuestion(boxes, mrNo);
    Form().PMenu1FB->trigger(); // Ctrl+B
    EXPECT_EQ(FB().GetType(1), 8);
    OnCreat([](TFormCreatFB& d) { d.reject(); });
    Form().AFB->trigger();
}

TEST_F(FbCommands, InsertBeforeTheTarget) {
    Blocks(3);
    Refused(Form().InsertBl, "Не выбран ФБ");
    EXPECT_EQ(modals.Shown(), 0);

    RightClick(0);
    AnswerBlockDialog(2, 1, 2, Form().InsertBl); // takes old block 2
    EXPECT_EQ((std::array{FB().GetType(0), FB().GetInNum(0, 0), FB().GetInNum(2, 0), FB().GetInNum(3, 0)}),
              (std::array{2, 3, 2, 3}));
    EXPECT_EQ(std::pair(FB().EditorState.SelectedIndex, FB().EditorState.PopupTarget), std::pair(0, -1));
}

TEST_F(FbCommands, CopyInsertAndAppendGroups) {
    Blocks(5);
    EXPECT_FALSE(Form().CopyGroup->isEnabled());
    Click(1);
    Click(2, Qt::ControlModifier);
    EXPECT_TRUE(Form().CopyGroup->isEnabled());
    EXPECT_EQ(FB().EditorState.ChosenCount, 2);
    Form().ACopyGroup->trigger();
    EXPECT_TRUE(Form().InsertGroup->isEnabled() && Form().AddGroup->isEnabled());

    Refused(Form().AInSertGroup, "Не выбран ФБ"); // no target
    RightClick(0);
    Form().AInSertGroup->trigger();
    EXPECT_EQ(FB().EditorState.PanelCount, 7);
    EXPECT_EQ((std::array{FB().GetInNum(0, 0), FB().GetInNum(1, 0)}), (std::array{3, 1}));
    Form().AAddGroup->trigger();
    EXPECT_EQ(FB().EditorState.PanelCount, 9);
    EXPECT_EQ(FB().GetInNum(8, 0), 8);

    // A copy with a gap changes nothing.
    Click(0);
    Click(2, Qt::ControlModifier);
    Form().ACopyGroup->trigger();
    const auto before = AllRecords(FB());
    Refused(Form().AAddGroup, "ФБ должны быть скопированы без разрыва");
    EXPECT_EQ(AllRecords(FB()), before);
}

TEST_F(FbCommands, DeleteChosenAndAtTarget) {
    Blocks(4);
    Refused(Form().ADelChoose, "Нет выделенных ФБ");
    Form().AChooseAll->trigger();
    EXPECT_EQ(FB().EditorState.ChosenCount, 4);
    Click(1);
    Click(3, Qt::ControlModifier);
    ExpectDeleteQuestion(boxes, mrYes);
    Form().ADelChoose->trigger();
    EXPECT_EQ(FB().EditorState.PanelCount, 2);
    EXPECT_EQ((std::array{FB().GetInNum(0, 0), FB().GetInNum(1, 0)}), (std::array{0, 0}));
    EXPECT_EQ(FB().EditorState.ChosenCount, 0);

    Refused(Form().ADelete, "Не выбран ФБ");
    RightClick(0);
    Form().ADelete->trigger(); // alone, and the scheme is rebuilt
    EXPECT_EQ(FB().EditorState.PanelCount, 1);
    EXPECT_EQ(Form().PanFB[1], nullptr);
}

TEST_F(FbCommands, SignallingRefusalsInOrderAndCells) {
    Blocks(63);
    Click(62);
    Refused(Form().ABSign, "Недоступная функция");
    Cfg().Serv.SetSlotModuleCode(1, 0); // no own inputs
    Click(0);
    Refused(Form().ABSign, "Недоступная функция");
    Cfg().Serv.SetSlotModuleCode(1, 13); // 6 own inputs
    Form().ScrollBox1Click(Form().ScrollBox1);
    Refused(Form().ABSign, "Не выбран ФБ");
    ExpectWarning("Панель сигн. для ФБ с таким номером не создана");
    Click(0);
    Form().ASign->trigger();

    const auto answer = [this](int type, int cell) {
        modals.Then([=](QDialog* d) {
            auto* sig = static_cast<TFormSig*>(d);
            EXPECT_EQ(sig->LabNSig->text(), "ФБ №");
            sig->SetType(type);
            sig->SetCell(cell);
            return 1;
        });
    };
    answer(2, 7);
    Refused(Form().ABSign, "Неверно выбран № ячейки светового табло");
    EXPECT_EQ((std::array{FB().GetSigTipS(0), FB().GetSigNTabS(0)}), (std::array{0, 0}));
    answer(2, 0);
    Refused(Form().ABSign, "Не выбран № ячейки светового табло"); // the panel exists: the dialog opens again
    answer(2, 6);
    Form().ABSign->trigger();
    EXPECT_EQ((std::array{FB().GetSigTipS(0), FB().GetSigNTabS(0)}), (std::array{2, 6}));
    ASSERT_NE(Form().PanSign[0], nullptr);

    Form().ADelSign->trigger();
    EXPECT_EQ((std::array{FB().GetSigTipS(0), FB().GetSigNTabS(0)}), (std::array{0, 0}));
    EXPECT_EQ(Form().PanSign[0], nullptr);
}

TEST_F(FbCommands, RelayOutputEndsItsRow) {
    Blocks(3);
    Click(0);
    Refused(Form().ABVyh, "Недоступная функция"); // БРОН without a relay module
    Cfg().Serv.SetSlotModuleCode(2, 11);
    modals.Then([](QDialog* d) {
        auto* vyh = static_cast<TFormVyh*>(d);
        EXPECT_EQ(vyh->LabelName->text(), "1");
        EXPECT_TRUE(vyh->Box(0, 3)->isVisibleTo(vyh));
        EXPECT_FALSE(vyh->Box(0, 4)->isVisibleTo(vyh));
        EXPECT_FALSE(vyh->LabMR[1]->isVisibleTo(vyh));
        vyh->SetMask(0, 0x05);
        return TFormVyh::kAccepted;
    });
    Form().ABVyh->trigger();
    EXPECT_EQ(FB().GetB9Plus(0, 1), 0x05);
    ASSERT_NE(Form().PanMR[0], nullptr);
    EXPECT_EQ(Form().PanFB[1]->pos(), QPoint(0, 135)); // the next row
    EXPECT_EQ(Form().PanFB[2]->pos(), QPoint(250, 135));

    FB().SetB9Plus(0, 3, 1);
    Form().ADelVyh->trigger();
    EXPECT_EQ((std::array{FB().GetB9Plus(0, 1), FB().GetB9Plus(0, 3)}), (std::array{0, 0}));
    EXPECT_EQ(Form().PanFB[1]->pos(), QPoint(250, 15));
    // The rebuild keeps the chosen block drawn chosen.
    EXPECT_EQ(FB().EditorState.ChosenCount, 1);
    EXPECT_EQ(std::pair(Form().PanFB[0]->Color(), Form().PanFB[1]->Color()),
              std::pair(TColorToQColor(0xF0CAA6), clBtnFace()));
}

TEST_F(FbCommands, EmptySchemeOffersAConfiguration) {
    Form().RebuildFBScheme();
    Form().show();
    boxes.Expect("Конфигурация не задана. Будете создавать?", "Подтвердите создание конфигурации",
                 MsgButtons::YesNo, MsgIcon::Question, mrNo, mrYes);
    Form().ABVyh->trigger();
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(Form().result(), 2);
}

TEST_F(FbCommands, NoOnClosingRestoresRecordsAndAlgorithms) {
    Blocks(4);
    SetAlgorithm(FB(), 0, {1, 3}, "A");
    SetAlgorithm(FB(), 1, {2, 4}, "B");
    FbTable::RecomputeAlgMarks(FB());
    for (int i = 0; i < 4; ++i) {
        const auto rec = FB().GetRecord(i);
        Cfg().Reserv.FbRecords().Set(i, rec.data(), int(rec.size()));
    }
    Form().show();
    const auto before = AllRecords(FB());
    // Inserted before block 2, the first of "B": it ends "A". Then block 1 goes.
    RightClick(1);
    AnswerBlockDialog(1, 0, 1, Form().InsertBl);
    Click(0);
    ExpectDeleteQuestion(boxes, mrYes);
    Form().ADelChoose->trigger();
    EXPECT_EQ((std::array{FB().AlgTable.GetEntry(0, 0), FB().AlgTable.GetEntry(0, 1)}), (std::array{3, 1}));
    ExpectWriteQuestion(boxes, mrNo);
    Form().AClose->trigger();
    EXPECT_EQ(AllRecords(FB()), before);
    EXPECT_EQ((std::array{FB().AlgTable.GetEntry(0, 0), FB().AlgTable.GetEntry(0, 1),
                          FB().AlgTable.GetEntry(0, 2), FB().AlgTable.GetEntry(1, 0)}),
              (std::array{1, 3, TProgFBClass::AlgEnd, 2}));
    EXPECT_EQ(FB().AlgTable.GetMark(1), 2);
}

TEST_F(FbCommands, AlgorithmLabelsWithoutAPanelStandBelowTheLastAndEachKeepsItsAlgorithmsSlot) {
    Blocks(4);
    FB().AlgTable.SetCount(4);
    FB().AlgTable.SetEntry(0, 0, 3);
    FB().AlgTable.SetEntry(1, 0, 9); // no panel
    FB().AlgTable.SetEntry(3, 0, 1); // algorithm 2 has no list
    for (int a = 0; a < 4; ++a)
        FB().SetFbText(a, QString("ABCD")[a]);
    Form().ImageAlgoritmClick();
    ASSERT_EQ(Form().AlgLabels.size(), 4u);
    EXPECT_EQ(Form().AlgLabels[0]->pos(), QPoint(8, Form().PanFB[2]->y() - 12));
    EXPECT_EQ(Form().AlgLabels[1]->pos(), QPoint(8, Form().PanFB[3]->y() + 108));
    EXPECT_EQ(Form().AlgLabels[2], nullptr);
    EXPECT_EQ(Form().AlgLabels[3]->text().trimmed(), "D");
}

TEST_F(FbCommands, ArchivingOnlyForBlocksUpTo62) {
    for (auto [built, allowed] : {std::pair{61, true}, std::pair{62, false}}) {
        Blocks(built);
        OnCreat([=](TFormCreatFB& d) {
            EXPECT_EQ(d.SBVkl->isEnabled(), allowed) << built;
            EXPECT_EQ(d.SBVkl->text(), "отключено");
            if (allowed) d.SBVkl->click();
            d.RadioGroup1->Button(0)->click();
            d.OK->click();
        });
        Form().ABFunc->trigger();
        EXPECT_EQ(FB().GetSigKont(built), allowed ? 1 : 0);
    }
    // Editing block 63 offers no archiving either.
    Click(62);
    OnCreat([](TFormCreatFB& d) {
        EXPECT_FALSE(d.SBVkl->isEnabled());
        d.reject();
    });
    Form().AFB->trigger();
}
