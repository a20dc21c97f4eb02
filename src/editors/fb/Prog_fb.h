#pragma once
// The function-block editor: the scheme of the function-block table, its transfer to and from
// the device, and the close query.

#include "TProgFBClass.h"
#include "editors/common/BlockSession.h"
#include "editors/common/SchemeEditorFrame.h"

#include <QColor>
#include <array>
#include <vector>

class EditorContext;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class SchemeControl;
class TFormCreatFB;
class TFormInfAlg;
class TFormFBCalc;
class TFormMath;
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
struct Layout;
struct Block;
} // namespace FbScheme

class TFormFB : public SchemeEditorFrame {
    Q_OBJECT
  public:
    // The signalling, relay-output and block dialogs may be null; without the block dialog no
    // block is created or edited.
    TFormFB(EditorContext& context, TFormSig* formSig, TFormVyh* formVyh, QWidget* parent = nullptr);
    TFormFB(EditorContext& context, TFormSig* formSig, TFormVyh* formVyh, TFormCreatFB* formCreat,
            QWidget* parent = nullptr);

    static constexpr int Slots = 121; // one slot per function-block index

    // Controls of this editor; the frame has the others.
    QLabel* StVEG = nullptr;
    QPushButton* ButAssignConfig = nullptr;
    QPushButton* ButProgCalc = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    // The calculation-block dialog and the math-block overview, created with the editor.
    TFormFBCalc* FormFBCalc = nullptr;
    TFormMath* FormMath = nullptr;

    // Actions of this editor; the frame has the others.
    QAction *ABFunc = nullptr, *AFB = nullptr, *ABSign = nullptr, *ASign = nullptr, *ADelSign = nullptr,
            *ABVyh = nullptr, *ABlVyh = nullptr, *ADelVyh = nullptr, *ACreatAlgoritm = nullptr,
            *AImageAlgoritm = nullptr, *AIntegr = nullptr, *AMat = nullptr, *AProgInt = nullptr,
            *AProgMat = nullptr, *AZader = nullptr;
    // Menu items.
    QAction *InsertBl = nullptr, *AppendBl = nullptr, *CopyGroup = nullptr, *InsertGroup = nullptr,
            *AddGroup = nullptr, *PMenu1Sign = nullptr, *PMenu1Vyh = nullptr, *PMenu1FB = nullptr;

    // Scheme elements per function-block index (null when not built).
    std::array<TShape*, Slots> ShapeFB{}; // background, the selection highlight
    std::array<TPanFB*, Slots> PanFB{};
    std::array<TShapeMark*, Slots> ShapeMark{}; // output mark
    std::array<TPShapeZ*, Slots> ShapeZ{};      // output connector
    std::array<TPanSign*, Slots> PanSign{};
    std::array<TPShapeZ*, Slots> ShapeZSign{}; // signalling connector
    std::array<TPanMR*, Slots> PanMR{};
    std::array<TShapeHorz*, Slots> ShapeHorz{};
    std::vector<QLabel*> AlgLabels; // one per algorithm; null where it has no label

    void FormCreate();
    void FormShow() override;
    void InPortClick() override;
    void OutPortClick() override;
    // True when the window may close.
    bool FormCloseQuery() override;
    void ButAssignConfigClick();
    void ScrollBox1MouseDown(Qt::MouseButton button) override;
    void ScrollBox1Click(QObject* sender = nullptr) override;

    // addingRelay: a block index drawn with a relay output whose masks are still empty.
    void RebuildFBScheme(int addingRelay = -1);
    // The number of discrete inputs of a block type (4, 2, 1 or 0).
    static int FBInputCount(int type, int subtype);
    void SetPanFBColor(TPanFB* panel, const QColor& color);

    // Scheme events of the block commands.
    void PanFB1MouseDown(SchemeControl* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void PanFB1MouseMove(SchemeControl* sender);
    void ChooseAllClick();

    // Creating and editing blocks through the block dialog; the mode (FBEditorState::EditMode)
    // says how: 0 create at the end, 1 edit the selected block, 2 insert before the popup target,
    // 3 append after the selected block.
    void CreatFuncButClick();
    void PMenu1FBClick();
    void InsertBlClick();
    void AppendBlClick();

    void CreatSignButClick();
    void PMenu1SignClick();
    void DelSignClick();
    void CreatVyhButClick();
    void PMenu1VyhClick();
    void DelVyhClick();

    void CopyGroupClick();
    void InsertGroupClick();
    void AddGroupClick();
    void InsertFB();
    void DelChooseClick();
    void DeleteBlClick();
    void ImageAlgoritmClick();
    // Fills the algorithm window from the tables, shows it, and rebuilds the scheme unless it
    // ended with an error.
    void CreatAlgoritmClick();
    void SetAlgorithmWindow(TFormInfAlg* window);
    // Prints the scheme, five rows a page.
    void Button2Click();

    // Integrators and arithmetic blocks through the calculation-block dialog, for the action in
    // TProgFBClass::CalcAction (CalcBlocks::Action); the math-block overview.
    void ButProgCalcClick();
    void Button1Click();

  signals:
    // The scheme was removed (also at the start of every rebuild).
    void SchemeRemoved();

  protected:
    bool InformFillOnly() const override;

  private:
    void CreateActions();
    void CreateMenus();
    void CreateControls();
    // Places and sets up the elements of one block as the layout says.
    void BuildBlock(const FbScheme::Block& b);
    QString AnalogueIdent(int number) const;
    void CreateAlgorithmLabels(const std::vector<FbScheme::AlgorithmLabel>& labels);
    void ConnectCommands();
    void SetPanelSettings(TPanFB* panel, const FbScheme::Block& b);
    // A press on the element runs PanFB1MouseDown.
    void WireMouseDown(SchemeControl* element);
    void CreateSignalling(int n, int type, int cell);
    FbScheme::Layout CurrentLayout(int addingRelay = -1) const;
    // The block index of a scheme element (or of the element it is part of); -1 for none.
    int BlockOf(QObject* element) const;
    void DrawChosen(int i, bool chosen);
    void Select(int i);
    void RecountChosen();
    void ScrollToPanel(int i, int below);
    void Warn(const QString& text);
    // False, after offering to create a configuration, when the scheme is empty.
    bool SchemeReady();
    // The selected block when it has a panel; else the refusal shown and -1.
    int SelectedBuiltBlock();
    // The block a relay-output command acts on, after its refusals in order; -1 when refused.
    int RelayCommandBlock();
    void DeleteBlocks(const std::vector<int>& indexes);
    void EndBlockCommand();
    template <class W> void Park(std::array<W*, Slots>& table, std::array<W*, Slots>& spare, int i);
    template <class W> W* Reuse(std::array<W*, Slots>& spare, int i);

    TFormSig* formSig_ = nullptr;
    TFormVyh* formVyh_ = nullptr;
    TFormCreatFB* formCreat_ = nullptr;
    TFormInfAlg* formInfAlg_ = nullptr;
    // The algorithm tables and names that match the reserve of the records: taken when the editor
    // is shown and after every successful read or write. A declined transfer restores them with
    // the records, since the edits renumber them.
    AlgTables<TProgFBClass::Slots> keptAlg_;
    std::vector<QString> keptAlgNames_;
    void KeepAlgorithms();
    // The records into the reserve, and the algorithms kept with them.
    void KeepReserve();
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
