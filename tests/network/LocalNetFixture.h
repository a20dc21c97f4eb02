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

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

using Bytes = std::vector<uint8_t>;
using namespace LocalNet;

// The ids first..last of each range, in order.
inline std::vector<int> Ids(std::initializer_list<std::pair<int, int>> ranges) {
    std::vector<int> ids;
    for (const auto& [first, last] : ranges)
        for (int id = first; id <= last; ++id)
            ids.push_back(id);
    return ids;
}

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
        UseSimulatorSlots();
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
    // The discrete and analogue input counts; request block i's discrete and analogue starts.
    std::pair<int, int> Counts() { return {Cfg().Serv.GetDiscrInCount(), Cfg().Serv.GetAnInCount()}; }
    std::pair<int, int> Starts(int i) { return {Cfg().MBM.GetStAddrBeg1(i), Cfg().MBM.GetStAddrBeg2(i)}; }
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
    void ExpectF15SaveQuestion(int answer) {
        boxes.Expect("База  была изменена.Сохранить?", "Подтвердите сохранение базы данных",
                     MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, answer);
    }
    void ExpectInputError(const QString& text) {
        boxes.Expect(text, kInputError, MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    }
    // The opener's box after an editor ended with an error (the list window's text ends in a
    // blank).
    void ExpectEndedWithError(const QString& text = "программирование закончено с ошибкой ") {
        boxes.Expect(text, "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    }
    void ExpectFinishQuestion(int answer) {
        boxes.Expect("Ошибка программирования \nЗакончить?", "Подтвердите окончание программирования",
                     MsgButtons::YesNo, MsgIcon::Question, mrNone, answer);
    }
    // Opens request block i in the editor, lets edit fill it, closes it with OK.
    void EditBlock(int i, const std::function<void()>& edit) {
        SetModalHandler([&](QDialog*) {
            edit();
            mbm.OKClick();
            return mbm.result();
        });
        lnet.Button1Click(i);
        SetModalHandler({});
    }
    // The same for Ф15 block k (1 or 2).
    void EditF15(int k, const std::function<void()>& edit) {
        SetModalHandler([&](QDialog*) {
            edit();
            f15.OKClick();
            return f15.result();
        });
        lnet.LocNet15_1Click(k);
        SetModalHandler({});
    }
    void ChooseType(int type) {
        mbm.TipUstr->setCurrentIndex(type);
        mbm.TipUstrClick(type);
        mbm.EditKolVhChange();
    }

    TFormMBM mbm{parts.context};
    TFormF15 f15{parts.context};
    TFormLNet lnet{parts.context, mbm, f15};
};
