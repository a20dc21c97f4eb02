#pragma once
// The relay-module editor on the in-process device with a virtual clock: БРОН, a discrete-input
// module and relay modules in slots 3 (code 11), 4 (11) and 5 (12), as devsim's sample base has
// them. The window runs through scripted modals; each opening is handed to the test.
#include "EditorFixture.h"
#include "editors/relay/Prog_mr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

using Bytes = std::vector<uint8_t>;

class RelayEditor : public EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        for (int slot = 1; slot <= 5; ++slot)
            Cfg().Serv.SetSlotModuleCode(slot, std::array{13, 2, 11, 11, 12}[size_t(slot - 1)]);
    }
    // Opens slot; inside the window, act runs and its result closes it (true: it closed).
    bool Open(int slot, const std::function<void()>& act) {
        modals.Then([this, act](QDialog*) {
            form.show();
            act();
            const bool closed = !form.isVisible();
            if (!closed) form.hide();
            return closed ? form.result() : mrCancel;
        });
        return form.EditSlot(slot);
    }
    // Opens slot 3 and closes it at once: the image as read.
    Bytes ReadOnce() {
        Open(3, [] {});
        return Image();
    }
    // Block 9's data as the editor holds it, or its reserve image.
    Bytes Image(bool reserve = false) const {
        Bytes out;
        for (int k = 1; k < TProgMRClass::ImageLen; ++k)
            out.push_back(
                uint8_t(reserve ? parts.cfg->Reserv.Block9().GetByte(0, k) : parts.cfg->MR.GetModByte(k)));
        return out;
    }
    Bytes Reserve() const { return Image(true); }
    void Choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    void CloseQuestion(int answer) {
        boxes.Expect("База  была изменена. Пeредать в прибор?", "Подтвердите передачу базы данных",
                     MsgButtons::YesNoCancel, MsgIcon::Question, mrNo, answer);
    }
    void InputError() {
        boxes.Expect(" Ошибка ввода ", "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
    }

    ScriptedModals modals;
    TFormMR form{parts.context};
};
