#pragma once
// The exchange on its own thread as the program runs it: the user's input held during each wait.

#include "Comportclass.h"
#include "InputHold.h"

inline void UseHeldExchangeThread(TComPortClass& port) {
    port.UseExchangeThread(HoldInput, ReleaseInput);
}
