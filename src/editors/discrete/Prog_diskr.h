#pragma once
// The discrete-signal processing editor: its window and the entry to the function-block editor.

#include <QDialog>

class QAction;
class TFormFB;

class TFormPrgD : public QDialog {
    Q_OBJECT
  public:
    // formFB: the function-block editor this one opens; its scheme removals set SchemeState.
    explicit TFormPrgD(TFormFB* formFB, QWidget* parent = nullptr);

    int SchemeState = 0; // set to 1 when the function-block editor removes its scheme

    QAction* AFB; // "Редактирование ФБ"

    // Shows the function-block editor modally; modal result 6 is reported as an error.
    void PMenu1FBClick();

  private:
    TFormFB* formFB_;
};
