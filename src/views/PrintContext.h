#pragma once
// What the windows that save print files share with their owner: the line that names the
// configuration the printed tables come from, and the answer of the last save dialog.

#include <QString>

class PrintContext {
  public:
    virtual ~PrintContext() = default;

    // "Файл " and the configuration file name in file mode, else the device title with the
    // modification code and the device number.
    virtual QString IdentityLine() const = 0;

    int SaveDialogAccepted = 0; // cleared before a print file's save dialog, 1 once it accepted a name
};
