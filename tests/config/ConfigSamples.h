#pragma once
// A configuration filled with distinct bytes in every part a file or a device transfer
// carries, and a fingerprint of everything those touch, to tell "unchanged" from "changed".

#include "Configuration.h"

#include <QByteArray>
#include <array>
#include <memory>

inline std::unique_ptr<TConfiguration> MakeSample(int fbCount, int seed = 1) {
    auto c = std::make_unique<TConfiguration>();
    TConfiguration& cfg = *c;
    const int codes[8] = {13, 7, 9, 2, 11, 0, 0, 0};
    for (int s = 0; s < 8; ++s)
        cfg.Serv.SetSlotModuleCode(s + 1, codes[s]);
    cfg.Serv.SetDevAddr(4 + seed);
    cfg.Serv.SetDiscrInCount(24);
    cfg.Serv.SetAnInCount(4);
    cfg.Serv.SetDefaultInputTexts();
    cfg.Serv.SetInputTextString(100, 0, QStringLiteral("Насос"));
    cfg.Serv.SetInputTextString(100, 3, QStringLiteral("7"));
    for (int k = 0; k < 169; ++k)
        cfg.MBA.SetModuleByte(0, k, (k * 7 + seed) & 0xFF);
    for (int k = 0; k < 96; ++k)
        cfg.MBA.SetUnitListByte(k, 0xC0 + (k + seed) % 32);
    for (int i = 0; i < 24; ++i)
        for (int k = 0; k < 8; ++k)
            cfg.Veg.SetRecByte(i, k, (i * 8 + k + seed) & 0xFF);
    for (int i = 0; i < 192; ++i)
        cfg.Serv.SetNameText(i, QStringLiteral("Вход %1-%2").arg(i + 1).arg(seed));
    for (int c2 = 0; c2 < 48; ++c2)
        cfg.Serv.SetLongText(c2, QStringLiteral("Длинный текст %1").arg(c2 + seed));
    cfg.FB.FBCount = fbCount;
    for (int i = 0; i < fbCount; ++i) {
        cfg.FB.SetFbText(i, QStringLiteral("Алгоритм %1").arg(i + seed));
        for (int k = 0; k < 16; ++k)
            cfg.FB.SetRecByte(i, k, (i * 16 + k * 3 + seed) & 0xFF);
    }
    cfg.FB.AlgTable.SetCount(3);
    for (int a = 0; a < 3; ++a) {
        cfg.FB.AlgTable.SetMark(a * 5, a * 5 + 1);
        for (int j = 0; j < 5; ++j)
            cfg.FB.AlgTable.SetEntry(a, j, a * 5 + j + 1);
    }
    cfg.FB.AlgTable.SetEntry(2, fbCount - 1, fbCount); // the last position of a full row
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 28; ++k) {
            cfg.Reg.SetRecByte(i, k, (i * 28 + k + seed) & 0xFF);
            cfg.Reg.SetPZByte(i, k, (i * 28 + k * 5 + seed) & 0xFF);
        }
    cfg.Veg.AccessLevel = 1;
    return c;
}

// The controller's sensor types as the sensor-type window reads them (1 NAMUR, 0 dry contact).
inline std::array<int, 8> ShownSensorTypes(const TConfiguration& cfg) {
    std::array<int, 8> types{};
    for (int r = 0; r < 8; ++r)
        types[size_t(r)] = cfg.MBA.GetRangeInt(0, r);
    return types;
}
inline constexpr std::array<int, 8> kNamur2And6{0, 1, 0, 0, 0, 1, 0, 0};
// Sensors 2 and 6 of the controller set to value (1 NAMUR, 0 dry contact) as the window sets
// them, the others dry contacts.
inline void SetSensors2And6(TConfiguration& cfg, int value) {
    for (int r = 0; r < 8; ++r)
        cfg.MBA.SetRangeInt(0, r, 0);
    cfg.MBA.SetRangeInt(0, 1, value);
    cfg.MBA.SetRangeInt(0, 5, value);
}

inline QByteArray Fingerprint(const TConfiguration& cfg) {
    QByteArray out;
    const auto put = [&](int v) { out.append(reinterpret_cast<const char*>(&v), sizeof v); };
    const auto text = [&](const QString& s) { out.append(s.toUtf8()).append('\x01'); };
    put(cfg.Serv.FileMode), put(cfg.Serv.Modified), put(cfg.Serv.DevNum), put(cfg.Serv.GetDevAddr());
    put(cfg.Serv.CompositionOnly);
    put(cfg.Serv.GetDiscrInCount()), put(cfg.Serv.GetAnInCount()), put(cfg.FB.FBCount);
    for (int s = 1; s <= 8; ++s)
        put(cfg.Serv.GetSlotModuleCode(s));
    for (int m = 0; m < 8; ++m)
        for (int k = 0; k < 169; ++k)
            put(cfg.MBA.GetModuleByte(m, k));
    for (int k = 0; k < 96; ++k)
        put(cfg.MBA.GetUnitListByte(k));
    for (int i = 0; i < 192; ++i) {
        for (int k = 0; k < 8; ++k)
            put(cfg.Veg.GetRecByte(i, k));
        out.append(cfg.Serv.GetNameRow(i));
        for (int k = 0; k < 11; ++k)
            text(cfg.Serv.GetInputTextString(i, k));
    }
    for (int c = 0; c < 48; ++c)
        text(cfg.Serv.GetLongText(c));
    for (int i = 0; i < 121; ++i) {
        for (int k = 0; k < 16; ++k)
            put(cfg.FB.GetRecByte(i, k));
        text(cfg.FB.GetFbText(i));
        put(cfg.FB.AlgTable.GetMark(i));
        for (int j = 0; j < 121; ++j)
            put(cfg.FB.AlgTable.GetEntry(i, j));
    }
    put(cfg.FB.AlgTable.GetCount());
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 28; ++k)
            put(cfg.Reg.GetRecByte(i, k)), put(cfg.Reg.GetPZByte(i, k));
    const auto& r = cfg.Reserv;
    for (int i = 0; i < 121; ++i)
        out.append(r.FbRecords().Get(i)).append(r.AlgNames().Get(i));
    for (int i = 0; i < 192; ++i)
        out.append(r.DiscreteTable().Get(i)).append(r.Names().Get(i));
    out.append(r.ModuleImages().Get(0));
    for (int i = 0; i < 4; ++i)
        out.append(r.LoopRecords().Get(i));
    put(r.AlgReserve.GetCount());
    return out;
}
