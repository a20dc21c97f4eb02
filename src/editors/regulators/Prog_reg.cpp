#include "Prog_reg.h"

#include "Colors.h"
#include "Comportclass.h"
#include "Configuration.h"
#include "Dialogs.h"
#include "EditorModal.h"
#include "LoopReserve.h"
#include "Obrcreat_reg.h"
#include "Obrinform.h"
#include "RegSchemeLayout.h"
#include "Uniregvis.h"
#include "editors/common/EditorContext.h"
#include "panels/Panreg.h"
#include "panels/Pshapez.h"
#include "panels/Shapemark.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolBar>
#include <algorithm>

namespace {

const QColor kActiveCaption(0x99, 0xB4, 0xD1); // the frame outline

QColor SelectionColor() {
    return TColorToQColor(clSelection);
}

void Warn(QWidget* parent, const QString& text) {
    MessageBox(parent, text, QStringLiteral("Предупреждение"), MsgButtons::OK, MsgIcon::Warning);
}

const QString NothingChosen = QStringLiteral("Нет выделенных регуляторов");

template <class W> void Free(W*& w) {
    if (!w) return;
    w->hide();
    w->deleteLater(); // it may be the sender of the event being handled
    w = nullptr;
}

} // namespace

TFormReg::TFormReg(EditorContext& context, TFormCreatReg& creatReg, TFormRegOnLine& onLine, QWidget* parent)
    : SchemeEditorFrame(context, parent), creatReg_(creatReg), onLine_(onLine) {
    setObjectName("FormReg");
    setWindowTitle("Программирование токовых выходов");
    // 722 high with its title bar, so that it fits above a laptop's task bar (728 pixels).
    resize(887, 722 - 32);
    CreateActions();
    CreateControls();
    CreateMenus();
    FormCreate();
}

RegEditState& TFormReg::St() {
    return context_.Cfg().Reg.RegEdit;
}

int TFormReg::RowCount() const {
    return context_.Cfg().Reg.GetCurRegIndex();
}

void TFormReg::CreateActions() {
    ABReg = NewAction("ABReg", "Создать токовый выход", {});
    AReg = NewAction("AReg", "Редактирование токового выхода", {});
    AOnLine = NewAction("AOnLine", "Показать в режиме on line", {});
    AInSertGroup->setText("Вставить группу скопированных контуров регулирования (перед выбранным ) ");
    AAddGroup->setText("Добавить группу скопированных контуров регулирования");
    connect(ABReg, &QAction::triggered, this, [this] {
        St().EditMode = 0;
        CreatRegButClick();
    });
    connect(AReg, &QAction::triggered, this, [this] { PMenu1RegClick(); });
    connect(AOnLine, &QAction::triggered, this, &TFormReg::RegOnLineClick);
    connect(ACopyGroup, &QAction::triggered, this, &TFormReg::CopyGroupClick);
    connect(AInSertGroup, &QAction::triggered, this, &TFormReg::InsertGroupClick);
    connect(AAddGroup, &QAction::triggered, this, &TFormReg::AddGroupClick);
    connect(AChooseAll, &QAction::triggered, this, &TFormReg::ChooseAllClick);
    connect(ADelChoose, &QAction::triggered, this, &TFormReg::DelChooseClick);
}

void TFormReg::CreateControls() {
    ButAssignConfig = new QPushButton("Задать конфигурацию", this);
    ButAssignConfig->hide();
    Button1 = new QPushButton(this);
    Button1->hide();
    Button2 = new QPushButton("Печать", this);
    AddToButtonRow({ButAssignConfig, Button1, Button2});
    SchemeArea->resize(RegScheme::FrameLeft + RegScheme::FrameWidth + 40, 0);
    connect(ButAssignConfig, &QPushButton::clicked, this, &TFormReg::ButAssignConfigClick);
}

void TFormReg::CreateMenus() {
    QMenu* port = MainMenu1->addMenu("   Порт");
    MPortInput = AddItemFor(port, AInPort);
    MPortOut = AddItemFor(port, AOutPort);
    N2 = port->addAction("Настройка СОМ порта");
    QMenu* create = MainMenu1->addMenu("       Создание элементов схемы");
    N22 = AddItemFor(create, ABReg);
    QMenu* prog = MainMenu1->addMenu("        Программирование     ");
    NText = prog->addAction("Ввод текст. реквизитов");
    N1AND = AddItemFor(prog, AReg);
    MainMenu1->addMenu("   Справка")->menuAction()->setVisible(false);
    MainMenu1->addMenu("?")->menuAction()->setVisible(false);

    ToolBar1->addAction(AInPort);
    ToolBar1->addAction(AOutPort);
    CreatFuncBut = ToolBar1->addAction("Создать контур регулирования");
    CreatFuncBut->setToolTip("Создать токовый выход");
    connect(CreatFuncBut, &QAction::triggered, ABReg, &QAction::trigger);
    for (const char* name :
         {"CreatSignBut", "CreatVyhBut", "ToolButton10", "ToolButton13", "ToolButton11", "ToolButton17"}) {
        QAction* hidden = ToolBar1->addAction(QString());
        hidden->setObjectName(name);
        hidden->setVisible(false);
    }

    N14 = AddItemFor(PopupMenu3, ABReg);
    AddGroup = AddItemFor(PopupMenu3, AAddGroup);
    AddGroup->setVisible(false);
    ChooseAll = AddItemFor(PopupMenu3, AChooseAll);
    ChooseAll->setShortcut(AChooseAll->shortcut());

    EditReg = AddItemFor(PopupMenu1, AReg);
    DelChoose = AddItemFor(PopupMenu1, ADelChoose);
    DelChoose->setShortcut(ADelChoose->shortcut());
    CopyGroup = AddItemFor(PopupMenu1, ACopyGroup);
    CopyGroup->setVisible(false);
    InsertBl = PopupMenu1->addAction("Вставить новый регулятор (перед выбранным ) ");
    InsertBl->setVisible(false);
    InsertBl->setEnabled(false);
    InsertGroup = AddItemFor(PopupMenu1, AInSertGroup);
    InsertGroup->setVisible(false);
    AppendBl = PopupMenu1->addAction("Добавление регулятора (после выбранного) ");
    AppendBl->setVisible(false);
    AppendBl->setEnabled(false);
    RegOnLine = AddItemFor(PopupMenu1, AOnLine);
    // Every item is the menu's own: a shortcut must not fire twice, so only the actions hold them.
    ChooseAll->setShortcutContext(Qt::WidgetShortcut);
    DelChoose->setShortcutContext(Qt::WidgetShortcut);
}

void TFormReg::FormCreate() {
    Frames.fill(nullptr);
    PanReg.fill(nullptr);
    RegMark.fill(nullptr);
    RegZ.fill(nullptr);
    PanPZ.fill(nullptr);
    PZMark.fill(nullptr);
    PZZ.fill(nullptr);
    St().ClickedRow = -1;
    CopyGroup->setEnabled(false);
    InsertGroup->setEnabled(false);
    AddGroup->setEnabled(false);
}

void TFormReg::FormShow() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    TProgRegClass& reg = context_.Cfg().Reg;
    ScrollBox1->setFocus();
    reg.SetRegInformFillOnly(1);
    InformButClick();
    reg.SetRegInformFillOnly(0);
    St().Reg_Choose.fill(0);
    CopyGroup->setEnabled(false);
    if (context_.FileMode()) {
        BuildRegScheme();
        LabelFile->show();
    } else {
        InPortClick();
        LabelFile->hide();
    }
}

bool TFormReg::InformFillOnly() const {
    return context_.Cfg().Reg.GetRegInformFillOnly() != 0;
}

BlockSession TFormReg::NewBlockSession() {
    BlockSessionBlocks b;
    b.readIds = [](const TConfiguration&) {
        return std::vector<int>{DeviceBlocks::RegLoops, DeviceBlocks::RegProgram};
    };
    b.lengthByte = [](const TConfiguration& cfg) { return cfg.Reg.GetBlockLen(); };
    b.modified = [](const TConfiguration& cfg) { return cfg.Reg.GetRegModified() != 0; };
    b.clearModified = [](TConfiguration& cfg) { cfg.Reg.SetRegModified(0); };
    b.restoreReserve = [](TConfiguration& cfg) { RestoreLoopReserve(cfg); };
    b.devNumRefresh = DevNumRefresh::AfterFirstWrite;
    b.stepBeforeFirstWrite = true;
    b.blockStored = [](TConfiguration& cfg, int id) { SaveLoopReserve(cfg, id - DeviceBlocks::RegLoops); };
    // A failed write leaves the tables as last stored, and the scheme shows them; the device gets
    // 50 ms before anything else is sent.
    b.writeFailed = [this](TConfiguration& cfg) {
        RestoreLoopReserve(cfg);
        context_.ComPort().Delay(50);
        BuildRegScheme();
    };
    b.written = [this](TConfiguration&) { context_.NotifyConfigurationChanged(); };
    b.compositionTaken = [this](TConfiguration&) { context_.NotifyCompositionTaken(); };
    return BlockSession(context_.Cfg(), context_.ComPort(), this, std::move(b));
}

void TFormReg::InPortClick() {
    TConfiguration& cfg = context_.Cfg();
    cfg.Reg.SetRegCount(TProgRegClass::RegMaxCount);
    if (context_.FileMode()) {
        ProgressBar1->hide();
        return;
    }
    // Both blocks or nothing: a failed read leaves the tables, and the scheme shows them.
    if (session_.Read(ProgressBar1)) SaveLoopReserve(cfg);
    BuildRegScheme();
}

void TFormReg::OutPortClick() {
    session_.Write(ProgressBar1);
}

bool TFormReg::FormCloseQuery() {
    return session_.CloseQuery(ProgressBar1);
}

void TFormReg::ButAssignConfigClick() {
    RegEditState& st = St();
    for (int i = 0; i < Slots; ++i) {
        Free(Frames[size_t(i)]);
        Free(PanReg[size_t(i)]);
        Free(PanPZ[size_t(i)]);
        Free(RegMark[size_t(i)]);
        Free(RegZ[size_t(i)]);
        Free(PZMark[size_t(i)]);
        Free(PZZ[size_t(i)]);
    }
    st.RowFrame = st.RowRecord = st.PZFrame = st.PZNumber = RegEditState::NoSlots;
    st.FrameCount = 0;
    context_.Cfg().Reg.SetCurRegIndex(0);
    context_.Cfg().Reg.SetCurPZIndex(0);
    st.SelectedRecord = st.SelectedRow = st.CurFrame = -1;
    ScrollBox1->verticalScrollBar()->setValue(0);
}

void TFormReg::WireElement(SchemeControl* c) {
    connect(c, &SchemeControl::MouseDown, this,
            [this](SchemeControl* s, Qt::MouseButton button, Qt::KeyboardModifiers m, QPoint) {
                PanReg1MouseDown(s, button, m);
            });
    connect(c, &SchemeControl::MouseMove, this,
            [this](SchemeControl* s, Qt::KeyboardModifiers, QPoint) { PanReg1MouseMove(s); });
}

TPanReg* TFormReg::PlaceLoop(const RegScheme::Loop& l) {
    auto* p = new TPanReg(SchemeArea, l.record + 1, l.type, l.out, rfcNone);
    p->PutSP(l.spType);
    p->SetIdVh2("SP");
    p->SetIdVh1(l.ident);
    p->PutKP(l.params[0]);
    p->PutTi(l.params[1]);
    p->PutTd(l.params[2]);
    p->PutOL(l.params[3]);
    p->PutOH(l.params[4]);
    p->PutdSP(l.params[5]);
    p->move(l.panel);
    WireElement(p);
    for (SchemeControl* c : {static_cast<SchemeControl*>(p->Body()), static_cast<SchemeControl*>(p->Image()),
                             static_cast<SchemeControl*>(p->NumberBox())})
        WireElement(c);
    connect(p->Body(), &SchemeControl::DblClick, this, [this](SchemeControl* s) { PMenu1RegClick(s); });
    PanReg[size_t(l.row)] = p;
    auto* mark = new TShapeMark(SchemeArea, l.row + 1);
    mark->SetMark(l.markText);
    mark->move(l.mark);
    WireElement(mark);
    RegMark[size_t(l.row)] = mark;
    return p;
}

void TFormReg::PlaceFrame(const RegScheme::Frame& f, int number) {
    auto* shape = new TShape(SchemeArea);
    shape->setGeometry(f.rect);
    shape->SetPenColor(kActiveCaption);
    WireElement(shape);
    Frames[size_t(number)] = shape;
    for (const RegScheme::Loop& l : f.loops)
        PlaceLoop(l);
    if (f.cascadeConnector) {
        auto* z = new TPShapeZ(SchemeArea);
        z->PutTypeShape(this, stCascade);
        z->move(*f.cascadeConnector);
        WireElement(z);
        RegZ[size_t(f.loops.front().row)] = z;
    }
    if (const auto& pz = f.program) {
        auto* p = new TPanReg(SchemeArea, pz->pz + 1, rtPZ, toDirect, rfcNone);
        for (int j = 0; j < TProgRegClass::PZPoints; ++j) {
            p->PutTime(j, pz->times[size_t(j)]);
            p->PutValue(j, pz->values[size_t(j)]);
        }
        p->move(pz->panel);
        WireElement(p);
        PanPZ[size_t(pz->slot)] = p;
        auto* mark = new TShapeMark(SchemeArea, pz->pz + 1);
        mark->SetMark(pz->markText);
        mark->move(pz->mark);
        WireElement(mark);
        PZMark[size_t(pz->slot)] = mark;
        auto* z = new TPShapeZ(SchemeArea);
        z->PutTypeShape(this, stProgramSP);
        z->move(pz->connector);
        WireElement(z);
        PZZ[size_t(pz->slot)] = z;
    }
}

void TFormReg::BuildRegScheme() {
    TConfiguration& cfg = context_.Cfg();
    RegEditState& st = St();
    ButAssignConfigClick();
    const QTableWidget* grid = context_.Inform().StringGrid2;
    const RegScheme::Layout layout = RegScheme::LayOut(cfg, [grid](int n) {
        const QTableWidgetItem* item = n > 0 ? grid->item(n - 1, TInform::acIdent) : nullptr;
        return item ? item->text() : QString();
    });
    for (const RegScheme::OutputFix& fix : layout.fixes)
        cfg.Reg.SetVyh(fix.record, fix.output);
    st.FrameCount = layout.rows.FrameCount;
    st.RowFrame = layout.rows.RowFrame;
    st.RowRecord = layout.rows.RowRecord;
    st.PZFrame = layout.rows.PZFrame;
    st.PZNumber = layout.rows.PZNumber;
    cfg.Reg.SetCurRegIndex(layout.rowCount);
    cfg.Reg.SetCurPZIndex(layout.pzCount);
    for (size_t f = 0; f < layout.frames.size(); ++f)
        PlaceFrame(layout.frames[f], int(f));
    for (int i = 0; i < Slots; ++i) {
        if (Frames[size_t(i)]) Frames[size_t(i)]->lower();
        ColorRegRow(i, clBtnFace());
    }
    const auto showAll = [](const auto& elements) {
        for (QWidget* w : elements)
            if (w) w->show();
    };
    showAll(Frames), showAll(PanReg), showAll(RegMark), showAll(RegZ);
    showAll(PanPZ), showAll(PZMark), showAll(PZZ);
    if (layout.height) SchemeArea->resize(SchemeArea->width(), *layout.height);
}

void TFormReg::ColorRegRow(int frame, const QColor& color) {
    if (frame < 0 || frame >= Slots || !Frames[size_t(frame)]) return;
    const TProgRegClass& reg = context_.Cfg().Reg;
    const RegEditState& st = St();
    Frames[size_t(frame)]->SetColor(color);
    const auto paintRow = [&](int row) {
        if (row < 0 || row >= Slots) return;
        if (TPanReg* p = PanReg[size_t(row)]) {
            p->SetColor(color);
            p->NumberBox()->SetColor(color);
        }
        if (RegMark[size_t(row)]) RegMark[size_t(row)]->SetColor(color);
        if (RegZ[size_t(row)]) RegZ[size_t(row)]->SetColor(color);
    };
    const int row = RegScheme::FindRegRow(reg, st, RowCount(), frame);
    paintRow(row);
    if (row < 0) return;
    const int kind = reg.GetLoopClass(st.RowRecord[size_t(row)]);
    if (kind == RegScheme::ProgramFed) {
        const int slot = RegScheme::FindPZSlot(st, reg.GetCurPZIndex(), frame);
        if (slot >= 0) {
            for (SchemeControl* c : {static_cast<SchemeControl*>(PanPZ[size_t(slot)]),
                                     static_cast<SchemeControl*>(PZMark[size_t(slot)]),
                                     static_cast<SchemeControl*>(PZZ[size_t(slot)])})
                if (c) c->SetColor(color);
        }
    }
    if (kind == RegScheme::Cascade) paintRow(RegScheme::PartnerRow(st, RowCount(), frame, row));
}

bool TFormReg::Selected(int frame) const {
    return frame >= 0 && frame < Slots && Frames[size_t(frame)] &&
           Frames[size_t(frame)]->Color() == SelectionColor();
}

int TFormReg::FrameOf(SchemeControl* c) const {
    const RegEditState& st = context_.Cfg().Reg.RegEdit;
    if (c && qobject_cast<TPanReg*>(c->parentWidget())) c = static_cast<SchemeControl*>(c->parentWidget());
    for (int i = 0; i < Slots; ++i) {
        if (c == Frames[size_t(i)]) return i;
        if (c == PanReg[size_t(i)] || c == RegMark[size_t(i)] || c == RegZ[size_t(i)])
            return st.RowFrame[size_t(i)];
        if (c == PanPZ[size_t(i)] || c == PZMark[size_t(i)] || c == PZZ[size_t(i)])
            return st.PZFrame[size_t(i)];
    }
    return -1;
}

void TFormReg::PanReg1MouseDown(SchemeControl* sender, Qt::MouseButton button,
                                Qt::KeyboardModifiers modifiers) {
    RegEditState& st = St();
    const TProgRegClass& reg = context_.Cfg().Reg;
    const int frame = FrameOf(sender);
    const bool onFrame = frame >= 0 && sender == Frames[size_t(frame)];
    const QColor face = clBtnFace(), sel = SelectionColor();
    if (button == Qt::LeftButton && (modifiers & Qt::ControlModifier)) {
        if (!onFrame) return;
        const int row = RegScheme::FindRegRow(reg, st, RowCount(), frame);
        if (!Selected(frame)) {
            ColorRegRow(frame, sel);
            if (row >= 0) st.Reg_Choose[size_t(row)] = 1;
            ++st.SelectedCount;
            if (st.SelectedRow >= 0 && st.SelectedRow < Slots && st.SelectedRow != row) {
                st.Reg_Choose[size_t(st.SelectedRow)] = 1;
                ++st.SelectedCount;
            }
        } else {
            ColorRegRow(frame, face);
            if (row >= 0) st.Reg_Choose[size_t(row)] = 0;
            st.SelectedCount = std::max(0, st.SelectedCount - 1);
            if (st.SelectedCount == 1) {
                for (int r = 0; r < RowCount() && r < Slots; ++r)
                    if (st.Reg_Choose[size_t(r)]) {
                        st.SelectedRow = r;
                        st.SelectedRecord = st.RowRecord[size_t(r)];
                    }
                st.SelectedCount = 0;
            }
        }
        if (st.SelectedCount > 1) st.SelectedRow = st.SelectedRecord = -1;
        if (st.SelectedCount > 0 || st.SelectedRow >= 0) DelChoose->setEnabled(true);
        return;
    }
    if (button == Qt::LeftButton) {
        st.Reg_Choose.fill(0);
        if (!onFrame) return;
        const int row = RegScheme::FindRegRow(reg, st, RowCount(), frame);
        if (frame != st.CurFrame) {
            ColorRegRow(st.CurFrame, face);
            ScrollBox1Click(nullptr);
            st.SelectedCount = 0;
            st.CurFrame = frame;
            ColorRegRow(frame, sel);
            st.SelectedRow = row;
            if (row >= 0) {
                st.Reg_Choose[size_t(row)] = 1;
                st.SelectedRecord = st.RowRecord[size_t(row)];
            }
        } else {
            ColorRegRow(frame, sel);
            if (row >= 0) st.Reg_Choose[size_t(row)] = 1;
        }
        return;
    }
    if (button != Qt::RightButton) return;
    ScrollBoxPopup = Selected(frame) ? PopupMenu1 : PopupMenu3;
    if (ScrollBoxPopup == PopupMenu3) {
        st.ClickedRow = -1;
        return;
    }
    int chosenFrames = 0;
    for (int f = 0; f < st.FrameCount; ++f)
        chosenFrames += Selected(f);
    const bool several = chosenFrames > 1;
    for (QAction* item : {EditReg, InsertBl, InsertGroup, DelChoose, RegOnLine})
        item->setEnabled(!several);
    if (!several) {
        st.ClickedRow = st.SelectedRow;
        InsertGroup->setEnabled(false);
    }
}

void TFormReg::PanReg1MouseMove(SchemeControl* sender) {
    ScrollBoxPopup = Selected(FrameOf(sender)) ? PopupMenu1 : PopupMenu3;
}

void TFormReg::ScrollBox1MouseDown(Qt::MouseButton button) {
    SchemeEditorFrame::ScrollBox1MouseDown(button);
    St().ClickedRow = -1;
}

void TFormReg::ScrollBox1Click(QObject* sender) {
    RegEditState& st = St();
    const TProgRegClass& reg = context_.Cfg().Reg;
    for (int f = 0; f < st.FrameCount; ++f) {
        const int row = RegScheme::FindRegRow(reg, st, RowCount(), f);
        if (row >= 0) st.Reg_Choose[size_t(row)] = 0;
        ColorRegRow(f, clBtnFace());
        if (row >= 0 && row == st.SelectedRow) st.SelectedRow = st.SelectedRecord = st.CurFrame = -1;
    }
    if (sender == ScrollBox1) st.SelectedCount = 0;
}

void TFormReg::ChooseAllClick() {
    RegEditState& st = St();
    const TProgRegClass& reg = context_.Cfg().Reg;
    for (int f = 0; f < st.FrameCount; ++f) {
        const int row = RegScheme::FindRegRow(reg, st, RowCount(), f);
        if (row >= 0) st.Reg_Choose[size_t(row)] = 1;
        ColorRegRow(f, SelectionColor());
        ++st.SelectedCount;
    }
    st.SelectedRow = st.SelectedRecord = -1;
}

void TFormReg::DelChooseClick() {
    RegEditState& st = St();
    TProgRegClass& reg = context_.Cfg().Reg;
    if (RegEdit::ChosenCount(st, RowCount()) == 0) return Warn(this, NothingChosen);
    RegEdit::DeleteSelected(reg, st, RowCount());
    BuildRegScheme();
    st.ClickedRow = -1;
    st.SelectedCount = 0;
}

void TFormReg::ScrollToFrame(int frame) {
    ScrollBox1->verticalScrollBar()->setValue(frame * RegScheme::FrameHeight);
}

void TFormReg::PMenu1RegClick(SchemeControl* sender) {
    RegEditState& st = St();
    const TProgRegClass& reg = context_.Cfg().Reg;
    int row = -1;
    if (sender) {
        for (int r = 0; r < Slots; ++r)
            if (PanReg[size_t(r)] && PanReg[size_t(r)]->Body() == sender) row = r;
        // A cascade's inner panel stands for its frame's outer loop.
        if (row >= 0) row = RegScheme::FindRegRow(reg, st, RowCount(), st.RowFrame[size_t(row)]);
    } else {
        int chosen = -1, frames = 0;
        for (int f = 0; f < st.FrameCount; ++f)
            if (Selected(f)) ++frames, chosen = f;
        if (frames == 1) row = RegScheme::FindRegRow(reg, st, RowCount(), chosen);
    }
    if (row >= 0) EditRow(row);
}

void TFormReg::EditRow(int row) {
    RegEditState& st = St();
    const int frame = st.RowFrame[size_t(row)];
    if (row != st.SelectedRow) {
        if (st.SelectedRow >= 0 && st.SelectedRow < Slots)
            ColorRegRow(st.RowFrame[size_t(st.SelectedRow)], clBtnFace());
        st.SelectedRow = row;
        st.CurFrame = frame;
        st.SelectedRecord = st.RowRecord[size_t(row)];
    }
    ColorRegRow(frame, SelectionColor());
    st.EditMode = 1;
    CreatRegButClick();
}

void TFormReg::CreatRegButClick() {
    TConfiguration& cfg = context_.Cfg();
    TProgRegClass& reg = cfg.Reg;
    RegEditState& st = St();
    TFormCreatReg& d = creatReg_;
    const int savedModified = reg.GetRegModified();
    if (st.FrameCount > 0 && st.CurFrame >= 0) ColorRegRow(st.CurFrame, clBtnFace());
    const bool edit = st.EditMode == 1;
    CreatRegForm form = RegEdit::ResetForm();
    int innerAction = 0;
    RegEdit::PreparedPZ pz;
    if (!edit) {
        ScrollBox1Click(ScrollBox1);
        st.SelectedCount = 0;
        const int rec = RegEdit::FirstFreeRecord(reg);
        if (RowCount() >= TProgRegClass::RegMaxCount || rec < 0) {
            Warn(this, "Все регуляторы созданы");
            return;
        }
        // A new ПЗ takes the first one no loop uses.
        const int freePZ = RegEdit::FirstFreePZ(reg);
        if (freePZ >= 0) reg.SetCurPZIndex(freePZ);
        form[RegField::NReg] = QString::number(rec + 1);
        st.SelectedRow = RowCount();
    } else {
        form = RegEdit::EditForm(cfg, st.SelectedRecord, innerAction, pz);
    }
    d.ShowForm(form);
    d.CBoxTOut1->setCurrentIndex(innerAction);
    d.CBoxTReg->setEnabled(!edit);
    d.EditAReg->setEnabled(false);
    d.EditVhPZ->setEnabled(false);
    for (QLabel* l : {d.LabInf1, d.LabInf, d.LabInf2, d.LabInf3})
        l->clear();
    if (edit) {
        d.LabCreatProg->setText("программирование");
        d.EditNKReg->setText(QString::number(st.RowFrame[size_t(st.SelectedRow)] + 1));
        d.EditAnVhExit();
        if (form.regInt) d.EditAnVh1Exit();
    } else {
        d.LabCreatProg->setText("создание");
        d.EditNKReg->setText(QString::number(st.FrameCount + 1));
    }
    reg.SetRegModified(savedModified);
    ShowModal(&d);
    if (d.Cancelled == 1) {
        st.EditMode = 0;
        st.ClickedRow = -1;
        return;
    }
    const CreatRegForm accepted = d.ReadForm();
    const int kind = edit ? form.kind : d.CBoxTReg->currentIndex();
    RegEdit::StoreForm(cfg, st, accepted, d.EditNKReg->text().toInt() - 1, kind, d.CBoxTOut1->currentIndex(),
                       pz);
    const int record = st.SelectedRecord;
    BuildRegScheme();
    // The stored loop's row in the new scheme.
    for (int r = 0; r < RowCount(); ++r)
        if (st.RowRecord[size_t(r)] == record) st.SelectedRow = r;
    if (st.SelectedRow >= 0 && st.SelectedRow < RowCount()) {
        st.CurFrame = st.RowFrame[size_t(st.SelectedRow)];
        st.SelectedRecord = st.RowRecord[size_t(st.SelectedRow)];
        ScrollToFrame(st.CurFrame);
        ColorRegRow(st.CurFrame, SelectionColor());
        st.Reg_Choose[size_t(st.SelectedRow)] = 1;
    } else {
        st.SelectedRow = st.SelectedRecord = -1;
    }
    st.EditMode = 0;
    st.ClickedRow = -1;
}

void TFormReg::CopyGroupClick() {
    const RegEditState& st = St();
    if (RegEdit::CopySelected(context_.Cfg().Reg, st, RowCount(), context_.Cfg().Copy) == 0)
        return Warn(this, NothingChosen);
    InsertGroup->setEnabled(true);
    AddGroup->setEnabled(true);
}

void TFormReg::InsertGroupClick() {
    St().N_Ctrl = 1;
    InsertRegGroup();
}

void TFormReg::AddGroupClick() {
    St().N_Ctrl = 0;
    InsertRegGroup();
}

// The copied group is only checked against the free rows; nothing is inserted.
void TFormReg::InsertRegGroup() {
    if (!RegEdit::GroupFits(context_.Cfg().Copy, RowCount()))
        MessageBox(this, "количество вставляемых блоков превышает количество свободных",
                   "Программатор ВЕГ-17", MsgButtons::OK, MsgIcon::Information);
}

void TFormReg::RegOnLineClick() {
    const RegEditState& st = St();
    const TConfiguration& cfg = context_.Cfg();
    if (RegEdit::ChosenCount(st, RowCount()) == 0) return Warn(this, NothingChosen);
    int row = st.SelectedRow;
    if (row < 0 && RegEdit::ChosenCount(st, RowCount()) == 1)
        for (int r = 0; r < RowCount(); ++r)
            if (st.Reg_Choose[size_t(r)]) row = r;
    if (row < 0 || row >= RowCount()) return;
    const RegEdit::OnlineEntry e = RegEdit::PrepareOnline(cfg, st.RowRecord[size_t(row)]);
    TFormRegOnLine& v = onLine_;
    v.LabNReg->setText(QString::number(st.RowFrame[size_t(row)] + 1));
    const QStringList kinds{"повторитель сигнала", "одноконтурный регулятор", "каскадная схема"};
    v.LabTip->setText(e.kind >= 0 && e.kind < kinds.size() ? kinds[e.kind] : QString());
    const bool cascade = e.inner >= 0;
    for (QWidget* w : {static_cast<QWidget*>(v.Label4), static_cast<QWidget*>(v.Label6),
                       static_cast<QWidget*>(v.EditNReg1), static_cast<QWidget*>(v.EditAnVh1)})
        w->setVisible(cascade);
    v.EditAnVh1->setText("00");
    v.TwoLoops = e.flags[0];
    v.APAllowed = {e.flags[1], e.flags[2]};
    v.EditNReg->setText(QString::number(e.record + 1));
    v.LoopIndex[0] = e.record;
    v.EditAnVh->setText(QString::number(e.input));
    if (cascade) {
        v.EditNReg1->setText(QString::number(e.inner + 1));
        v.LoopIndex[1] = e.inner;
        v.EditAnVh1->setText(QString::number(e.innerInput));
    }
    v.PVScaleMin = e.low;
    v.PVScaleMax = e.high;
    if (e.refusal) return Warn(this, *e.refusal);
    v.move(800, y());
    ShowEditorModal(this, &v);
}
