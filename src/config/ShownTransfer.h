#pragma once
// A window's transfer: its progress bar shown while the transfer runs, and its failure reported
// once, after the bar is hidden; and the one box that reports an exchange's failure.

#include "BlockExchange.h"

#include <functional>

class QProgressBar;
class QWidget;
class TComPortClass;

// One message box with the exchange's text for a non-zero result; 0 shows nothing.
void ShowObmError(const TComPortClass& port, int devNum, int result, QWidget* parent = nullptr);

// Runs transfer (which hands its sequence to the exchange thread) with bar (null allowed)
// showing its progress; a non-zero result is reported by ShowObmError, naming devNum as it is
// after the transfer (a write may take the device number anew). True on success.
bool RunShownTransfer(TComPortClass& port, const int& devNum, QProgressBar* bar, QWidget* parent,
                      const std::function<int(const TransferProgress&)>& transfer);
