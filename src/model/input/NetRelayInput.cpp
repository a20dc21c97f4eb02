// Edit-control checks of the network and relay-module classes, reported by the input-error
// service.
#include "TProgMBMClass.h"
#include "TProgMRClass.h"
#include "TServClass.h"

#include <QLineEdit>

int TProgMBMClass::CheckAnValueEdit(QLineEdit* edit, int kind) {
    if (edit == nullptr || CheckAnValueText(edit->text(), kind)) return 0;
    TServClass::ShowInputError(edit);
    return 1;
}

int TProgMRClass::CheckVhEdit(QLineEdit* edit) {
    if (edit == nullptr || CheckVhText(edit->text())) return 0;
    TServClass::ShowInputError(edit);
    return 1;
}
