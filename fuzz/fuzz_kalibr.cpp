// The calibration window's poll: the fuzz bytes are the device's replies to one poll ('G' codes,
// the cold junction of a thermocouple module, the range block, the calibration registers), taken
// into the model and filled into the window's rows. Byte 0 picks the module (bits 0..2) and a
// thermocouple module (bit 3); bit 7 mends each reply's CRC; the rest are the replies (see
// SplitChunks).

#include "FuzzLine.h"
#include "TProgMBAClass.h"
#include "editors/analog/KalibrKit.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int m = 1 + (data[0] & 7);
    const int code = data[0] & 8 ? Calibration::ThermocoupleCode : 6;
    FuzzPort line(SplitChunks(data + 1, size - 1, data[0] & 0x80));
    line.OneAttempt();
    const auto r = PollOnce(line.port, Calibration::PollRequests(0, m, code));
    if (!r) return 0;
    auto mba = std::make_unique<TProgMBAClass>();
    mba->SetKalibrModuleCode(code);
    Calibration::TakePoll(*mba, m, code, *r);
    (void)mba->FillCalibrationView(m - 1);
    (void)Calibration::EqualScaleChannel(*mba, m - 1);
    return 0;
}
