#pragma once
// The block read, the identify request, and the block write and commit sequence every editor
// uses.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class QProgressBar;
class QWidget;
class TComPortClass;

// 'D' read of one block. On 0, reply holds the frame: byte 2 the length byte, byte 3 the echoed
// block number, the block data from byte 4. A reply whose length byte is not the block's
// length or whose block number differs gives 129 and must not be copied.
int ReadBlock(TComPortClass& port, int devNum, int blockId, std::span<uint8_t> reply);

// A device of 60 function blocks answers the read of block 26, its first missing block, with
// exception code 3: true for that answer.
constexpr bool IsSixtyBlockRefusal(int blockId, int result) { return blockId == 26 && result == 3; }

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
    int progressStep = 30; // per 'E' request
    // A device busy (6) for longer than this gives up with 6. A block commit takes well under
    // a second; a minute is far beyond any real commit.
    int busyLimitMs = 60000;
};

// Advances a transfer's progress bar (may be null) by step, stopping at its maximum.
void StepProgress(QProgressBar* bar, int step);

// Writes every block of the plan with 'E', each committed by status polls (0x0E) while the
// device answers busy. Results 7 and 130, 132..135 end the transfer at once; other failures
// (of the 'E' or of a poll) wait and send the block again, up to GetPovt1 attempts. Returns 0
// when every block is stored, else the last result, already reported once by ShowObmError.
// The progress bar (may be null) is shown during the transfer and hidden at its end.
int BlockWriteCommit(TComPortClass& port, int& devNum, const BlockWritePlan& plan, QProgressBar* bar,
                     QWidget* parent);
