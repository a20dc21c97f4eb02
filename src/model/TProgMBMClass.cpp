#include "TProgMBMClass.h"

#include "AnChannelLayout.h"
#include "ByteFields.h"
#include "NumberText.h"

#include <algorithm>
#include <cstring>

using namespace ByteFields;
namespace ACL = AnChannelLayout;

TProgMBMClass::TProgMBMClass() {
    Descriptor[0] = DeviceBlocks::NetDescriptor;
    SetDefaultChannels(0, NetChannelCount);
}

int TProgMBMClass::GetByte(int k) const {
    return k >= 0 && size_t(k) < Descriptor.size() ? Descriptor[size_t(k)] : 0;
}

void TProgMBMClass::SetByte(int k, int value) {
    if (k >= 0 && size_t(k) < Descriptor.size()) Descriptor[size_t(k)] = uint8_t(value);
}

uint8_t* TProgMBMClass::Request(int i) {
    if (i < 0 || i >= RequestCount) return nullptr;
    return Descriptor.data() + 1 + RequestSize * i;
}

const uint8_t* TProgMBMClass::Request(int i) const {
    return const_cast<TProgMBMClass*>(this)->Request(i);
}

namespace {
constexpr Field KodF = Byte(0), KolVh = Byte(1), Ustr = Byte(2), AdBegDat = Int16(3), KolDat = Int16(5);
constexpr Field TipUstr = Bits(7, 0, 4), StAddrBeg1 = Byte(8), StAddrBeg2 = Byte(9), XMax = Int16(10);
constexpr Field LinkSpeed = Bits(TProgMBMClass::LinkByte, 2, 2),
                LinkParityStop = Bits(TProgMBMClass::LinkByte, 0, 2);
} // namespace

int TProgMBMClass::GetKodF(int i) const {
    return ReadField(Request(i), KodF);
}
void TProgMBMClass::SetKodF(int v, int i) {
    WriteField(Request(i), KodF, v);
}
int TProgMBMClass::GetKolVh(int i) const {
    return ReadField(Request(i), KolVh);
}
void TProgMBMClass::SetKolVh(int v, int i) {
    WriteField(Request(i), KolVh, v);
}
int TProgMBMClass::GetUstr(int i) const {
    return ReadField(Request(i), Ustr);
}
void TProgMBMClass::SetUstr(int v, int i) {
    WriteField(Request(i), Ustr, v);
}
int TProgMBMClass::GetAdBegDat(int i) const {
    return ReadField(Request(i), AdBegDat);
}
void TProgMBMClass::SetAdBegDat(int v, int i) {
    WriteField(Request(i), AdBegDat, v);
}
int TProgMBMClass::GetKolDat(int i) const {
    return ReadField(Request(i), KolDat);
}
void TProgMBMClass::SetKolDat(int v, int i) {
    WriteField(Request(i), KolDat, v);
}
int TProgMBMClass::GetTipUstr(int i) const {
    return ReadField(Request(i), TipUstr);
}
void TProgMBMClass::SetTipUstr(int v, int i) {
    WriteField(Request(i), TipUstr, v);
}
int TProgMBMClass::GetStAddrBeg1(int i) const {
    return ReadField(Request(i), StAddrBeg1);
}
void TProgMBMClass::SetStAddrBeg1(int v, int i) {
    WriteField(Request(i), StAddrBeg1, v);
}
int TProgMBMClass::GetStAddrBeg2(int i) const {
    return ReadField(Request(i), StAddrBeg2);
}
void TProgMBMClass::SetStAddrBeg2(int v, int i) {
    WriteField(Request(i), StAddrBeg2, v);
}
int TProgMBMClass::GetXMax(int i) const {
    return ReadField(Request(i), XMax);
}
void TProgMBMClass::SetXMax(int v, int i) {
    WriteField(Request(i), XMax, v);
}

int TProgMBMClass::GetLinkBits2to3() const {
    return ReadField(Descriptor.data(), LinkSpeed);
}
void TProgMBMClass::SetLinkBits2to3(int v) {
    WriteField(Descriptor.data(), LinkSpeed, v);
}
int TProgMBMClass::GetLinkBits0to1() const {
    return ReadField(Descriptor.data(), LinkParityStop);
}
void TProgMBMClass::SetLinkBits0to1(int v) {
    WriteField(Descriptor.data(), LinkParityStop, v);
}

int TProgMBMClass::GetBlockByte(int g, int k) const {
    if (g < 0 || g >= GroupCount || k < 0 || k >= GroupSize) return 0;
    return Groups[size_t(g)][size_t(k)];
}

void TProgMBMClass::SetBlockByte(int g, int k, int value) {
    if (g < 0 || g >= GroupCount || k < 0 || k >= GroupSize) return;
    Groups[size_t(g)][size_t(k)] = uint8_t(value);
}

uint8_t* TProgMBMClass::NetChannel(int n) {
    if (n < 0 || n >= NetChannelCount) return nullptr;
    return Groups[size_t(n / ChannelsPerGroup)].data() + 1 + ChannelSize * (n % ChannelsPerGroup);
}

const uint8_t* TProgMBMClass::NetChannel(int n) const {
    return const_cast<TProgMBMClass*>(this)->NetChannel(n);
}

int TProgMBMClass::GetChRazm(int n) const {
    return ReadField(NetChannel(n), ACL::Unit);
}
void TProgMBMClass::SetChRazm(int v, int n) {
    WriteField(NetChannel(n), ACL::Unit, v);
}

#define MBM_CHANNEL_FLOAT(Name, offset)                                                                      \
    QString TProgMBMClass::Get##Name##Text(int n) const {                                                    \
        return ACL::FloatText(NetChannel(n), offset);                                                        \
    }                                                                                                        \
    bool TProgMBMClass::Set##Name##Text(const QString& text, int n) {                                        \
        return ACL::SetFloatText(NetChannel(n), offset, text);                                               \
    }

MBM_CHANNEL_FLOAT(ChNSk, ACL::NSk)
MBM_CHANNEL_FLOAT(ChVSk, ACL::VSk)
MBM_CHANNEL_FLOAT(ChUstLL, ACL::UstLL)
MBM_CHANNEL_FLOAT(ChUstL, ACL::UstL)
MBM_CHANNEL_FLOAT(ChUstH, ACL::UstH)
MBM_CHANNEL_FLOAT(ChUstHH, ACL::UstHH)
#undef MBM_CHANNEL_FLOAT

float TProgMBMClass::GetChNSk(int n) const {
    return ACL::FloatValue(NetChannel(n), ACL::NSk);
}
float TProgMBMClass::GetChVSk(int n) const {
    return ACL::FloatValue(NetChannel(n), ACL::VSk);
}
QString TProgMBMClass::GetChPozText(int n) const {
    return ACL::PozText(NetChannel(n));
}
void TProgMBMClass::SetChPozText(const QString& text, int n) {
    ACL::SetPozText(NetChannel(n), text);
}

bool TProgMBMClass::CheckAnValueText(const QString& text, int /*kind*/) {
    if (text.isEmpty() || text.count(',') > 1 || text.endsWith(',')) return false;
    const QString head = text.left(7);
    if (head.contains(QChar(0x0431)) || head.contains(QChar(0x0411)) || head.contains('?')) // б, Б
        return false;
    const qsizetype minus = text.count('-');
    if (minus > 1 || (minus == 1 && (!text.startsWith('-') || text == "-"))) return false;
    // Anything else that is not a decimal number (letters, blanks inside) is refused too.
    const auto value = ParseDecimal(text);
    return value && InRangeSingle(*value, -32767.0, 32767.0);
}

void TProgMBMClass::DeleteChannels(int p, int n) {
    if (p < 0 || p >= NetChannelCount || n <= 0) return;
    n = std::min(n, NetChannelCount - p);
    for (int dst = p; dst + n < NetChannelCount; ++dst)
        std::memcpy(NetChannel(dst), NetChannel(dst + n), ChannelSize);
    SetDefaultChannels(NetChannelCount - n, n);
}

void TProgMBMClass::InsertChannels(int p, int n) {
    if (p < 0 || p >= NetChannelCount || n <= 0) return;
    n = std::min(n, NetChannelCount - p);
    for (int dst = NetChannelCount - 1; dst - n >= p; --dst)
        std::memcpy(NetChannel(dst), NetChannel(dst - n), ChannelSize);
}

void TProgMBMClass::SetDefaultChannels(int p, int n) {
    static const char* const values[] = {"0", "100", "0", "0", "100", "100"}; // low, high, LL, L, H, HH
    static const int offsets[] = {ACL::NSk, ACL::VSk, ACL::UstLL, ACL::UstL, ACL::UstH, ACL::UstHH};
    if (p < 0 || n <= 0) return;
    const int first = std::min(p, NetChannelCount);
    const int last = first + std::min(n, NetChannelCount - first);
    for (int c = first; c < last; ++c) {
        uint8_t* ch = NetChannel(c);
        std::fill_n(ch, ChannelSize, uint8_t(0));
        ch[0] = 1;
        for (int k = 0; k < 6; ++k)
            ACL::SetFloatText(ch, offsets[k], values[k]);
        ACL::BlankPoz(ch);
    }
}

bool TProgMBMClass::TakeSensorTypesFromReply(int p, int n, std::span<const uint8_t> reply) {
    if (p < 0 || n < 0 || p > AnPositions || n > AnPositions - p) return false;
    const auto data = ReplyData(reply, GReplyData, GEntry::Size * n);
    if (data.empty() && n > 0) return false;
    for (int v = 0; v < n; ++v)
        std::copy_n(data.begin() + GEntry::Size * v, GEntry::Size, Live[size_t(p + v)].begin());
    return true;
}

int TProgMBMClass::GetLiveFlags(int p) const {
    return p >= 0 && p < AnPositions ? Live[size_t(p)][GEntry::Flags] : 0;
}

float TProgMBMClass::GetLiveValue(int p) const {
    return p >= 0 && p < AnPositions ? Float24::ToFloat(Live[size_t(p)].data() + GEntry::Value) : 0.0f;
}

QStringList TProgMBMClass::ShowChannelState(int n, int p) const {
    QStringList states;
    for (int v = 0; v < n; ++v) {
        const int flags = p >= 0 && p < AnPositions - v ? GetLiveFlags(p + v) : 0;
        states << (flags & GEntry::FlagBelowL ? "L(L-H)" : flags & GEntry::FlagAboveH ? "H(L-H)" : "норма");
    }
    return states;
}
