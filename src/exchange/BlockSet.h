#pragma once
// A set of blocks read whole from the device, and the configuration taking it: the one block
// read every transfer shares (the editors' F9 and the main window's configuration read).

#include "BlockExchange.h"

#include <cstdint>
#include <utility>
#include <vector>

class TComPortClass;
struct TConfiguration;

// Blocks read whole from the device: each block's data (the bytes after the block number), in
// the order read.
struct BlockSet {
    std::vector<std::pair<int, std::vector<uint8_t>>> blocks;
    bool sixtyBlocks = false; // block 26 refused with code 3: the device has 60 function blocks
};

// The function blocks of a table of fbCount records: 20 .. 20 + fbCount / 10 − 1.
std::vector<int> FunctionBlockIds(int fbCount);

// Reads the blocks ids in order into out, stepping progress by step before each block. After
// the 60-block refusal the function blocks past 25 are not asked and the read goes on. Returns
// 0, or the first failure (out is then partial and must not be applied). Runs on the exchange
// thread, inside port.Run; it touches no configuration.
int ReadBlockSet(TComPortClass& port, int devNum, const std::vector<int>& ids, ProgressCounter& progress,
                 int step, BlockSet& out);

// The function-block capacity of device devNum into capacity, learnt as a block read learns it:
// block 26 refused with code 3 marks a 60-block device, block 26 read marks a 120-block one.
// Returns 0, or the failure of the read. Runs on the exchange thread, inside port.Run.
int ReadFbCapacity(TComPortClass& port, int devNum, int& capacity);

// The configuration takes every block of a whole set (BlockAdapter). When the set carries the
// function blocks, FBCount becomes 60 or 120 and every record at or past it is zero.
void ApplyBlockSet(TConfiguration& cfg, const BlockSet& set);
