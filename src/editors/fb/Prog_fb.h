#pragma once
// The function-block editor.

#include <QDialog>

class TForm1;

class TFormFB : public QDialog {
    Q_OBJECT
public:
    explicit TFormFB(TForm1* form1);

private:
    TForm1* form1_;
};
