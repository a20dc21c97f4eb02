#include "PvInput.h"

#include "Configuration.h"

namespace {

constexpr int NumbersPerModule = 6;
constexpr int ChannelsPerModule = 4;
constexpr int NetChannels = 48;

bool CountsAnalogue(int function) {
    return function == 3 || function == 4;
}

// The network channel of network value k (1-based), or −1.
int NetworkChannel(const TConfiguration& cfg, int k) {
    int before = 0;
    for (int i = 0; i < TServClass::NetBlocks; ++i) {
        if (!CountsAnalogue(cfg.MBM.GetKodF(i))) continue;
        const int count = cfg.MBM.GetKolVh(i);
        if (before + count >= k)
            return cfg.MBM.GetStAddrBeg2(i) - cfg.Serv.GetGroup6FChannels() + (k - before - 1);
        before += count;
    }
    return -1;
}

} // namespace

std::optional<PvInput> LookUpPvInput(const TConfiguration& cfg, int n) {
    if (n <= 0) return std::nullopt;
    const int modules = cfg.Serv.GetCntMod6F();
    PvInput in;
    if (n <= NumbersPerModule * modules) {
        in.module = (n - 1) / NumbersPerModule;
        in.channel = (n - 1) % NumbersPerModule;
        if (in.channel >= ChannelsPerModule) return std::nullopt;
        const TProgMBAClass& mba = cfg.MBA;
        in.lowText = mba.GetChNSkText(in.module, in.channel);
        in.highText = mba.GetChVSkText(in.module, in.channel);
        in.low = mba.GetChNSk(in.module, in.channel);
        in.high = mba.GetChVSk(in.module, in.channel);
        in.unit = mba.GetChRazm(in.module, in.channel);
        in.position = mba.GetChPozText(in.module, in.channel);
        return in;
    }
    in.network = true;
    in.channel = NetworkChannel(cfg, n - NumbersPerModule * modules);
    if (in.channel < 0 || in.channel >= NetChannels) return std::nullopt;
    const TProgMBMClass& mbm = cfg.MBM;
    in.lowText = mbm.GetChNSkText(in.channel);
    in.highText = mbm.GetChVSkText(in.channel);
    in.low = mbm.GetChNSk(in.channel);
    in.high = mbm.GetChVSk(in.channel);
    in.unit = mbm.GetChRazm(in.channel);
    in.position = mbm.GetChPozText(in.channel);
    return in;
}
