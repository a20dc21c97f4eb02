#pragma once
// The device side of the channel calibration window: the requests of its opening and of each
// poll, the coil writes that select and calibrate a channel, the taking of the replies into
// TProgMBAClass, and the scale check before the window opens. m is the 1-based module number.
//
// Requests: 'G' (first position (m − 1) × 6, 6 values) for the ADC codes; 'G' (position m + 127,
// 1 value) for the cold junction of a thermocouple module (code 8); 'D' of range block 59 + m;
// function 4, input registers 0..3 (the same for every module). Coils 0x10 (select), 0x11 (start
// of scale), 0x12 (end of scale) at address kind × 256 + 16m + channel.

#include "PollService.h"

#include <QString>
#include <cstdint>
#include <vector>

class TProgMBAClass;

namespace Calibration {

constexpr int PollPeriodMs = 3000;
constexpr int ThermocoupleCode = 8;
constexpr int SelectCoil = 0x10;
constexpr int StartCoil = 0x11;
constexpr int EndCoil = 0x12;
constexpr int CoilReplySize = 8;

std::vector<uint8_t> CoilData(int kind, int m, int channel, bool on);

// The requests, in the order of the opening and of a poll.
struct Requests {
    PollRequest adcCodes;
    PollRequest coldJunction; // empty for a module other than code 8
    PollRequest rangeRecord;
    PollRequest calib;
};
Requests RequestsOf(int devNum, int m, int code);

// A poll request whose results 1 and 3 let the poll go on without data: the reply is left empty,
// so nothing is taken from it.
PollRequest GoOnWithoutData(PollRequest request);

// The requests of one poll: 'G', the cold junction for code 8, 'D' and function 4, the last two
// going on without data on results 1 and 3.
std::vector<PollRequest> PollRequests(int devNum, int m, int code);
// Takes the replies of a whole poll into the model; empty replies are skipped. False when a
// reply is missing or cannot be taken.
bool TakePoll(TProgMBAClass& mba, int m, int code, const PollReplies& replies);

// The first of channels 0..3 of module index m0 whose scale limits, cut to integers, are equal;
// −1 when none.
int EqualScaleChannel(const TProgMBAClass& mba, int m0);
// "проверить шкалы анал. вх. " + channel + " мод " + m.
QString ScaleCheckText(int channel, int m);

} // namespace Calibration
