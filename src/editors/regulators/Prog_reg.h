#pragma once
// The control-loop editor: the scheme of the loop tables (loops and program set points), their
// transfer to and from the device (blocks 32 and 33), creating and editing loops through the loop
// dialog, deleting and copying loop groups, and the entry to the online view of a loop.

#include "RegEditKit.h"
#include "editors/common/BlockSession.h"
#include "editors/common/SchemeEditorFrame.h"

#include <QColor>
#include <array>

class QAction;
class QPushButton;
class SchemeControl;
class TFormCreatReg;
class TFormRegOnLine;
class TPanReg;
class TPShapeZ;
class TShape;
class TShapeMark;
namespace RegScheme {
struct Frame;
struct Loop;
} // namespace RegScheme

class TFormReg : public SchemeEditorFrame {
    Q_OBJECT
  public:
    TFormReg(EditorContext& context, TFormCreatReg& creatReg, TFormRegOnLine& onLine,
             QWidget* parent = nullptr);

    static constexpr int Slots = RegEditState::Slots;

    // Controls of this editor; the frame has the others.
    QPushButton *ButAssignConfig = nullptr, *Button1 = nullptr, *Button2 = nullptr;
    QAction *ABReg = nullptr, *AReg = nullptr, *AOnLine = nullptr;
    // Tool-bar buttons, menu and popup items.
    QAction *CreatFuncBut = nullptr, *MPortInput = nullptr, *MPortOut = nullptr, *N2 = nullptr,
            *N22 = nullptr, *NText = nullptr, *N1AND = nullptr, *N14 = nullptr, *AddGroup = nullptr,
            *ChooseAll = nullptr, *EditReg = nullptr, *DelChoose = nullptr, *CopyGroup = nullptr,
            *InsertBl = nullptr, *InsertGroup = nullptr, *AppendBl = nullptr, *RegOnLine = nullptr;

    // Scheme elements: frames by frame number, loop panels and marks by row, ПЗ elements by slot.
    std::array<TShape*, Slots> Frames{};
    std::array<TPanReg*, Slots> PanReg{};
    std::array<TShapeMark*, Slots> RegMark{};
    std::array<TPShapeZ*, Slots> RegZ{};
    std::array<TPanReg*, Slots> PanPZ{};
    std::array<TShapeMark*, Slots> PZMark{};
    std::array<TPShapeZ*, Slots> PZZ{};

    void FormCreate();
    void FormShow() override;
    void InPortClick() override;
    void OutPortClick() override;
    bool FormCloseQuery() override;
    void ButAssignConfigClick();
    void BuildRegScheme();
    // Paints a frame's objects.
    void ColorRegRow(int frame, const QColor& color);

    // Scheme events.
    void PanReg1MouseDown(SchemeControl* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void PanReg1MouseMove(SchemeControl* sender);
    void ScrollBox1MouseDown(Qt::MouseButton button) override;
    void ScrollBox1Click(QObject* sender = nullptr) override;
    void ChooseAllClick();
    void DelChooseClick();

    // Creating and editing (edit mode when RegEdit.EditMode is 1).
    void CreatRegButClick();
    // Edits the loop of the panel whose body is sender; from a menu (no sender) the selected
    // frame's main loop when exactly one frame is selected.
    void PMenu1RegClick(SchemeControl* sender = nullptr);

    void CopyGroupClick();
    void InsertGroupClick();
    void AddGroupClick();
    void RegOnLineClick();

  protected:
    bool InformFillOnly() const override;

  private:
    void CreateActions();
    void CreateControls();
    void CreateMenus();
    BlockSession NewBlockSession();
    void PlaceFrame(const RegScheme::Frame& frame, int number);
    TPanReg* PlaceLoop(const RegScheme::Loop& loop);
    void WireElement(SchemeControl* c);
    // The frame of a scheme control, or −1.
    int FrameOf(SchemeControl* c) const;
    bool Selected(int frame) const;
    // The loop of a frame's panel: a cascade's inner panel stands for its outer loop.
    void EditRow(int row);
    void InsertRegGroup();
    void ScrollToFrame(int frame);

    RegEditState& St();
    int RowCount() const;

    TFormCreatReg& creatReg_;
    TFormRegOnLine& onLine_;
    BlockSession session_ = NewBlockSession();
};
