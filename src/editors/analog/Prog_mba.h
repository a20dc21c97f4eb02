#pragma once
// The analogue-module editor: the channel rows and current outputs of the module in the current
// slot, edited straight in its record; the close query keeps, writes or restores the record;
// copy and replace of a module base; the module base printed to an RTF file.

#include "editors/common/BlockSession.h"

#include "LazyFileDialog.h"

#include <QDialog>
#include <array>

class EditorContext;
class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTextEdit;
class TFormKalibr;
class TFormTipDat;
class TFormVyhOnL;

class TFormPROG : public QDialog {
    Q_OBJECT
  public:
    static constexpr int Rows = 4;
    template <class W> using Row = std::array<W*, Rows>;

    // defaultUnits: the main window's default unit names, taken into the unit list.
    TFormPROG(EditorContext& context, const QStringList& defaultUnits, QWidget* parent = nullptr);

    // Loads the window for the current slot (TProgMBAClass::GetCurSlot); slotCaption is the
    // caption of the slot's button.
    void PrepareForSlot(const QString& slotCaption);

    // The calibration and sensor-type windows, created once by the main window.
    TFormKalibr* FormKalibr = nullptr;
    TFormTipDat* FormTipDat = nullptr;
    TFormVyhOnL* FormVyhOnL = nullptr; // the live view of the discrete outputs

    // Row controls, in the order they are built.
    Row<QComboBox> Sk, Razm, TInp, MinSk, MaxSk;
    Row<QLabel> Label;
    Row<QLineEdit> Poz, NSK, VSK, UstL, UstLL, UstH, UstHH, ZonaIns;

    QLabel *LabMod, *LabTMod, *LabN, *Label10, *Label12, *Label13;
    QGroupBox* GroupBox1;
    std::array<QComboBox*, 2> IOut{}, KorIOutBeg{}, KorIOutEnd{}; // outputs 1 and 2
    QPushButton *OK, *Cancel, *Save, *ButtonCopy, *ButtonChange, *ButKalibr, *Button2, *ButOnLineVyh, *BNew1;
    QAction *ACopyBase, *AChangeBase, *ADelete, *N10, *N11;
    QMenu* PopupMenu1;
    bool PopupMenu1AutoPopup = true;
    QProgressBar* ProgressBar1;
    LazyFileDialog DialSaveFile; // made when first used
    // The hidden print area.
    QFrame* PrintArea;
    QTextEdit* RichEdit1;
    QPushButton *But3, *But5, *Button1;

    void OKClick();
    void CancelClick();
    bool FormCloseQuery();
    void reject() override; // the close box and Esc: the close query with the last Cancelled

    int Cancelled = 0; // 0 after OK, 1 after Cancel

    void SaveClick();
    void CopyBaseClick();
    void ChangeBaseClick();
    void DeleteClick() {}
    void BNew1Click();
    void ButKalibrClick();
    void Button2Click();
    void ButOnLineVyhClick();

    void Razm1Click(int row, int index);
    void TInp1Click(int row, int index);
    void Sk1Click(int row, int kind);
    void MinSk1Click(int row);
    void MaxSk2Click(int row);
    void MinSk1Exit(QComboBox* list);
    void Ust1LLExit(QLineEdit* box);
    void IOut1Click(int sel, int index);
    void KorIOutBeg1Click(int sel, int index);
    void KorIOutEnd1Click(int sel, int index);

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildRows(QWidget* area);
    void BuildOutputs();
    void FormShow();
    void TryClose();
    void Poz1Change();
    bool Ust1LLKeyDown(QWidget* control, QKeyEvent* key); // true: the key is refused
    void Ust1LMouseDown(QWidget* control);
    int M0() const;
    int Code() const;
    // The rows from the record in the layout given by module code, row and stored kind.
    void LoadRows(bool replacement);
    void LoadStandardRanges(int row, int kind);
    void LoadOutputs();
    void ShowCorrections(int sel);
    BlockSession NewBlockSession();

    EditorContext& context_;
    BlockSession session_;
    int closeResult_ = 2;
    bool loading_ = false;
    bool inExit_ = false;
};
