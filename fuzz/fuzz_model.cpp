// The model's reply takers and block unpackers, then the getters that read what they took.
// Byte 0 picks the call, byte 1 (signed) its block, module or position; the rest is the data.

#include "Float24.h"
#include "TProgFBClass.h"
#include "TProgMBAClass.h"
#include "TProgMBMClass.h"
#include "TProgRegClass.h"
#include "TProgVegClass.h"
#include "TServClass.h"
#include "TextCodec.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int param = int8_t(data[1]);
    // A copy of exactly the rest, so that a read past its end shows.
    const std::vector<uint8_t> rest(data + 2, data + size);
    const std::span<const uint8_t> reply(rest);
    const uint8_t* bytes = rest.empty() ? nullptr : rest.data();
    const int len = int(rest.size());
    switch (data[0] % 10) {
    case 0: {
        auto fb = std::make_unique<TProgFBClass>();
        if (fb->TakeBlockFromReply(bytes, len)) fb->BlockToFbs(param);
        for (int i = 0; i < TProgFBClass::FBCapacity; ++i)
            (void)fb->GetType(i), (void)fb->GetSubtype(i), (void)fb->GetFbText(i);
        break;
    }
    case 1: {
        TProgRegClass reg;
        if (reg.TakeBlockFromReply(reply)) reg.BlockToRecords(0x20 + param);
        for (int i = 0; i < 6; ++i)
            (void)reg.GetAnVh(i), (void)reg.GetTReg(i), (void)reg.GetVyh(i);
        break;
    }
    case 2: {
        auto mba = std::make_unique<TProgMBAClass>();
        mba->TakeSensorTypesFromReply(reply);
        mba->TakeHeaderFromReply(reply);
        for (int row = 0; row < TProgMBAClass::CalibRows; ++row)
            (void)mba->GetAdcCode(row), (void)mba->GetAdcFlags(row);
        (void)mba->FillCalibrationView(param & 7);
        break;
    }
    case 3: {
        auto mba = std::make_unique<TProgMBAClass>();
        mba->TakeRangeRecordFromReply(param, reply);
        mba->TakeCalibFromReply(reply);
        for (int row = 0; row < TProgMBAClass::RangeEntries; ++row)
            (void)mba->GetRangeMinCode(param, row), (void)mba->GetRangeMaxCode(param, row);
        for (int reg = 0; reg < 4; ++reg)
            (void)mba->GetCalibRegister(reg);
        (void)mba->FillCalibrationView(param);
        break;
    }
    case 4: {
        auto mbm = std::make_unique<TProgMBMClass>();
        const int p = param & 0x3F, n = (param >> 6) & 1 ? len / 4 : 48 - p;
        if (mbm->TakeSensorTypesFromReply(p, n, reply)) (void)mbm->ShowChannelState(n, p);
        for (int q = 0; q < 48; ++q)
            (void)mbm->GetLiveFlags(q), (void)mbm->GetLiveValue(q);
        break;
    }
    case 5: {
        auto serv = std::make_unique<TServClass>();
        serv->BlockToNameTable(param, bytes, len);
        for (int i = 0; i < TServClass::InputCount; ++i)
            (void)serv->GetNameText(i);
        break;
    }
    case 6: {
        auto veg = std::make_unique<TProgVegClass>();
        veg->BlockToRecords(param, bytes, len);
        veg->RecordsToBlock(param);
        break;
    }
    case 7: {
        std::vector<uint8_t> f(Float24::Size);
        if (Float24::FromText(QString::fromUtf8(reinterpret_cast<const char*>(bytes), len), f.data()))
            (void)Float24::ToText(f.data());
        break;
    }
    case 8:
        if (len >= Float24::Size) {
            std::vector<uint8_t> f(Float24::Size);
            (void)Float24::FromText(Float24::ToText(bytes), f.data());
        }
        break;
    case 9:
        (void)TextCodec::Decode(bytes, len);
        (void)TextCodec::DecodeTrimmed(bytes, len);
        (void)TextCodec::Encode(TextCodec::Decode(bytes, len));
        break;
    }
    return 0;
}
