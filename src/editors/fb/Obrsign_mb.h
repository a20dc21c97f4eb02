#pragma once
// The signalling dialog: signalling type and light-board cell of one block.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

class TFormSig : public QDialog {
    Q_OBJECT
  public:
    // Type list indexes.
    enum SignalType { stNone, stWarning, stAlarm, stIndication, stCount };

    explicit TFormSig(QWidget* parent = nullptr);

    void SetCaptionText(const QString& text); // e.g. "ФБ №"
    void SetBlockNumber(int number);
    void SetCell(int cell);
    int Cell() const;       // 0 when the field holds no number
    void SetType(int type); // outside 0..3 gives stNone
    int Type() const;

    int Cancelled = 0; // 0 after OK, 1 after Cancel

    QLabel* LabNSig;     // caption control
    QLabel* LabelN;      // block number
    QComboBox* CBoxTipS; // type list
    QLineEdit* EditNTab; // light-board cell

  signals:
    void Changed(); // the user changed the type or the cell

  public slots:
    void accept() override;
    void reject() override; // gives back the values the caller set

  private:
    int savedType_ = stNone;
    int savedCell_ = 0;
};
