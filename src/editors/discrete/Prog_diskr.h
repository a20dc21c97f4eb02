#pragma once
// The discrete-signal processing editor.

#include <QDialog>

class TForm1;

class TFormPrgD : public QDialog {
    Q_OBJECT
public:
    explicit TFormPrgD(TForm1* form1);

    int SchemeState = 0; // set to 1 when the function-block editor removes its scheme

private:
    TForm1* form1_;
};
