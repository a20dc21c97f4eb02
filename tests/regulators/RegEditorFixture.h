#pragma once
// The control-loop editor on the in-process device with a virtual clock: a controller module whose
// inputs 1 and 2 span 0..100, the loop dialog and the online view.
#include "EditorFixture.h"
#include "editors/regulators/Obrcreat_reg.h"
#include "editors/regulators/Prog_reg.h"
#include "editors/regulators/Uniregvis.h"

#include <array>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void SetLoop(TProgRegClass& reg, int i, int pv, int type, int out) {
    reg.SetAnVh(i, pv), reg.SetTReg(i, 0, type), reg.SetVyh(i, out);
    reg.SetKPText(i, "1"), reg.SetTiText(i, "100");
}

// A cascade: outer loop record 0 drives inner loop 2 (record 1), which drives DAC output 2.
inline void SetCascade(TProgRegClass& reg) {
    SetLoop(reg, 0, 1, 1, 9);
    SetLoop(reg, 1, 2, 8, 1);
}

// A ПЗ-fed loop in record `rec` fed by ПЗ p; its first value does not survive a round trip through
// the shown text, so only the kept stored value leaves it as it was.
inline void SetProgramFed(TProgRegClass& reg, int rec, int p, int pv) {
    SetLoop(reg, rec, pv, 16 + p, rec);
    reg.SetPZReg(p, rec + 1);
    for (int k = 0; k < 6; ++k) {
        reg.SetPZTime(p, k, 10 * (k + 1));
        reg.SetPZValue(p, k, 1000 * k - 2001);
    }
}

class RegEditor : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        Cfg().Serv.SetSlotModuleCode(1, 13);
        Cfg().MBA.SetChVSkText(0, 0, "100");
        Cfg().MBA.SetChVSkText(0, 1, "100");
        QObject::connect(&parts.context, &EditorContext::ConfigurationChanged, [this] { ++changed; });
        DeviceLoops();
    }
    // Loops as the device holds them: two single loops, inputs 1 and 2, outputs 1 and 2.
    void DeviceLoops() {
        Bytes& b = device.Block(32);
        b.assign(56, 0);
        for (int i = 0; i < 2; ++i)
            b[size_t(28 * i)] = uint8_t(i + 1), b[size_t(28 * i + 1)] = 1, b[size_t(28 * i + 2)] = uint8_t(i);
        device.Block(33).assign(56, 0x11);
    }
    // Table t (0: loops, 1: ПЗ) as its block holds it, or its reserve image.
    Bytes Table(int t, bool reserve = false) {
        Bytes out;
        for (int i = 0; i < 2; ++i)
            for (int k = 0; k < 28; ++k)
                out.push_back(uint8_t(reserve  ? Cfg().Reserv.LoopRecords().GetByte(2 * t + i, k)
                                      : t == 0 ? Cfg().Reg.GetRecByte(i, k)
                                               : Cfg().Reg.GetPZByte(i, k)));
        return out;
    }
    Bytes Reserve(int t) { return Table(t, true); }
    // Record bytes: PV input, type code, output byte, output action.
    static void PutLoop(Bytes& block, int rec, int pv, int type, int out, int action = 0) {
        for (int k = 0; k < 4; ++k)
            block[size_t(28 * rec + k)] = uint8_t(std::array{pv, type, out, action}[size_t(k)]);
    }
    // Reads the device, then marks the tables edited.
    void ReadAndEdit() {
        DeviceLoops();
        form.InPortClick();
        Cfg().Reg.SetKPText(0, "2");
        Cfg().Reg.SetRegModified(1);
        device.ClearLog();
        clock.sleeps.clear();
    }
    void Warn(const QString& text) {
        boxes.Expect(text, "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    }
    // The copied group does not fit the free rows.
    void Full() {
        boxes.Expect("количество вставляемых блоков превышает количество свободных", "Программатор ВЕГ-17",
                     MsgButtons::OK, MsgIcon::Information, mrNone, mrOk);
    }

    int changed = 0;
    TFormCreatReg creat{parts.context};
    TFormRegOnLine online{parts.context};
    TFormReg form{parts.context, creat, online};
};
