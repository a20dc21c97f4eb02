#include "Prog_fb.h"

#include "AlgTableEdit.h"
#include "Colors.h"
#include "Comportclass.h"
#include "Configuration.h"
#include "Dialogs.h"
#include "EditorModal.h"
#include "FbSchemeLayout.h"
#include "FbSchemePrint.h"
#include "FbTableEdit.h"
#include "Obrcreatfb_mb.h"
#include "Obrinfalg.h"
#include "Obrinform.h"
#include "PagePrinter.h"
#include "Prog_fbcalc.h"
#include "ServInput.h"
#include "Show_math.h"
#include "editors/common/EditorContext.h"
#include "editors/fb/Obrsign_mb.h"
#include "editors/fb/Obrvyh_mb.h"
#include "panels/Panfb.h"
#include "panels/Panmr.h"
#include "panels/Pansign.h"
#include "panels/Pshapez.h"
#include "panels/Shapehorz.h"
#include "panels/Shapemark.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolBar>
#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t ChosenColor = 0xF0CAA6;
const QString Warning = QStringLiteral("Предупреждение");
const QString NoBlockChosen = QStringLiteral("Не выбран ФБ");
const QString NotAvailable = QStringLiteral("Недоступная функция");
const QString NoSuchBlock = QStringLiteral("ФБ с таким номером не создан");
constexpr int ControllerWithoutRelays = 13; // slot-1 code of a controller without relays of its own
constexpr int PanelBelowTop = 15;           // where a scrolled-to panel stands

} // namespace

TFormFB::TFormFB(EditorContext& context, TFormSig* formSig, TFormVyh* formVyh, QWidget* parent)
    : TFormFB(context, formSig, formVyh, static_cast<TFormCreatFB*>(nullptr), parent) {}

TFormFB::TFormFB(EditorContext& context, TFormSig* formSig, TFormVyh* formVyh, TFormCreatFB* formCreat,
                 QWidget* parent)
    : SchemeEditorFrame(context, parent), formSig_(formSig), formVyh_(formVyh), formCreat_(formCreat) {
    setObjectName("FormFB");
    setWindowTitle("Программирование функциональных блоков");
    resize(900, 690); // with its title bar above a laptop's task bar
    CreateActions();
    CreateControls();
    CreateMenus();
    FormFBCalc = new TFormFBCalc(context, this);
    FormMath = new TFormMath(context, *FormFBCalc, this);
    FormMath->EditBlock = [this] { ButProgCalcClick(); };
    ConnectCommands();
    FormCreate();
}

void TFormFB::ConnectCommands() {
    const auto on = [this](QAction* a, void (TFormFB::*handler)()) {
        connect(a, &QAction::triggered, this, handler);
    };
    const auto inMode = [this](int mode) {
        return [this, mode] {
            context_.Cfg().FB.EditorState.EditMode = mode;
            CreatFuncButClick();
        };
    };
    connect(ABFunc, &QAction::triggered, this, inMode(0));
    on(AFB, &TFormFB::PMenu1FBClick);
    on(ABSign, &TFormFB::CreatSignButClick);
    on(ASign, &TFormFB::PMenu1SignClick);
    on(ADelSign, &TFormFB::DelSignClick);
    on(ABVyh, &TFormFB::CreatVyhButClick);
    on(ABlVyh, &TFormFB::PMenu1VyhClick);
    on(ADelVyh, &TFormFB::DelVyhClick);
    on(ACopyGroup, &TFormFB::CopyGroupClick);
    on(AInSertGroup, &TFormFB::InsertGroupClick);
    on(AAddGroup, &TFormFB::AddGroupClick);
    on(AChooseAll, &TFormFB::ChooseAllClick);
    on(ADelChoose, &TFormFB::DelChooseClick);
    on(ADelete, &TFormFB::DeleteBlClick);
    on(AImageAlgoritm, &TFormFB::ImageAlgoritmClick);
    on(ACreatAlgoritm, &TFormFB::CreatAlgoritmClick);
    connect(Button2, &QPushButton::clicked, this, &TFormFB::Button2Click);
    const auto calc = [this](int action) {
        return [this, action] {
            context_.Cfg().FB.CalcAction = action;
            ButProgCalcClick();
        };
    };
    connect(AIntegr, &QAction::triggered, this, calc(CalcBlocks::CreateIntegrators));
    connect(AMat, &QAction::triggered, this, calc(CalcBlocks::CreateArith));
    connect(AProgInt, &QAction::triggered, this, calc(CalcBlocks::EditIntegrators));
    connect(AProgMat, &QAction::triggered, this, calc(CalcBlocks::EditArith));
    connect(ButProgCalc, &QPushButton::clicked, this, &TFormFB::ButProgCalcClick);
    connect(Button1, &QPushButton::clicked, this, &TFormFB::Button1Click);
    on(InsertBl, &TFormFB::InsertBlClick);
    on(AppendBl, &TFormFB::AppendBlClick);
    // PopupMenu2 is never shown: its shortcuts work in the whole window.
    for (QAction* a : {PMenu1Sign, PMenu1Vyh, PMenu1FB}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
    on(PMenu1Sign, &TFormFB::PMenu1SignClick);
    on(PMenu1Vyh, &TFormFB::PMenu1VyhClick);
    on(PMenu1FB, &TFormFB::PMenu1FBClick);
}

void TFormFB::CreateActions() {
    ABFunc = NewAction("ABFunc", "Создать функциональный блок ", {});
    AFB = NewAction("AFB", "Редактирование ФБ", {});
    ABSign = NewAction("ABSign", "Добавить  блок сигнализации", {});
    ASign = NewAction("ASign", "Редактировать сигнализацию", {});
    ADelSign = NewAction("ADelSign", "Удалить сигнализацию", {});
    ABVyh = NewAction("ABVyh", "Добавить  выход на реле", {});
    ABlVyh = NewAction("ABlVyh", "Редактировать выход на реле", {});
    ADelVyh = NewAction("ADelVyh", "Удалить выход на реле", {});
    AInSertGroup->setText("Вставить группу скопированных ФБ (перед выбранным ) ");
    AAddGroup->setText("Добавить группу скопированных ФБ");
    ACreatAlgoritm = NewAction("ACreatAlgoritm", "Создание алгоритмов", {});
    AImageAlgoritm = NewAction("AImageAlgoritm", "Отображение алгоритмов", {});
    AIntegr = NewAction("AIntegr", "Создать интегратор расхода", {});
    AMat = NewAction("AMat", "Создать арифметический блок", {});
    AProgInt = NewAction("AProgInt", "Редактировать интегратор расхода", {});
    AProgMat = NewAction("AProgMat", "Редактировать арифметический блок", {});
    // AZader does nothing.
    NewQuietActions({{&AZader, "AZader"}});
}

void TFormFB::CreateMenus() {
    QMenu* port = MainMenu1->addMenu("Прибор");
    port->addActions({AInPort, AOutPort});
    port->addSeparator();
    port->addAction(AClose);
    QMenu* blocks = MainMenu1->addMenu("ФБ");
    blocks->addActions({ABFunc, AFB, ABSign, ASign, ADelSign, ABVyh, ABlVyh, ADelVyh});
    QMenu* groups = MainMenu1->addMenu("Группы");
    groups->addActions({ACopyGroup, AInSertGroup, AAddGroup, AChooseAll, ADelChoose, ADelete});
    QMenu* algs = MainMenu1->addMenu("Алгоритмы");
    algs->addActions({ACreatAlgoritm, AImageAlgoritm});
    MainMenu1->addMenu("Создание")->addActions({AIntegr, AMat});
    MainMenu1->addMenu("Программирование")->addActions({AProgInt, AProgMat});
    QMenu* help = MainMenu1->addMenu("?");
    help->addAction(AHelp);
    help->menuAction()->setVisible(false);

    ToolBar1->addActions({AInPort, AOutPort, ABFunc, ABSign, ABVyh, ADelChoose, AClose});

    // On a chosen block.
    PopupMenu1->addActions({AFB, ASign, ABlVyh});
    InsertBl = PopupMenu1->addAction("Вставить новый ФБ (перед выбранным ) ");
    AppendBl = PopupMenu1->addAction("Добавление ФБ (после выбранного) ");
    AppendBl->setEnabled(false);
    AppendBl->setVisible(false);
    CopyGroup = AddItemFor(PopupMenu1, ACopyGroup);
    InsertGroup = AddItemFor(PopupMenu1, AInSertGroup);
    PopupMenu1->addActions({ADelSign, ADelVyh, ADelChoose});

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName("PopupMenu2");
    PMenu1Sign = PopupMenu2->addAction("Редактировать сигнализацию");
    PMenu1Sign->setShortcut(Qt::CTRL | Qt::Key_S);
    PMenu1Vyh = PopupMenu2->addAction("Редактировать выход на реле");
    PMenu1Vyh->setShortcut(Qt::CTRL | Qt::Key_O);
    PMenu1FB = PopupMenu2->addAction("Редактирование ФБ");
    PMenu1FB->setShortcut(Qt::CTRL | Qt::Key_B);

    // On the scheme area.
    PopupMenu3->addActions({ABFunc, ABSign, ABVyh, AChooseAll});
    AddGroup = AddItemFor(PopupMenu3, AAddGroup);
    PopupMenu3->addActions({ACreatAlgoritm, AImageAlgoritm});
}

void TFormFB::CreateControls() {
    StVEG = new QLabel("Сигнализация программируется только для ФБ с 1 по 62", this);
    ButAssignConfig = new QPushButton("Задать конфиг.", this);
    ButAssignConfig->hide();
    ButProgCalc = new QPushButton("Прогр.  расчет. блок.", this);
    ButProgCalc->hide();
    Button1 = new QPushButton("Показать мат. блоки", this);
    Button2 = new QPushButton("Печать", this);
    AddToButtonRow({StVEG, ButAssignConfig, ButProgCalc, Button1, Button2});
    SchemeArea->resize(FbScheme::RelayLeft + 80, 0);

    connect(ButAssignConfig, &QPushButton::clicked, this, &TFormFB::ButAssignConfigClick);
    // The signalling and relay dialogs change the table while this editor is visible.
    const auto markModified = [this] {
        if (isVisible()) context_.Cfg().FB.FBModified = 1;
    };
    if (formSig_) connect(formSig_, &TFormSig::Changed, this, markModified);
    if (formVyh_) connect(formVyh_, &TFormVyh::Changed, this, markModified);
}

void TFormFB::FormCreate() {
    TProgFBClass& fb = context_.Cfg().FB;
    FBEditorState& st = fb.EditorState;
    for (int i = 0; i < Slots; ++i) {
        ShapeFB[i] = nullptr;
        PanFB[i] = nullptr;
        ShapeMark[i] = nullptr;
        ShapeZ[i] = nullptr;
        PanSign[i] = nullptr;
        ShapeZSign[i] = nullptr;
        PanMR[i] = nullptr;
        ShapeHorz[i] = nullptr;
        std::fill_n(st.Links[i].w.begin(), 3, 0);
        st.HasRelay[i] = 0;
        st.HasSign[i] = 0;
    }
    st.PopupTarget = -1;
    CopyGroup->setEnabled(false);
    InsertGroup->setEnabled(false);
    AddGroup->setEnabled(false);
}

void TFormFB::FormShow() {
    TProgFBClass& fb = context_.Cfg().FB;
    ScrollBox1->setFocus();
    fb.FBInformFillOnly = 1;
    InformButClick();
    fb.FBInformFillOnly = 0;
    for (int i = 0; i < fb.GetLogicFBLimit(); ++i)
        fb.EditorState.Chosen[i] = 0;
    KeepAlgorithms();
    RebuildFBScheme();
    LabelFile->setVisible(context_.FileMode());
}

bool TFormFB::InformFillOnly() const {
    return context_.Cfg().FB.FBInformFillOnly != 0;
}

BlockSession TFormFB::NewBlockSession() {
    BlockSessionBlocks b;
    b.readIds = [](const TConfiguration&) { return FunctionBlockIds(TProgFBClass::FBCapacity); };
    b.writeIds = [](const TConfiguration& cfg) { return FunctionBlockIds(cfg.FB.FBCount); };
    b.lengthByte = [](const TConfiguration& cfg) { return cfg.FB.BlockLengthByte; };
    b.modified = [](const TConfiguration& cfg) { return cfg.FB.FBModified != 0; };
    b.clearModified = [](TConfiguration& cfg) { cfg.FB.FBModified = 0; };
    b.saveReserve = [this](TConfiguration&) { KeepReserve(); };
    b.restoreReserve = [this](TConfiguration& cfg) {
        for (int i = 0; i < cfg.FB.FBCount; ++i) {
            const QByteArray rec = cfg.Reserv.FbRecords().Get(i);
            std::array<uint8_t, TProgFBClass::RecordLen> bytes{};
            std::memcpy(bytes.data(), rec.constData(), std::min<size_t>(bytes.size(), size_t(rec.size())));
            cfg.FB.SetRecord(i, bytes);
        }
        cfg.FB.AlgTable = keptAlg_;
        for (int a = 0; a < int(keptAlgNames_.size()); ++a)
            cfg.FB.SetFbText(a, keptAlgNames_[size_t(a)]);
        cfg.FB.RecountTable();
    };
    b.checkFbCapacity = true;
    b.compositionTaken = [this](TConfiguration&) { context_.NotifyCompositionTaken(); };
    b.writtenCaption = [](const TConfiguration& cfg) {
        return "Программирование обработки функциональных блоков ВЕГ-17-Р устройство " +
               QString::number(cfg.Serv.GetDevAddr() + 1);
    };
    return BlockSession(context_.Cfg(), context_.ComPort(), this, std::move(b));
}

void TFormFB::KeepAlgorithms() {
    const TProgFBClass& fb = context_.Cfg().FB;
    keptAlg_ = fb.AlgTable;
    keptAlgNames_.clear();
    for (int a = 0; a < TProgFBClass::Slots; ++a)
        keptAlgNames_.push_back(fb.GetFbText(a));
}

void TFormFB::KeepReserve() {
    TConfiguration& cfg = context_.Cfg();
    for (int i = 0; i < cfg.FB.FBCount; ++i) {
        const auto rec = cfg.FB.GetRecord(i);
        cfg.Reserv.FbRecords().Set(i, rec.data(), int(rec.size()));
    }
    KeepAlgorithms();
}

void TFormFB::InPortClick() {
    TConfiguration& cfg = context_.Cfg();
    // In file mode F9 reads nothing; it only gives the table its full count again.
    if (cfg.Serv.FileMode == 1) cfg.FB.FBCount = TProgFBClass::FBCapacity;
    if (!session_.Read(ProgressBar1)) return;
    // A read from the device discards the algorithms, which live in files only.
    cfg.FB.ResetAlgorithms();
    cfg.Reserv.ResetAlgorithms();
    // What was read is what the device holds: "No" at closing returns to it, never to a table
    // from before the read that a later write would send.
    KeepReserve();
    RebuildFBScheme();
}

void TFormFB::OutPortClick() {
    session_.Write(ProgressBar1);
}

bool TFormFB::FormCloseQuery() {
    return session_.CloseQuery(ProgressBar1);
}

// Takes element i off the scheme: it is hidden and kept for the next rebuild.
template <class W> void TFormFB::Park(std::array<W*, Slots>& table, std::array<W*, Slots>& spare, int i) {
    if (!table[i]) return;
    if (spare[i]) {
        delete table[i];
    } else {
        table[i]->hide();
        spare[i] = table[i];
    }
    table[i] = nullptr;
}

// The kept element i, or null when there is none.
template <class W> W* TFormFB::Reuse(std::array<W*, Slots>& spare, int i) {
    W* w = spare[i];
    spare[i] = nullptr;
    return w;
}

void TFormFB::ButAssignConfigClick() {
    FBEditorState& st = context_.Cfg().FB.EditorState;
    for (int i = 0; i < TProgFBClass::FBCapacity; ++i) {
        Park(ShapeFB, spareShapeFB_, i);
        Park(PanFB, sparePanFB_, i);
        Park(ShapeMark, spareShapeMark_, i);
        Park(ShapeZ, spareShapeZ_, i);
        Park(PanMR, sparePanMR_, i);
        Park(PanSign, sparePanSign_, i);
        Park(ShapeHorz, spareShapeHorz_, i);
        Park(ShapeZSign, spareShapeZSign_, i);
        st.HasSign[i] = 0;
        st.HasRelay[i] = 0;
        std::fill_n(st.Links[i].w.begin(), 3, 0);
    }
    st.PanelCount = 0;
    st.SchemeNonEmpty = 0;
    st.SelectedPanel = -1;
    st.SelectedIndex = -1;
    ScrollBox1->verticalScrollBar()->setValue(0);
    emit SchemeRemoved();
}

void TFormFB::ScrollBox1MouseDown(Qt::MouseButton button) {
    SchemeEditorFrame::ScrollBox1MouseDown(button);
    context_.Cfg().FB.EditorState.PopupTarget = -1;
}

void TFormFB::ScrollBox1Click(QObject*) {
    TProgFBClass& fb = context_.Cfg().FB;
    FBEditorState& st = fb.EditorState;
    for (int i = 0; i < fb.GetLogicFBLimit() && i < Slots; ++i) {
        st.Chosen[i] = 0;
        DrawChosen(i, false);
        if (i == st.SelectedIndex) {
            st.SelectedPanel = -1;
            st.SelectedIndex = -1;
        }
    }
    RecountChosen(); // the count always follows the marks
}

int TFormFB::FBInputCount(int type, int subtype) {
    return TProgFBClass::FBInputCount(type, subtype);
}

void TFormFB::SetPanFBColor(TPanFB* panel, const QColor& color) {
    if (!panel) return;
    panel->SetColor(color);
    for (int j = 0; j < TPanFB::kInputs; ++j)
        if (TInputBox* box = panel->InputBox(j)) box->SetColor(color);
    panel->NumberBox()->SetColor(color);
    panel->Body()->SetColor(color);
}

QString TFormFB::AnalogueIdent(int number) const {
    const QTableWidget* grid = context_.Inform().StringGrid2;
    const QTableWidgetItem* item = grid->item(number - 1, TInform::acIdent);
    return item ? item->text() : QString();
}

void TFormFB::SetPanelSettings(TPanFB* panel, const FbScheme::Block& b) {
    panel->SetTFB(b.type);
    const FbScheme::Settings& set = b.settings;
    if (set.timer) panel->SetTimer(*set.timer);
    if (set.alarm) {
        panel->SetHour(set.alarm->hour);
        panel->SetMin(set.alarm->minute);
        panel->SetSec(set.alarm->second);
    }
    if (set.timeUnit) {
        panel->SetTimerD(*set.timeUnit);
        panel->SetTime(set.time);
    }
    if (set.trigger) panel->SetTrigger(*set.trigger);
    if (set.condition) {
        panel->SetCompCond(*set.condition);
        panel->SetLimit(set.limit);
        panel->PutLimit(set.limit);
        panel->SetGisterezis(set.hysteresis);
        panel->PutGisterezis(set.hysteresis);
    }
    if (set.countLimit) {
        panel->SetLimitCount(*set.countLimit);
        panel->PutLimitCount(*set.countLimit);
    }
    for (int j = 0; j < TPanFB::kInputs; ++j) {
        panel->PutTInp(j, b.inputs[size_t(j)].type);
        panel->PutIdVh(j, b.inputs[size_t(j)].caption);
    }
}

void TFormFB::WireMouseDown(SchemeControl* element) {
    connect(element, &SchemeControl::MouseDown, this,
            [this](SchemeControl* s, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint) {
                PanFB1MouseDown(s, b, m);
            });
}

void TFormFB::CreateSignalling(int n, int type, int cell) {
    FBEditorState& st = context_.Cfg().FB.EditorState;
    const FbScheme::Signalling sig = FbScheme::SignallingAt(PanFB[n]->pos(), type, cell);
    st.HasSign[n] = 1;
    TPShapeZ* zs = Reuse(spareShapeZSign_, n);
    if (!zs) {
        zs = new TPShapeZ(SchemeArea);
        WireMouseDown(zs);
    }
    zs->PutTypeShape(this, sig.connector.shape);
    zs->move(sig.connector.pos);
    zs->SetColor(st.Chosen[size_t(n)] ? TColorToQColor(ChosenColor) : clBtnFace());
    TPanSign* sign = Reuse(sparePanSign_, n);
    if (!sign) {
        sign = new TPanSign(SchemeArea, sig.type, sig.cell, n + 1);
        connect(sign, &SchemeControl::DblClick, this, &TFormFB::PMenu1SignClick);
        WireMouseDown(sign);
    }
    sign->move(sig.panel);
    sign->PutNTabS(this, sig.type, sig.cell);
    sign->PutTipS(this, sig.type);
    ShapeZSign[n] = zs;
    PanSign[n] = sign;
}

void TFormFB::BuildBlock(const FbScheme::Block& b) {
    FBEditorState& st = context_.Cfg().FB.EditorState;
    const QColor face = clBtnFace();
    const int n = b.link.index;

    // A kept element has its events wired already; a new one is wired here.
    auto take = [&](auto& spare, auto create) {
        auto* w = Reuse(spare, n);
        if (!w) {
            w = create();
            WireMouseDown(w);
        }
        return w;
    };

    TShape* shape = take(spareShapeFB_, [&] { return new TShape(SchemeArea); });
    shape->SetColor(face);
    shape->SetPenColor(face);
    shape->hide();
    TPanFB* panel = take(sparePanFB_, [&] {
        auto* p = new TPanFB(SchemeArea, n + 1, b.type);
        // A double-click anywhere on the body, its number box and type image included, edits the
        // block under the pointer, whatever was selected before.
        connect(p->Body(), &SchemeControl::DblClick, this, [this, p] {
            if (const int i = BlockOf(p); i >= 0) Select(i);
            PMenu1FBClick();
        });
        for (SchemeControl* c :
             std::initializer_list<SchemeControl*>{p->Body(), p->NumberBox(), p->TypeImage()})
            WireMouseDown(c);
        for (SchemeControl* c :
             std::initializer_list<SchemeControl*>{p, p->Body(), p->NumberBox(), p->TypeImage()})
            connect(c, &SchemeControl::MouseMove, this, [this](SchemeControl* s) { PanFB1MouseMove(s); });
        return p;
    });
    panel->hide();
    SetPanelSettings(panel, b);
    panel->move(b.panel);
    shape->setGeometry(b.background);
    SetPanFBColor(panel, face);
    ShapeFB[n] = shape;
    PanFB[n] = panel;

    TShapeMark* mark = take(spareShapeMark_, [&] { return new TShapeMark(SchemeArea, n + 1); });
    mark->move(b.mark);
    mark->SetColor(face);
    TPShapeZ* out = take(spareShapeZ_, [&] { return new TPShapeZ(SchemeArea); });
    out->PutTypeShape(this, b.output.shape);
    out->move(b.output.pos);
    out->SetColor(face);
    out->setVisible(b.output.shown);
    ShapeMark[n] = mark;
    ShapeZ[n] = out;

    st.Links[n] = b.link.ToRecord();
    st.PanelOrder[st.PanelCount++] = n;

    if (const auto& sig = b.signalling) CreateSignalling(n, sig->type, sig->cell);

    if (const auto& relay = b.relay) {
        st.HasRelay[n] = 1;
        TPanMR* mr = Reuse(sparePanMR_, n);
        if (!mr) {
            mr = new TPanMR(SchemeArea, n + 1);
            connect(mr, &SchemeControl::DblClick, this, &TFormFB::PMenu1VyhClick);
        }
        mr->move(relay->panel);
        mr->SetWidth(FbScheme::RelayWidth);
        TShapeHorz* line = take(spareShapeHorz_, [&] { return new TShapeHorz(SchemeArea); });
        line->move(relay->line);
        line->SetWidth(relay->lineWidth);
        for (int k = 0; k < TPanMR::kModules; ++k) {
            mr->PassiveMR(this, k);
            if (const uint8_t mask = relay->masks[size_t(k)]) mr->ActiveMR(this, k, mask);
        }
        PanMR[n] = mr;
        ShapeHorz[n] = line;
    }
}

void TFormFB::CreateAlgorithmLabels(const std::vector<FbScheme::AlgorithmLabel>& labels) {
    for (QLabel* l : AlgLabels)
        delete l;
    AlgLabels.clear();
    for (const FbScheme::AlgorithmLabel& a : labels) {
        if (!a.shown) {
            AlgLabels.push_back(nullptr);
            continue;
        }
        auto* label = new QLabel(a.caption, SchemeArea);
        label->setAttribute(Qt::WA_TranslucentBackground);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, TColorToQColor(clTeal));
        pal.setColor(QPalette::Window, clBtnFace());
        label->setPalette(pal);
        label->adjustSize();
        label->move(a.pos);
        label->show();
        AlgLabels.push_back(label);
    }
}

void TFormFB::RebuildFBScheme(int addingRelay) {
    TProgFBClass& fb = context_.Cfg().FB;
    FBEditorState& st = fb.EditorState;
    ButAssignConfigClick();
    st.PanelCount = 0;
    const FbScheme::Layout layout = CurrentLayout(addingRelay);
    for (const FbScheme::Block& b : layout.blocks)
        BuildBlock(b);
    fb.RecountTable();
    st.SchemeNonEmpty = st.PanelCount > 0 ? 1 : 0;
    st.RebuildPending = 0;

    CreateAlgorithmLabels(layout.labels);

    for (int i = 0; i < st.PanelCount; ++i) {
        const int n = st.PanelOrder[i];
        for (QWidget* w : std::initializer_list<QWidget*>{ShapeFB[n], PanFB[n], ShapeHorz[n], ShapeMark[n],
                                                          PanSign[n], ShapeZSign[n], PanMR[n]})
            if (w) w->show();
    }
    // The background shapes lie behind their block; chosen blocks stay drawn chosen, marks of
    // blocks no longer built go.
    for (int i = 0; i < st.PanelCount; ++i) {
        ShapeFB[st.PanelOrder[i]]->lower();
        if (st.Chosen[size_t(i)]) DrawChosen(i, true);
    }
    std::fill(st.Chosen.begin() + st.PanelCount, st.Chosen.end(), 0);
    RecountChosen();

    if (layout.height) SchemeArea->resize(SchemeArea->width(), *layout.height);
}

FbScheme::Layout TFormFB::CurrentLayout(int addingRelay) const {
    return FbScheme::LayOut(
        context_.Cfg().FB, context_.Cfg().Serv, [this](int number) { return AnalogueIdent(number); },
        TPanFB::kHeight, addingRelay);
}

// Selection.

int TFormFB::BlockOf(QObject* element) const {
    for (QObject* o = element; o && o != SchemeArea; o = o->parent()) {
        const auto in = [o](const auto& table) {
            const auto it = std::find(table.begin(), table.end(), o);
            return it == table.end() ? -1 : int(it - table.begin());
        };
        for (int i : {in(PanFB), in(ShapeFB), in(ShapeMark), in(ShapeZ), in(PanSign), in(ShapeZSign),
                      in(PanMR), in(ShapeHorz)})
            if (i >= 0) return i;
    }
    return -1;
}

void TFormFB::DrawChosen(int i, bool chosen) {
    const QColor c = chosen ? TColorToQColor(ChosenColor) : clBtnFace();
    if (ShapeFB[i]) ShapeFB[i]->SetColor(c);
    if (PanFB[i]) SetPanFBColor(PanFB[i], c);
    if (ShapeMark[i]) ShapeMark[i]->SetColor(c);
    if (ShapeZ[i]) ShapeZ[i]->SetColor(c);
    if (ShapeZSign[i]) ShapeZSign[i]->SetColor(c);
}

void TFormFB::RecountChosen() {
    FBEditorState& st = context_.Cfg().FB.EditorState;
    st.ChosenCount = int(std::count_if(st.Chosen.begin(), st.Chosen.end(), [](int m) { return m != 0; }));
    CopyGroup->setEnabled(st.ChosenCount > 0);
}

// Block i becomes the only chosen block and the selected one.
void TFormFB::Select(int i) {
    FBEditorState& st = context_.Cfg().FB.EditorState;
    ScrollBox1Click();
    st.Chosen.fill(0);
    st.Chosen[size_t(i)] = 1;
    st.SelectedIndex = i;
    st.SelectedPanel = i; // panels are built in index order
    DrawChosen(i, true);
    RecountChosen();
}

void TFormFB::PanFB1MouseDown(SchemeControl* sender, Qt::MouseButton button,
                              Qt::KeyboardModifiers modifiers) {
    FBEditorState& st = context_.Cfg().FB.EditorState;
    const int i = BlockOf(sender);
    if (i < 0) return;
    if (button == Qt::LeftButton && !(modifiers & Qt::ControlModifier)) {
        Select(i);
    } else if (button == Qt::LeftButton) {
        st.Chosen[size_t(i)] = st.Chosen[size_t(i)] ? 0 : 1;
        DrawChosen(i, st.Chosen[size_t(i)] != 0);
        RecountChosen();
    } else if (button == Qt::RightButton) {
        ScrollBoxPopup = st.Chosen[size_t(i)] ? PopupMenu1 : PopupMenu3;
        st.PopupTarget = i;
    }
}

void TFormFB::PanFB1MouseMove(SchemeControl* sender) {
    const FBEditorState& st = context_.Cfg().FB.EditorState;
    const int i = BlockOf(sender);
    ScrollBoxPopup = i >= 0 && st.Chosen[size_t(i)] ? PopupMenu1 : PopupMenu3;
}

void TFormFB::ChooseAllClick() {
    FBEditorState& st = context_.Cfg().FB.EditorState;
    for (int k = 0; k < st.PanelCount; ++k) {
        const int i = st.PanelOrder[size_t(k)];
        st.Chosen[size_t(i)] = 1;
        DrawChosen(i, true);
    }
    st.SelectedPanel = -1;
    st.SelectedIndex = -1;
    RecountChosen();
}

void TFormFB::ScrollToPanel(int i, int below) {
    if (PanFB[i]) ScrollBox1->verticalScrollBar()->setValue(PanFB[i]->y() - below);
}

void TFormFB::ButProgCalcClick() {
    TProgFBClass& fb = context_.Cfg().FB;
    // Filling the dialog runs no change handler; the saved flag covers a modified one all the same.
    fb.FBModifiedSave = fb.FBModified;
    if (const auto refusal = CalcBlocks::CheckAction(fb, fb.CalcAction);
        refusal != CalcBlocks::Refusal::None) {
        Warn(CalcBlocks::RefusalText(refusal));
        return;
    }
    FormFBCalc->Reset();
    FormFBCalc->Fill();
    fb.FBModified = fb.FBModifiedSave;
    ShowModal(FormFBCalc);
    if (FormFBCalc->Cancelled == 0) {
        if (FormFBCalc->Kind() == 0)
            CalcBlocks::StoreIntegrators(fb, FormFBCalc->Integrators(),
                                         fb.CalcAction == CalcBlocks::CreateIntegrators);
        else
            CalcBlocks::StoreArith(fb, FormFBCalc->BlockIndex(), FormFBCalc->Arith(),
                                   fb.CalcAction == CalcBlocks::CreateArith);
    }
    ScrollBox1->setFocus();
}

void TFormFB::Button1Click() {
    FormMath->FillCaptions();
    ShowModal(FormMath);
    if (FormMath->SchemeChanged == 1) RebuildFBScheme();
    FormMath->SchemeChanged = 0;
}

void TFormFB::Warn(const QString& text) {
    MessageBox(this, text, Warning, MsgButtons::OK, MsgIcon::Warning);
}

bool TFormFB::SchemeReady() {
    if (context_.Cfg().FB.EditorState.SchemeNonEmpty) return true;
    if (ServInput::AskCreateConfig(context_.Cfg().Veg)) done(mrCancel);
    return false;
}

int TFormFB::SelectedBuiltBlock() {
    const int i = context_.Cfg().FB.EditorState.SelectedIndex;
    if (i < 0) {
        Warn(NoBlockChosen);
        return -1;
    }
    if (i >= Slots || !PanFB[i]) {
        Warn(NoSuchBlock);
        return -1;
    }
    return i;
}

void TFormFB::EndBlockCommand() {
    FBEditorState& st = context_.Cfg().FB.EditorState;
    st.EditMode = 0;
    st.PopupTarget = -1;
}

// Creating and editing.

void TFormFB::PMenu1FBClick() {
    context_.Cfg().FB.EditorState.EditMode = 1;
    CreatFuncButClick();
}

void TFormFB::InsertBlClick() {
    TProgFBClass& fb = context_.Cfg().FB;
    FBEditorState& st = fb.EditorState;
    fb.FBModified = 1;
    const int target = st.PopupTarget;
    if (target < 0 || target >= st.PanelCount) {
        Warn(NoBlockChosen);
        return EndBlockCommand();
    }
    st.SelectedIndex = target;
    st.SelectedPanel = target;
    if (std::any_of(st.Chosen.begin() + target, st.Chosen.end(), [](int m) { return m != 0; })) {
        ScrollBox1Click();
    }
    st.EditMode = 2;
    CreatFuncButClick();
}

void TFormFB::AppendBlClick() {
    FBEditorState& st = context_.Cfg().FB.EditorState;
    st.PopupTarget = st.SelectedIndex;
    st.EditMode = 3;
    CreatFuncButClick();
}

void TFormFB::CreatFuncButClick() {
    TConfiguration& cfg = context_.Cfg();
    TProgFBClass& fb = cfg.FB;
    FBEditorState& st = fb.EditorState;
    if (!formCreat_) return EndBlockCommand();
    const int mode = st.EditMode;
    const int saved = fb.FBModified;
    fb.RecountTable();
    formCreat_->ResetInputRows();

    int number = 0;
    if (mode == 1) {
        const int i = st.SelectedIndex;
        if (i < 0 || i >= st.PanelCount) {
            Warn(NoBlockChosen);
            return EndBlockCommand();
        }
        number = i + 1;
        formCreat_->FillFrom(FbTable::ReadBlock(fb, i), number, number <= FbTable::SignalledBlocks);
    } else {
        if (mode == 3 && (st.PopupTarget < 0 || st.PopupTarget >= st.PanelCount)) {
            Warn(NoBlockChosen);
            return EndBlockCommand();
        }
        ScrollBox1Click();
        if (st.PanelCount + 1 > fb.GetLogicFBLimit()) {
            Warn("Все функциональные блоки созданы");
            fb.FBModified = saved;
            return EndBlockCommand();
        }
        number = st.PanelCount + 1;
        const int newIndex = mode == 0 ? st.PanelCount : mode == 2 ? st.PopupTarget : st.PopupTarget + 1;
        formCreat_->FillNew(number, newIndex < FbTable::SignalledBlocks);
    }
    fb.FBModified = saved;
    ShowModal(formCreat_);

    const int index = number - 1;
    if (formCreat_->Cancelled != 0) {
        // The dialog's change handlers mark the table; a cancelled dialog stored nothing.
        fb.FBModified = saved;
        // "Отмена" on an existing block offers to delete the chosen blocks; the close box only closes.
        if (formCreat_->Cancelled == 1 && PanFB[index]) {
            st.PopupTarget = index;
            DelChooseClick();
        } else if (formCreat_->Cancelled == 1) {
            ScrollBox1Click();
        }
        return EndBlockCommand();
    }

    const FbTable::BlockValues stored =
        FbTable::ApplyStoreRules(fb, formCreat_->Values(), FbTable::Limits::Of(cfg.Serv));
    formCreat_->ShowZeroedNumbers(stored);
    fb.FBModified = 1;
    if (mode == 1) {
        FbTable::StoreBlock(fb, index, stored, true);
        fb.RecountTable();
        const FbScheme::Layout layout = CurrentLayout();
        if (index < int(layout.blocks.size())) SetPanelSettings(PanFB[index], layout.blocks[size_t(index)]);
        ScrollToPanel(index, PanelBelowTop);
        Select(index);
        return EndBlockCommand();
    }
    if (number > fb.GetLogicFBLimit() || number <= 0) {
        Warn("Неверно выбран № программируемого ФБ");
        ScrollBox1Click();
        return EndBlockCommand();
    }
    if (PanFB[index]) {
        MessageBox(this, "существует ФБ с порядковым № " + QString::number(number), QString());
        return EndBlockCommand();
    }
    const FbTable::Place place = mode == 0   ? FbTable::Place::End
                                 : mode == 2 ? FbTable::Place::Before
                                             : FbTable::Place::After;
    const int q = mode == 0 ? st.PanelCount : mode == 2 ? st.PopupTarget : st.PopupTarget + 1;
    FbTable::InsertBlock(fb, q, stored, place);
    RebuildFBScheme();
    if (mode == 0)
        ScrollBox1->ensureVisible(0, PanFB[q] ? PanFB[q]->geometry().bottom() : 0, 0, 0);
    else
        ScrollToPanel(q, PanelBelowTop);
    if (PanFB[q]) Select(q);
    EndBlockCommand();
}

// Signalling.

void TFormFB::CreatSignButClick() {
    TConfiguration& cfg = context_.Cfg();
    if (!SchemeReady()) return;
    cfg.FB.FBModified = 1;
    const int selected = cfg.FB.EditorState.SelectedIndex;
    if (selected >= FbTable::SignalledBlocks || cfg.Serv.GetOwnInputCount() == 0) return Warn(NotAvailable);
    const int i = SelectedBuiltBlock();
    if (i < 0) return;
    if (!PanSign[i]) {
        CreateSignalling(i, 0, 0);
        PanSign[i]->show();
        ShapeZSign[i]->show();
    }
    PMenu1SignClick();
}

void TFormFB::PMenu1SignClick() {
    TConfiguration& cfg = context_.Cfg();
    TProgFBClass& fb = cfg.FB;
    const int i = fb.EditorState.SelectedIndex;
    if (i < 0) return Warn(NoBlockChosen);
    if (!PanSign[i]) return Warn("Панель сигн. для ФБ с таким номером не создана");
    if (!formSig_) return;
    const int saved = fb.FBModified;
    formSig_->SetCaptionText("ФБ №");
    formSig_->SetBlockNumber(i + 1);
    formSig_->SetCell(fb.GetSigNTabS(i));
    formSig_->SetType(fb.GetSigTipS(i));
    fb.FBModified = saved;
    ShowModal(formSig_);
    int type = formSig_->Type();
    int cell = formSig_->Cell();
    if (cell == 0) {
        Warn("Не выбран № ячейки светового табло");
        type = 0;
    } else if (cell > cfg.Serv.GetOwnInputCount() || cell < 0) {
        Warn("Неверно выбран № ячейки светового табло");
        type = 0;
        cell = 0;
        formSig_->SetCell(0);
    }
    if (type == 0) cell = 0;
    fb.SetSigTipS(i, type);
    fb.SetSigNTabS(i, cell);
    PanSign[i]->PutNTabS(this, type, cell);
    PanSign[i]->PutTipS(this, type);
}

void TFormFB::DelSignClick() {
    TConfiguration& cfg = context_.Cfg();
    if (!SchemeReady()) return;
    cfg.FB.FBModified = 1;
    if (cfg.Serv.GetOwnInputCount() == 0) return Warn(NotAvailable);
    const int i = SelectedBuiltBlock();
    if (i < 0) return;
    cfg.FB.SetSigTipS(i, 0);
    cfg.FB.SetSigNTabS(i, 0);
    if (PanSign[i]) {
        PanSign[i]->PutNTabS(this, 0, 0);
        PanSign[i]->PutTipS(this, 0);
    }
    Park(PanSign, sparePanSign_, i);
    Park(ShapeZSign, spareShapeZSign_, i);
    cfg.FB.EditorState.HasSign[size_t(i)] = 0;
}

// Relay outputs.

int TFormFB::RelayCommandBlock() {
    TConfiguration& cfg = context_.Cfg();
    if (!SchemeReady()) return -1;
    cfg.FB.FBModified = 1;
    if (cfg.Serv.SlotModuleCodes[0] == ControllerWithoutRelays && cfg.Serv.GetCntModMR() == 0) {
        Warn(NotAvailable);
        return -1;
    }
    return SelectedBuiltBlock();
}

void TFormFB::CreatVyhButClick() {
    const int i = RelayCommandBlock();
    if (i < 0) return;
    if (!PanMR[i]) {
        // The later blocks move to where a relay output puts them.
        const int scroll = ScrollBox1->verticalScrollBar()->value();
        RebuildFBScheme(i);
        ScrollBox1->verticalScrollBar()->setValue(scroll);
        Select(i);
    }
    PMenu1VyhClick();
}

void TFormFB::PMenu1VyhClick() {
    TConfiguration& cfg = context_.Cfg();
    TProgFBClass& fb = cfg.FB;
    const int i = fb.EditorState.SelectedIndex;
    if (i < 0) return Warn(NoBlockChosen);
    if (!PanMR[i] || !formVyh_) return;
    const int saved = fb.FBModified;
    formVyh_->LabNVh->setText("ФБ №");
    formVyh_->LabelName->setText(QString::number(i + 1));
    for (int m = 0; m < TFormVyh::kModules; ++m) {
        formVyh_->SetModuleVisible(m, false);
        for (int r = 0; r < TFormVyh::kRelays; ++r) {
            formVyh_->SetBoxVisible(m, r, false);
            formVyh_->SetBoxTag(m, r, 0);
        }
    }
    const uint8_t mask = uint8_t(fb.GetB9Plus(i, 1));
    formVyh_->SetModuleVisible(0, true);
    for (int r = 0; r < cfg.Serv.GetCtrlVyhCount(); ++r)
        formVyh_->SetBoxVisible(0, r, true);
    formVyh_->SetMask(0, mask);
    fb.FBModified = saved;
    if (ShowModal(formVyh_) != TFormVyh::kAccepted) return;
    const uint8_t chosen = formVyh_->Mask(0);
    fb.SetB9Plus(i, 1, chosen);
    PanMR[i]->PassiveMR(this, 0);
    if (chosen) PanMR[i]->ActiveMR(this, 0, chosen);
}

void TFormFB::DelVyhClick() {
    TConfiguration& cfg = context_.Cfg();
    const int i = RelayCommandBlock();
    if (i < 0) return;
    for (int k = 1; k <= 5; ++k)
        cfg.FB.SetB9Plus(i, k, 0);
    RebuildFBScheme();
    ScrollToPanel(i, PanelBelowTop);
}

// Groups and deletion.

void TFormFB::CopyGroupClick() {
    TConfiguration& cfg = context_.Cfg();
    FbTable::CopyChosen(cfg.FB, cfg.Copy);
    InsertGroup->setEnabled(true);
    AddGroup->setEnabled(true);
}

void TFormFB::InsertGroupClick() {
    context_.Cfg().FB.EditorState.InsertBefore = 1;
    InsertFB();
    ScrollBox1->setFocus();
}

void TFormFB::AddGroupClick() {
    context_.Cfg().FB.EditorState.InsertBefore = 0;
    InsertFB();
    ScrollBox1->setFocus();
}

void TFormFB::InsertFB() {
    TConfiguration& cfg = context_.Cfg();
    FBEditorState& st = cfg.FB.EditorState;
    cfg.FB.FBModified = 1;
    const bool before = st.InsertBefore == 1;
    if (before && (st.PopupTarget < 0 || st.PopupTarget >= st.PanelCount)) return Warn(NoBlockChosen);
    switch (FbTable::InsertCopiedRun(cfg.FB, cfg.Copy, before ? st.PopupTarget : -1,
                                     FbTable::Limits::Of(cfg.Serv))) {
    case FbTable::GroupResult::Gap:
        return Warn("ФБ должны быть скопированы без разрыва");
    case FbTable::GroupResult::Inserted:
        RebuildFBScheme();
        ScrollBox1Click();
        return;
    default:
        return;
    }
}

void TFormFB::DeleteBlocks(const std::vector<int>& indexes) {
    TProgFBClass& fb = context_.Cfg().FB;
    fb.FBModified = 1;
    // Each deletion moves the later blocks down one index.
    int k = 0;
    for (int i : indexes)
        FbTable::DeleteBlock(fb, i - k++);
    fb.EditorState.Chosen.fill(0);
    RebuildFBScheme();
    fb.EditorState.PopupTarget = -1;
}

void TFormFB::DelChooseClick() {
    const FBEditorState& st = context_.Cfg().FB.EditorState;
    std::vector<int> chosen;
    for (int i = 0; i < st.PanelCount; ++i)
        if (st.Chosen[size_t(i)]) chosen.push_back(i);
    if (chosen.empty()) return Warn("Нет выделенных ФБ");
    if (MessageBox(this, "Удалить выделенные ФБ?", "Подтвердите удаление ", MsgButtons::YesNo,
                   MsgIcon::Question, mrNo) != mrYes)
        return;
    DeleteBlocks(chosen);
}

void TFormFB::DeleteBlClick() {
    const FBEditorState& st = context_.Cfg().FB.EditorState;
    if (st.PopupTarget < 0 || st.PopupTarget >= st.PanelCount) return Warn(NoBlockChosen);
    DeleteBlocks({st.PopupTarget});
}

void TFormFB::ImageAlgoritmClick() {
    // Only algorithms with a list get a label; the others keep their slot, so AlgLabels[a] stays
    // algorithm a for the algorithm window and the scheme print.
    const TProgFBClass& fb = context_.Cfg().FB;
    std::vector<FbScheme::AlgorithmLabel> labels = CurrentLayout().labels;
    for (int a = 0; a < int(labels.size()); ++a)
        labels[size_t(a)].shown = fb.AlgTable.GetEntry(a, 0) != TProgFBClass::AlgEnd;
    CreateAlgorithmLabels(labels);
}

void TFormFB::SetAlgorithmWindow(TFormInfAlg* window) {
    formInfAlg_ = window;
    if (window) window->SetAlgorithmCaptions(&AlgLabels);
}

void TFormFB::CreatAlgoritmClick() {
    if (!formInfAlg_) return;
    const TConfiguration& cfg = context_.Cfg();
    formInfAlg_->FillTables(BlockRows(cfg.FB, cfg.Serv, CreatFb::TypeNames()), AlgorithmRows(cfg.FB));
    if (ShowEditorModal(this, formInfAlg_) != mrYes) RebuildFBScheme();
    ScrollBox1Click();
}

void TFormFB::Button2Click() {
    const QWidget* owner = parentWidget();
    PrintFBScheme(*this, context_.Cfg(), context_.ComPort(), PicturePrinter(),
                  owner ? owner->window()->windowTitle() : QString(),
                  context_.FileMode() ? context_.FileModeText() : QString());
}
