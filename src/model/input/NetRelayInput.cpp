// Edit-control checks of the network and relay-module classes, reported by the input-error
// service.
#include "NetRelayInput.h"
#include "ServInput.h"
#include "TProgMBMClass.h"
#include "TProgMRClass.h"

#include <QLineEdit>

namespace NetRelayInput {

int CheckAnValueEdit(QLineEdit* edit, int kind) {
    if (edit == nullptr || TProgMBMClass::CheckAnValueText(edit->text(), kind)) return 0;
    ServInput::ShowInputError(edit);
    return 1;
}

int CheckVhEdit(QLineEdit* edit) {
    if (edit == nullptr || TProgMRClass::CheckVhText(edit->text())) return 0;
    ServInput::ShowInputError(edit);
    return 1;
}

} // namespace NetRelayInput
