#pragma once
// The function-block editor in the editor fixture, with the dialogs it opens and the discrete
// editor that opens it; the boxes its commands ask, and the widgets its tests reach.

#include "EditorFixture.h"
#include "FbRecords.h"
#include "ModbusFrame.h"
#include "PaintedTexts.h"
#include "RadioGroup.h"
#include "ShowActive.h"
#include "editors/discrete/Prog_diskr.h"
#include "editors/fb/Obrcreatfb_mb.h"
#include "editors/fb/Obrsign_mb.h"
#include "editors/fb/Obrvyh_mb.h"
#include "editors/fb/Prog_fb.h"
#include "panels/Panfb.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

struct FbEditors {
    explicit FbEditors(EditorContext& context) : creat(context), fb(context, &sig, &vyh, &creat), prgD(&fb) {}

    TFormSig sig;
    TFormVyh vyh;
    TFormCreatFB creat;
    TFormFB fb;
    TFormPrgD prgD;
};

inline void ExpectWarning(ScriptedMessageBoxes& boxes, const QString& text) {
    boxes.Expect(text, "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
}
inline void ExpectDeleteQuestion(ScriptedMessageBoxes& boxes, int answer) {
    boxes.Expect("Удалить выделенные ФБ?", "Подтвердите удаление ", MsgButtons::YesNo, MsgIcon::Question,
                 mrNo, answer);
}
inline void ExpectWriteQuestion(ScriptedMessageBoxes& boxes, int answer) {
    boxes.Expect("Данные были изменены. Передать в прибор?", "Подтвердите передачу данных",
                 MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, answer);
}

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
    void ExpectWarning(const QString& text) { ::ExpectWarning(boxes, text); }

    ScriptedModals modals;
    FbEditors editors{parts.context};
};
