#pragma once
// Fault plan and numbers from command-line options.

#include "SimDevice.h"

#include <string>

// One "--fault" value: KIND[,function=F][,block=B][,count=N][,code=C], KIND one of no-reply,
// bad-crc, short, exception, lost. Numbers may be decimal or 0x hexadecimal.
bool ParseFault(const std::string& text, FaultPlan& plan, std::string* error);

// A whole decimal or 0x hexadecimal number within min..max.
bool ParseNumber(const std::string& text, long min, long max, int& out);
