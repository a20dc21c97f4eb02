#pragma once
// The device side of the four live views: the requests of one poll and the decoding of their
// replies. Bit replies (functions 1 and 2) carry signal i in bit i % 8 of data byte i / 8, least
// significant bit first; the data start after the address, function and byte count.
//
// Requests, in the order of a poll:
//   analogue values of a network block  'G' (position, count), at most 31 values a request
//   discrete inputs of a network block  function 2 at StAddr_Beg1, function 1 at StAddr_Beg1 + 592
//   the controller's discrete inputs    function 1 at 1016 (16 health coils), function 2 at 0 (6),
//                                       function 1 at 1056 (6 validity coils)
//   the discrete outputs                function 1 at 0 (4)

#include "DeviceLayouts.h"
#include "PollService.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

struct TConfiguration;

namespace LiveViews {

constexpr int NetPollMs = 1000;
constexpr int ModulePollMs = 3000;
constexpr int MaxNetSignals = 12;
constexpr int NetValidityOffset = 592;
constexpr int HealthCoils = 1016;
constexpr int HealthCount = 16;
constexpr int ControllerInputs = 6;
constexpr int ControllerValidity = 1056;
constexpr int Outputs = 4;
constexpr int MaxGEntries = GEntry::MaxPerRequest;

PollRequest ReadBits(int devNum, int function, int start, int count);
// Bit i of the data of a bit reply; false past its end.
bool Bit(const std::vector<uint8_t>& reply, int i);
// on or off for each of the first count bits.
QStringList BitTexts(const std::vector<uint8_t>& reply, int count, const QString& on, const QString& off);

// 'G' requests for count values from position first, each of at most MaxGEntries.
std::vector<PollRequest> AnalogueRequests(int devNum, int first, int count);
// Takes the replies of AnalogueRequests into the live table; false when a reply is short.
bool TakeAnalogueReplies(TConfiguration& cfg, int first, int count, const PollReplies& replies);

std::vector<PollRequest> NetDiscreteRequests(int devNum, int start, int count);
std::vector<PollRequest> ControllerInputRequests(int devNum);
std::vector<PollRequest> OutputRequests(int devNum);

// The signals a discrete view of request block i shows: its outputs, four set-point signals per
// value of an analogue block, at most 12.
int NetDiscreteCount(const TConfiguration& cfg, int i);
// The slave-type text of block i; type 15 is "не определен".
QString SlaveTypeText(const TConfiguration& cfg, int i);
// The discrete outputs of the discrete blocks before block k.
int DiscreteOutputsBefore(const TConfiguration& cfg, int k);

} // namespace LiveViews
