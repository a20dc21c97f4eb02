#pragma once
// The math-block overview: one button per arithmetic-block slot, labelled with the block's
// operation. A click edits the block through the calculation-block dialog (EditBlock, which the
// function-block editor sets); the context menu deletes the right-clicked block.

#include "CalcBlocks.h"

#include <QDialog>
#include <array>
#include <functional>

class EditorContext;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class TFormFBCalc;

class TFormMath : public QDialog {
    Q_OBJECT
  public:
    TFormMath(EditorContext& context, TFormFBCalc& formCalc, QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    std::array<QPushButton*, CalcBlocks::MaxArithBlocks> Buttons{}; // Button1..Button24
    QMenu* PopupMenu1;
    QAction* DeleteBl;
    QPushButton* OK;
    QLabel* LabelFile;
    // 1 after a deletion while the configuration holds a comparator: the scheme is to be redrawn.
    int SchemeChanged = 0;
    // Runs the editor's calculation-block command with the action and block already set.
    std::function<void()> EditBlock;

    // Captions from the table, the context-menu target cleared; before the window is shown.
    void FillCaptions();
    void Button1Click(int k);
    void Button1MouseDown(int k, Qt::MouseButton button);
    void DeleteBlClick();
    void OKClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void ShowCaptions();

    EditorContext& ctx_;
    TFormFBCalc& formCalc_;
};
