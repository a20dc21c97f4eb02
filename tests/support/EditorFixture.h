#pragma once
// What the main window hands an editor, built without the main window: a configuration, the
// information windows and the editor context over a given exchange object. The fixture puts the
// exchange on the in-process simulated device with a virtual clock and scripts every message box.

#include "Comportclass.h"
#include "Configuration.h"
#include "Obrinform.h"
#include "Obrinformmr.h"
#include "ScriptedDialogs.h"
#include "SimFixture.h"
#include "editors/common/EditorContext.h"

#include <memory>

// The input-error text of the editors' dialogs.
inline const QString kInputError = " Ошибка ввода ";
// The main window's default unit list, as the editors get it.
inline const QStringList kUnits{"град.С", "%",    "МПа",   "КПа",  "кг/cм2", "атм", "об/мин", "1/с",
                                "мм/с2",  "м3/ч", "нм3/ч", "кг/ч", "т/ч",    "м",   "резерв", "резерв"};

struct EditorSurroundings {
    explicit EditorSurroundings(TComPortClass& port) : context(*cfg, port, inform, informMR) {}

    // On the heap: the configuration is too large for a thread's stack.
    std::unique_ptr<TConfiguration> cfg = std::make_unique<TConfiguration>();
    TInform inform;
    TInformMR informMR;
    EditorContext context;
};

class EditorFixture : public SimFixture {
  protected:
    void SetUp() override {
        SimFixture::SetUp();
        port.SetPovt2(0);          // no repeats: a failure shows at once
        Cfg().Veg.AccessLevel = 1; // logged in with the full level
    }

    TConfiguration& Cfg() { return *parts.cfg; }
    // The configuration's slots hold the simulator's modules.
    void UseSimulatorSlots() {
        for (size_t s = 0; s < SimDevice::kSampleSlots.size(); ++s)
            Cfg().Serv.SetSlotModuleCode(int(s) + 1, SimDevice::kSampleSlots[s]);
    }
    // The exchange's error box for device 1 on the default port.
    void ExpectDeviceError(const QString& what) {
        boxes.Expect(what + "\nУстройство 1, порт COM1", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone,
                     mrOk);
    }

    EditorSurroundings parts{port};
    ScriptedMessageBoxes boxes;
};
