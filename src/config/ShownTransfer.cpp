#include "ShownTransfer.h"

#include "Comportclass.h"
#include "Dialogs.h"
#include "TransferProgressBar.h"

void ShowObmError(const TComPortClass& port, int devNum, int result, QWidget* parent) {
    if (result != 0)
        MessageBox(parent, port.ObmErrorText(devNum, result), QStringLiteral("Ошибка"), MsgButtons::OK,
                   MsgIcon::Error);
}

bool RunShownTransfer(TComPortClass& port, const int& devNum, QProgressBar* bar, QWidget* parent,
                      const std::function<int(const TransferProgress&)>& transfer) {
    int r = 0;
    {
        TransferProgressBar shown(bar);
        r = transfer(shown.Report());
    }
    ShowObmError(port, devNum, r, parent);
    return r == 0;
}
