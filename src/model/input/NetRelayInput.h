#pragma once
// Edit-control checks of the network and relay-module classes, reported by the input-error
// service.

class QLineEdit;

namespace NetRelayInput {

// 0 when the edit's text passes TProgMBMClass::CheckAnValueText, else the input-error message
// and 1.
int CheckAnValueEdit(QLineEdit* edit, int kind);
// 0 when the edit's text passes TProgMRClass::CheckVhText, else the input-error message and 1.
int CheckVhEdit(QLineEdit* edit);

} // namespace NetRelayInput
