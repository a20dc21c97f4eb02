#pragma once
// The one fill routine of each information window, used by the main window and every editor.

class TInform;
class TInformMR;
struct TConfiguration;

enum class InformShow {
    Show,  // fill and show the window
    Quiet, // fill only
    Modal, // fill and show it modally
};

// "Информация о входах": the discrete and analogue inputs of the configuration.
void FillInform(TInform& inform, const TConfiguration& cfg, InformShow how);
// "Информация о выходах": the relay-module outputs.
void FillInformMR(TInformMR& informMR, const TConfiguration& cfg, InformShow how);
