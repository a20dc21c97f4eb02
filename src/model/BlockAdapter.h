#pragma once
// One way between device blocks and the configuration: the data of every block the tool reads
// or writes, by block number, into its data class and back.
//
// "Data" is what follows the block number in a 'D' reply or an 'E' request: the block's length
// byte (DeviceBlocks::LengthOf) less one bytes.
//
//   1..8    analogue blocks, shared: with n local analogue modules (TServClass::GetCntMod6F)
//           block 1 + m carries module record m (m < n) and block n + 1 + j network scaling
//           group j; data = record bytes 1..168
//   9       relay base, data = image bytes 1..120
//   10      network descriptor, data = descriptor bytes 1..193
//   11      the two Ф15 records, data = image bytes 1..80
//   12..19  discrete table, records 24N .. 24N + 23 of block 12 + N
//   20..31  function blocks, records 10N .. 10N + 9 of block 20 + N (160-byte page)
//   32, 33  loop table 1 and program set-point table 2, 2 records of 28 bytes each
//   35      unit list, 16 names of 6 characters
//   40..51  input names, names 16N .. 16N + 15 of block 40 + N (all 192 names; the long texts
//           travel in files only, in no block)
//   60..67  measuring-range record of module id − 60, 43 bytes (the device only sends them)
//
// TakeBlock refuses an id not listed here (the device-number block 99 among them) and data
// shorter than the block, returning false and changing nothing. A taken block sets byte 0 of an
// image that keeps it (module, scaling group, relay base, descriptor, Ф15) to the block number,
// and the owning class's length byte to the block's length. Bytes beyond the block are ignored.
//
// PackBlock fills out with the block's data: all of it, or its first out.size() bytes when out
// is shorter (a write with a shorter length byte); bytes of out past the block are left alone.
// It refuses an unknown id (false, out untouched). It goes through the classes' transfer
// buffers, so it needs the configuration writable.

#include <cstdint>
#include <span>

struct TConfiguration;

namespace BlockAdapter {

bool TakeBlock(TConfiguration& cfg, int id, std::span<const uint8_t> data);
bool PackBlock(TConfiguration& cfg, int id, std::span<uint8_t> out);

} // namespace BlockAdapter
