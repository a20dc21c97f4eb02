// The configuration tool: the application, its main window (which creates every other window
// once) and the message loop until the main window closes.

#include "Obr_veg17r.h"
#include "StartUp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    LoadRussianTranslations(app);
    TForm1 form1;
    ApplyCommandLine(form1, QCoreApplication::arguments());
    form1.show();
    return QApplication::exec();
}
