#include "Uniregvis.h"

#include "Comportclass.h"
#include "Configuration.h"
#include "Dialogs.h"
#include "NumberText.h"
#include "Panregvis.h"
#include "RegOnlineKit.h"
#include "ServInput.h"
#include "ShownTransfer.h"
#include "WindowOpening.h"
#include "editors/common/EditorContext.h"
#include "editors/regulators/CreatRegRules.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

using namespace LoopOnline;

namespace {

constexpr int ParkTop = 50, ParkLeft = 225;

// A switch glyph: its caption on grey when released, on green when down; the disabled states
// are drawn by Qt from these.
QIcon SwitchGlyph(const QString& released, const QString& down) {
    const auto draw = [](const QString& text, const QColor& color) {
        QPixmap pixmap(40, 32);
        pixmap.fill(color);
        QPainter painter(&pixmap);
        painter.drawRect(0, 0, 39, 31);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
        return pixmap;
    };
    QIcon icon;
    icon.addPixmap(draw(released, Qt::lightGray), QIcon::Normal, QIcon::Off);
    icon.addPixmap(draw(down, Qt::green), QIcon::Normal, QIcon::On);
    return icon;
}

QToolButton* NewSwitch(QWidget* parent, int left, const QIcon& glyph) {
    auto* b = new QToolButton(parent);
    b->setGeometry(left, 378, 67, 48);
    b->setCheckable(true);
    b->setIcon(glyph);
    b->setIconSize(QSize(40, 32));
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return b;
}

QPushButton* NewCommand(QWidget* parent, int left, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(left, 325, 60, 50);
    QFont font = b->font();
    font.setPointSize(14);
    b->setFont(font);
    // Black captions. A button's own palette gives Qt's pixmap cache new entries for every new
    // button, so it gets one only where the inherited palette would not draw them black.
    if (b->palette().color(QPalette::ButtonText) != Qt::black) {
        QPalette pal = b->palette();
        pal.setColor(QPalette::ButtonText, Qt::black);
        b->setPalette(pal);
    }
    return b;
}

} // namespace

TFormRegOnLine::TFormRegOnLine(EditorContext& context, QWidget* parent)
    : QDialog(parent), ctx_(context), poll_(context.ComPort()),
      apGlyph_(SwitchGlyph(QStringLiteral("AP"), QStringLiteral("AP"))),
      handAutGlyph_(SwitchGlyph(QStringLiteral("РУЧ"), QStringLiteral("АВТ"))) {
    setWindowTitle(QStringLiteral("Режим on line"));
    LabNReg = new QLabel(this);
    LabTip = new QLabel(this);
    const auto field = [this] {
        auto* e = new QLineEdit(this);
        e->setEnabled(false);
        e->setFixedWidth(50);
        return e;
    };
    EditNReg = field(), EditAnVh = field(), EditNReg1 = field(), EditAnVh1 = field();
    Label4 = new QLabel(QStringLiteral("Регулятор  внутр конт. №"), this);
    Label6 = new QLabel(QStringLiteral("№ входа рег. параметра внутр конт"), this);
    ScrollBox1 = new QScrollArea(this);
    // A press on a panel or the empty area leaves a value being typed alone: the press finds no
    // control there to take the focus.
    ScrollBox1->setFocusPolicy(Qt::NoFocus);
    auto* area = new QWidget;
    area->setMinimumSize(420, TPanRegVis::kHeight + 20);
    ScrollBox1->setWidget(area);
    ScrollBox1->setMinimumWidth(area->minimumWidth() + 2 * ScrollBox1->frameWidth()); // no sideways scrolling
    Button1 = new QPushButton(QStringLiteral("программирование"), this);
    Button1->hide();
    Button2 = new QPushButton(QStringLiteral("Таймер"), this);
    Label1 = new QLabel(QStringLiteral("запущен опрос"), this);
    Label1->hide();
    Timer1 = new QTimer(this);
    Timer1->setInterval(10000);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->hide();
    EditText = new QLineEdit(this);
    EditText->installEventFilter(this);

    auto* head = new QGridLayout;
    head->addWidget(new QLabel(QStringLiteral("Токовый выход №"), this), 0, 0);
    head->addWidget(LabNReg, 0, 1);
    head->addWidget(LabTip, 0, 2, 1, 2);
    head->addWidget(new QLabel(QStringLiteral("Регулятор №"), this), 1, 0);
    head->addWidget(EditNReg, 1, 1);
    head->addWidget(new QLabel(QStringLiteral("№ входа рег. параметра"), this), 1, 2);
    head->addWidget(EditAnVh, 1, 3);
    head->addWidget(Label4, 2, 0);
    head->addWidget(EditNReg1, 2, 1);
    head->addWidget(Label6, 2, 2);
    head->addWidget(EditAnVh1, 2, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button2);
    bottom->addWidget(Label1);
    bottom->addWidget(ProgressBar1);
    bottom->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(ScrollBox1, 1);
    layout->addLayout(bottom);
    resize(280, 640);

    connect(Button1, &QPushButton::clicked, this, &TFormRegOnLine::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormRegOnLine::Button2Click);
    connect(Timer1, &QTimer::timeout, this, &TFormRegOnLine::Timer1Timer);
    connect(&poll_, &PollService::Polled, this, &TFormRegOnLine::Polled);
    connect(&poll_, &PollService::Failed, this, &TFormRegOnLine::PollFailed);
    connect(EditText, &QLineEdit::textEdited, this, [this] { ctx_.Cfg().Serv.NamesModified = 1; });
    ParkEditText();
}

TFormRegOnLine::~TFormRegOnLine() {
    poll_.Stop();
}

void TFormRegOnLine::ParkEditText() {
    EditText->move(ParkLeft, ParkTop);
    EditText->hide();
    EditText->clear();
}

void TFormRegOnLine::showEvent(QShowEvent* event) {
    if (!IsOpening(event)) return QDialog::showEvent(event);
    ParkEditText();
    DestroyPanels();
    // 280 for one panel, 460 for two, or wider where the captions and panels need it.
    resize(std::max(TwoLoops ? 460 : 280, minimumSizeHint().width()), height());
    EditKind = 0;
    QDialog::showEvent(event);
    if (!polling_) Button2Click();
}

void TFormRegOnLine::hideEvent(QHideEvent* event) {
    if (IsClosing(event) && Timer1->isActive()) Button2Click();
    QDialog::hideEvent(event);
}

void TFormRegOnLine::Button2Click() {
    Timer1->setInterval(PollPeriodMs);
    if (Timer1->isActive()) {
        Timer1->stop();
        poll_.Stop(); // a running poll delivers nothing more
    } else {
        Timer1->start();
    }
    report_ = !report_;
    Label1->setVisible(!Label1->isVisible());
    polling_ = !polling_;
    built_ = false;
}

void TFormRegOnLine::Timer1Timer() {
    Button1Click();
}

void TFormRegOnLine::Button1Click() {
    if (poll_.Polling() || ctx_.ComPort().Busy()) return; // a poll or a write is running
    if (!polling_ || !built_) DestroyPanels();
    const int loopClass = ctx_.Cfg().Reg.GetLoopClass(LoopIndex[0]);
    for (int i = 0; i < PanelCount(); ++i)
        if (panels_[size_t(i)].panel == nullptr) CreatePanel(i, loopClass);
    const int dev = ctx_.Cfg().Serv.DevNum;
    poll_.SetRequests({PollFrame(dev, 3, ReadValuesData(), ValuesReplySize),
                       PollFrame(dev, 1, ReadStatesData(), StatesReplySize)});
    poll_.Tick();
}

void TFormRegOnLine::CreatePanel(int i, int loopClass) {
    LoopPanel& p = panels_[size_t(i)];
    p.panel = new TPanRegVis(ScrollBox1->widget(), LoopIndex[size_t(i)] + 1, loopClass);
    p.panel->move(20 + 200 * i, 10);
    p.panel->SetColorP_In(Qt::red);
    p.panel->SetColorP_Out(Qt::green);
    connect(p.panel, &SchemeControl::MouseDown, this,
            [this, i](SchemeControl*, Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
                PanRegVis0MouseDown(i, button);
            });
    connect(p.panel->SPBox(), &SchemeControl::Click, this, [this, i] { ChangeSPClick(i); });
    connect(p.panel->OUTBox(), &SchemeControl::Click, this, [this, i] { ChangeOUTClick(i); });
    p.plus = NewCommand(p.panel, 1, QStringLiteral("+"));
    p.minus = NewCommand(p.panel, 122, QStringLiteral("-"));
    p.ap = NewSwitch(p.panel, 4, apGlyph_);
    p.handAut = NewSwitch(p.panel, 111, handAutGlyph_);
    connect(p.plus, &QPushButton::clicked, this, [this, i] { p_Button1Click(i); });
    connect(p.minus, &QPushButton::clicked, this, [this, i] { p_Button2Click(i); });
    connect(p.ap, &QToolButton::clicked, this, [this, i] { SpButAPClick(i); });
    connect(p.handAut, &QToolButton::clicked, this, [this, i] { SpButH_AutClick(i); });
    const bool buttons = loopClass != 0;
    for (QWidget* b : {static_cast<QWidget*>(p.plus), static_cast<QWidget*>(p.minus),
                       static_cast<QWidget*>(p.ap), static_cast<QWidget*>(p.handAut)})
        b->setVisible(buttons);
    p.panel->show();
}

void TFormRegOnLine::DestroyPanels() {
    for (LoopPanel& p : panels_) {
        delete p.panel; // the buttons are its children
        p = LoopPanel{};
    }
}

void TFormRegOnLine::Polled(const PollReplies& replies) {
    TProgRegClass& reg = ctx_.Cfg().Reg;
    if (replies.size() < 2 || !TakeValues(reg, replies[0]) || !TakeStates(reg, replies[1])) return;
    for (int i = 0; i < PanelCount(); ++i) {
        LoopPanel& p = panels_[size_t(i)];
        if (p.panel == nullptr) continue;
        const int k = LoopIndex[size_t(i)];
        const float low = PVScaleMin[size_t(i)], high = PVScaleMax[size_t(i)];
        p.panel->SetNSk_PV(low), p.panel->SetVSk_PV(high);
        p.panel->SetNSk_SP(low), p.panel->SetVSk_SP(high);
        shownSP_[size_t(i)] = reg.GetOnlineSP(k);
        shownOUT_[size_t(i)] = reg.GetOnlineOUT(k);
        p.panel->SetVal_OUT(reg.GetOnlineOUT(k));
        p.panel->SetVal_PV(reg.GetOnlinePV(k));
        p.panel->SetVal_SP(reg.GetOnlineSP(k));
        const PanelLook look = LookOf(reg.GetStateByte(k));
        p.panel->SetColorP_Out(look.out);
        p.panel->SetColorP_In(look.in);
        p.handAut->setChecked(look.handAuto);
        p.ap->setChecked(look.ap);
    }
    if (polling_ && !built_) built_ = true;
}

void TFormRegOnLine::PollFailed(int result) {
    if (Timer1->isActive()) Button2Click();
    Report(result);
}

void TFormRegOnLine::Report(int result) {
    if (result > 0 && report_) ShowObmError(ctx_.ComPort(), ctx_.Cfg().Serv.DevNum, result, this);
}

int TFormRegOnLine::Send(int func, const std::vector<uint8_t>& data) {
    if (writing_) return WriteBusy;
    if (!ServInput::TransferAllowed(ctx_.Cfg().Veg, this)) return WriteRefused;
    writing_ = true;
    std::vector<uint8_t> reply(WriteReplySize);
    const int r = ctx_.ComPort().Obmen(ctx_.Cfg().Serv.DevNum, func, int(data.size()), data.data(), reply);
    writing_ = false;
    return r;
}

int TFormRegOnLine::WriteCoil(int coil, bool on) {
    return Send(5, CoilData(coil, on));
}

void TFormRegOnLine::SpButH_AutClick(int i) {
    const LoopPanel& p = panels_[size_t(i)];
    const int k = LoopIndex[size_t(i)];
    if (p.handAut->isChecked()) return SwitchWritten(i, WriteCoil(HandAutoCoil(k), true));
    p.ap->setChecked(false);
    int r = WriteCoil(HandAutoCoil(k), false);
    if (r == 0) r = WriteCoil(APCoil(k), false);
    SwitchWritten(i, r);
}

void TFormRegOnLine::SpButAPClick(int i) {
    const LoopPanel& p = panels_[size_t(i)];
    const int k = LoopIndex[size_t(i)];
    const bool allowed = p.handAut->isChecked() && APAllowed[size_t(i)];
    if (p.ap->isChecked() && !allowed) p.ap->setChecked(false);
    SwitchWritten(i, WriteCoil(APCoil(k), p.ap->isChecked()));
}

void TFormRegOnLine::SwitchWritten(int i, int result) {
    if (result == WriteRefused) {
        // Nothing was sent: the switches show the device's states again.
        const LoopPanel& p = panels_[size_t(i)];
        const PanelLook look = LookOf(ctx_.Cfg().Reg.GetStateByte(LoopIndex[size_t(i)]));
        p.handAut->setChecked(look.handAuto);
        p.ap->setChecked(look.ap);
    }
    Report(result);
}

void TFormRegOnLine::p_Button1Click(int i) {
    Report(WriteCoil(PlusCoil(LoopIndex[size_t(i)]), true));
}

void TFormRegOnLine::p_Button2Click(int i) {
    Report(WriteCoil(MinusCoil(LoopIndex[size_t(i)]), true));
}

void TFormRegOnLine::PanRegVis0MouseDown(int i, Qt::MouseButton button) {
    // While a value is typed its target stays.
    if (button == Qt::RightButton && EditKind == 0) EditPanel = i;
}

void TFormRegOnLine::ChangeSPClick(int i) {
    StartTyping(i, 2);
}

void TFormRegOnLine::ChangeOUTClick(int i) {
    StartTyping(i, 3);
}

void TFormRegOnLine::StartTyping(int i, int kind) {
    if (EditKind != 0 || writing_) return; // one value at a time
    EditPanel = i;
    const bool inAuto = ctx_.Cfg().Reg.GetStateBit0(LoopIndex[size_t(i)]) == 1;
    if ((kind == 2) != inAuto) return; // SP only in auto, OUT only in hand
    const float shown = kind == 2 ? shownSP_[size_t(i)] : shownOUT_[size_t(i)];
    EditText->setText(TPanRegVis::ValueText(shown));
    // Over the box of the value being typed.
    const TPanRegVis* panel = panels_[size_t(i)].panel;
    const QWidget* box = kind == 2 ? panel->SPBox() : panel->OUTBox();
    EditText->move(box->mapTo(this, QPoint(0, 0)));
    EditText->show();
    EditText->raise();
    EditText->setFocus();
    EditKind = kind;
}

bool TFormRegOnLine::eventFilter(QObject* watched, QEvent* event) {
    if (watched != EditText) return false;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            EditTextExit(); // nothing more when the focus change already wrote it
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        // A message box or a popup taking the focus is no leaving of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) EditTextExit();
    }
    return false;
}

void TFormRegOnLine::EditTextExit() {
    if (EditKind == 0 || writing_) return;
    const int kind = EditKind;
    EditKind = 0; // the boxes below take the focus
    const int i = EditPanel;
    const int k = LoopIndex[size_t(i)];
    const double low = kind == 2 ? PVScaleMin[size_t(i)] : 0.0;
    const double high = kind == 2 ? PVScaleMax[size_t(i)] : 100.0;
    const QString text = EditText->text();
    if (const auto refused = CheckEditRange(text, high, low, /*a loop kind whose range counts*/ 1)) {
        ServInput::ShowInputError(EditText, *refused);
        ParkEditText();
        return;
    }
    const float value = float(*ParseDecimal(text));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    const int r = Send(16, FloatData(kind == 2 ? SPRegister(k) : OUTRegister(k), value));
    if (r == WriteRefused) {
        // Nothing was sent: the panel keeps the device's value.
        ProgressBar1->hide();
        ParkEditText();
        return;
    }
    TProgRegClass& reg = ctx_.Cfg().Reg;
    TPanRegVis* panel = panels_[size_t(i)].panel;
    if (kind == 2) {
        reg.SetOnlineSP(k, value);
        shownSP_[size_t(i)] = value;
        if (panel) panel->SetVal_SP(value);
    } else {
        reg.SetOnlineOUT(k, value);
        shownOUT_[size_t(i)] = value;
        if (panel) panel->SetVal_OUT(value);
    }
    if (r != 0) {
        if (Timer1->isActive()) Button2Click();
        Report(r);
    } else {
        ProgressBar1->setValue(20);
    }
    ParkEditText();
    ProgressBar1->setValue(std::min(100, ProgressBar1->value() + 20));
    ProgressBar1->hide();
}
