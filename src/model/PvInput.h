#pragma once
// The channel behind an analogue input number (AnalogueInputNumber): the PV input of a control
// loop. Inputs 1..6·B are the channels of the B analogue modules, six numbers per module of
// which the first four are channels; the numbers above are the network analogue values, counted
// over the request records with function 3 or 4 in record order.

#include <QString>
#include <optional>

struct TConfiguration;

struct PvInput {
    bool network = false;      // a network value (channel of TProgMBMClass), else a module channel
    int module = 0;            // local: the module index
    int channel = 0;           // local: 0..3; network: 0..47
    QString lowText, highText; // the scale limits as shown
    float low = 0, high = 0;
    int unit = 0; // index into the unit list
    QString position;
};

// Nothing for n ≤ 0, a local number past the modules or on a module's places 5 and 6, a network
// number no request record reaches, or a network channel outside 0..47.
std::optional<PvInput> LookUpPvInput(const TConfiguration& cfg, int n);
