// The configuration tool: the application, its main window (which creates every other window
// once) and the message loop until the main window closes.

#include "InputHold.h"
#include "Obr_veg17r.h"
#include "RussianDates.h"
#include "StartUp.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[]) {
    UseRussianDates();
    QApplication app(argc, argv);
    LoadRussianTranslations(app);
    // On the heap: the window holds the whole configuration.
    auto form1 = std::make_unique<TForm1>();
    // Transfers run on the exchange thread, so the windows keep painting during them; the user's
    // input is held while a window waits for one.
    form1->ComPort.UseExchangeThread(HoldInput, ReleaseInput);
    ApplyCommandLine(*form1, QCoreApplication::arguments());
    form1->show();
    return QApplication::exec();
}
