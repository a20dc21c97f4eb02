#pragma once
// The loop tables and their reserve image: table 0 (the loops, block 32) and table 1 (the program
// set points, block 33) into the image as last read or written, and both back.

struct TConfiguration;

// Table 0 or 1 into the reserve image; another number changes nothing.
void SaveLoopReserve(TConfiguration& cfg, int table);
void SaveLoopReserve(TConfiguration& cfg);
// Both tables from the reserve image.
void RestoreLoopReserve(TConfiguration& cfg);
