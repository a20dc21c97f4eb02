#pragma once
// The request-block editor of the local network: one of the 16 request records, filled by the
// list window. Its close query checks the entries, stores the block, gives the later blocks
// their positions and moves the tables behind it (LocalNet::CheckRequest, StoreRequest); a
// refused edit rolls back to the state taken when the block was opened.

#include "LocalNetwork.h"

#include <QDialog>

class EditorContext;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TFormR_MBM;
class TFormVhAnL;
class TFormVhDLoc;

class TFormMBM : public QDialog {
    Q_OBJECT
  public:
    explicit TFormMBM(EditorContext& context, QWidget* parent = nullptr);

    // Loads request block i: its record, or the empty entries of a new block starting at the
    // current counts; takes the rollback snapshot.
    void Prepare(int i);

    QLabel *LabMod, *LabN_MBM, *Label9, *StAddr_Beg1, *StAddr_Beg2, *ErrorText;
    QComboBox *TipUstr, *CBoxKodF;
    QLineEdit *EditUstr, *EditKolVh, *EditAdBegDat, *EditKolDat, *EditXMax;
    QPushButton *OK, *Save, *Scaling, *ButOnLine;
    QProgressBar* ProgressBar1;

    void TipUstrClick(int type);
    void CBoxKodFClick(int index);
    void EditKolVhExit(QLineEdit* edit);
    void EditKolVhChange();
    void OKClick();
    bool FormCloseQuery();
    void reject() override;
    void SaveClick();
    // The scaling window of the block's analogue values.
    void ScalingClick();
    // The live view of the block: its analogue values, or its discrete signals.
    void ButOnLineClick();

    // Created once by the main window.
    TFormR_MBM* FormR_MBM = nullptr;
    TFormVhAnL* FormVhAnL = nullptr;
    TFormVhDLoc* FormVhDLoc = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int Block() const { return block_; }
    LocalNet::RequestEntries Entries() const;
    void RefillEmptyEdits();
    void ShowInputMessage(const QString& text);

    EditorContext& context_;
    int block_ = 0;
    int begD_ = 0, begA_ = 0;
    LocalNet::RequestSnapshot snapshot_;
    int result_ = 2;
    bool loading_ = false;
    bool inExit_ = false;
};
