#include "MainWindowSupport.h"
#include "ShowActive.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

TEST(ConfigCreation, ModificationCodesAreCheckedSlotBySlot) {
    SlotCodes codes{};
    EXPECT_EQ(CheckModifCode("d7a0b3c0", &codes), "");
    EXPECT_EQ(codes, (SlotCodes{13, 7, 10, 0, 11, 3, 12, 0}));
    EXPECT_EQ(ModifCodeText(codes), "D7A0B3C0");

    const QString notHex = "Код модификации должен состоять из 8 шестнадцатеричных цифр";
    for (const QString& bad : {QString(""), QString("D000000"), QString("D00000000"), QString("D000000G"),
                               QString("D000 000"), QString("+D000000")})
        EXPECT_EQ(CheckModifCode(bad, &codes), notHex) << bad.toStdString();
    const QString noController = "В позиции 1 должен быть модуль БРОН (D) или БРОК (F)";
    const std::pair<const char*, QString> cases[] = {
        {"00000000", noController},
        {"E0000000", noController},
        {"D00F0000", "Модуль БРОК может стоять только в позиции 1"},
        {"D0000001", "Неизвестный код модуля 1 в позиции 8"},
        {"De000000", "Неизвестный код модуля E в позиции 2"},
        {"DBBBBBB0", "Модулей МР может быть не больше 5"},
        {"DBBBBB00", ""},
        {"F0000000", ""}};
    for (const auto& [code, message] : cases)
        EXPECT_EQ(CheckModifCode(code, &codes), message) << code;
    SlotCodes untouched{1, 2, 3, 4, 5, 6, 7, 8};
    CheckModifCode("D000000X", &untouched); // a refused code leaves the caller's codes alone
    EXPECT_EQ(untouched, (SlotCodes{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ConfigCreation, CreatingThroughTheMainWindowSetsANewConfiguration) {
    TempWorkDir work;
    auto form = ShownMainWindow();
    TConfiguration& cfg = form->Cfg;
    form->CBoxUstr->setCurrentIndex(4);
    // Leftovers of an earlier configuration that a new one must not keep.
    cfg.FB.SetTypeByte(3, 2);
    cfg.Serv.SetNameText(0, "старое имя");
    cfg.Reg.SetAnVh(0, 1);
    form->Context->SetConfigFileName("old.veg");
    {
        ScriptedModals modals;
        ScriptedMessageBoxes boxes;
        boxes.Expect("В позиции 1 должен быть модуль БРОН (D) или БРОК (F)", "Ошибка", MsgButtons::OK,
                     MsgIcon::Error, mrNone, mrOk);
        modals.Then([&](QDialog* dialog) {
            auto* config = qobject_cast<TConfig*>(dialog);
            EXPECT_NE(config, nullptr);
            config->EditModif->setText("70000000");
            config->OKClick(); // refused: the dialog stays open
            EXPECT_EQ(config->Cancelled, 1);
            config->EditModif->setText("D8300B00");
            config->OKClick();
            return config->result();
        });
        form->ACreatConfig->trigger();
    }
    EXPECT_EQ(cfg.Serv.SlotModuleCodes, (std::array<int, 8>{13, 8, 3, 0, 0, 11, 0, 0}));
    EXPECT_EQ(form->EditModif->text(), "D8300B00");
    const QStringList captions = {"БРОН", "МВА8", "МВД3", "", "", "МР11", "", ""};
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(form->SlotControls[s]->text(), captions[s]) << s;
        EXPECT_EQ(form->SlotControls[s]->isEnabled(), !captions[s].isEmpty()) << s;
    }
    // 24 discrete inputs per analogue module, 12 per discrete module.
    EXPECT_EQ(form->StAllD->text(), "60");
    EXPECT_EQ(form->StAllAn->text(), "8");
    EXPECT_EQ(cfg.MBA.GetRazmName(4), "кг/cм2");
    EXPECT_EQ(cfg.Serv.FileMode, 1);
    EXPECT_EQ(cfg.Serv.Modified, 1);
    EXPECT_EQ(cfg.Serv.GetDevAddr(), 4);
    EXPECT_EQ(cfg.FB.GetType(3), 0);
    EXPECT_EQ(cfg.Serv.GetNameText(0), "");
    EXPECT_TRUE(form->Context->ConfigFileName().isEmpty());
    cfg.Serv.FileMode = 0;
    EXPECT_EQ(form->Context->IdentityLine(), "ВЕГ-17  D8300B00  № 5"); // printed tables name the device
    EXPECT_TRUE(form->LoopSummary->CellText(0, TLoopSummary::cInput).isEmpty());

    { // cancelled: nothing changes
        ScriptedModals modals;
        modals.Then([](QDialog* dialog) {
            auto* config = qobject_cast<TConfig*>(dialog);
            config->EditModif->setText("F0000000");
            config->CancelClick();
            return config->result();
        });
        form->ACreatConfig->trigger();
    }
    EXPECT_EQ(cfg.Serv.SlotModuleCodes[0], 13);

    cfg.Veg.AccessLevel = 0; // the limited level may not create
    ScriptedMessageBoxes boxes;
    boxes.Expect("Ваш уровень доступа не позволяет\nсоздавать конфигурацию", "Предупреждение", MsgButtons::OK,
                 MsgIcon::Warning, mrNone, mrOk);
    form->ACreatConfig->trigger();
}

// After a cancelled opening the next one still takes the code where the user types it: the code
// typed and Enter create that configuration.
TEST(ConfigCreation, EveryOpeningTakesTheTypedCode) {
    TempWorkDir work;
    auto form = ShownMainWindow();
    ScriptedModals modals;
    const auto typed = [](const QList<std::pair<QString, int>>& keys) {
        return [keys](QDialog* dialog) {
            EXPECT_TRUE(ShowActive(*dialog));
            for (const auto& [text, key] : keys) {
                if (!text.isEmpty()) QTest::keyClicks(QApplication::focusWidget(), text);
                if (key) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            }
            return dialog->result();
        };
    };
    modals.Then([](QDialog* dialog) {
        dialog->show();
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                          Qt::LeftButton);
        return dialog->result();
    });
    modals.Then(typed({{"D8300B00", Qt::Key_Return}}));
    modals.Then(typed({{"F0000000", Qt::Key_Enter}})); // the earlier code is replaced, not extended
    // The third opening replaces the unsaved second configuration.
    ScriptedMessageBoxes boxes;
    boxes.Expect("Данные были изменены. Сохранить в файле?", "Подтвердите сохранение данных",
                 MsgButtons::YesNo, MsgIcon::Question, mrNo, mrNo);
    for (int opening = 0; opening < 3; ++opening)
        form->ACreatConfig->trigger();
    EXPECT_EQ(modals.Shown(), 3);
    EXPECT_EQ(form->EditModif->text(), "F0000000");
    EXPECT_EQ(form->Cfg.Serv.SlotModuleCodes[0], 15);
}
