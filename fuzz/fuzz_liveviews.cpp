// The live views' polls: the fuzz bytes are the device's replies to one poll of a view, taken and
// shown as the view does. Byte 0 picks the view (bits 0..1; bit 7: mend each reply's CRC), byte 1
// the first signal or position, byte 2 the count; the rest are the replies (see SplitChunks).

#include "FuzzConfig.h"
#include "FuzzLine.h"
#include "NumberText.h"
#include "editors/analog/LiveViewKit.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

constexpr int DevNum = 0;
constexpr int AnalogueRows = 48; // the rows of the analogue view

void ShowBits(const PollReplies& r, int count) {
    (void)LiveViews::BitTexts(r.at(0), count, QStringLiteral("on"), QStringLiteral("off"));
    (void)LiveViews::BitTexts(r.at(1), count, QStringLiteral("нед."), QStringLiteral("дост."));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    FuzzPort line(SplitChunks(data + 3, size - 3, data[0] & 0x80));
    line.OneAttempt();
    const int view = data[0] & 3;
    if (view == 0) { // the controller's inputs: health, states, validity
        const auto r = PollOnce(line.port, LiveViews::ControllerInputRequests(DevNum));
        if (!r) return 0;
        (void)LiveViews::Bit(r->at(0), data[1]); // the bit after the discrete inputs: module health
        ShowBits({r->at(1), r->at(2)}, LiveViews::ControllerInputs);
    } else if (view == 1) { // a network block's discrete inputs
        const int count = 1 + data[2] % LiveViews::MaxNetSignals;
        const auto r = PollOnce(line.port, LiveViews::NetDiscreteRequests(DevNum, data[1], count));
        if (r) ShowBits(*r, count);
    } else if (view == 2) { // the discrete outputs
        const auto r = PollOnce(line.port, LiveViews::OutputRequests(DevNum));
        if (r)
            for (int i = 0; i < LiveViews::Outputs; ++i)
                (void)LiveViews::Bit(r->at(0), i);
    } else { // a network block's analogue values
        const int first = data[1] % AnalogueRows, count = 1 + data[2] % (AnalogueRows - first);
        const auto r = PollOnce(line.port, LiveViews::AnalogueRequests(DevNum, first, count));
        auto cfg = NewConfiguration();
        if (!r || !LiveViews::TakeAnalogueReplies(*cfg, first, count, *r)) return 0;
        (void)cfg->MBM.ShowChannelState(count, first);
        for (int v = 0; v < count; ++v)
            (void)FormatSignificant(cfg->MBM.GetLiveValue(first + v), 5);
    }
    return 0;
}
