#pragma once
// The list window of the local ModBus-master network: 16 request blocks, 2 Ф15 blocks and the
// link settings. Blocks open in TFormMBM and TFormF15; deletions and the recount are the
// LocalNet rules; closing writes what changed (NetTransfer) or restores the reserve images.
// No menu of the main window opens it: the tool reads neither the network blocks nor keeps
// them in files.

#include <QDialog>
#include <array>

class EditorContext;
class QAction;
class QComboBox;
class QGroupBox;
class QMenu;
class QProgressBar;
class QPushButton;
class TFormF15;
class TFormMBM;

class TFormLNet : public QDialog {
    Q_OBJECT
  public:
    static constexpr int BlockButtons = 16;

    TFormLNet(EditorContext& context, TFormMBM& formMBM, TFormF15& formF15, QWidget* parent = nullptr);

    std::array<QPushButton*, BlockButtons> Buttons{}; // Button1..Button16
    std::array<QPushButton*, 2> LocNet15{};           // LocNet15_1, LocNet15_2
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    QComboBox *Skor, *Parit;
    QPushButton *OK, *Save, *Save15;
    QProgressBar* ProgressBar1;
    QMenu *PopupMenu1, *PopupMenu2;
    QAction *DeleteBl, *DeleteBl15;
    bool PopupAutoShow = true; // tests pick the menu entries themselves

    void SkorClick(int index);
    void ParitClick(int index);
    void SkorChange();
    void Button1Click(int i);
    void Button1MouseDown(int i);
    void DeleteBlClick();
    bool SaveClick();
    bool FormCloseQuery();
    void OKClick();
    void reject() override;
    void LocNet15_1Click(int k); // k = 1 or 2
    void LocNet15_2MouseDown(int k);
    void DeleteBl15Click();
    void Save15Click();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormShow();
    // Button captions and counts from the records.
    void Refresh();

    EditorContext& context_;
    TFormMBM& formMBM_;
    TFormF15& formF15_;
};
