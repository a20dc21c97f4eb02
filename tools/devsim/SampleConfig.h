#pragma once
// The small working configuration the simulated device starts with: ten function blocks of
// several types wired to discrete inputs and to each other, two flow integrators and three
// arithmetic blocks behind them, two control loops, the controller's four analogue channels, a few input
// names and a base for each of the five relay modules. Built with the model's classes so the record layouts
// are the tool's own.

#include <cstdint>
#include <map>
#include <vector>

namespace SampleConfig {

constexpr int FunctionBlocks = 10;
constexpr int SignallingBlock = 2; // index of the block with signalling (byte 9)
constexpr int RelayBlock = 6;      // index of the block with a relay mask (bytes 10..14)
constexpr int Loops = 2;
constexpr int ArithBlocks = 3; // after the two integrator records

// Writes the sample into the function-block blocks 20.., the loop block 32, the name block 40,
// the relay block 9 and the controller's module block 1 of blocks (block number -> data after the block
// number, already sized).
void Fill(std::map<int, std::vector<uint8_t>>& blocks);

} // namespace SampleConfig
