// The live views of the main window against the devsim program over a real pseudo-terminal, on
// the exchange thread: the controller's discrete inputs from the sensor-type window (БРОН) and the
// outputs from the analogue editor (БРОК) show what the device holds; a device that went away
// stops polling with one box; a tick inside a running poll and a close during a poll send nothing
// more.

#include "DevsimPort.h"
#include "Dialogs.h"
#include "ModbusFrame.h"
#include "Obr_veg17r.h"
#include "ScriptedDialogs.h"
#include "editors/analog/Obrtipdat.h"
#include "editors/analog/Prog_infvhd.h"
#include "editors/analog/Prog_infvyh.h"
#include "editors/analog/Prog_mba.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using Bytes = std::vector<uint8_t>;

namespace {

QString Read(int function, int start, int count) {
    const Bytes frame = Frame::Build(
        1, function, Bytes{uint8_t(start >> 8), uint8_t(start), uint8_t(count >> 8), uint8_t(count)});
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(frame.data()), qsizetype(frame.size())).toHex(' '));
}

template <size_t N> QStringList Texts(const std::array<QLabel*, N>& labels) {
    QStringList t;
    for (const QLabel* l : labels)
        t << l->text();
    return t;
}

bool Within5s(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 5000);
}

// The main window on devsim (its bus logged) started with args, its configuration read from the
// device.
struct Tool {
    bool Start(const QStringList& args) {
        if (!StartLoggedDevsim(devsim, DEVSIM_PATH, args, form1.ComPort)) return false;
        form1.InPortClick();
        mark = Logged().size();
        return form1.Cfg.Serv.FileMode == 0;
    }
    // The same device again on the same link, started with args.
    bool Restart(const QStringList& args) {
        form1.ComPort.ClosePort();
        devsim.Stop();
        mark = Logged().size();
        return StartLoggedDevsim(devsim, DEVSIM_PATH, args, form1.ComPort);
    }
    QStringList Logged() const { return DevsimProcess::LoggedRequests(devsim.TempPath("bus.log")); }
    // The requests since the configuration was read or the device started again.
    QStringList Sent() const { return Logged().mid(mark); }

    DevsimProcess devsim;
    TForm1 form1;
    qsizetype mark = 0;
};

} // namespace

TEST(LiveViewEndToEnd, ControllerInputsFromTheSensorTypeWindowThenALostDevice) {
    ScriptedMessageBoxes boxes; // any box not expected fails the test
    Tool tool;
    // Inputs 2 and 4 on, input 1 not valid, the controller (bit 0 of the health coils) faulty.
    const QStringList values{"--frozen", "--di",   "2=1",    "--di",  "4=1",
                             "--coil",   "1057=1", "--coil", "1016=1"};
    ASSERT_TRUE(tool.Start(values));
    TForm1& form1 = tool.form1;
    ASSERT_EQ(form1.Cfg.Serv.GetSlotModuleCode(1), 13);
    const QStringList poll{Read(1, 1016, 16), Read(2, 0, 6), Read(1, 1056, 6)};

    TFormVhD& view = *form1.FormVhD;
    ScriptedModals modals;
    modals.Then([&](QDialog* d) {
        EXPECT_EQ(d, form1.FormPROG);
        form1.FormPROG->Button2->click();
        return 2;
    });
    modals.Then([&](QDialog* d) {
        EXPECT_EQ(d, form1.FormTipDat);
        form1.FormTipDat->Button3->click();
        form1.FormTipDat->Button3->click();
        return 2;
    });
    modals.Then([&](QDialog* d) {
        EXPECT_EQ(d, &view);
        d->show();
        EXPECT_EQ(view.Timer1->interval(), 3000);
        view.Timer1->setInterval(3600 * 1000); // the ticks come from the test alone
        // A second tick while the first poll runs starts nothing.
        view.Timer1Timer();
        EXPECT_TRUE(view.Polling());
        view.Timer1Timer();
        EXPECT_TRUE(Within5s([&] { return !view.Polling(); }));
        EXPECT_EQ(tool.Sent(), poll);
        EXPECT_EQ(view.windowTitle(), "Дискретные входы БРОН on line");
        EXPECT_EQ(view.TipMod->text(), "БРОН");
        EXPECT_EQ(view.LabAMod->text(), "0");
        EXPECT_EQ(view.LabSost->text(), "неисправен");
        QStringList names;
        for (int i = 0; i < TFormVhD::Inputs; ++i)
            names << form1.Cfg.Serv.GetNameText(i);
        EXPECT_EQ(Texts(view.Name), names);
        EXPECT_EQ(Texts(view.Vh), QStringList({"off", "off", "on", "off", "on", "off"}));
        EXPECT_EQ(Texts(view.TRecv), QStringList({"достовер.", "недостовер.", "достовер.", "достовер.",
                                                  "достовер.", "достовер."}));

        // Closed while the first request of the next poll waits for its reply: nothing follows it.
        // The device leaves six attempts of it unanswered (about 800 ms of the exchange's
        // retries) and answers the seventh, after which the rest of the poll would go out.
        EXPECT_TRUE(tool.Restart(values + QStringList{"--fault", "no-reply,function=1,count=6"}));
        view.Timer1Timer();
        EXPECT_TRUE(Within5s([&] { return !tool.Sent().isEmpty(); }));
        d->done(2);
        EXPECT_FALSE(view.Polling());
        EXPECT_FALSE(view.Timer1->isActive());
        QTest::qWait(1500);
        const QStringList sent = tool.Sent();
        EXPECT_EQ(sent, QStringList(sent.size(), poll[0]));
        EXPECT_LT(sent.size(), 7);
        return 2;
    });
    modals.Then([&](QDialog* d) {
        // Opened again, on a device that went away: one box, after polling stopped; the labels
        // keep their values.
        d->show();
        view.Timer1->setInterval(3600 * 1000);
        tool.devsim.Stop();
        boxes.Expect("COM-порт недоступен.\nУстройство 1, порт " + tool.devsim.Link(), "Ошибка",
                     MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
        view.Timer1Timer();
        EXPECT_TRUE(Within5s([&] { return boxes.Done(); }));
        QTest::qWait(200);
        EXPECT_EQ(boxes.Shown(), 1);
        EXPECT_FALSE(view.Timer1->isActive());
        EXPECT_FALSE(view.Polling());
        EXPECT_TRUE(view.Label1->isHidden());
        EXPECT_EQ(view.Vh[2]->text(), "on");
        d->done(2);
        return 2;
    });
    form1.Prg1Click();
    EXPECT_EQ(modals.Shown(), 4);
    EXPECT_EQ(form1.Cfg.Veg.GetCount(), 0);

    // The outputs of a БРОК controller from the analogue editor, on the device started again.
    ASSERT_TRUE(tool.Start({"--frozen", "--slots", "15,2,11,0,0,0,0,0", "--coil", "1=1", "--coil", "3=1"}));
    ASSERT_EQ(form1.Cfg.Serv.GetSlotModuleCode(1), 15);
    modals.Then([&](QDialog* d) {
        EXPECT_EQ(d, form1.FormPROG);
        EXPECT_FALSE(form1.FormPROG->ButOnLineVyh->isHidden());
        form1.FormPROG->ButOnLineVyh->click();
        return 2;
    });
    modals.Then([&](QDialog* d) {
        auto& outputs = *form1.FormVyhOnL;
        EXPECT_EQ(d, &outputs);
        d->show();
        outputs.Timer1->setInterval(3600 * 1000);
        outputs.Timer1Timer();
        EXPECT_TRUE(Within5s([&] { return !outputs.Polling(); }));
        EXPECT_EQ(outputs.windowTitle(), "Дискретные выходы БРОК on line");
        EXPECT_EQ(outputs.TipMod->text(), "БРОК");
        EXPECT_EQ(Texts(outputs.Vyh), QStringList({"off", "on", "off", "on"}));
        EXPECT_EQ(outputs.Vyh[3]->palette().color(QPalette::Window), QColor(0, 255, 255));
        EXPECT_NE(outputs.Vyh[2]->palette().color(QPalette::Window), QColor(0, 255, 255));
        d->done(2);
        return 2;
    });
    form1.Prg1Click();
    EXPECT_EQ(modals.Shown(), 6);
    EXPECT_EQ(tool.Sent(), QStringList{Read(1, 0, 4)});
    EXPECT_EQ(boxes.Shown(), 1); // the lost device's
}
