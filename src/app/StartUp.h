#pragma once
// What the program does at start-up besides creating its windows.

#include <QStringList>

class QCoreApplication;
class TForm1;

// Makes Russian the application's locale and installs Qt's Russian translations, so that standard
// buttons, the file and print dialogs and the serial port's reasons speak Russian and show Russian
// dates. False when a catalogue is not installed.
bool LoadRussianTranslations(QCoreApplication& app);

// Applies the command line (the program name first): "--port NAME" pre-fills the port dialog
// with that port; the port stays closed until the user confirms the dialog.
void ApplyCommandLine(TForm1& form1, const QStringList& arguments);
