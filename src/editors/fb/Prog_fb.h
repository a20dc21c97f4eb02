#pragma once
// The function-block editor: the scheme of the function-block table, its transfer to and from
// the device, and the close query.

#include "editors/common/BlockSession.h"

#include <QColor>
#include <QDialog>
#include <array>
#include <vector>

class EditorContext;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QToolBar;
class SchemeControl;
class TFormSig;
class TFormVyh;
class TPanFB;
class TPanMR;
class TPanSign;
class TPShapeZ;
class TShape;
class TShapeHorz;
class TShapeMark;
namespace FbScheme {
struct AlgorithmLabel;
struct Block;
} // namespace FbScheme

class TFormFB : public QDialog {
    Q_OBJECT
  public:
    // The signalling and relay-output dialogs may be null.
    TFormFB(EditorContext& context, TFormSig* formSig, TFormVyh* formVyh, QWidget* parent = nullptr);

    static constexpr int Slots = 121; // one slot per function-block index

    // Controls.
    QMenuBar* MainMenu1;
    QToolBar* ToolBar1;
    QLabel* LabelFile;
    QProgressBar* ProgressBar1;
    QPushButton* InformBut;
    QPushButton* InformButMR;
    QLabel* StVEG;
    QPushButton* ButAssignConfig;
    QPushButton* ButProgCalc;
    QPushButton* Button1;
    QPushButton* Button2;
    QScrollArea* ScrollBox1;
    QWidget* SchemeArea; // the scrolled canvas every scheme element lives on
    QMenu* PopupMenu1;   // on a chosen block
    QMenu* PopupMenu2;
    QMenu* PopupMenu3;               // on the scheme area
    QMenu* ScrollBoxPopup = nullptr; // the scheme area's current popup menu

    // Actions.
    QAction *AInPort, *AOutPort, *AClose, *ABFunc, *AFB, *ABSign, *ASign, *ADelSign, *ABVyh, *ABlVyh,
        *ADelVyh, *ACopyGroup, *AInSertGroup, *AAddGroup, *AChooseAll, *ADelChoose, *ADelete, *ACreatAlgoritm,
        *AImageAlgoritm, *AIntegr, *AMat, *AProgInt, *AProgMat;
    QAction *AZader, *AText, *AOpenFile, *ASaveFile, *ACreatFile, *AArhiv, *AParol, *AHelp, *APort,
        *AInfAnalog, *AInfVyh;
    // Menu items.
    QAction *InsertBl, *AppendBl, *CopyGroup, *InsertGroup, *AddGroup, *PMenu1Sign, *PMenu1Vyh, *PMenu1FB;

    // Scheme elements per function-block index (null when not built).
    std::array<TShape*, Slots> ShapeFB{}; // background, the selection highlight
    std::array<TPanFB*, Slots> PanFB{};
    std::array<TShapeMark*, Slots> ShapeMark{}; // output mark
    std::array<TPShapeZ*, Slots> ShapeZ{};      // output connector
    std::array<TPanSign*, Slots> PanSign{};
    std::array<TPShapeZ*, Slots> ShapeZSign{}; // signalling connector
    std::array<TPanMR*, Slots> PanMR{};
    std::array<TShapeHorz*, Slots> ShapeHorz{};
    std::vector<QLabel*> AlgLabels; // one per algorithm

    void FormCreate();
    void FormShow();
    void InPortClick();
    void OutPortClick();
    void NCloseClick();
    // True when the window may close.
    bool FormCloseQuery();
    void ButAssignConfigClick();
    void InformButClick();
    void InformButMRClick();
    void ScrollBox1MouseWheelDown();
    void ScrollBox1MouseWheelUp();
    void ScrollBox1MouseDown(Qt::MouseButton button);
    void ScrollBox1Click(QObject* sender = nullptr);

    void RebuildFBScheme();
    // The number of discrete inputs of a block type (4, 2, 1 or 0).
    static int FBInputCount(int type, int subtype);
    void SetPanFBColor(TPanFB* panel, const QColor& color);

    // Scheme events of the block commands.
    void PanFB1MouseDown(SchemeControl* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void PanFB1MouseMove(SchemeControl* sender);
    void PMenu1FBClick();
    void PMenu1SignClick();
    void PMenu1VyhClick();

  signals:
    // The scheme was removed (also at the start of every rebuild).
    void SchemeRemoved();

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override; // every way of closing passes the close query
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateActions();
    void CreateMenus();
    void CreateControls();
    QAction* NewAction(const char* name, const QString& caption, const QKeySequence& key);
    // Places and sets up the elements of one block as the layout says.
    void BuildBlock(const FbScheme::Block& b);
    QString AnalogueIdent(int number) const;
    void CreateAlgorithmLabels(const std::vector<FbScheme::AlgorithmLabel>& labels);
    template <class W> void Park(std::array<W*, Slots>& table, std::array<W*, Slots>& spare, int i);
    template <class W> W* Reuse(std::array<W*, Slots>& spare, int i);

    EditorContext& context_;
    TFormSig* formSig_;
    TFormVyh* formVyh_;
    // The transfers and the close query of function blocks 20..31.
    BlockSession NewBlockSession();
    BlockSession session_ = NewBlockSession();
    // Elements of removed schemes, hidden and kept per index: the next rebuild sets them up again
    // instead of creating new ones.
    std::array<TShape*, Slots> spareShapeFB_{};
    std::array<TPanFB*, Slots> sparePanFB_{};
    std::array<TShapeMark*, Slots> spareShapeMark_{};
    std::array<TPShapeZ*, Slots> spareShapeZ_{};
    std::array<TPanSign*, Slots> sparePanSign_{};
    std::array<TPShapeZ*, Slots> spareShapeZSign_{};
    std::array<TPanMR*, Slots> sparePanMR_{};
    std::array<TShapeHorz*, Slots> spareShapeHorz_{};
};
