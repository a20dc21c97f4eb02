#pragma once
// The block read, the identify request, and the block write and commit sequence every editor
// uses.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class TComPortClass;

// A transfer's progress: the value reached and the maximum of its bar. Called on the exchange
// thread; the window side (TransferProgressBar) carries it to the bar.
using TransferProgress = std::function<void(int value, int maximum)>;

// Counts a transfer's steps towards its maximum, never past it.
class ProgressCounter {
  public:
    ProgressCounter(const TransferProgress& report, int maximum) : report_(report), maximum_(maximum) {}
    void Start() { Report(); }
    void Step(int step) {
        value_ = std::min(value_ + step, maximum_);
        Report();
    }

  private:
    void Report() {
        if (report_) report_(value_, maximum_);
    }
    const TransferProgress& report_;
    int maximum_;
    int value_ = 0;
};

// 'D' read of one block. On 0, reply holds the frame: byte 2 the length byte, byte 3 the echoed
// block number, the block data from byte 4. A reply whose length byte is not the block's
// length or whose block number differs gives 129 and must not be copied.
int ReadBlock(TComPortClass& port, int devNum, int blockId, std::span<uint8_t> reply);

// A device of 60 function blocks answers the read of block 26, its first missing block, with
// exception code 3: true for that answer.
constexpr bool IsSixtyBlockRefusal(int blockId, int result) {
    return blockId == 26 && result == 3;
}

// Identify request (function 0x11): the reply data are the 15-byte composition record.
int ReadComposition(TComPortClass& port, int devNum, uint8_t out[15]);

// When DevNum is taken again from the configuration during a block write.
enum class DevNumRefresh { Never, AfterEachWrite, AfterFirstWrite };

struct BlockWritePlan {
    std::vector<int> blockIds; // in the order they are written
    // Packs block i (index into blockIds) into image, the data after the block number
    // (length byte − 1 bytes); called before every 'E' of that block.
    std::function<void(int i, std::span<uint8_t> image)> pack;
    // The length byte of block i (block number + data); empty: DeviceBlocks::LengthOf.
    std::function<int(int i)> lengthByte;
    int pauseBeforeBlockMs = 50;
    int pauseAfterWriteMs = 300;
    int pollPauseMs = 200; // between busy polls, and before a block is sent again
    DevNumRefresh refresh = DevNumRefresh::Never;
    std::function<int()> devAddr; // TServClass::GetDevAddr, for the refresh
    int progressMax = 120;
    int progressStep = 30;             // per 'E' request
    bool stepBeforeFirstWrite = false; // one step more before the first 'E' request
    // Called once block i is stored, before the next block is sent.
    std::function<void(int i)> stored;
    // A device busy (6) for longer than this gives up with 6. A block commit takes well under
    // a second; a minute is far beyond any real commit.
    int busyLimitMs = 60000;
};

// Writes every block of the plan with 'E', each committed by status polls (0x0E) while the
// device answers busy. Results 7 and 130, 132..135 end the transfer at once; other failures
// (of the 'E' or of a poll) wait and send the block again, up to GetPovt1 attempts. Returns 0
// when every block is stored, else the last result, for the caller to report once
// (ShowObmError). The whole sequence runs on the exchange thread; pack, stored and devAddr are
// called there, while the caller waits.
int BlockWriteCommit(TComPortClass& port, int& devNum, const BlockWritePlan& plan,
                     const TransferProgress& progress = {});
