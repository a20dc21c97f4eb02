// The analogue-module editor on the simulated device: what its window adds to the row rules —
// the write of the record, the close paths, the row handlers, copy and replace, printing.

#include "EditorFixture.h"
#include "InfoPrint.h"
#include "ModbusFrame.h"
#include "OfficeText.h"
#include "RecordingWordProcessor.h"
#include "RtfWriter.h"
#include "editors/analog/AnalogRows.h"
#include "editors/analog/Prog_mba.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using Bytes = std::vector<uint8_t>;

namespace {

void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

} // namespace

class AnalogEditorTest : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        UseSimulatorSlots();
        TProgMBAClass& mba = Cfg().MBA;
        // A free scale, XA(K) with a standard range, two current rows.
        const std::tuple<int, const char*, const char*> rows[] = {
            {9, "-50", "150"}, {2, "0", "600"}, {0, "0", "100"}, {0, "0", "100"}};
        for (int c = 0; c < 4; ++c) {
            mba.SetChSk(0, c, std::get<0>(rows[c]));
            mba.SetChNSkText(0, c, std::get<1>(rows[c]));
            mba.SetChVSkText(0, c, std::get<2>(rows[c]));
        }
        AnalogRows::SaveModuleReserve(Cfg(), 0);
        QObject::connect(&parts.context, &EditorContext::ConfigurationChanged, &parts.context,
                         [this] { ++notified; });
        mba.SetCurSlot(1);
        Open();
    }
    void Open() {
        form.PrepareForSlot("БРОН");
        form.show();
    }
    // The module's record, or its reserve.
    Bytes Record(bool reserve = false) {
        Bytes b;
        for (int k = 0; k < 169; ++k)
            b.push_back(
                uint8_t(reserve ? Cfg().Reserv.ModuleImages().GetByte(0, k) : Cfg().MBA.GetModuleByte(0, k)));
        return b;
    }
    Bytes Reserve() { return Record(true); }
    int Changed() { return Cfg().MBA.GetMbaBaseChanged(); }
    void ExpectInputError() {
        boxes.Expect(kInputError, "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    }
    void ExpectCloseQuestion(int answer) {
        boxes.Expect("База  была изменена. Передать в прибор?", "Подтвердите передачу базы данных",
                     MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, answer);
    }
    void Leave(QLineEdit* box, const QString& text) {
        box->setText(text);
        form.Ust1LLExit(box);
    }

    TFormPROG form{parts.context, kUnits};
    int notified = 0;
};

TEST_F(AnalogEditorTest, OpensTheControllerRows) {
    EXPECT_EQ(
        QStringList({form.windowTitle(), form.LabTMod->text(), form.LabN->text(), form.Label[3]->toolTip(),
                     form.NSK[0]->text(), form.Sk[1]->currentText(), form.KorIOutBeg[0]->itemText(2)}),
        QStringList({"Программирование аналоговых сигналов", "БРОН", "входы 1",
                     "номер аналогового сигнала в базе 4 (адрес 0x03)", "-50", "XA(K)", "+ 8 мкА"}));
    // Sensor types, outputs, hint label; free-scale box and list; the standard range; dead band.
    EXPECT_EQ((std::array{form.Button2->isVisible(), form.ButOnLineVyh->isVisible(),
                          form.Label10->isVisible(), form.NSK[0]->isVisible(), form.MinSk[0]->isVisible(),
                          form.MaxSk[1]->isVisible(), form.ZonaIns[2]->isVisible()}),
              (std::array{true, false, false, true, false, true, true}));
    EXPECT_EQ(form.Sk[2]->count(), 2);
    EXPECT_EQ(Cfg().MBA.GetRazmName(0), "град.С"); // the unit list from the main window's defaults
    EXPECT_EQ(Changed(), 0);                       // loading is no edit
}

TEST_F(AnalogEditorTest, WriteSendsTheRecordAsBlockOneAndCommits) {
    Cfg().MBA.SetModuleByte(0, 0, 0x77); // byte 0 of the record is not sent
    Cfg().MBA.SetChPozText(0, 1, "TI-1");
    Cfg().MBA.SetMbaBaseChanged(1);
    Cfg().Serv.SetDevAddr(0);
    device.Faults().busyPolls = 2;
    clock.sleeps.clear();
    form.SaveClick();

    const auto writes = device.ReceivedOf('E');
    ASSERT_EQ(writes.size(), 1u);
    Bytes data = Record();
    data[0] = 1;
    EXPECT_EQ(writes[0], Frame::Build(1, 'E', data));
    EXPECT_EQ(CountOf(0x0E), 3);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{300, 200, 200}));
    EXPECT_EQ(device.Block(1), Bytes(data.begin() + 1, data.end()));
    EXPECT_EQ(Reserve(), Record());
    EXPECT_EQ(Changed(), 0);
    EXPECT_EQ(notified, 1); // the loop summary is refreshed
}

TEST_F(AnalogEditorTest, FailedRefusedAndFileModeWrites) {
    const Bytes reserve = Reserve();
    Cfg().MBA.SetChPozText(0, 0, "new");
    // The exchange's retries are its own test; here a failed write keeps the reserve and the flag.
    device.Faults().faults = {{FaultKind::Exception, 0x0E, -1, -1, 7}};
    Cfg().MBA.SetMbaBaseChanged(1);
    ExpectDeviceError("Прибор не может выполнить запрос.");
    form.SaveClick();
    EXPECT_TRUE(boxes.Done());
    EXPECT_EQ(CountOf('E'), 1);
    EXPECT_EQ(Reserve(), reserve);
    EXPECT_EQ(Changed(), 1);
    device.Faults().faults.clear();
    device.ClearLog();

    Cfg().Veg.AccessLevel = 0;
    boxes.Expect("Ваш уровень доступа не позволяет\nпроизводить передачу в прибор", "Предупреждение",
                 MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    form.SaveClick();
    EXPECT_EQ(Changed(), 0);
    Cfg().Veg.AccessLevel = 1;

    Cfg().Serv.FileMode = 1;
    Cfg().MBA.SetMbaBaseChanged(1);
    form.SaveClick();
    EXPECT_EQ(CountOf('E'), 0);
    EXPECT_EQ(notified, 0);
}

TEST_F(AnalogEditorTest, ClosePaths) {
    Cfg().Reserv.SetModuleType(0, 0x05);
    Cfg().MBA.SetModuleType(0, 0x05);
    const Bytes saved = Record();
    const auto edit = [&] {
        Cfg().MBA.SetChPozText(0, 0, "edited");
        Cfg().MBA.SetModuleType(0, 0x01);
        Cfg().MBA.SetMbaBaseChanged(1);
        form.Poz[0]->setText("edited");
    };
    // Cancel restores the record and the module types without a question, in file mode too.
    for (int fileMode : {0, 1}) {
        Cfg().Serv.FileMode = fileMode;
        edit();
        form.CancelClick();
        EXPECT_EQ(Record(), saved);
        EXPECT_EQ(Cfg().MBA.GetModuleType(0), 0x05);
        EXPECT_EQ(form.result(), mrCancel);
        Open();
    }
    Cfg().Serv.FileMode = 0;
    // The close box after an earlier Cancel validates and asks.
    edit();
    ExpectCloseQuestion(mrCancel);
    form.reject();
    EXPECT_TRUE(form.isVisible()); // Cancel in the question keeps the window
    ExpectCloseQuestion(mrNo);
    form.OKClick();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Record(), saved);
    EXPECT_EQ(Changed(), 0);

    // File mode: the record goes to the reserve; Modified only when changed.
    Cfg().Serv.FileMode = 1;
    Open();
    form.OKClick();
    EXPECT_EQ(Cfg().Serv.Modified, 0);
    Open();
    edit();
    form.OKClick();
    EXPECT_EQ(Reserve(), Record());
    EXPECT_EQ(Cfg().Serv.Modified, 1);
    EXPECT_EQ(form.result(), mrCancel);

    // An empty free-scale minimum: the input error, then the question; No stays, Yes ends with 6.
    Open();
    form.NSK[0]->clear();
    ExpectInputError();
    boxes.Expect("Ошибка программирования \nЗакончить?", "Подтвердите окончание программирования",
                 MsgButtons::YesNo, MsgIcon::Question, mrNone, mrNo);
    form.OKClick();
    EXPECT_TRUE(form.isVisible());
    ExpectInputError();
    boxes.ExpectText("Ошибка программирования \nЗакончить?", "Подтвердите окончание программирования", mrYes);
    form.OKClick();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), mrYes);
}

TEST_F(AnalogEditorTest, FreeScaleLimitsSetPointsAndDeadBand) {
    TProgMBAClass& mba = Cfg().MBA;
    Leave(form.NSK[0], "-200");
    Leave(form.VSK[0], "200");
    EXPECT_EQ(mba.GetChNSkText(0, 0), "-200");
    EXPECT_EQ(mba.GetChVSkText(0, 0), "200");
    ExpectInputError();
    Leave(form.NSK[0], "-200,1");
    EXPECT_EQ(form.NSK[0]->text(), "-200");
    ExpectInputError();
    Leave(form.UstH[2], "1,2,3");
    EXPECT_EQ(form.UstH[2]->text(), mba.GetChUstHText(0, 2));
    Leave(form.UstH[2], "12,5");
    EXPECT_EQ(mba.GetChUstHText(0, 2), "12,5");
    Leave(form.ZonaIns[2], "3");
    EXPECT_EQ(mba.GetChB1Bits4to5(0, 2), 3);
    ExpectInputError();
    Leave(form.ZonaIns[2], "4");
    EXPECT_EQ(form.ZonaIns[2]->text(), "3");
    Leave(form.Poz[1], "TI-101");
    EXPECT_EQ(mba.GetChPozText(0, 1), "TI-101");
    EXPECT_EQ(Changed(), 1);
}

TEST_F(AnalogEditorTest, ScaleKindChanges) {
    TProgMBAClass& mba = Cfg().MBA;
    const Bytes before = Record();
    Choose(form.Sk[1], 2); // the kind it has: nothing
    EXPECT_EQ(Record(), before);

    Choose(form.Sk[1], 10); // 100П: resistance, wiring list shown
    EXPECT_TRUE(form.TInp[1]->isVisible());
    EXPECT_EQ(form.TInp[1]->itemText(1), "4-х провод.");
    Choose(form.TInp[1], 1);
    EXPECT_EQ(mba.GetChB1Bit6(0, 1), 1);
    EXPECT_TRUE(form.MinSk[1]->isVisible());
    EXPECT_EQ(mba.GetChNSkText(0, 1), form.MinSk[1]->currentText());

    Choose(form.Sk[1], 2); // a thermocouple hides the wiring and stores 0
    EXPECT_FALSE(form.TInp[1]->isVisible());
    EXPECT_EQ(mba.GetChB1Bit6(0, 1), 0);

    // To the free scale: the stored limits, within −200..200, not the stale hidden boxes.
    mba.SetChVSkText(0, 1, "600");
    form.NSK[1]->setText("stale");
    Choose(form.Sk[1], 9);
    EXPECT_TRUE(form.NSK[1]->isVisible());
    EXPECT_EQ(form.NSK[1]->text(), mba.GetChNSkText(0, 1));
    EXPECT_EQ(form.VSK[1]->text(), "200");
    EXPECT_EQ(mba.GetChVSkText(0, 1), "200");

    // A current row stores only the scale law.
    const int b1 = mba.GetModuleByte(0, 1 + 28 * 3 + 1);
    Choose(form.Sk[3], 1);
    EXPECT_EQ(mba.GetChSk(0, 3), 1);
    EXPECT_EQ(mba.GetModuleByte(0, 1 + 28 * 3 + 1), b1);
}

TEST_F(AnalogEditorTest, OutputRangesAndCorrections) {
    TProgMBAClass& mba = Cfg().MBA;
    Choose(form.KorIOutBeg[1], 9);
    Choose(form.KorIOutEnd[1], 8);
    EXPECT_EQ(mba.GetModuleByte(0, 122), 0x98); // "- 4 мкА" high, "+32 мкА" low
    Choose(form.IOut[1], 1);
    EXPECT_EQ(mba.GetModuleByte(0, 122), 0);
    EXPECT_EQ(mba.GetConnBit(0, 2), 1);
    EXPECT_FALSE(form.KorIOutBeg[1]->isVisible());
    Choose(form.IOut[1], 0);
    EXPECT_TRUE(form.KorIOutBeg[1]->isVisible());
    EXPECT_EQ(form.KorIOutBeg[1]->currentText(), "0 мкА");
}

TEST_F(AnalogEditorTest, CopyAndReplaceTheBase) {
    // A copy of another module code keeps replace disabled.
    Cfg().MBA.SetMbaCopyIndex(1);
    Cfg().MBA.SetMbaCopyCode(15);
    Open();
    EXPECT_FALSE(form.ButtonChange->isEnabled());
    EXPECT_FALSE(form.N11->isEnabled());

    form.CopyBaseClick();
    EXPECT_TRUE(form.ButtonChange->isEnabled());
    EXPECT_EQ(Cfg().MBA.GetMbaCopyIndex(), 0);
    EXPECT_EQ(Cfg().MBA.GetMbaCopyCode(), 13);
    const Bytes copied = Record();
    Cfg().MBA.SetChPozText(0, 2, "other");
    Cfg().MBA.SetModuleByte(0, 121, 0x11);
    form.ChangeBaseClick();
    EXPECT_EQ(Record(), copied);
    EXPECT_EQ(form.Poz[2]->text(), "");
    EXPECT_EQ(form.KorIOutBeg[0]->currentIndex(), 0);
    EXPECT_EQ(Changed(), 1);
    EXPECT_EQ(CountOf('E'), 0);
}

// The file dialog, the boxes and the word processor are the shared printer's; here the lines, read
// back through LibreOffice: under the title, module and input lines, every channel row with its
// position, the limits its window row shows (the free scale's boxes, the standard range's lists,
// the current rows' boxes) and its four set points.
TEST_F(AnalogEditorTest, PrintsTheModuleBase) {
    form.hide();
    TProgMBAClass& mba = Cfg().MBA;
    mba.SetChNSkText(0, 1, "1"); // stored limits that the standard range's lists do not show
    mba.SetChVSkText(0, 1, "2");
    mba.SetChNSkText(0, 3, "-5");
    mba.SetChVSkText(0, 3, "95");
    for (int c = 0; c < 4; ++c) {
        mba.SetChPozText(0, c, QString("ПОЗ-%1").arg(c + 1));
        mba.SetChUstLLText(0, c, QString::number(c * 10 + 1));
        mba.SetChUstLText(0, c, QString::number(c * 10 + 2));
        mba.SetChUstHText(0, c, QString::number(c * 10 + 3));
        mba.SetChUstHHText(0, c, QString::number(c * 10 + 4));
    }
    Open();
    ASSERT_NE(form.MinSk[1]->currentText(), "1");

    QTemporaryDir dir;
    RecordingWordProcessor wp;
    SetInfoWordProcessor(&wp);
    parts.context.SetModifCode("D2B00000");
    const QString name = dir.filePath("base.rtf");
    ScriptedModals modals;
    modals.Then(ChooseFile(name));
    boxes.ExpectText("Печатать?", "Необходимость печати файла .rtf", mrNo);
    QTest::mouseClick(form.BNew1, Qt::LeftButton);
    SetInfoWordProcessor(nullptr);

    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), RtfDocument(form.RichEdit1->toPlainText().split('\n')));
    if (OfficeProgram().isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    const QStringList lines = OfficeTextLines(name, dir.path());
    ASSERT_GE(lines.size(), 11) << lines.join('|').toStdString();
    EXPECT_EQ(lines.mid(0, 5), QStringList({"ВЕГ-17  D2B00000  № 1", "", "          Модуль\tБРОН\t\t\t",
                                            "\t\t\t\tвходы 1", ""}));
    const QStringList shownLimits[4] = {{"-50", "150"},
                                        {form.MinSk[1]->currentText(), form.MaxSk[1]->currentText()},
                                        {"0", "100"},
                                        {"-5", "95"}};
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        const QStringList cells = lines[7 + c].split('\t', Qt::SkipEmptyParts);
        ASSERT_GE(cells.size(), 8) << lines[7 + c].toStdString();
        EXPECT_EQ(cells.mid(0, 2), QStringList({QString::number(c + 1), form.Poz[size_t(c)]->text()}));
        EXPECT_EQ(cells.mid(cells.size() - 6),
                  shownLimits[c] + QStringList({QString::number(c * 10 + 1), QString::number(c * 10 + 2),
                                                QString::number(c * 10 + 3), QString::number(c * 10 + 4)}));
    }
}
