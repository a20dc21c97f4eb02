#pragma once
// The function-block editor in the editor fixture, with the dialogs it opens and the discrete
// editor that opens it.

#include "EditorFixture.h"
#include "FbRecords.h"
#include "ModbusFrame.h"
#include "editors/discrete/Prog_diskr.h"
#include "editors/fb/Obrsign_mb.h"
#include "editors/fb/Obrvyh_mb.h"
#include "editors/fb/Prog_fb.h"

struct FbEditors {
    explicit FbEditors(EditorContext& context) : fb(context, &sig, &vyh), prgD(&fb) {}

    TFormSig sig;
    TFormVyh vyh;
    TFormFB fb;
    TFormPrgD prgD;
};

class FbEditorFixture : public EditorFixture {
  protected:
    TProgFBClass& FB() { return Cfg().FB; }
    TFormFB& Form() { return editors.fb; }

    // A logic record in the editor's table.
    void SetBlock(int i, int type, std::initializer_list<std::pair<int, int>> inputs = {}) {
        SetLogicRecord(FB(), i, type, inputs);
    }
    // Fills the device's function blocks with a recognisable pattern.
    void FillDeviceBlocks() {
        for (int id = 20; id <= 31; ++id)
            for (size_t k = 0; k < device.Block(id).size(); ++k)
                device.Block(id)[k] = uint8_t(id * 7 + k);
    }

    FbEditors editors{parts.context};
};
