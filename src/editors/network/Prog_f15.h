#pragma once
// The Ф15 block editor of the local network: one of the two write blocks (up to 32 signal
// numbers sent to a slave with ModBus function 15), filled by the list window. The close query
// checks and stores (LocalNet::CheckAndStoreF15), then asks to write block 11 or to give up.

#include <QDialog>
#include <array>

class EditorContext;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class TFormF15 : public QDialog {
    Q_OBJECT
  public:
    static constexpr int SignalEdits = 32;

    explicit TFormF15(EditorContext& context, QWidget* parent = nullptr);

    // Loads Ф15 block k (0 or 1) from its record.
    void Prepare(int k);

    QLabel *LabMod, *LabN_MBM, *Legend, *ErrorText;
    QLineEdit *EditKodF, *EditKolVh, *EditAdBegDat, *EditKolDat;
    QComboBox* CBoxUstr;
    QPushButton *Kvit, *Sbros, *OK, *Save, *InformBut;
    std::array<QLineEdit*, SignalEdits> Edits{};
    QProgressBar* ProgressBar1;

    void EditKolVhChange();
    void EditKolVhExit();
    void EditKodFExit();
    void OKClick();
    bool FormCloseQuery();
    void reject() override;
    void SaveClick();
    void InformButClick();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int EnabledSignals() const;
    void EnableSignals(int n);

    EditorContext& context_;
    int block_ = 0;
    int result_ = 2;
    bool inExit_ = false;
};
