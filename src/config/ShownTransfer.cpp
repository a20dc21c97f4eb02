#include "ShownTransfer.h"

#include "Comportclass.h"
#include "TransferProgressBar.h"

bool RunShownTransfer(TComPortClass& port, const int& devNum, QProgressBar* bar, QWidget* parent,
                      const std::function<int(const TransferProgress&)>& transfer) {
    int r = 0;
    {
        TransferProgressBar shown(bar);
        r = transfer(shown.Report());
    }
    port.ShowObmError(devNum, r, parent);
    return r == 0;
}
