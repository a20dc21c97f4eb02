// The local network's live views and the live-view kit they share with the controller's views:
// the exact frames of each poll, the decoding of the replies into the labels, the openers, and the
// failure that stops polling before its one box. The controller's input and output views are
// checked end to end on devsim, with the analogue editor's tests.

#include "LocalNetFixture.h"
#include "editors/analog/LiveViewKit.h"
#include "editors/network/Prog_infanloc.h"
#include "editors/network/Prog_infvhdloc.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

Bytes Read(int function, int start, int count) {
    return Frame::Build(1, function,
                        Bytes{uint8_t(start >> 8), uint8_t(start), uint8_t(count >> 8), uint8_t(count)});
}
Bytes G(int first, int count) {
    return Frame::Build(1, 'G', Bytes{uint8_t(first), uint8_t(count)});
}

template <size_t N> QStringList Texts(const std::array<QLabel*, N>& labels, int from, int to) {
    QStringList t;
    for (int i = from; i < to; ++i)
        t << labels[size_t(i)]->text();
    return t;
}

} // namespace

class LiveViewTest : public LocalNetTest {
  protected:
    void SetUp() override {
        LocalNetTest::SetUp();
        device.SetFrozen(true);
        mbm.FormVhAnL = &vhAnL;
        mbm.FormVhDLoc = &vhDLoc;
        vhAnL.FormVhDLoc = &vhDLoc;
    }
    // Opens the view by the handler; inside, runs the ticks of body and closes the window.
    void OpenAndRun(std::function<void()> opener, std::function<void(TFormLiveView&)> body) {
        modals.Then([&](QDialog* d) {
            auto* view = qobject_cast<TFormLiveView*>(d);
            EXPECT_NE(view, nullptr);
            d->show();
            EXPECT_TRUE(view->Timer1->isActive());
            EXPECT_FALSE(view->Label1->isHidden());
            body(*view);
            d->done(2);
            EXPECT_FALSE(view->Timer1->isActive());
            return 2;
        });
        opener();
    }

    TFormVhDLoc vhDLoc{parts.context};
    TFormVhAnL vhAnL{parts.context};
    ScriptedModals modals;
};

TEST_F(LiveViewTest, KitBitsLsbFirstCountsAndChunkedValueRequests) {
    const Bytes reply{1, 2, 2, 0b1000'0101, 0b0000'0010, 0, 0};
    EXPECT_EQ(LiveViews::BitTexts(reply, 10, "on", "off"),
              QStringList({"on", "off", "on", "off", "off", "off", "off", "on", "off", "on"}));
    EXPECT_FALSE(LiveViews::Bit(reply, 40)); // past the reply

    MakeBlock(Cfg(), 0, 2, 16, Veg01, 0, 0);
    MakeBlock(Cfg(), 1, 1, 5, Dkrn, 16, 0);
    MakeBlock(Cfg(), 2, 4, 2, Others, 21, 4);
    MakeBlock(Cfg(), 3, 3, 44, Others, 29, 4);
    EXPECT_EQ(LiveViews::NetDiscreteCount(Cfg(), 0), 12); // 16 outputs show 12
    EXPECT_EQ(LiveViews::NetDiscreteCount(Cfg(), 1), 5);
    EXPECT_EQ(LiveViews::NetDiscreteCount(Cfg(), 2), 8); // four set points a value
    EXPECT_EQ(LiveViews::SlaveTypeText(Cfg(), 2), "не определен");
    EXPECT_EQ(LiveViews::SlaveTypeText(Cfg(), 1), "ДКРН");
    EXPECT_EQ(LiveViews::DiscreteOutputsBefore(Cfg(), 3), 21);

    // 44 values: 31, then 13 from position 35, each after the previous one.
    const auto requests = LiveViews::AnalogueRequests(0, 4, 44);
    ASSERT_EQ(requests.size(), 2u);
    PollReplies replies(2);
    EXPECT_EQ(requests[0](port, replies[0]), 0);
    EXPECT_EQ(requests[1](port, replies[1]), 0);
    EXPECT_EQ(device.Received(), (std::vector<Bytes>{G(4, 31), G(35, 13)}));
    device.SetInput(47, 95);
    EXPECT_TRUE(LiveViews::TakeAnalogueReplies(Cfg(), 4, 44, replies));
    EXPECT_FALSE(LiveViews::TakeAnalogueReplies(Cfg(), 4, 44, {replies[0]})); // one reply missing

    // The simulator refuses a request of more than 31 values.
    Bytes big(GEntry::Size * 32 + 5);
    const uint8_t data[] = {0, 32};
    EXPECT_EQ(port.Obmen(0, 'G', 2, data, big), 3);
}

TEST_F(LiveViewTest, DiscreteBlockViewSendsBothRequestsAndShowsTwelveOfSixteen) {
    MakeBlock(Cfg(), 0, 2, 16, Veg01, 36, 4);
    RecountNetInputs(Cfg());
    mbm.Prepare(0);
    device.SetDiscreteInput(36, true);
    device.SetDiscreteInput(45, true);
    device.SetCoil(36 + 592 + 1, true);
    OpenAndRun([&] { mbm.ButOnLineClick(); },
               [&](TFormLiveView& view) {
                   EXPECT_EQ(view.Timer1->interval(), 1000);
                   view.Timer1Timer();
                   EXPECT_EQ(device.Received(), (std::vector<Bytes>{Read(2, 36, 12), Read(1, 628, 12)}));
               });
    EXPECT_EQ(vhDLoc.windowTitle(), "Дискретные сигналы блока MBM 1");
    EXPECT_EQ(vhDLoc.TipUstr->text(), "ВЕГ-01");
    EXPECT_EQ(vhDLoc.LabUstr->text(), "1");
    EXPECT_EQ(Texts(vhDLoc.Ident, 0, 2), QStringList({"ЛС1.Д1", "ЛС1.Д2"}));
    EXPECT_EQ(Texts(vhDLoc.Addr, 11, 12), QStringList({"47"}));
    EXPECT_EQ(Texts(vhDLoc.Vh, 0, 12), QStringList({"on", "off", "off", "off", "off", "off", "off", "off",
                                                    "off", "on", "off", "off"}));
    EXPECT_EQ(Texts(vhDLoc.TRecv, 0, 3), QStringList({"достовер.", "недостовер.", "достовер."}));
}

TEST_F(LiveViewTest, AnalogueBlockViewFillsItsPositionsOnlyAndOpensItsSetPointSignals) {
    // Block 1: two values at positions 4 and 5 (network channels 0 and 1), set points at row 44.
    for (int u = 0; u < 3; ++u)
        Cfg().MBA.SetRazmFromControl({"град.С", "%", "МПа"}, u);
    Cfg().MBM.SetChRazm(1, 0);
    Cfg().MBM.SetChRazm(2, 1);
    device.SetInput(4, 50);
    device.SetInput(5, 95);
    mbm.Prepare(1);
    OpenAndRun([&] { mbm.ButOnLineClick(); },
               [&](TFormLiveView& view) {
                   view.Timer1Timer();
                   EXPECT_EQ(device.Received(), std::vector<Bytes>{G(4, 2)});
                   modals.Then([&](QDialog* d) {
                       EXPECT_EQ(d, &vhDLoc);
                       d->show();
                       EXPECT_EQ(vhDLoc.Count, 8);
                       EXPECT_EQ(vhDLoc.Start, 44);
                       EXPECT_EQ(Texts(vhDLoc.Ident, 0, 2), QStringList({"ЛС2.А1.LL", "ЛС2.А1.L"}));
                       d->done(2);
                       return 2;
                   });
                   vhAnL.ButOnLine->click();

                   // A reply of one value for two, with a good CRC, cannot be taken: a failed poll
                   // with its one box, never values blanked in silence.
                   device.Faults().alter = [](const Bytes&, Bytes& reply) {
                       reply.erase(reply.end() - 2 - GEntry::Size, reply.end() - 2);
                       reply[2] = GEntry::Size;
                       return true;
                   };
                   ExpectDeviceError("Неверная длина ответа.");
                   view.Timer1Timer();
                   EXPECT_EQ(boxes.Shown(), 1);
                   EXPECT_FALSE(view.Timer1->isActive());
               });
    EXPECT_EQ(vhAnL.windowTitle(), "Тек. информ. аналоговых входов  локал. сети ");
    EXPECT_EQ(vhAnL.TipUstr->text(), "ДКРН");
    EXPECT_EQ(Texts(vhAnL.Name, 3, 7), QStringList({"Вход 4", "ЛС2.А1", "ЛС2.А2", "Вход 7"}));
    EXPECT_EQ(Texts(vhAnL.Raz, 4, 6), QStringList({"%", "МПа"}));
    EXPECT_EQ(Texts(vhAnL.Addr, 3, 7), QStringList({"", "4", "5", ""}));
    EXPECT_EQ(Texts(vhAnL.Sost, 4, 6), QStringList({"норма", "H(L-H)"}));
    EXPECT_EQ(vhAnL.Val[4]->text(), "50");
    EXPECT_TRUE(vhAnL.Val[0]->text().isEmpty());
}
