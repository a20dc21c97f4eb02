#pragma once
// The main window with its function-block editor, the exchange wired to the in-process simulated
// device on a virtual clock, and every message box scripted.

#include "Comportclass.h"
#include "FbRecords.h"
#include "ModbusFrame.h"
#include "Obr_veg17r.h"
#include "ScriptedDialogs.h"
#include "SimDevice.h"
#include "editors/fb/Prog_fb.h"
#include "serial/SerialLink.h"

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// The simulated device as a link whose replies a test may alter before they travel (the CRC is
// made right again, so only the altered content is wrong).
class TamperLink : public SerialLink {
  public:
    TamperLink(SimDevice& device, VirtualClock& clock) : device_(device), clock_(clock) {}
    bool Open(const LinkSettings&, QString*) override { return open_ = true; }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    LinkStatus Write(const uint8_t* data, int len) override {
        auto reply = device_.Handle(std::span(data, size_t(len)));
        if (reply && tamper && tamper(std::vector<uint8_t>(data, data + len), *reply)) {
            const uint16_t crc = Frame::Crc16(std::span(reply->data(), reply->size() - 2));
            (*reply)[reply->size() - 2] = uint8_t(crc & 0xFF);
            (*reply)[reply->size() - 1] = uint8_t(crc >> 8);
        }
        if (reply) rx_.insert(rx_.end(), reply->begin(), reply->end());
        return LinkStatus::Ok;
    }
    int Read(uint8_t* data, int len, int timeoutMs) override {
        int n = 0;
        for (; n < len && !rx_.empty(); ++n) {
            data[n] = rx_.front();
            rx_.pop_front();
        }
        if (n < len) clock_.Advance(timeoutMs);
        return n;
    }
    void Purge() override { rx_.clear(); }

    // Alters the reply to a request; returns true when it changed it.
    std::function<bool(const std::vector<uint8_t>& request, std::vector<uint8_t>& reply)> tamper;

  private:
    SimDevice& device_;
    VirtualClock& clock_;
    bool open_ = false;
    std::deque<uint8_t> rx_;
};

class FbEditorFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        form1 = std::make_unique<TForm1>();
        auto l = std::make_unique<TamperLink>(device, clock);
        link = l.get();
        form1->ComPort.SetClock(&clock);
        form1->ComPort.SetLink(std::move(l));
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
    TamperLink* link = nullptr;
};
