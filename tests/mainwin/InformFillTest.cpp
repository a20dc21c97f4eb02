#include "MainWindowSupport.h"

#include "InformFill.h"
#include "Obrinformmr.h"

#include <QApplication>

namespace {

QStringList Row(const QTableWidget* grid, int row) {
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << grid->item(row, c)->text();
    return cells;
}

// БРОН, an analogue module МВА8, a discrete module МВД3 and one relay module МР11.
class InformFill : public ::testing::Test {
  protected:
    void SetUp() override { CreateConfiguration(cfg, {13, 8, 3, 11, 0, 0, 0, 0}, 0, QStringList(16, "ед")); }
    TForm1 form;
    TConfiguration& cfg = form.Cfg;
};

} // namespace

TEST_F(InformFill, InputTableHoldsEveryInputInTheRowItsNumberNames) {
    cfg.Serv.SetNameText(0, "Насос 1");
    cfg.Veg.SetRecByte(2, 3, 0x10); // input 3 drives a relay
    cfg.Veg.SetRecByte(3, 6, 0xFF); // byte 6 is not a relay byte
    cfg.MBA.SetChPozText(0, 0, "TE-101");
    cfg.MBA.SetChPozText(1, 2, "PT-12");
    cfg.Serv.SetLongText(0, "температура на входе");
    cfg.Serv.SetLongText(8, "давление в линии");
    form.Inform->StringGrid1->item(100, 0)->setText("старое"); // a fill starts from empty grids

    FillInform(*form.Inform, form.Cfg, InformShow::Quiet);

    const QTableWidget* discrete = form.Inform->StringGrid1;
    EXPECT_EQ(Row(discrete, 0), QStringList({"1", "БРОН.Д1", " 0x00", "Насос 1", "       -"}));
    EXPECT_EQ(Row(discrete, 2), QStringList({"3", "БРОН.Д3", " 0x02", "", "       V"}));
    EXPECT_EQ(Row(discrete, 3), QStringList({"4", "БРОН.Д4", " 0x03", "", "       -"}));
    EXPECT_EQ(Row(discrete, 6), QStringList({"7", "БРОН.А1.LL", " 0x06", "", "       -"}));
    EXPECT_EQ(Row(discrete, 59), QStringList({"60", "МВД3.Д12", " 0x3B", "", "       -"}));
    for (int row : {60, 100}) // past the inputs, and a row that held text before the fill
        EXPECT_EQ(Row(discrete, row), QStringList(5, "")) << row;

    const QTableWidget* analogue = form.Inform->StringGrid2;
    EXPECT_EQ(Row(analogue, 0), QStringList({"1", "БРОН.А1", " 0x00", "TE-101", "температура на входе"}));
    EXPECT_EQ(Row(analogue, 3), QStringList({"4", "БРОН.А4", " 0x03", "", ""}));
    for (int row : {4, 5, 10}) // numbers 5 and 6 belong to no channel; 11 is past the inputs
        EXPECT_EQ(Row(analogue, row), QStringList(5, "")) << row;
    EXPECT_EQ(Row(analogue, 6), QStringList({"7", "МВА8.А1", " 0x06", "", ""}));
    EXPECT_EQ(Row(analogue, 8), QStringList({"9", "МВА8.А3", " 0x08", "PT-12", "давление в линии"}));

    ScriptedModals modals;
    modals.Then(Closes(form.Inform, mrOk));
    FillInform(*form.Inform, form.Cfg, InformShow::Modal);
}

TEST_F(InformFill, OutputTableDescribesEachRelayOutput) {
    cfg.Serv.SetOutNameText(0, "Сирена");
    cfg.Serv.SetOutputTextString(0, 0, "МР11");
    cfg.Serv.SetOutputTextString(0, 1, ".В1");
    cfg.MR.SetKvitBlock(1, 0, 0); // output 1: signal, sound, acknowledged by input 5
    cfg.MR.SetVxKvit(0, 0, 5);
    cfg.MR.SetTipVyh(1, 1, 0); // output 2: control with blocking, reset by input 7
    cfg.MR.SetKvitBlock(1, 1, 0);
    cfg.MR.SetVhSbr(1, 0, 7);
    cfg.MR.SetTipVyh(1, 0, 1); // module 2 does not exist: not listed
    FillInformMR(*form.InformMR, form.Cfg, InformShow::Quiet);
    const QTableWidget* grid = form.InformMR->StringGrid1;
    EXPECT_EQ(Row(grid, 0), QStringList({"Сирена", " 0x00", "МР11.В1", "сигнал.", "звук(с гашением)", "",
                                         "есть", "", "5", ""}));
    EXPECT_EQ(Row(grid, 1),
              QStringList({"", " 0x01", "", "управл.", "", "с   блокировкой", "", "есть", "", "7"}));
    EXPECT_EQ(Row(grid, 7),
              QStringList({"", " 0x07", "", "сигнал.", "свет(п-вод в ровн)", "", "", "", "", ""}));
    EXPECT_EQ(Row(grid, 8), QStringList(TInformMR::colCount, ""));
}

TEST_F(InformFill, LoopSummaryFollowsTheLoopRecordsAndTheFirstModule) {
    TProgMBAClass& mba = cfg.MBA;
    mba.SetChSk(0, 0, 8); // input 1: a resistance sensor "Гр. 21", four wires
    mba.SetChB1Bit6(0, 0, 1);
    mba.SetChNSkText(0, 0, "-50");
    mba.SetChVSkText(0, 0, "150");
    mba.SetChRazm(0, 0, 0);
    mba.SetChTInp(0, 2, 2); // input 3: current input 0 - 5 mA
    mba.SetChRazm(0, 2, 3);
    cfg.Reg.SetAnVh(0, 1);
    cfg.Reg.SetAnVh(1, 3);
    form.Context->NotifyConfigurationChanged(); // as an editor does after changing the loops
    const TLoopSummary* summary = form.LoopSummary;
    const auto row = [&](int r) {
        QStringList cells;
        for (int c = 0; c < TLoopSummary::kCells; ++c)
            cells << summary->CellText(r, c);
        return cells;
    };
    EXPECT_EQ(row(0), QStringList({"вх № 1", "Гр. 21", mba.GetChNSkText(0, 0), mba.GetChVSkText(0, 0), "ед",
                                   "4-х провод."}));
    EXPECT_EQ(row(1),
              QStringList({"вх № 3", "0 - 5 мА", mba.GetChNSkText(0, 2), mba.GetChVSkText(0, 2), "ед", ""}));

    mba.SetChSk(0, 0, 9); // "Гр. 23": no wiring shown
    mba.SetChSk(0, 1, 3); // input 2: a thermocouple, no wiring either
    cfg.Reg.SetAnVh(1, 2);
    form.RefreshLoopSummary();
    EXPECT_EQ(row(0).mid(TLoopSummary::cKind, 1) << row(0)[TLoopSummary::cWiring],
              QStringList({"Гр. 23", ""}));
    EXPECT_EQ(row(1).mid(TLoopSummary::cKind, 1) << row(1)[TLoopSummary::cWiring],
              QStringList({"ЖК(J)", ""}));

    mba.SetChTInp(0, 3, 7); // an input type outside the list gives an empty cell
    cfg.Reg.SetAnVh(0, 4);
    cfg.Reg.SetAnVh(1, 0); // a free loop record leaves its row empty
    form.RefreshLoopSummary();
    EXPECT_EQ(row(0)[TLoopSummary::cInput], "вх № 4");
    EXPECT_EQ(row(0)[TLoopSummary::cKind], "");
    EXPECT_EQ(row(1), QStringList(TLoopSummary::kCells, ""));

    // An input past the controller's channels has no scale: its place holds the module type.
    mba.SetModuleType(0, 0x3F);
    mba.SetModuleByte(0, 121, 0x98);
    cfg.Reg.SetAnVh(0, 5);
    form.RefreshLoopSummary();
    EXPECT_EQ(row(0), QStringList({"вх № 5", "", "", "", "", ""}));
}

namespace {

// Follows whether the application's modality blocks a window.
class BlockWatch : public QObject {
  public:
    explicit BlockWatch(QWidget* window) { window->installEventFilter(this); }
    bool blocked = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowBlocked) blocked = true;
        if (event->type() == QEvent::WindowUnblocked) blocked = false;
        return false;
    }
};

} // namespace

TEST_F(InformFill, WindowsShownFromAModalEditorStayUsable) {
    QDialog editor(&form);
    editor.setWindowModality(Qt::ApplicationModal);
    editor.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &editor);
    BlockWatch inputs(form.Inform);
    BlockWatch outputs(form.InformMR);
    FillInform(*form.Inform, form.Cfg, InformShow::Show);
    FillInformMR(*form.InformMR, form.Cfg, InformShow::Show);
    QApplication::processEvents();
    EXPECT_TRUE(form.Inform->isVisible());
    EXPECT_FALSE(inputs.blocked);
    EXPECT_FALSE(outputs.blocked);
    form.Inform->hide();
    form.InformMR->hide();
}
