// The block session over the simulated device, on the loop blocks 32 and 33 and the function
// blocks: the read applied only when whole, the write and its checks, the close query, and
// every box after the exchange job.

#include "editors/common/BlockSession.h"
#include "EditorFixture.h"
#include "LoopReserve.h"
#include "ModbusFrame.h"

#include <QProgressBar>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int Addr = 3; // the device of DevNum 2

// Loop tables 1 and 2 (56 bytes each, as blocks 32 and 33 carry them), or their reserve image.
Bytes Loops(const TConfiguration& c, bool reserve = false) {
    Bytes out;
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 28; ++k) {
            const int own = r < 2 ? c.Reg.GetRecByte(r, k) : c.Reg.GetPZByte(r - 2, k);
            out.push_back(uint8_t(reserve ? c.Reserv.LoopRecords().GetByte(r, k) : own));
        }
    return out;
}

void FillLoops(TConfiguration& c, uint8_t seed) {
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 28; ++k) {
            c.Reg.SetRecByte(i, k, uint8_t(seed + k));
            c.Reg.SetPZByte(i, k, uint8_t(seed + 50 + k));
        }
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

class BlockSessionTest : public SimFixture {
  protected:
    void SetUp() override {
        SimFixture::SetUp();
        port.SetPovt2(0);
        device.SetAddress(Addr);
        for (int id = 20; id <= 33; ++id)
            for (size_t k = 0; k < device.Block(id).size(); ++k)
                device.Block(id)[k] = uint8_t(id * 11 + k);
        NewConfiguration();
    }
    void NewConfiguration() {
        cfg = std::make_unique<TConfiguration>();
        cfg->Veg.AccessLevel = 1;
        cfg->Serv.DevNum = 2;
        cfg->Serv.SetDevAddr(4);
        window.setWindowTitle("окно");
    }
    // Blocks 32 and 33, as the control-loop editor describes them.
    BlockSessionBlocks LoopBlocks() {
        BlockSessionBlocks b;
        b.readIds = [](const TConfiguration&) { return std::vector<int>{32, 33}; };
        b.lengthByte = [](const TConfiguration& c) { return c.Reg.GetBlockLen(); };
        b.modified = [](const TConfiguration& c) { return c.Reg.GetRegModified() != 0; };
        b.clearModified = [](TConfiguration& c) { c.Reg.SetRegModified(0); };
        b.saveReserve = [](TConfiguration& c) { SaveLoopReserve(c); };
        b.restoreReserve = &RestoreLoopReserve;
        b.writtenCaption = [](const TConfiguration& c) {
            return "записано в " + QString::number(c.Serv.GetDevAddr() + 1);
        };
        return b;
    }
    BlockSessionBlocks FunctionBlocks() {
        BlockSessionBlocks b;
        b.readIds = [](const TConfiguration&) { return FunctionBlockIds(TProgFBClass::FBCapacity); };
        b.writeIds = [](const TConfiguration& c) { return FunctionBlockIds(c.FB.FBCount); };
        b.modified = [](const TConfiguration& c) { return c.FB.FBModified != 0; };
        b.clearModified = [](TConfiguration& c) { c.FB.FBModified = 0; };
        return b;
    }
    BlockSession Session(BlockSessionBlocks b) { return BlockSession(*cfg, port, &window, std::move(b)); }
    Bytes FbRecords() const {
        Bytes out;
        for (int i = 0; i < TProgFBClass::Slots; ++i) {
            const auto r = cfg->FB.GetRecord(i);
            out.insert(out.end(), r.begin(), r.end());
        }
        return out;
    }
    static std::vector<Bytes> Reads(std::initializer_list<int> ids) {
        std::vector<Bytes> out;
        for (int id : ids)
            out.push_back(Frame::Build(Addr, 'D', Bytes{uint8_t(id)}));
        return out;
    }
    void ExpectError(const QString& what) {
        boxes.Expect(what + "\nУстройство 3, порт COM1", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone,
                     mrOk);
    }

    std::unique_ptr<TConfiguration> cfg;
    QWidget window;
    QProgressBar bar;
    ScriptedMessageBoxes boxes;
};

} // namespace

TEST_F(BlockSessionTest, ReadAppliesTheBlocksOnlyWhenEveryOneHasCome) {
    FillLoops(*cfg, 0x10);
    cfg->Reg.SetBlockLen(50);
    cfg->Reg.SetRegModified(1);
    const Bytes before = Loops(*cfg);
    BlockSession s = Session(LoopBlocks());

    // Block 32 came, block 33 failed: nothing taken, one report.
    device.Faults().faults = {Fault{FaultKind::Exception, 'D', 33, -1, 2}};
    ExpectError("Неверный адрес данных.");
    EXPECT_FALSE(s.Read(&bar));
    EXPECT_TRUE(boxes.Done());
    EXPECT_EQ(device.Received(), Reads({32, 33}));
    EXPECT_EQ(Loops(*cfg), before);
    EXPECT_EQ(cfg->Reg.GetBlockLen(), 50);
    EXPECT_TRUE(bar.isHidden());

    device.ClearLog();
    device.Faults().faults.clear();
    EXPECT_TRUE(s.Read(&bar));
    EXPECT_EQ(device.Received(), Reads({32, 33}));
    EXPECT_EQ(device.Sent()[1], Frame::Build(Addr, 'D', Join({{57, 33}, device.Block(33)})));
    EXPECT_EQ(Loops(*cfg), Join({device.Block(32), device.Block(33)}));
    EXPECT_EQ(cfg->Reg.GetBlockLen(), 57);
    EXPECT_EQ(cfg->Reg.GetRegModified(), 1); // a read marks nothing and keeps no reserve
    EXPECT_EQ(Loops(*cfg, true), Bytes(112, 0));
    EXPECT_EQ(bar.value(), 60); // two steps of 30 towards 120
    EXPECT_TRUE(bar.isHidden());
}

TEST_F(BlockSessionTest, SixtyBlockDeviceReadsWholeWithSixtyAndALaterFailureKeepsIt) {
    device.Faults().sixtyBlocks = true;
    for (int i = 0; i < TProgFBClass::Slots; ++i)
        cfg->FB.SetRecByte(i, 3, 0x40);
    BlockSession s = Session(FunctionBlocks());

    boxes.Expect("Прибор  на 60 ФБ", "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    EXPECT_TRUE(s.Read(&bar));
    EXPECT_EQ(device.Received(), Reads({20, 21, 22, 23, 24, 25, 26}));
    EXPECT_EQ(cfg->FB.FBCount, 60);
    // The counters follow the records read: the pattern begins with calculation records (type 12),
    // one integrator and nine arithmetic blocks among the first 26.
    EXPECT_EQ((std::array{cfg->FB.LogicFBCount, cfg->FB.IntegratorCount, cfg->FB.ArithBlockCount,
                          cfg->FB.GetLogicFBLimit()}),
              (std::array{0, 1, 9, 60 - 2 - 9}));
    Bytes expected = Join({device.Block(20), device.Block(21), device.Block(22), device.Block(23),
                           device.Block(24), device.Block(25)});
    expected.resize(16 * TProgFBClass::Slots, 0); // records 60.. are zero
    EXPECT_EQ(FbRecords(), expected);
    EXPECT_EQ(bar.value(), 120);

    device.ClearLog();
    device.Faults().faults = {Fault{FaultKind::Exception, 'D', 22, -1, 4}};
    ExpectError("Отказ прибора.");
    EXPECT_FALSE(s.Read(&bar));
    EXPECT_EQ(device.Received(), Reads({20, 21, 22}));
    EXPECT_EQ(cfg->FB.FBCount, 60);
    EXPECT_EQ(FbRecords(), expected);
}

TEST_F(BlockSessionTest, WriteChecksAccessAndChangeThenSendsEveryBlockAndKeepsTheReserve) {
    BlockSession s = Session(LoopBlocks());
    FillLoops(*cfg, 0x21);
    cfg->Reg.SetBlockLen(57);

    cfg->Veg.AccessLevel = 0;
    cfg->Reg.SetRegModified(1);
    boxes.Expect("Ваш уровень доступа не позволяет\nпроизводить передачу в прибор", "Предупреждение",
                 MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    EXPECT_FALSE(s.Write(&bar));
    EXPECT_EQ(cfg->Reg.GetRegModified(), 0);

    cfg->Veg.AccessLevel = 1;
    for (int answer : {mrNo, mrYes})
        boxes.Expect("Данные не были изменены.Передавать?", "Подтвердите передачу данных", MsgButtons::YesNo,
                     MsgIcon::Question, mrNo, answer);
    EXPECT_FALSE(s.Write(&bar));
    EXPECT_TRUE(device.Received().empty());
    clock.sleeps.clear();
    EXPECT_TRUE(s.Write(&bar));
    const Bytes loops = Loops(*cfg);
    const std::vector<Bytes> frames{
        Frame::Build(Addr, 'E', Join({{32}, Bytes(loops.begin(), loops.begin() + 56)})),
        Frame::Build(Addr, 0x0E, {}),
        Frame::Build(Addr, 'E', Join({{33}, Bytes(loops.begin() + 56, loops.end())})),
        Frame::Build(Addr, 0x0E, {})};
    EXPECT_EQ(device.Received(), frames);
    EXPECT_EQ(clock.sleeps, (std::vector<int>{50, 300, 50, 300}));
    EXPECT_EQ(Join({device.Block(32), device.Block(33)}), loops);
    EXPECT_EQ(Loops(*cfg, true), loops);
    EXPECT_EQ(window.windowTitle(), "записано в 5");
    EXPECT_EQ(cfg->Serv.DevNum, 2);
    EXPECT_TRUE(bar.isHidden());

    // A length byte past the block sends the block only.
    device.ClearLog();
    cfg->Reg.SetBlockLen(200);
    cfg->Reg.SetRegModified(1);
    EXPECT_TRUE(s.Write(&bar));
    EXPECT_EQ(device.Received(), frames);

    device.ClearLog();
    cfg->Serv.FileMode = 1; // file mode: neither read nor write
    EXPECT_FALSE(s.Read(&bar));
    EXPECT_FALSE(s.Write(&bar));
    EXPECT_TRUE(device.Received().empty());
}

// With the loop editor's texts, and with the module editor's, which also keeps its edits in the
// reserve when closing in file mode.
TEST_F(BlockSessionTest, CloseQuery) {
    const struct {
        QString question, caption;
        bool saveReserveOnFileClose;
    } editors[] = {
        {"Данные были изменены. Передать в прибор?", "Подтвердите передачу данных", false},
        {"База  была изменена. Передать в прибор?", "Подтвердите передачу базы данных", true},
    };
    for (const auto& e : editors) {
        SCOPED_TRACE(e.question.toStdString());
        NewConfiguration();
        device.ClearLog();
        BlockSessionBlocks b = LoopBlocks();
        b.closeQuestion = e.question;
        b.closeCaption = e.caption;
        b.saveReserveOnFileClose = e.saveReserveOnFileClose;
        BlockSession s = Session(std::move(b));
        const auto ask = [&](int answer) {
            cfg->Reg.SetRegModified(1);
            boxes.Expect(e.question, e.caption, MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, answer);
        };

        FillLoops(*cfg, 0x05);
        EXPECT_TRUE(s.CloseQuery(&bar)); // unchanged: no question
        ask(mrCancel);
        EXPECT_FALSE(s.CloseQuery(&bar));
        EXPECT_EQ(cfg->Reg.GetRegModified(), 1);
        EXPECT_EQ(Loops(*cfg)[0], 0x05);
        ask(mrNo); // back to the reserve, here empty tables
        EXPECT_TRUE(s.CloseQuery(&bar));
        EXPECT_EQ(Loops(*cfg), Bytes(112, 0));
        EXPECT_EQ(cfg->Reg.GetRegModified(), 0);
        EXPECT_TRUE(device.Received().empty());

        // Yes writes; the window closes whatever the outcome.
        FillLoops(*cfg, 0x07);
        ask(mrYes);
        EXPECT_TRUE(s.CloseQuery(&bar));
        EXPECT_EQ(Loops(*cfg, true), Loops(*cfg));
        FillLoops(*cfg, 0x08);
        device.Faults().faults = {Fault{FaultKind::NoReply, 0x0E, -1, -1, 0}};
        ask(mrYes);
        ExpectError("Прибор не отвечает.");
        EXPECT_TRUE(s.CloseQuery(&bar));
        EXPECT_EQ(Loops(*cfg, true)[0], 0x07); // a failed write keeps the last written
        EXPECT_EQ(device.ReceivedOf('E').size(), 3u);
        device.Faults().faults.clear();

        // File mode: no question; an edit marks the configuration.
        device.ClearLog();
        cfg->Serv.FileMode = 1;
        FillLoops(*cfg, 0x09);
        EXPECT_TRUE(s.CloseQuery(&bar));
        EXPECT_EQ(cfg->Serv.Modified, 0);
        EXPECT_EQ(Loops(*cfg, true) == Loops(*cfg), e.saveReserveOnFileClose);
        cfg->Reg.SetRegModified(1);
        EXPECT_TRUE(s.CloseQuery(&bar));
        EXPECT_EQ(cfg->Serv.Modified, 1);
        EXPECT_TRUE(device.Received().empty());
        EXPECT_TRUE(boxes.Done());
    }
}

// A box inside the exchange job would stall the line on the exchange thread.
TEST_F(BlockSessionTest, EveryBoxComesAfterTheJob) {
    std::vector<std::pair<QString, bool>> shown; // text, shown while the job ran
    SetMessageBoxHandler([&](QWidget*, const MessageBoxRequest& r) {
        shown.emplace_back(r.text, port.Busy());
        return int(mrOk);
    });
    BlockSession s = Session(FunctionBlocks());
    device.Faults().sixtyBlocks = true;
    s.Read(&bar);
    device.Faults().faults = {Fault{FaultKind::Exception, 'D', 20, -1, 4}};
    s.Read(&bar);
    device.Faults().faults = {Fault{FaultKind::NoReply, 0x0E, -1, -1, 0}};
    cfg->FB.FBModified = 1;
    s.Write(&bar);
    const QString where = "\nУстройство 3, порт COM1";
    EXPECT_EQ(shown, (std::vector<std::pair<QString, bool>>{{"Прибор  на 60 ФБ", false},
                                                            {"Отказ прибора." + where, false},
                                                            {"Прибор не отвечает." + where, false}}));
}
