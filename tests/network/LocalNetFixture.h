#pragma once
// The local-network windows over the in-process simulated device: the controller with one
// analogue module, a discrete module and a relay module; request block 0 a ВЕГ-01 block of 8
// discrete inputs at row 36, block 1 a ДКРН block of 2 values at row 44 and input 4, whose first
// set point feeds function block 1; every reserve image as written.

#include "EditorFixture.h"
#include "LocalNetwork.h"
#include "ModbusFrame.h"
#include "editors/network/Prog_f15.h"
#include "editors/network/Prog_lnet.h"
#include "editors/network/Prog_mbm.h"

using Bytes = std::vector<uint8_t>;
using namespace LocalNet;

inline const QString kInputError = " Ошибка ввода ";

// Request block i: code, outputs, type, starts.
inline void MakeBlock(TConfiguration& cfg, int i, int code, int outputs, int type, int begD, int begA) {
    TProgMBMClass& m = cfg.MBM;
    m.SetKodF(code, i);
    m.SetKolVh(outputs, i);
    m.SetKolDat(outputs, i);
    m.SetTipUstr(type, i);
    m.SetUstr(i + 1, i);
    m.SetStAddrBeg1(begD, i);
    m.SetStAddrBeg2(begA, i);
}

class LocalNetTest : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        // The simulator's composition: the controller (one analogue module, 4 local channels).
        for (int s = 0; s < 3; ++s)
            Cfg().Serv.SetSlotModuleCode(s + 1, std::array{13, 2, 11}[size_t(s)]);
        // Block 0: ВЕГ-01, 8 discrete outputs at 36; block 1: analogue, 2 values at 44, input 4.
        MakeBlock(Cfg(), 0, 1, 8, Veg01, 36, 4);
        MakeBlock(Cfg(), 1, 3, 2, Dkrn, 44, 4);
        Cfg().Serv.SetDiscrInCount(52);
        Cfg().Serv.SetAnInCount(6);
        for (int r = 0; r < 52; ++r)
            Cfg().Serv.SetNameText(r, QString("N%1").arg(r));
        Cfg().FB.SetTypeByte(0, 1);  // an AND block whose first input is signal 45 = row 44,
        Cfg().FB.SetInNum(0, 0, 45); // the analogue block's first set point
        Cfg().FB.SetInKind(0, 0, 0);
        RecountNetInputs(Cfg());
        SaveAll();
    }
    void SaveAll() {
        SaveDescriptorReserve(Cfg());
        for (int g = 0; g < 8; ++g)
            SaveGroupReserve(Cfg(), g);
        SaveCountsReserve(Cfg());
        SaveDiscreteTableReserve(Cfg());
        SaveNamesReserve(Cfg());
        SaveFbReserve(Cfg());
        SaveF15Reserve(Cfg());
    }
    Bytes Descriptor() {
        Bytes b;
        for (int k = 0; k < 194; ++k)
            b.push_back(uint8_t(Cfg().MBM.GetByte(k)));
        return b;
    }
    std::vector<int> WrittenIds() {
        std::vector<int> ids;
        for (const auto& f : device.ReceivedOf('E'))
            ids.push_back(f[2]);
        return ids;
    }
    void ExpectTransferQuestion(int answer) {
        boxes.Expect("База  была изменена. Передать в прибор?", "Подтвердите передачу данных ",
                     MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, answer);
    }

    TFormMBM mbm{parts.context};
    TFormF15 f15{parts.context};
    TFormLNet lnet{parts.context, mbm, f15};
};
