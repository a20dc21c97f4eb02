// The algorithm tables: the grid stored back on close, the rows the window shows, algorithms
// loaded from a configuration file, and the printed text of both tables.

#include "AlgTableEdit.h"
#include "ConfigFile.h"
#include "FbEditorFixture.h"
#include "InfoPrint.h"
#include "RecordingWordProcessor.h"
#include "RtfWriter.h"
#include "editors/fb/AlgTablePrint.h"
#include "editors/fb/Obrinfalg.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextEdit>

namespace {

std::unique_ptr<TProgFBClass> Table(int fbCount, int logicCount) {
    auto fb = std::make_unique<TProgFBClass>();
    fb->FBCount = fbCount;
    fb->LogicFBCount = logicCount;
    return fb;
}

} // namespace

TEST(AlgorithmGrid, ListTextsAreStoredOrRefused) {
    struct Case {
        QString list;
        int fbCount;
        AlgGridError error;
        std::vector<int> stored;
    };
    const QString items61 = QString("1,").repeated(61);
    const std::vector<Case> cases{
        {"1,2,3", 120, AlgGridError::None, {1, 2, 3}},
        {"1,2,3,", 120, AlgGridError::None, {1, 2, 3}},
        {"10,3", 120, AlgGridError::None, {10, 3}},
        {" 4, 5 ,6", 120, AlgGridError::None, {4, 5, 6}},
        {"1000", 120, AlgGridError::BadItem, {}},
        {"1,x", 120, AlgGridError::BadItem, {1}},
        {"1,,2", 120, AlgGridError::BadItem, {1}},
        {"  ", 120, AlgGridError::BadItem, {}},
        {"2" + QString(" ").repeated(599), 120, AlgGridError::BadItem, {}},
        {items61, 60, AlgGridError::BadItem, std::vector<int>(60, 1)},
        {items61, 120, AlgGridError::None, std::vector<int>(61, 1)},
        {"1,2,11", 120, AlgGridError::BadBlock, {1, 2}},
        {"0", 120, AlgGridError::BadBlock, {}},
        {"-1", 120, AlgGridError::BadBlock, {}},
    };
    for (const Case& c : cases) {
        auto fb = Table(c.fbCount, 10);
        const AlgGridError error = StoreAlgorithmGrid(*fb, {{" 1", "Насосы", c.list}});
        EXPECT_EQ(error, c.error) << c.list.toStdString();
        EXPECT_EQ(AlgList(*fb, 0), c.stored) << c.list.toStdString();
        EXPECT_EQ(fb->AlgTable.GetCount(), c.error == AlgGridError::None ? 1 : 0) << c.list.toStdString();
        if (!c.stored.empty()) {
            EXPECT_EQ(fb->AlgTable.GetMark(c.stored[0] - 1), c.stored[0]);
        }
    }
    EXPECT_EQ(AlgGridErrorText(AlgGridError::BadItem), "error ");
    EXPECT_EQ(AlgGridErrorText(AlgGridError::BadBlock), "error N ФБ");
}

TEST(AlgorithmGrid, NumberCellsNameTheSlotsAndRowsGiveListsAndCount) {
    auto fb = Table(120, 10);
    fb->SetFbText(7, "старое");
    fb->AlgTable.SetEntry(5, 0, 4);
    fb->AlgTable.SetMark(3, 4);
    // Row 0 names algorithm 3, row 1 clears name 8, row 2 is the last named one.
    EXPECT_EQ(StoreAlgorithmGrid(*fb, {{" 3", "Первый", "2,3,"}, {"8", "", "4,"}, {" 2", "Второй", "5"}, {}}),
              AlgGridError::None);
    EXPECT_EQ(QStringList({fb->GetFbText(2), fb->GetFbText(1), fb->GetFbText(7)}),
              QStringList({"Первый", "Второй", ""}));
    EXPECT_EQ((std::vector{AlgList(*fb, 0), AlgList(*fb, 1), AlgList(*fb, 2), AlgList(*fb, 5)}),
              (std::vector<std::vector<int>>{{2, 3}, {}, {5}, {}}));
    EXPECT_EQ(std::tuple(fb->AlgTable.GetMark(3), fb->AlgTable.GetMark(4), fb->AlgTable.GetCount()),
              std::tuple(TProgFBClass::AlgEnd, 5, 3));

    // An empty first number cell leaves everything empty.
    EXPECT_EQ(StoreAlgorithmGrid(*fb, {{"", "Имя", "1"}, {" 2", "Второй", "5"}}), AlgGridError::None);
    EXPECT_EQ(std::tuple(fb->AlgTable.GetCount(), fb->GetFbText(1), AlgList(*fb, 1)),
              std::tuple(0, QString(), std::vector<int>()));

    // A number cell outside 1..FBCount addresses no name.
    for (const QString number : {"0", "121", "x"})
        EXPECT_EQ(StoreAlgorithmGrid(*fb, {{" 1", "A", "1"}, {number, "B", "2"}}), AlgGridError::BadItem)
            << number.toStdString();
    EXPECT_EQ(AlgList(*fb, 0), std::vector<int>({1}));
}

TEST(AlgorithmGrid, RowsAsTheEditorAndTheFileLoaderShowThem) {
    auto fb = Table(120, 10);
    SetAlgorithm(*fb, 0, {3, 4, 5}, "Насосы");
    SetAlgorithm(*fb, 1, {6, 7}, "Вентиляция");
    fb->SetFbText(2, "Третий");
    const auto lists = [](const std::vector<AlgGridRow>& rows) {
        QStringList all;
        for (const AlgGridRow& r : rows)
            all << r.list;
        return all;
    };
    const std::vector<AlgGridRow> rows = AlgorithmRows(*fb);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(QStringList({rows[0].number, rows[0].name, rows[0].list}),
              QStringList({" 1", "Насосы", "3,4,5,"}));
    // The last algorithm takes in the blocks after its last one.
    EXPECT_EQ(lists(LoadedAlgorithmRows(*fb)), QStringList({"3,4,5,", "6,7,8,9,10,"}));
    // An entry above the logic count ends that algorithm's list; the later ones still fill.
    fb->AlgTable.SetEntry(0, 1, 11);
    fb->AlgTable.SetEntry(2, 0, 1);
    fb->AlgTable.SetCount(3);
    EXPECT_EQ(lists(LoadedAlgorithmRows(*fb)), QStringList({"3,", "6,7,", "1,2,3,4,5,6,7,8,9,10,"}));
    // A list entry in the last slot gets no comma.
    auto full = Table(60, 60);
    for (int j = 0; j < 60; ++j)
        full->AlgTable.SetEntry(0, j, j + 1);
    full->AlgTable.SetCount(1);
    EXPECT_TRUE(AlgorithmRows(*full)[0].list.endsWith(",59,60"));
}

TEST(AlgorithmTablePrint, CellsArePaddedAndTabbed) {
    struct Case {
        bool blockTable;
        int column;
        int length;
        int blanks;
        int tabs;
        int kept; // characters of the text kept
    };
    const std::vector<Case> cases{
        {true, 2, 5, 23, 1, 5},     {true, 2, 6, 22, 0, 6},     {true, 2, 27, 1, 0, 27},
        {true, 2, 30, 0, 0, 30},    {true, 0, 3, 1, 0, 3},      {true, 3, 20, 0, 0, 20},
        {false, 1, 120, 0, 0, 100}, {false, 1, 100, 1, 0, 100}, {false, 1, 99, 2, 1, 99},
        {false, 1, 8, 93, 10, 8},   {false, 1, 9, 92, 9, 9},    {false, 0, 6, 0, 0, 6},
        {false, 2, 3, 148, 0, 3},
    };
    for (const Case& c : cases) {
        // Neighbours hold "y", so each cell's end shows.
        QStringList row(c.blockTable ? 7 : 3, "y");
        row[c.column] = QString(c.length, QChar('x'));
        const QStringList lines =
            c.blockTable ? BlockTableLines("T", "S", {row}) : AlgorithmTableLines("T", "S", {row});
        ASSERT_EQ(lines.size(), 5);
        const QString line = lines[4];
        const qsizetype end = line.lastIndexOf('x') + 1;
        const qsizetype next = line.indexOf('y', end);
        const bool joinTab = c.column < (c.blockTable ? 6 : 0) + (c.blockTable ? 0 : 1);
        EXPECT_EQ(line.count('x'), c.kept) << c.column << " " << c.length;
        EXPECT_EQ(line.mid(end, next < 0 ? -1 : next - end),
                  QString(c.blanks, ' ') + QString(c.tabs, '\t') + (joinTab ? "\t" : ""))
            << c.column << " " << c.length;
    }
    // Head lines; the block table's data rows start after one more line feed.
    const std::vector<QStringList> rows{{"a"}, {"b"}, {"c"}};
    const QStringList block = BlockTableLines("Заголовок", "Функциональные блоки", rows);
    EXPECT_EQ(block.mid(0, 4), QStringList({"Заголовок", "\n", "          Функциональные блоки", "\n"}));
    EXPECT_EQ(block.size(), 4 + 3 + 1);
    EXPECT_EQ(block[6], "\n");
    EXPECT_EQ(AlgorithmTableLines("T", "S", {{"1", "N", "2,"}})[4],
              "1    \tN" + QString(100, ' ') + QString(10, '\t') + "2," + QString(149, ' '));
}

class AlgWindowTest : public FbEditorFixture {
  protected:
    void SetUp() override {
        FbEditorFixture::SetUp();
        Form().SetAlgorithmWindow(&window);
        SetInfoWordProcessor(&wp);
    }
    void TearDown() override {
        SetInfoWordProcessor(nullptr);
        FbEditorFixture::TearDown();
    }
    QString Cell(QTableWidget* grid, int row, int column) {
        const QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList Row(QTableWidget* grid, int row) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << Cell(grid, row, c);
        return cells;
    }
    void SetCell(int row, int column, const QString& text) {
        if (!window.StringGrid2->item(row, column))
            window.StringGrid2->setItem(row, column, new QTableWidgetItem);
        window.StringGrid2->item(row, column)->setText(text);
    }
    // Three blocks: a discrete input feeds block 1, block 1 feeds block 2, a comparator; a
    // calculation record behind them.
    void ThreeBlocks() {
        SetBlock(0, 1, {{0, 1}, {1, 0}, {3, 5}});
        SetBlock(1, 4, {{1, 1}, {1, 9}});
        SetBlock(2, TProgFBClass::TypeComparator);
        FB().SetIn8Kind(2, 0);
        FB().SetIn8Num(2, 2);
        FB().SetTypeByte(3, TProgFBClass::TypeCalc);
        FB().RecountTable();
        Cfg().Serv.SetInputTextRow(0, {"Вход1"});
        Cfg().Serv.SetInputTextRow(1, {"Вход2"});
    }

    TFormInfAlg window{parts.context};
    RecordingWordProcessor wp;
};

TEST_F(AlgWindowTest, CreatingAlgorithmsFillsTheGridsAndStoresThemOnOk) {
    ThreeBlocks();
    ASSERT_EQ(FB().LogicFBCount, 3);
    SetAlgorithm(FB(), 0, {2}, "Старый");
    modals.Then([&](QDialog* d) {
        EXPECT_EQ(d, &window);
        const QStringList types = CreatFb::TypeNames();
        EXPECT_EQ(Row(window.StringGrid1, 2),
                  QStringList({" 1", "ФБ1", types[0], Cfg().Serv.GetInputText(0), "", "", ""}));
        // Block 9 is not built; the calculation record has no row.
        EXPECT_EQ((QStringList{Cell(window.StringGrid1, 3, 3), Cell(window.StringGrid1, 3, 4),
                               Cell(window.StringGrid1, 4, 2), Cell(window.StringGrid1, 4, 3),
                               Cell(window.StringGrid1, 5, 0), Cell(window.StringGrid1, 0, 0)}),
                  (QStringList{"ФБ1", "", types[TProgFBClass::TypeComparator - 1], Cfg().Serv.GetInputText(1),
                               "", "  №"}));
        EXPECT_EQ((QStringList{Cell(window.StringGrid2, 1, 0), Cell(window.StringGrid2, 2, 1),
                               Cell(window.StringGrid2, 2, 2)}),
                  (QStringList{"п/п", "Старый", "2,"}));
        EXPECT_TRUE(window.EditingNFB->isChecked() && window.EditingNFB->isEnabled());
        SetCell(2, 1, "Насосы");
        SetCell(2, 2, "1,2,3");
        SetCell(3, 0, " 2");
        SetCell(3, 1, "Второй");
        window.OK->click();
        return window.result();
    });
    Form().ACreatAlgoritm->trigger();
    EXPECT_EQ(modals.Shown(), 1);
    EXPECT_EQ(FB().GetFbText(0), "Насосы");
    EXPECT_EQ(AlgList(FB(), 0), std::vector<int>({1, 2, 3}));
    EXPECT_EQ(FB().AlgTable.GetCount(), 2);
    ASSERT_EQ(Form().AlgLabels.size(), 2u); // the rebuilt scheme shows the names
    EXPECT_EQ(Form().AlgLabels[0]->text(), "Насосы");
}

// A row without a name clears its caption; with "Yes" to finishing, the scheme is not rebuilt.
TEST_F(AlgWindowTest, AnErrorAsksWhetherToFinish) {
    ThreeBlocks();
    SetAlgorithm(FB(), 0, {1}, "Насосы");
    SetAlgorithm(FB(), 1, {2}, "Вентиляция");
    Form().RebuildFBScheme();
    const auto question = [&](int answer) {
        boxes.Expect("Ошибка программирования \nЗакончить?", "Подтвердите окончание программирования",
                     MsgButtons::YesNo, MsgIcon::Question, mrNone, answer);
    };
    modals.Then([&](QDialog*) {
        SetCell(2, 2, "1,4");
        boxes.ExpectText("error N ФБ", "Программатор ВЕГ-17");
        question(mrNo);
        window.OK->click();
        EXPECT_EQ(window.result(), mrNone); // the window stays
        SetCell(2, 1, "");
        SetCell(3, 2, "2,ab");
        boxes.ExpectText("error ", "Программатор ВЕГ-17");
        question(mrYes);
        window.OK->click();
        boxes.Expect("программирование закончено с ошибкой", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone,
                     mrOk);
        return window.result();
    });
    Form().ACreatAlgoritm->trigger();
    EXPECT_EQ(AlgList(FB(), 1), std::vector<int>({2})); // what was stored before the error stays
    ASSERT_EQ(Form().AlgLabels.size(), 2u);
    EXPECT_EQ(std::tuple(Form().AlgLabels[0]->text(), Form().AlgLabels[1]->text(), FB().GetFbText(0)),
              std::tuple(QString(), QString("Вентиляция"), QString()));

    // Without blocks the block numbers are not editable, but OK keeps the lists shown.
    for (int i = 0; i < 3; ++i)
        FB().ClearRecord(i);
    FB().RecountTable();
    FB().LogicFBCount = 0;
    modals.Then([&](QDialog*) {
        EXPECT_FALSE(window.EditingNFB->isChecked() || window.EditingNFB->isEnabled());
        EXPECT_FALSE(window.StringGrid2SelectCell(2, 2));
        EXPECT_EQ(Cfg().Serv.Modified, 0); // marked in file mode only
        Cfg().Serv.FileMode = 1;
        EXPECT_TRUE(window.StringGrid2SelectCell(1, 2));
        EXPECT_EQ(Cfg().Serv.Modified, 1);
        window.OK->click();
        return window.result();
    });
    Form().ACreatAlgoritm->trigger();
}

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST_F(AlgWindowTest, AlgorithmsLoadFromASavedFile) {
    QTemporaryDir dir;
    for (int i = 0; i < 10; ++i)
        SetBlock(i, 1);
    FB().RecountTable();
    SetAlgorithm(FB(), 0, {1, 2}, "Насосы");
    SetAlgorithm(FB(), 1, {6, 7}, "Вентиляция");
    FB().AlgTable.SetMark(0, 1);
    FB().AlgTable.SetMark(5, 6);
    const QString full = dir.filePath("full.veg");
    ASSERT_TRUE(SaveConfigFile(nullptr, full, Cfg()));
    const QByteArray file = Bytes(full);
    ASSERT_EQ(file.size() / 1024, 34);
    FB().ResetAlgorithms();
    Cfg().Reserv.ResetAlgorithms();
    Cfg().Serv.FileMode = 1; // the save left the configuration unmodified

    modals.Then([&](QDialog* d) {
        EXPECT_EQ(d, window.DialOpenFile);
        window.DialOpenFile->selectFile(full);
        return int(QDialog::Accepted);
    });
    window.NameFromFile->click();
    EXPECT_EQ(std::tuple(FB().GetFbText(1), AlgList(FB(), 0), FB().AlgTable.GetMark(5),
                         FB().AlgTable.GetCount(), Cfg().Serv.Modified),
              std::tuple(QString("Вентиляция"), std::vector{1, 2}, 6, 2, 1));
    const auto& reserve = Cfg().Reserv;
    EXPECT_EQ(std::tuple(reserve.AlgReserve.GetCount(), reserve.AlgReserve.GetEntry(1, 1),
                         reserve.AlgNames().GetByte(0, 0)),
              std::tuple(2, 7, uint8_t(0xCD))); // "Н" in Windows-1251
    EXPECT_EQ(std::pair(Cell(window.StringGrid2, 3, 0), Cell(window.StringGrid2, 3, 2)),
              std::pair(QString(" 2"), QString("6,7,8,9,10,")));

    // Refusals change nothing; warnings go on.
    QByteArray overCount = file;
    overCount[ConfigFileLayout{120}.CountAt()] = char(121);
    const std::vector<std::pair<QByteArray, QString>> refusals{
        {QByteArray(11 * 1024 + 1000, '\0'), "Файл не опознан"},
        {QByteArray(12 * 1024, '\0'), "Файл создан на 40 ФБ"},
        {QByteArray(15 * 1024, '\0'), "Файл не опознан"},
        {file.left(ConfigFileLayout{120}.CountAt()), "Файл не опознан"}, // cut before the count byte
        {overCount, "Файл не опознан"},
    };
    FB().ResetAlgorithms();
    for (const auto& [bytes, text] : refusals) {
        const QString path = dir.filePath("r.veg");
        WriteBytes(path, bytes);
        ExpectWarning(text);
        EXPECT_FALSE(LoadAlgorithmsFromFile(nullptr, path, Cfg())) << text.toStdString();
        EXPECT_EQ(FB().AlgTable.GetCount(), 0);
    }
    boxes.Expect("Файл не удается открыть", "Открытие файла", MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    EXPECT_FALSE(LoadAlgorithmsFromFile(nullptr, dir.filePath("none.veg"), Cfg()));

    // A 60-block file into a 120-block configuration of another composition.
    auto small = std::make_unique<TConfiguration>(Cfg());
    small->FB.FBCount = 60;
    small->FB.SetFbText(0, "Малый");
    small->FB.AlgTable.SetCount(1);
    const QString path60 = dir.filePath("small.veg");
    ASSERT_TRUE(SaveConfigFile(nullptr, path60, *small));
    ASSERT_EQ(Bytes(path60).size() / 1024, 17);
    Cfg().Serv.SetSlotModuleCode(2, Cfg().Serv.GetSlotModuleCode(2) == 3 ? 4 : 3);
    FB().SetFbText(70, "Дальний");
    FB().AlgTable.SetEntry(70, 0, 5);
    ExpectWarning("Количество ФБ \nне соответствует количеству ФБ в файле");
    ExpectWarning("Рабочая конфигурация \nне соответствует конфигурации в файле");
    EXPECT_TRUE(LoadAlgorithmsFromFile(nullptr, path60, Cfg()));
    EXPECT_EQ(std::pair(FB().GetFbText(0), FB().GetFbText(70)),
              std::pair(QString("Малый"), QString("Дальний")));
    EXPECT_EQ(std::tuple(FB().FBCount, FB().AlgTable.GetEntry(70, 0), FB().AlgTable.GetCount()),
              std::tuple(120, 5, 1));
}

TEST_F(AlgWindowTest, TablesPrintThroughTheWordProcessor) {
    QTemporaryDir dir;
    ThreeBlocks();
    parts.context.SetModifCode("0D010000");
    Cfg().Serv.DevNum = 4;
    Cfg().Serv.FileMode = 0;
    SetAlgorithm(FB(), 0, {1}, "Насосы");
    window.FillTables(BlockRows(FB(), Cfg().Serv, CreatFb::TypeNames()), AlgorithmRows(FB()));

    const QString blocks = dir.filePath("blocks");
    modals.Then([&](QDialog* d) {
        EXPECT_EQ(d, window.DialSaveFile);
        EXPECT_EQ(window.DialSaveFile->windowTitle(), "Создание  или замена файла .rtf ");
        window.DialSaveFile->selectFile(blocks);
        return int(QDialog::Accepted);
    });
    boxes.Expect("Печатать?", "Необходимость печати файла .rtf", MsgButtons::YesNo, MsgIcon::Question, mrNo,
                 mrNo);
    window.BNew1->click();
    const QString rtf = blocks + ".rtf";
    EXPECT_EQ(wp.calls, QStringList({"Open " + rtf, "Save " + rtf, "Close " + rtf, "Quit"}));
    std::vector<QStringList> rows;
    for (int r = 0; r < 5; ++r)
        rows.push_back(Row(window.StringGrid1, r));
    EXPECT_EQ(Bytes(rtf),
              RtfDocument(BlockTableLines("ВЕГ-17-Р  0D010000  № 5", "Функциональные блоки", rows)));

    wp.calls.clear();
    Cfg().Serv.FileMode = 1;
    parts.context.SetConfigFileName("/data/a.veg");
    const QString algs = dir.filePath("algs.rtf");
    modals.Then([&](QDialog*) {
        window.DialSaveFile->selectFile(dir.filePath("algs.RTF"));
        return int(QDialog::Accepted);
    });
    boxes.ExpectText("Неверно задано имя файла", "Cохранение данных в файл");
    modals.Then([&](QDialog*) {
        window.DialSaveFile->selectFile(algs);
        return int(QDialog::Accepted);
    });
    boxes.Expect("Печатать?", "Необходимость печати файла .rtf", MsgButtons::YesNo, MsgIcon::Question, mrNo,
                 mrYes);
    window.BNew2->click();
    EXPECT_EQ(wp.calls, QStringList({"Open " + algs, "PageSetup 1 29 29 29 29", "PrintOut", "Save " + algs,
                                     "Close " + algs, "Quit"}));
    const QStringList expectedAlgs =
        AlgorithmTableLines("Файл /data/a.veg", "Функциональные блоки",
                            {{" № ", "Наименование  алгоритма ", "Номера ФБ, составляющих алгоритм"},
                             {"п/п", " ", " "},
                             {" 1", "Насосы", "1,"}});
    EXPECT_EQ(Bytes(algs), RtfDocument(expectedAlgs, PageSetup{true, 29, 29, 29, 29}));
    EXPECT_FALSE(QFile::exists(dir.filePath("algs.RTF")));

    // Cancel: no file, no word processor.
    wp.calls.clear();
    FB().AlgTable.SetCount(0);
    modals.Then([](QDialog*) { return int(QDialog::Rejected); });
    window.BNew2->click();
    EXPECT_TRUE(wp.calls.isEmpty());
    EXPECT_EQ(window.RichEdit3->toPlainText().split('\n').size(),
              4 + 2 + 2); // head, two line feeds' halves, headings
    EXPECT_EQ(parts.context.SaveDialogAccepted, 0);
}
