#pragma once
// The main window: owner of the configuration, of the exchange object and of every other
// window, which it creates once.

#include "Comportclass.h"
#include "Configuration.h"

#include <QMainWindow>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TInform;
class TInformMR;
class TFormPrgD;
class TFormFB;
class TFormSig;
class TFormVyh;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The configuration and the exchange object; every editor reaches them through here.
    TConfiguration Cfg;
    TComPortClass ComPort;

    // Controls other windows read.
    QComboBox* CBoxUstr = nullptr;    // device number "1".."31"
    QLineEdit* EditModif = nullptr;   // hidden: the 8-character modification code
    QComboBox* CBoxRazmDef = nullptr; // hidden: the 16 default unit names
    QLabel* StAllD = nullptr;
    QLabel* StAllAn = nullptr;
    std::array<QPushButton*, 8> SlotControls{};
    QString ConfigFileName;
    int SaveDialogAccepted = 0;

    // The windows, created once with the main window.
    TInform* Inform = nullptr;
    TInformMR* InformMR = nullptr;
    TFormPrgD* FormPrgD = nullptr;
    TFormFB* FormFB = nullptr;
    TFormSig* FormSig = nullptr;
    TFormVyh* FormVyh = nullptr;

    void InformButClick();
    void InformButMRClick();

private:
    void CreateForms();
};

// The single main window of the program.
extern TForm1* Form1;
