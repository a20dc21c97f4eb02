#include "Prog_fb.h"

#include "Colors.h"
#include "Comportclass.h"
#include "Configuration.h"
#include "Dialogs.h"
#include "FbSchemeLayout.h"
#include "Obrinform.h"
#include "editors/common/EditorContext.h"
#include "editors/discrete/Obrsign_mb.h"
#include "editors/discrete/Obrvyh_mb.h"
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

TFormFB::TFormFB(EditorContext& context, TFormSig* formSig, TFormVyh* formVyh, QWidget* parent)
    : SchemeEditorFrame(context, parent), formSig_(formSig), formVyh_(formVyh) {
    setObjectName("FormFB");
    setWindowTitle("Программирование функциональных блоков");
    resize(900, 700);
    CreateActions();
    CreateControls();
    CreateMenus();
    FormCreate();
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
    // The calculation blocks, and AZader that does nothing.
    NewQuietActions({{&AIntegr, "AIntegr"},
                     {&AMat, "AMat"},
                     {&AProgInt, "AProgInt"},
                     {&AProgMat, "AProgMat"},
                     {&AZader, "AZader"}});
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
    CopyGroup->setEnabled(false);
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
    b.saveReserve = [](TConfiguration& cfg) {
        for (int i = 0; i < cfg.FB.FBCount; ++i) {
            const auto rec = cfg.FB.GetRecord(i);
            cfg.Reserv.FbRecords().Set(i, rec.data(), int(rec.size()));
        }
    };
    b.restoreReserve = [](TConfiguration& cfg) {
        for (int i = 0; i < cfg.FB.FBCount; ++i) {
            const QByteArray rec = cfg.Reserv.FbRecords().Get(i);
            std::array<uint8_t, TProgFBClass::RecordLen> bytes{};
            std::memcpy(bytes.data(), rec.constData(), std::min<size_t>(bytes.size(), size_t(rec.size())));
            cfg.FB.SetRecord(i, bytes);
        }
    };
    b.writtenCaption = [](const TConfiguration& cfg) {
        return "Программирование обработки функциональных блоков ВЕГ-17-Р устройство " +
               QString::number(cfg.Serv.GetDevAddr() + 1);
    };
    return BlockSession(context_.Cfg(), context_.ComPort(), this, std::move(b));
}

void TFormFB::InPortClick() {
    TConfiguration& cfg = context_.Cfg();
    // In file mode F9 reads nothing; it only gives the table its full count again.
    if (cfg.Serv.FileMode == 1) cfg.FB.FBCount = TProgFBClass::FBCapacity;
    if (!session_.Read(ProgressBar1)) return;
    // A read from the device discards the algorithms, which live in files only.
    cfg.FB.ResetAlgorithms();
    cfg.Reserv.ResetAlgorithms();
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

void TFormFB::ScrollBox1Click(QObject* sender) {
    TProgFBClass& fb = context_.Cfg().FB;
    FBEditorState& st = fb.EditorState;
    const QColor face = clBtnFace();
    for (int i = 0; i < fb.GetLogicFBLimit() && i < Slots; ++i) {
        st.Chosen[i] = 0;
        if (ShapeFB[i]) ShapeFB[i]->SetColor(face);
        if (PanFB[i]) SetPanFBColor(PanFB[i], face);
        if (ShapeMark[i]) ShapeMark[i]->SetColor(face);
        if (ShapeZ[i]) ShapeZ[i]->SetColor(face);
        if (ShapeZSign[i]) ShapeZSign[i]->SetColor(face);
        if (i == st.SelectedIndex) {
            st.SelectedPanel = -1;
            st.SelectedIndex = -1;
        }
    }
    if (sender == ScrollBox1) st.ChosenCount = 0;
}

// Handlers of the block commands; the scheme wires them to its elements.
void TFormFB::PanFB1MouseDown(SchemeControl*, Qt::MouseButton, Qt::KeyboardModifiers) {}
void TFormFB::PanFB1MouseMove(SchemeControl*) {}
void TFormFB::PMenu1FBClick() {}
void TFormFB::PMenu1SignClick() {}
void TFormFB::PMenu1VyhClick() {}

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

void TFormFB::BuildBlock(const FbScheme::Block& b) {
    FBEditorState& st = context_.Cfg().FB.EditorState;
    const QColor face = clBtnFace();
    const int n = b.link.index;

    auto blockDown = [this](SchemeControl* s, Qt::MouseButton button, Qt::KeyboardModifiers m, QPoint) {
        PanFB1MouseDown(s, button, m);
    };
    // A kept element has its events wired already; a new one is wired here.
    auto take = [&](auto& spare, auto create) {
        auto* w = Reuse(spare, n);
        if (!w) {
            w = create();
            connect(w, &SchemeControl::MouseDown, this, blockDown);
        }
        return w;
    };

    TShape* shape = take(spareShapeFB_, [&] { return new TShape(SchemeArea); });
    shape->SetColor(face);
    shape->SetPenColor(face);
    shape->hide();
    TPanFB* panel = take(sparePanFB_, [&] {
        auto* p = new TPanFB(SchemeArea, n + 1, b.type);
        connect(p->Body(), &SchemeControl::DblClick, this, &TFormFB::PMenu1FBClick);
        for (SchemeControl* c :
             std::initializer_list<SchemeControl*>{p->Body(), p->NumberBox(), p->TypeImage()})
            connect(c, &SchemeControl::MouseDown, this, blockDown);
        for (SchemeControl* c :
             std::initializer_list<SchemeControl*>{p, p->Body(), p->NumberBox(), p->TypeImage()})
            connect(c, &SchemeControl::MouseMove, this, [this](SchemeControl* s) { PanFB1MouseMove(s); });
        return p;
    });
    panel->hide();
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

    if (const auto& sig = b.signalling) {
        st.HasSign[n] = 1;
        TPShapeZ* zs = take(spareShapeZSign_, [&] { return new TPShapeZ(SchemeArea); });
        zs->PutTypeShape(this, sig->connector.shape);
        zs->move(sig->connector.pos);
        zs->SetColor(face);
        TPanSign* sign = take(sparePanSign_, [&] {
            auto* p = new TPanSign(SchemeArea, sig->type, sig->cell, n + 1);
            connect(p, &SchemeControl::DblClick, this, &TFormFB::PMenu1SignClick);
            return p;
        });
        sign->move(sig->panel);
        sign->PutNTabS(this, sig->type, sig->cell);
        sign->PutTipS(this, sig->type);
        ShapeZSign[n] = zs;
        PanSign[n] = sign;
    }

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

void TFormFB::RebuildFBScheme() {
    TProgFBClass& fb = context_.Cfg().FB;
    FBEditorState& st = fb.EditorState;
    ButAssignConfigClick();
    st.PanelCount = 0;
    const FbScheme::Layout layout = FbScheme::LayOut(
        fb, context_.Cfg().Serv, [this](int number) { return AnalogueIdent(number); }, TPanFB::kHeight);
    for (const FbScheme::Block& b : layout.blocks)
        BuildBlock(b);
    fb.IntegratorCount = layout.integrators;
    fb.ArithBlockCount = layout.arithBlocks;
    fb.RecountLogicFBCount();
    st.SchemeNonEmpty = st.PanelCount > 0 ? 1 : 0;
    st.RebuildPending = 0;

    CreateAlgorithmLabels(layout.labels);

    for (int i = 0; i < st.PanelCount; ++i) {
        const int n = st.PanelOrder[i];
        for (QWidget* w : std::initializer_list<QWidget*>{ShapeFB[n], PanFB[n], ShapeHorz[n], ShapeMark[n],
                                                          PanSign[n], ShapeZSign[n], PanMR[n]})
            if (w) w->show();
    }
    // The background shapes lie behind their block.
    for (int i = 0; i < st.PanelCount; ++i)
        ShapeFB[st.PanelOrder[i]]->lower();

    if (layout.height) SchemeArea->resize(SchemeArea->width(), *layout.height);
}
