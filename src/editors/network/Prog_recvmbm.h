#pragma once
// The scaling of the analogue values the controller receives over its local network: per value
// the unit, the scale ends, the set points LL, L, H, HH and the position text, edited in place in
// the scaling groups of TProgMBMClass. 48 rows, row r is network channel r; the request-block
// editor fills and enables the rows before showing the window. Numbers reach the table when an
// edit is left, positions and units of the edited block when the window closes; the reserve
// changes only on a read or a successful write. The table prints as RTF (tab layout) or, from the
// hidden panel, in fixed widths.

#include "ScalingKit.h"

#include "LazyFileDialog.h"

#include <QDialog>
#include <array>

class EditorContext;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPrintDialog;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTextEdit;

class TFormR_MBM : public QDialog {
    Q_OBJECT
  public:
    static constexpr int Rows = Scaling::Rows;
    template <class W> using Column = std::array<W*, Rows>;

    // defaultUnits: the main window's default unit names, taken into the unit list.
    TFormR_MBM(EditorContext& context, const QStringList& defaultUnits, QWidget* parent = nullptr);

    // The request block being edited (0-based), set by the opener.
    int Block = 0;

    QLabel* LabMod;
    Column<QLabel> LabN, Label;
    Column<QLineEdit> Poz, NSK, VSK, UstLL, UstL, UstH, UstHH;
    Column<QComboBox> Razm;
    QScrollArea* ScrollBox1;
    QPushButton *OK, *Save, *BNew1;
    QProgressBar* ProgressBar1;
    LazyFileDialog DialSaveFile; // made when first used
    LazyDialog<QPrintDialog> DialPrint;
    // The hidden print panel.
    QFrame* ScrollBox2;
    QTextEdit *RichEdit1, *RichEdit2;
    QPushButton *But3, *But5, *Button1;

    // The opener's fill: every row "_", empty and disabled; then the rows of every analogue
    // block with their labels and values; only the rows of block Block that the device keeps
    // (Scaling::EditableRows) enabled.
    void ClearRows();
    void FillRows();

    void Ust1LLExit(QLineEdit* edit);
    void Poz1Change();
    void Razm1Click(int row, int index);
    bool FormCloseQuery();
    void SaveClick();
    void OKClick();
    void reject() override;
    void FormMouseDown() { OKClick(); }

    void BNew1Click();
    void But3Click();
    void But5Click();
    void Button1Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowRow(int r);
    std::vector<Scaling::TableRow> TableRows() const;

    EditorContext& ctx_;
    bool inExit_ = false;
};
