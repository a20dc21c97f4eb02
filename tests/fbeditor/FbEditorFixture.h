#pragma once
// The main window with its function-block editor, the exchange wired to the in-process simulated
// device on a virtual clock, and every message box scripted.

#include "Comportclass.h"
#include "FbRecords.h"
#include "ModbusFrame.h"
#include "Obr_veg17r.h"
#include "ScriptedDialogs.h"
#include "SimDevice.h"
#include "SimLink.h"
#include "editors/fb/Prog_fb.h"

#include <gtest/gtest.h>
#include <memory>

class FbEditorFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        form1 = std::make_unique<TForm1>();
        form1->ComPort.SetClock(&clock);
        form1->ComPort.SetLink(std::make_unique<SimLink>(device, &clock));
        ASSERT_TRUE(form1->ComPort.OpenPort(nullptr));
        form1->ComPort.SetPovt2(0);
        Cfg().Veg.AccessLevel = 1;
    }

    TConfiguration& Cfg() { return form1->Cfg; }
    TProgFBClass& FB() { return form1->Cfg.FB; }
    TFormFB& Form() { return *form1->FormFB; }
    int CountOf(int function) const { return int(device.ReceivedOf(function).size()); }

    // A logic record in the editor's table.
    void SetBlock(int i, int type, std::initializer_list<std::pair<int, int>> inputs = {}) {
        SetLogicRecord(FB(), i, type, inputs);
    }
    // The exchange's error box for device 1 on the default port.
    void ExpectDeviceError(const QString& what) {
        boxes.Expect(what + "\nУстройство 1, порт COM1", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone,
                     mrOk);
    }
    // Fills the device's function blocks with a recognisable pattern.
    void FillDeviceBlocks() {
        for (int id = 20; id <= 31; ++id)
            for (size_t k = 0; k < device.Block(id).size(); ++k)
                device.Block(id)[k] = uint8_t(id * 7 + k);
    }

    SimDevice device;
    VirtualClock clock;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TForm1> form1;
};
