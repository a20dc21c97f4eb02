#include "RelayRows.h"

#include "Configuration.h"

namespace RelayRows {

namespace {
void ClearKvit(Row& row, TProgMRClass& mr, int o, int m) {
    row.kvitVizo = row.kvitTopLevel = false;
    row.kvitEnabled = false;
    row.vxKvit = QStringLiteral("00");
    mr.SetKvitPanel(0, o, m);
    mr.SetKvitTopLevel(0, o, m);
    mr.SetVxKvit(o, m, 0);
}
} // namespace

void ApplyType(Row& row, TProgMRClass& mr, int o, int m, int type) {
    row.type = type == Control ? Control : Signal;
    mr.SetTipVyh(row.type, o, m);
    mr.SetKvitBlock(0, o, m);
    row.lightSound = Light;
    row.blocking = 0;
    if (row.type == Control) {
        ClearKvit(row, mr, o, m);
        row.sbrVizo = row.sbrTopLevel = false;
        mr.SetSbrPanel(0, o, m);
        mr.SetSbrTopLevel(0, o, m);
    } else {
        row.kvitEnabled = true;
    }
    row.sbrEnabled = true;
}

void ApplyLightSound(Row& row, TProgMRClass& mr, int o, int m, int choice) {
    row.lightSound = choice == Sound ? Sound : Light;
    mr.SetKvitBlock(row.lightSound, o, m);
    row.kvitEnabled = true;
    row.sbrEnabled = row.lightSound == Light;
    if (row.lightSound == Sound) {
        row.sbrVizo = row.sbrTopLevel = false;
        row.vhSbr = QStringLiteral("00");
        mr.SetSbrPanel(0, o, m);
        mr.SetSbrTopLevel(0, o, m);
        mr.SetVhSbr(o, m, 0);
    }
}

void ApplyBlocking(Row& row, TProgMRClass& mr, int o, int m, int index) {
    row.blocking = index == 1 ? 1 : 0;
    mr.SetKvitBlock(row.blocking, o, m);
}

Row LoadRow(TProgMRClass& mr, int o, int m, int limit) {
    const int kvitBlock = mr.GetKvitBlock(o, m);
    const bool kvitVizo = mr.GetKvitPanel(o, m), kvitTop = mr.GetKvitTopLevel(o, m);
    const bool sbrVizo = mr.GetSbrPanel(o, m), sbrTop = mr.GetSbrTopLevel(o, m);
    const auto number = [limit](int v) { return v > limit ? 0 : v; };
    const int vxKvit = number(mr.GetVxKvit(o, m)), vhSbr = number(mr.GetVhSbr(o, m));

    Row row;
    ApplyType(row, mr, o, m, mr.GetTipVyh(o, m));
    if (row.type == Signal)
        ApplyLightSound(row, mr, o, m, kvitBlock);
    else
        ApplyBlocking(row, mr, o, m, kvitBlock);
    if (row.kvitEnabled) {
        row.kvitVizo = kvitVizo;
        row.kvitTopLevel = kvitTop;
        row.vxKvit = QString::number(vxKvit);
        mr.SetKvitPanel(kvitVizo, o, m);
        mr.SetKvitTopLevel(kvitTop, o, m);
        mr.SetVxKvit(o, m, vxKvit);
    }
    if (row.sbrEnabled) {
        row.sbrVizo = sbrVizo;
        row.sbrTopLevel = sbrTop;
        row.vhSbr = QString::number(vhSbr);
        mr.SetSbrPanel(sbrVizo, o, m);
        mr.SetSbrTopLevel(sbrTop, o, m);
        mr.SetVhSbr(o, m, vhSbr);
    }
    return row;
}

int InputLimit(const TConfiguration& cfg) {
    return 12 * cfg.Serv.GetCntMod2A();
}

void SaveReserve(TConfiguration& cfg) {
    for (int k = 0; k < TProgMRClass::ImageLen; ++k)
        cfg.Reserv.Block9().SetByte(0, k, cfg.MR.GetModByte(k));
}

void RestoreReserve(TConfiguration& cfg) {
    for (int k = 0; k < TProgMRClass::ImageLen; ++k)
        cfg.MR.SetModByte(k, cfg.Reserv.Block9().GetByte(0, k));
}

void CopyBase(TConfiguration& cfg, int m) {
    for (int k = 0; k < TProgMRClass::ModuleSize; ++k)
        cfg.Copy.RelayBases().SetByte(m, k, cfg.MR.GetModByte(1 + TProgMRClass::ModuleSize * m + k));
}

void PasteBase(TConfiguration& cfg, int c, int m) {
    for (int k = 0; k < TProgMRClass::ModuleSize; ++k)
        cfg.MR.SetModByte(1 + TProgMRClass::ModuleSize * m + k, cfg.Copy.RelayBases().GetByte(c, k));
}

} // namespace RelayRows
