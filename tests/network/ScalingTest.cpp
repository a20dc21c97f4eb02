// The network input scaling window: the rows a block owns, the opener's fill, the checks of the
// values, the close, the write of the scaling groups frame by frame, and the printed table.

#include "FileSizeLimit.h"
#include "InfoPrint.h"
#include "LocalNetFixture.h"
#include "RecordingWordProcessor.h"
#include "RtfWriter.h"
#include "ShowActive.h"
#include "editors/network/Prog_recvmbm.h"
#include "editors/network/ScalingKit.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

TEST(ScalingKit, BlockRowsLabelsAndTableLines) {
    auto cfg = std::make_unique<TConfiguration>();
    cfg->Serv.SetSlotModuleCode(1, 13); // four local channels
    MakeBlock(*cfg, 0, 3, 2, Dkrn, 0, 4);
    MakeBlock(*cfg, 1, 4, 3, Others, 8, 2);   // first row below 0
    MakeBlock(*cfg, 2, 4, 5, Others, 20, 48); // past row 47
    RecountNetInputs(*cfg);
    EXPECT_EQ(Scaling::RowsOf(*cfg, 0).first, 0);
    for (int i : {0, 1, 2})
        EXPECT_EQ(Scaling::RowsOf(*cfg, i).count, i == 0 ? 2 : 0) << i;
    const auto labels = Scaling::Labels(*cfg);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[1].row, 1);
    EXPECT_EQ(labels[1].ident, "ЛС1.А2");
    EXPECT_EQ(labels[1].number, "6");
    EXPECT_EQ(labels[1].hint, "номер аналогового сигнала в базе 8 (адрес 0x07)");

    const Scaling::TableRow row{"ЛС1.А1", "5", "TI-101", "%", "0", "100", "5", "10", "90", "95"};
    const QStringList fixed = Scaling::FixedLines("ID", "T", {row, {"A", "1", "POSITION-14CHR", "м"}});
    EXPECT_EQ(fixed[3], "  \t   №     \tтехнолог    \tразмер   \tmin      \tmax      \tуставка  \tуставка  \t"
                        "уставка  \tуставка  ");
    EXPECT_EQ(fixed[4],
              "  \tвхода   \tпозиция     \t   \tшкалы    \tшкалы    \t  LL     \t  L      \t  H      "
              "\t  HH     ");
    EXPECT_EQ(fixed[5],
              "ЛС1.А1     5         TI-101           \t%      \t0       \t100     \t5       \t10      \t"
              "90      \t95");
    EXPECT_EQ(fixed[6],
              "A          1         POSITION-14CHR   \tм      \t        \t        \t        \t        \t"
              "        \t");
}

// Only rows below 6 × (8 − B) reach the device: a block's rows are cut there.
TEST(ScalingKit, EditableRowsStopWhereTheSentGroupsEnd) {
    auto cfg = std::make_unique<TConfiguration>();
    const struct {
        int modules, sent, editable;
    } cases[] = {{0, 48, 14}, {1, 42, 12}, {2, 36, 6}, {6, 12, 0}, {8, 0, 0}};
    for (const auto& c : cases) {
        for (int s = 1; s <= 8; ++s)
            cfg->Serv.SetSlotModuleCode(s, s <= c.modules ? 6 : 0);
        MakeBlock(*cfg, 0, 4, 14, Others, 0, 4 * c.modules + 30); // rows 30..43
        EXPECT_EQ(Scaling::SentRows(*cfg), c.sent) << c.modules;
        EXPECT_EQ(Scaling::EditableRows(*cfg, 0).first, 30);
        EXPECT_EQ(Scaling::EditableRows(*cfg, 0).count, c.editable) << c.modules;
    }
}

class ScalingTest : public LocalNetTest {
  protected:
    void SetUp() override {
        LocalNetTest::SetUp();
        mbm.FormR_MBM = &scaling;
        Cfg().MBM.SetChRazm(1, 0);
        Cfg().MBM.SetChNSkText("0", 0);
        Cfg().MBM.SetChVSkText("100", 0);
        Cfg().MBM.SetChPozText("TI-1", 0);
        SaveAll();
    }
    // Opens block i's scaling through the request-block editor and runs body inside.
    void OpenScaling(int i, const std::function<void()>& body) {
        mbm.Prepare(i);
        modals.Then([&](QDialog* d) {
            EXPECT_EQ(d, &scaling);
            body();
            scaling.OKClick();
            return scaling.result();
        });
        mbm.ScalingClick();
    }
    Bytes Group(int g, bool reserve = false) {
        Bytes b;
        for (int k = 0; k < 169; ++k)
            b.push_back(
                uint8_t(reserve ? Cfg().Reserv.NetGroups().GetByte(g, k) : Cfg().MBM.GetBlockByte(g, k)));
        return b;
    }

    TFormR_MBM scaling{parts.context, kUnits};
    ScriptedModals modals;
};

TEST_F(ScalingTest, FillChecksValuesAndStoresPositionsOnlyAtClose) {
    const Bytes reserveBefore = Group(0, true);
    OpenScaling(1, [&] {
        EXPECT_EQ(Cfg().MBM.NetEdit.AnGroupsWritten, 1); // the fill is no edit
        EXPECT_EQ(scaling.LabN[0]->toolTip(), "номер аналогового сигнала в базе 7 (адрес 0x06)");
        EXPECT_EQ(scaling.LabN[2]->text(), "_");
        EXPECT_TRUE(scaling.NSK[1]->isEnabled());
        EXPECT_FALSE(scaling.NSK[2]->isEnabled());
        EXPECT_EQ(scaling.Razm[0]->currentText(), "%");
        EXPECT_EQ(scaling.VSK[0]->text(), "100");

        for (const QString bad : {"1,2,3", "12,", "-", "1-2", "--1", "32768", ""}) {
            boxes.Expect(" Ошибка ввода ", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
            scaling.NSK[0]->setText(bad);
            scaling.Ust1LLExit(scaling.NSK[0]);
            EXPECT_EQ(scaling.NSK[0]->text(), "0") << bad.toStdString();
        }
        EXPECT_EQ(boxes.Shown(), 7);
        scaling.UstL[0]->setText("1,5");
        scaling.Ust1LLExit(scaling.UstL[0]);
        scaling.UstH[0]->setText("-3"); // H below L is taken
        scaling.Ust1LLExit(scaling.UstH[0]);
        EXPECT_EQ(Cfg().MBM.GetChUstLText(0), "1,5");
        EXPECT_EQ(Cfg().MBM.GetChUstHText(0), "-3");
        EXPECT_EQ(Cfg().MBM.NetEdit.AnGroupsWritten, 0);
        scaling.Poz[1]->setText("PT-7");
        scaling.Ust1LLExit(scaling.Poz[1]);
        EXPECT_EQ(Cfg().MBM.GetChPozText(1), ""); // only at close
        scaling.Razm[1]->setCurrentIndex(2);
    });
    EXPECT_EQ(scaling.result(), 2);
    EXPECT_EQ(Cfg().MBM.GetChPozText(1), "PT-7");
    EXPECT_EQ(Cfg().MBM.GetChRazm(1), 2);
    EXPECT_EQ(Group(0, true), reserveBefore); // unsent edits stay out of the reserve
    EXPECT_EQ(CountOf('E'), 0);
}

TEST_F(ScalingTest, WriteSendsTheGroupsOfTheFreeBlocksAndAFailureRestoresAll) {
    // Two analogue modules; exception 7 on block 5: one box, nothing more sent, every group back
    // from the reserve.
    Cfg().Serv.SetSlotModuleCode(4, 6);
    Cfg().MBM.NetEdit.AnGroupsWritten = 0;
    Cfg().MBM.SetChPozText("NEW", 0);
    Cfg().MBM.SetChPozText("NEW", 13);
    device.Faults().faults = {Fault{FaultKind::Exception, 'E', 5, -1, 7}};
    ExpectDeviceError("Прибор не может выполнить запрос.");
    scaling.SaveClick();
    EXPECT_EQ(WrittenIds(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(Cfg().MBM.GetChPozText(0), "NEW"); // written before the failure, so in the reserve
    EXPECT_EQ(Cfg().MBM.GetChPozText(13), "");
    EXPECT_EQ(Cfg().MBM.NetEdit.AnGroupsWritten, 0);

    // Eight analogue modules: nothing to send, the groups count as written.
    device.ClearLog();
    for (int s = 1; s <= 8; ++s)
        Cfg().Serv.SetSlotModuleCode(s, 6);
    scaling.SaveClick();
    EXPECT_EQ(CountOf('E'), 0);
    EXPECT_EQ(Cfg().MBM.NetEdit.AnGroupsWritten, 1);
}

TEST_F(ScalingTest, PrintsTheTableAndSavesTheFixedWidthOne) {
    QTemporaryDir dir;
    RecordingWordProcessor wp;
    SetInfoWordProcessor(&wp);
    parts.context.SetModifCode("D2B00000");
    scaling.Block = 1;
    scaling.FillRows();
    const QString name = dir.filePath("net");
    modals.Then(ChooseFile(name));
    boxes.ExpectText("Печатать?", "Необходимость печати файла .rtf", mrNo);
    scaling.BNew1Click();
    SetInfoWordProcessor(nullptr);
    const QStringList lines = scaling.RichEdit1->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 7); // the block's second row last
    EXPECT_EQ(lines.mid(0, 6),
              QStringList({"ВЕГ-05HMI  D2B00000  № 1", "Аналоговые входы локальной сети ModBus          ", "",
                           "\t\t№\tтехнолог\t\tразмер\tmin\tmax\t\tуставка\t\tуставка\t\tуставка\t\tуставка",
                           "\t\tвхода\tпозиция\t\t\tшкалы\tшкалы\t\t  LL\t\t  L\t\t  H\t\t  HH",
                           "ЛС2.А1\t\t5\tTI-1\t\t%\t0\t100\t\t0\t\t0\t\t100\t\t100"}));
    QFile file(name + ".rtf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), RtfDocument(lines, kLandscape));

    // The hidden panel: the fixed-width table into a file; an existing file is replaced on Yes.
    scaling.But3Click();
    const QString saved = dir.filePath("fixed.rtf");
    QFile(saved).open(QIODevice::WriteOnly);
    modals.Then(ChooseFile(dir.filePath("fixed.txt"))).Then(ChooseFile(saved)).Then(ChooseFile(saved));
    boxes.Expect("Неверно задано имя файла", "Cохранение данных в файл", MsgButtons::OK, MsgIcon::Warning,
                 mrNone, mrOk);
    for (int answer : {mrNo, mrYes})
        boxes.Expect("Файл с таким именем существует.\nЗаменить?", "Сохранение файла", MsgButtons::YesNo,
                     MsgIcon::Question, mrNo, answer);
    scaling.Button1Click();
    QFile fixed(saved);
    ASSERT_TRUE(fixed.open(QIODevice::ReadOnly));
    EXPECT_EQ(fixed.readAll(), RtfDocument(scaling.RichEdit1->toPlainText().split('\n')));
    fixed.close();

    // On a full disk the replaced file stays whole; Yes to the retry shows the dialog again.
    const QByteArray before = RtfDocument(scaling.RichEdit1->toPlainText().split('\n'));
    parts.context.SetModifCode("D2B30000");
    scaling.But3Click();
    ASSERT_NE(RtfDocument(scaling.RichEdit1->toPlainText().split('\n')), before);
    modals.Then(ChooseFile(saved)).Then(ChooseFile(saved));
    for (int answer : {mrYes, mrNo}) {
        boxes.Expect("Файл с таким именем существует.\nЗаменить?", "Сохранение файла", MsgButtons::YesNo,
                     MsgIcon::Question, mrNo, mrYes);
        boxes.Expect("Файл не удается создать.\nПовторить?", "Сохранение файла печати", MsgButtons::YesNo,
                     MsgIcon::Question, mrNo, answer);
    }
    {
        const FileSizeLimit full(100);
        ASSERT_TRUE(full.IsSet());
        scaling.Button1Click();
    }
    ASSERT_TRUE(fixed.open(QIODevice::ReadOnly));
    EXPECT_EQ(fixed.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"fixed.rtf", "net.rtf"}));

    // Printing a selection: the heading line, the first header line and the selection.
    QTextCursor cursor = scaling.RichEdit1->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfLine, QTextCursor::KeepAnchor);
    scaling.RichEdit1->setTextCursor(cursor);
    modals.Then([&](QDialog*) {
        const QStringList table = scaling.RichEdit1->toPlainText().split('\n');
        EXPECT_EQ(scaling.RichEdit2->toPlainText().split('\n'),
                  QStringList({"Печать выделенной части таблицы", table[3], table[6]}));
        return int(QDialog::Rejected);
    });
    scaling.But5Click();
    EXPECT_TRUE(scaling.RichEdit2->isHidden());
}

// Rows the device does not keep are shown disabled and never stored; the list window's write
// sends the groups as they are.
TEST_F(ScalingTest, RowsPastTheSentGroupsAreShownDisabledAndNeverStored) {
    Cfg().Serv.SetSlotModuleCode(4, 6);        // two analogue modules: rows 0..35 are sent
    MakeBlock(Cfg(), 1, 4, 40, Others, 24, 8); // rows 0..39
    Cfg().MBM.SetChUstHText("5", 39);
    const Bytes unsent = Group(6);
    lnet.show();
    modals.Then([&](QDialog*) {
        QTest::mouseClick(mbm.Scaling, Qt::LeftButton);
        return int(mrCancel);
    });
    modals.Then([&](QDialog*) {
        EXPECT_TRUE(ShowActive(scaling));
        for (int r : {0, 35, 36, 39}) {
            const size_t i = size_t(r);
            EXPECT_NE(scaling.Label[i]->text(), "_") << r;
            for (QWidget* w :
                 std::initializer_list<QWidget*>{scaling.Poz[i], scaling.Razm[i], scaling.UstH[i]})
                EXPECT_EQ(w->isEnabled(), r < 36) << r;
        }
        EXPECT_EQ(scaling.UstH[39]->text(), "5");
        for (int r : {39, 35}) {
            QTest::mouseClick(scaling.UstH[size_t(r)], Qt::LeftButton);
            QTest::keyClick(scaling.UstH[size_t(r)], Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(scaling.UstH[size_t(r)], "77");
        }
        QTest::mouseClick(scaling.OK, Qt::LeftButton);
        return scaling.result();
    });
    QTest::mouseClick(lnet.Buttons[1], Qt::LeftButton);
    EXPECT_EQ(modals.Shown(), 2);
    EXPECT_EQ(Cfg().MBM.GetChUstHText(35), "77");
    EXPECT_EQ(Group(6), unsent);

    ExpectTransferQuestion(mrYes);
    QTest::mouseClick(lnet.OK, Qt::LeftButton);
    EXPECT_EQ(WrittenIds(), (std::vector<int>{3, 4, 5, 6, 7, 8, 10}));
    const auto frames = device.ReceivedOf('E');
    for (int j = 0; j < 6 && j < int(frames.size()); ++j) {
        Bytes data = Group(j);
        data[0] = uint8_t(3 + j);
        EXPECT_EQ(frames[size_t(j)], Frame::Build(1, 'E', data)) << j;
    }
    lnet.hide();
}
