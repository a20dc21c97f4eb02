#include "Obrcreatfb_mb.h"

#include "Configuration.h"
#include "NumberText.h"
#include "RadioGroup.h"
#include "ServInput.h"
#include "WindowOpening.h"
#include "editors/common/EditorContext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace CreatFb {

namespace {
const QString InputError = QStringLiteral(" Ошибка ввода ");
constexpr double LimitRange = 32767;
} // namespace

TypeView ViewOfType(int type) {
    TypeView v;
    switch (type) {
    case 1:
    case 2:
    case 3:
    case 4:
        v.inputs = 4;
        break;
    case 5:
        v.inputs = 2;
        break;
    case 6:
        v.inputs = 2;
        v.timerGroup = v.timerType = v.timeUnit = v.time = true;
        v.pins = {"S", "R", "", ""};
        break;
    case 7:
        v.inputs = 4;
        v.trigger = true;
        v.pins = {"S", "S", "R", "R"};
        break;
    case 8:
        v.inputs = 1;
        v.timerGroup = v.timeUnit = v.time = v.comparator = true;
        break;
    case 9:
        v.inputs = 4;
        v.counter = true;
        v.pins = {"ZV", "ZR", "S", "R"};
        break;
    default:
        break;
    }
    return v;
}

const QStringList& TypeNames() {
    static const QStringList names{
        QStringLiteral("\"И\" (4 входа)"),           QStringLiteral("\"И-НЕ\" (4 входа)"),
        QStringLiteral("\"ИЛИ\" (4 входа)"),         QStringLiteral("\"ИЛИ-НЕ\" (4 входа)"),
        QStringLiteral("\"ГСТ\"гистерезис (2 вх.)"), QStringLiteral("\"Т\" таймер  (2 входа)"),
        QStringLiteral("\"Тр\"  триггер (4 входа)"), QStringLiteral("\"СМР\" компаратор (4 вх)"),
        QStringLiteral("\"СЧ\" счетчик (4вх)"),
    };
    return names;
}

bool LimitTextOk(const QString& text) {
    const std::optional<double> v = ParseDecimal(text);
    return v && *v >= -LimitRange && *v <= LimitRange;
}

int CheckEditRange(QLineEdit* edit, QWidget* errorText, double high, double low) {
    if (edit->text().isEmpty()) {
        ServInput::ShowInputErrorHint(edit, errorText);
        return 6;
    }
    // Text that is no number is refused like an empty field.
    const std::optional<double> v = ParseDecimal(edit->text());
    if (!v) {
        ServInput::ShowInputErrorHint(edit, errorText);
        return 6;
    }
    if (*v >= low && *v <= high) return 2;
    ServInput::ShowInputErrorHint(edit, errorText,
                                  QString::asprintf("Величина вне диапазона %g - %g", low, high));
    return 6;
}

} // namespace CreatFb

namespace {

int Whole(const QLineEdit* edit) {
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    return ok ? v : 0;
}

bool IsWhole(const QLineEdit* edit) {
    bool ok = false;
    edit->text().trimmed().toInt(&ok);
    return ok;
}

QLineEdit* NewEdit(QWidget* parent, int maxLength, const QString& hint = {}) {
    auto* e = new QLineEdit(QStringLiteral("00"), parent);
    e->setMaxLength(maxLength);
    e->setToolTip(hint);
    e->setFixedWidth(60);
    return e;
}

constexpr int TimerT5 = 5;

} // namespace

TFormCreatFB::TFormCreatFB(EditorContext& context, QWidget* parent) : QDialog(parent), ctx_(context) {
    setObjectName("FormCreatFB");
    setWindowTitle(QStringLiteral("Программирование функционального блока"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(654, 684);
    FormCreate();
}

void TFormCreatFB::FormCreate() {
    auto* top = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    LabFB = new QLabel(QStringLiteral("Функциональный блок №"), this);
    LabNFB = new QLabel(this);
    EditNFB = new QLineEdit(this);
    EditNFB->setMaxLength(10);
    EditNFB->setEnabled(false);
    EditNFB->setFixedWidth(60);
    LabCreatProg = new QLabel(this);
    Label1 = new QLabel(QStringLiteral("Архивирование"), this);
    SBVkl = new QToolButton(this);
    SBVkl->setCheckable(true);
    SBVkl->setText(QStringLiteral("отключено"));
    for (QWidget* w : std::initializer_list<QWidget*>{LabFB, LabNFB, EditNFB, LabCreatProg, Label1, SBVkl})
        head->addWidget(w);
    head->addStretch();
    top->addLayout(head);

    // Compact, so that the dialog fits a laptop screen: the type and trigger lists on the left,
    // the timer on the right.
    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    RadioGroup1 = new RadioGroup(QStringLiteral("Тип функц. блока"), CreatFb::TypeNames(), this);
    left->addWidget(RadioGroup1);
    RadioGroup3 = new RadioGroup(
        QStringLiteral("Тип триггера"),
        {QStringLiteral("приоритет сброса       (R-S)"), QStringLiteral("приоритет установки (S-R)")}, this);
    left->addWidget(RadioGroup3);
    left->addStretch();
    middle->addLayout(left);
    auto* right = new QVBoxLayout;

    GBTimer = new QGroupBox(QStringLiteral("Реквизиты таймера и компаратора"), this);
    auto* timer = new QGridLayout(GBTimer);
    RadioGroup2 = new RadioGroup(
        QStringLiteral("Тип таймера"),
        {QStringLiteral("T0 - задержка вкл."), QStringLiteral("T1 - задержка вкл. с запоминанием"),
         QStringLiteral("T2 - задержка откл."), QStringLiteral("T3 - короткий импульс"),
         QStringLiteral("T4 - удлиненный импульс"), QStringLiteral("T5 - \"будильник\"")},
        GBTimer);
    RadioGroup4 = new RadioGroup(
        QStringLiteral("Дискретность времени длит. импульса"),
        {QStringLiteral("сотни миллисекунд"), QStringLiteral("секунды"), QStringLiteral("десятки секунд")},
        GBTimer);
    Label13 = new QLabel(QStringLiteral("Для таймера или компаратора"), GBTimer);
    EditT = NewEdit(GBTimer, 4, QStringLiteral("Время в ед дискр(0-60)"));
    EditHour = NewEdit(GBTimer, 2, QStringLiteral("0-23"));
    EditMin = NewEdit(GBTimer, 2, QStringLiteral("0-59"));
    EditSec = NewEdit(GBTimer, 2, QStringLiteral("0-59"));
    timer->addWidget(RadioGroup2, 0, 0, 1, 4);
    timer->addWidget(Label13, 1, 0, 1, 4);
    timer->addWidget(RadioGroup4, 2, 0, 1, 3);
    timer->addWidget(EditT, 2, 3);
    timer->addWidget(new QLabel(QStringLiteral("Реальное время включения \"будильника\""), GBTimer), 3, 0, 1,
                     4);
    timer->addWidget(EditHour, 4, 0);
    timer->addWidget(EditMin, 4, 1);
    timer->addWidget(EditSec, 4, 2);
    timer->setVerticalSpacing(2);
    for (RadioGroup* g : {RadioGroup1, RadioGroup2, RadioGroup3, RadioGroup4})
        g->SetCompact();
    right->addWidget(GBTimer);
    middle->addLayout(right);
    top->addLayout(middle);

    GroupBox1 = new QGroupBox(QStringLiteral("Входы функционального блока"), this);
    auto* inputs = new QGridLayout(GroupBox1);
    std::array<QComboBox**, 4> types{&ComboBox1, &ComboBox3, &ComboBox5, &ComboBox7};
    std::array<QComboBox**, 4> sources{&ComboBox2, &ComboBox4, &ComboBox6, &ComboBox8};
    std::array<QLineEdit**, 4> numbers{&EditVx1, &EditVx2, &EditVx3, &EditVx4};
    for (int j = 0; j < FbTable::Inputs; ++j) {
        auto* type = new QComboBox(GroupBox1);
        type->addItems({QStringLiteral("инверсный"), QStringLiteral("прямой")});
        auto* source = new QComboBox(GroupBox1);
        source->addItems({QStringLiteral("вход. диск. сигнал"), QStringLiteral("выход ФБ или № КВУ"),
                          QStringLiteral("флаг недост. анал. сигн."),
                          QStringLiteral("флаг недост. диск. сигн.")});
        auto* number = NewEdit(GroupBox1, 3);
        number->setText(QStringLiteral("0"));
        auto* pin = new QLabel(GroupBox1);
        *types[size_t(j)] = TypeBoxes[size_t(j)] = type;
        *sources[size_t(j)] = SourceBoxes[size_t(j)] = source;
        *numbers[size_t(j)] = NumberEdits[size_t(j)] = number;
        LabRS[size_t(j)] = pin;
        inputs->addWidget(new QLabel(QString::number(j + 1), GroupBox1), j, 0);
        inputs->addWidget(type, j, 1);
        inputs->addWidget(source, j, 2);
        inputs->addWidget(number, j, 3);
        inputs->addWidget(pin, j, 4);
        connect(type, &QComboBox::currentIndexChanged, this, &TFormCreatFB::Changed);
        connect(source, &QComboBox::currentIndexChanged, this, &TFormCreatFB::Changed);
    }
    top->addWidget(GroupBox1);

    auto* bottom = new QHBoxLayout;
    GBComp = new QGroupBox(QStringLiteral("Настройки компаратора"), this);
    auto* comp = new QGridLayout(GBComp);
    ComboBox9 = new QComboBox(GBComp);
    ComboBox9->addItems({QStringLiteral("аналог. вход"), QStringLiteral("вых. мат. блока")});
    EditAnVh = NewEdit(GBComp, 3);
    EditLim = NewEdit(GBComp, 7);
    CBoxCond = new QComboBox(GBComp);
    CBoxCond->addItems({QStringLiteral("L"), QStringLiteral("H")});
    EditGist = NewEdit(GBComp, 2, QStringLiteral("Гистерезис(0-31)"));
    comp->addWidget(ComboBox9, 0, 0);
    comp->addWidget(EditAnVh, 0, 1);
    comp->addWidget(EditLim, 0, 2);
    comp->addWidget(CBoxCond, 1, 0);
    comp->addWidget(EditGist, 1, 1);
    GBCount = new QGroupBox(QStringLiteral("Настройки счетчика"), this);
    auto* count = new QHBoxLayout(GBCount);
    EditLimCount = NewEdit(GBCount, 2);
    count->addWidget(EditLimCount);
    bottom->addWidget(GBComp);
    bottom->addWidget(GBCount);
    top->addLayout(bottom);
    connect(ComboBox9, &QComboBox::currentIndexChanged, this, &TFormCreatFB::Changed);
    connect(CBoxCond, &QComboBox::currentIndexChanged, this, &TFormCreatFB::Changed);

    auto* buttons = new QHBoxLayout;
    InformBut = new QPushButton(QStringLiteral("Входные сигналы"), this);
    OK = new QPushButton(QStringLiteral("OK"), this);
    Cancel = new QPushButton(QStringLiteral("Отмена"), this);
    for (QPushButton* b : {InformBut, OK, Cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    top->addLayout(buttons);

    ErrorText = new QLabel(QStringLiteral("ошибка"), this);
    ErrorText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ErrorText->setAutoFillBackground(true);
    ErrorText->setMouseTracking(true);
    ErrorText->installEventFilter(this);
    ErrorText->hide();

    digitEdits_ = {EditVx1, EditVx2,  EditVx3, EditVx4, EditAnVh,    EditGist,
                   EditT,   EditHour, EditMin, EditSec, EditLimCount};
    for (QLineEdit* e : digitEdits_)
        e->installEventFilter(this);
    EditLim->installEventFilter(this);
    for (QLineEdit* e : {EditVx1, EditVx2, EditVx3, EditVx4, EditAnVh, EditGist, EditT, EditHour, EditMin,
                         EditSec, EditLimCount, EditLim})
        connect(e, &QLineEdit::textEdited, this, &TFormCreatFB::Changed);

    connect(RadioGroup1, &RadioGroup::Clicked, this, &TFormCreatFB::RadioGroup1Click);
    connect(RadioGroup2, &RadioGroup::Clicked, this, &TFormCreatFB::RadioGroup2Click);
    connect(RadioGroup3, &RadioGroup::Clicked, this, &TFormCreatFB::Changed);
    connect(RadioGroup4, &RadioGroup::Clicked, this, &TFormCreatFB::Changed);
    connect(SBVkl, &QToolButton::clicked, this, &TFormCreatFB::SBVklClick);
    connect(InformBut, &QPushButton::clicked, this, &TFormCreatFB::InformButClick);
    connect(OK, &QPushButton::clicked, this, &TFormCreatFB::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &TFormCreatFB::CancelClick);
}

void TFormCreatFB::Changed() {
    ctx_.Cfg().FB.FBModified = 1;
}

void TFormCreatFB::RadioGroup1Click() {
    Changed();
    const int type = RadioGroup1->ItemIndex() + 1;
    for (RadioGroup* g : {RadioGroup2, RadioGroup3, RadioGroup4})
        g->SetItemIndex(0);
    for (QLineEdit* e : {EditT, EditHour, EditMin, EditSec, EditAnVh, EditLim, EditLimCount, EditGist})
        e->setText(QStringLiteral("00"));
    CBoxCond->setCurrentIndex(0);
    const CreatFb::TypeView view = CreatFb::ViewOfType(type);
    for (int j = 0; j < FbTable::Inputs; ++j) {
        const bool used = j < view.inputs;
        NumberEdits[size_t(j)]->setText(QStringLiteral("0"));
        InputValues[size_t(j)] = 0;
        TypeBoxes[size_t(j)]->setCurrentIndex(0);
        SourceBoxes[size_t(j)]->setCurrentIndex(0);
        for (QWidget* w : std::initializer_list<QWidget*>{NumberEdits[size_t(j)], TypeBoxes[size_t(j)],
                                                          SourceBoxes[size_t(j)]})
            w->setEnabled(used);
        LabRS[size_t(j)]->setText(view.pins[size_t(j)]);
    }
    GBTimer->setEnabled(view.timerGroup);
    RadioGroup2->setEnabled(view.timerType);
    RadioGroup3->setEnabled(view.trigger);
    RadioGroup4->setEnabled(view.timeUnit);
    EditT->setEnabled(view.time);
    for (QLineEdit* e : {EditHour, EditMin, EditSec})
        e->setEnabled(false);
    GBCount->setEnabled(view.counter);
    EditLimCount->setEnabled(view.counter);
    GBComp->setEnabled(view.comparator);
    for (QWidget* w : std::initializer_list<QWidget*>{EditGist, CBoxCond, EditLim, EditAnVh})
        w->setEnabled(view.comparator);
}

void TFormCreatFB::RadioGroup2Click() {
    if (RadioGroup1->ItemIndex() + 1 != TProgFBClass::TypeTimer) return;
    Changed();
    const bool alarm = RadioGroup2->ItemIndex() == TimerT5;
    if (!alarm) {
        for (int j = 0; j < 2; ++j) {
            NumberEdits[size_t(j)]->setText(QStringLiteral("0"));
            for (QWidget* w : std::initializer_list<QWidget*>{NumberEdits[size_t(j)], TypeBoxes[size_t(j)],
                                                              SourceBoxes[size_t(j)]})
                w->setEnabled(true);
        }
        for (QLineEdit* e : {EditHour, EditMin, EditSec})
            e->setText(QStringLiteral("00"));
        LabRS[0]->setText(QStringLiteral("S"));
        LabRS[1]->setText(QStringLiteral("R"));
    } else {
        for (QWidget* w : std::initializer_list<QWidget*>{NumberEdits[1], TypeBoxes[1], SourceBoxes[1]})
            w->setEnabled(false);
        LabRS[0]->clear();
        LabRS[1]->clear();
    }
    for (QLineEdit* e : {EditHour, EditMin, EditSec})
        e->setEnabled(alarm);
}

void TFormCreatFB::SBVklClick() {
    SBVkl->setText(SBVkl->isChecked() ? QStringLiteral("включено") : QStringLiteral("отключено"));
    Changed();
}

void TFormCreatFB::InformButClick() {
    ctx_.FillInform(ctx_.Cfg().FB.FBInformFillOnly ? InformShow::Quiet : InformShow::Show);
}

void TFormCreatFB::showEvent(QShowEvent* event) {
    if (!IsOpening(event)) return QDialog::showEvent(event);
    RadioGroup1->setFocus();
    TProgFBClass& fb = ctx_.Cfg().FB;
    fb.FBInformFillOnly = 1;
    InformButClick();
    fb.FBInformFillOnly = 0;
    QDialog::showEvent(event);
}

bool TFormCreatFB::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ErrorText) {
        if (event->type() == QEvent::MouseMove) ErrorText->hide();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (edit == EditLim) return ServInput::KeyFilterShiftDigit(edit, key) != 0;
    if (std::find(digitEdits_.begin(), digitEdits_.end(), edit) == digitEdits_.end()) return false;
    const int r = ServInput::KeyFilterDigits(edit, key);
    if (r == 13) focusNextChild();
    return r != 0;
}

int TFormCreatFB::CheckEditRange(QLineEdit* edit, double high, double low) {
    return CreatFb::CheckEditRange(edit, ErrorText, high, low);
}

bool TFormCreatFB::FormCloseQuery() {
    ErrorText->hide();
    if (Cancelled != 0) return true;
    // Without a type the block would be an empty record, which ends the scheme before the blocks
    // after it.
    if (RadioGroup1->ItemIndex() < 0) {
        ServInput::ShowInputErrorHint(RadioGroup1, ErrorText);
        return false;
    }
    if (CheckEditRange(EditHour, 23, 0) != 2 || CheckEditRange(EditMin, 59, 0) != 2 ||
        CheckEditRange(EditSec, 59, 0) != 2)
        return false;
    // The editor converts these; each must hold a whole number.
    for (QLineEdit* e : {EditT, EditAnVh, EditGist, EditVx1, EditVx2, EditVx3, EditVx4, EditLimCount})
        if (!IsWhole(e)) {
            ServInput::ShowInputErrorHint(e, ErrorText);
            return false;
        }
    if (!CreatFb::LimitTextOk(EditLim->text())) {
        ServInput::ShowInputErrorHint(EditLim, ErrorText,
                                      QStringLiteral("Величина вне диапазона -32767 - 32767"));
        return false;
    }
    TConfiguration& cfg = ctx_.Cfg();
    if (ctx_.FileMode() && cfg.FB.FBModified) cfg.Serv.Modified = 1;
    return true;
}

void TFormCreatFB::FormClose() {
    for (QLineEdit* e : {EditT, EditAnVh})
        if (e->text().isEmpty()) ServInput::ShowInputErrorHint(e, ErrorText);
    if (EditLimCount->text().isEmpty()) {
        ServInput::ShowInputErrorHint(EditLimCount, ErrorText);
        EditLimCount->setText(QStringLiteral("00"));
    }
}

void TFormCreatFB::TryClose() {
    if (!FormCloseQuery()) return;
    FormClose();
    done(Cancelled == 0 ? QDialog::Accepted : QDialog::Rejected);
}

void TFormCreatFB::OKClick() {
    Cancelled = 0;
    TryClose();
}

void TFormCreatFB::CancelClick() {
    Cancelled = 1;
    TryClose();
}

void TFormCreatFB::reject() {
    Cancelled = ClosedByBox;
    TryClose();
}

void TFormCreatFB::SetArchive(bool down, bool enabled) {
    SBVkl->setEnabled(enabled);
    SBVkl->setChecked(down);
    SBVkl->setText(down ? QStringLiteral("включено") : QStringLiteral("отключено"));
}

void TFormCreatFB::ResetInputRows() {
    for (int j = 0; j < FbTable::Inputs; ++j) {
        TypeBoxes[size_t(j)]->setCurrentIndex(0);
        SourceBoxes[size_t(j)]->setCurrentIndex(0);
        NumberEdits[size_t(j)]->setText(QStringLiteral("000"));
        for (QWidget* w : std::initializer_list<QWidget*>{NumberEdits[size_t(j)], TypeBoxes[size_t(j)],
                                                          SourceBoxes[size_t(j)]})
            w->setEnabled(false);
    }
}

void TFormCreatFB::FillNew(int number, bool archiveAllowed) {
    Cancelled = 1;
    LabCreatProg->setText(QStringLiteral("создание"));
    EditNFB->setText(QString::number(number));
    RadioGroup1->SetItemIndex(-1);
    for (RadioGroup* g : {RadioGroup2, RadioGroup3, RadioGroup4})
        g->SetItemIndex(0);
    for (QLineEdit* e : {EditT, EditHour, EditMin, EditSec, EditAnVh, EditLim, EditLimCount, EditGist})
        e->setText(QStringLiteral("00"));
    SetArchive(false, archiveAllowed);
}

void TFormCreatFB::FillFrom(const FbTable::BlockValues& v, int number, bool archiveAllowed) {
    Cancelled = 1;
    LabCreatProg->setText(QStringLiteral("программирование"));
    EditNFB->setText(QString::number(number));
    RadioGroup1->SetItemIndex(v.type - 1);
    RadioGroup1Click();
    if (v.type == TProgFBClass::TypeTimer) {
        RadioGroup2->SetItemIndex(v.timerType);
        RadioGroup2Click();
    }
    // Only the settings of the block's type: other types keep other fields in those bytes.
    const bool timer = v.type == TProgFBClass::TypeTimer, comparator = v.type == TProgFBClass::TypeComparator;
    if (v.type == TProgFBClass::TypeTrigger) RadioGroup3->SetItemIndex(v.trigger);
    if (timer || comparator) {
        RadioGroup4->SetItemIndex(v.timeUnit);
        EditT->setText(QString::number(v.time));
    }
    if (timer && v.timerType == TimerT5) {
        EditHour->setText(QString::number(v.hour));
        EditMin->setText(QString::number(v.minute));
        EditSec->setText(QString::number(v.second));
    }
    if (comparator) {
        EditAnVh->setText(QString::number(v.x1Num));
        ComboBox9->setCurrentIndex(v.x1Src);
        EditLim->setText(v.limit);
        CBoxCond->setCurrentIndex(v.condition);
        EditGist->setText(QString::number(v.hysteresis));
    }
    if (v.type == TProgFBClass::TypeCounter) EditLimCount->setText(QString::number(v.countLimit));
    for (int j = 0; j < FbTable::Inputs; ++j) {
        TypeBoxes[size_t(j)]->setCurrentIndex(v.inType[size_t(j)]);
        SourceBoxes[size_t(j)]->setCurrentIndex(v.inSource[size_t(j)]);
        NumberEdits[size_t(j)]->setText(QString::number(v.inNum[size_t(j)]));
    }
    SetArchive(archiveAllowed && v.archive, archiveAllowed);
}

FbTable::BlockValues TFormCreatFB::Values() const {
    FbTable::BlockValues v;
    v.type = RadioGroup1->ItemIndex() + 1;
    v.timerType = std::max(RadioGroup2->ItemIndex(), 0);
    v.trigger = std::max(RadioGroup3->ItemIndex(), 0);
    v.timeUnit = std::max(RadioGroup4->ItemIndex(), 0);
    v.time = Whole(EditT);
    v.hour = Whole(EditHour);
    v.minute = Whole(EditMin);
    v.second = Whole(EditSec);
    v.x1Num = Whole(EditAnVh);
    v.x1Src = std::max(ComboBox9->currentIndex(), 0);
    v.limit = EditLim->text();
    v.condition = std::max(CBoxCond->currentIndex(), 0);
    v.hysteresis = Whole(EditGist);
    v.countLimit = Whole(EditLimCount);
    for (int j = 0; j < FbTable::Inputs; ++j) {
        v.inType[size_t(j)] = std::max(TypeBoxes[size_t(j)]->currentIndex(), 0);
        v.inSource[size_t(j)] = std::max(SourceBoxes[size_t(j)]->currentIndex(), 0);
        v.inNum[size_t(j)] = Whole(NumberEdits[size_t(j)]);
    }
    v.archive = SBVkl->isChecked();
    return v;
}

void TFormCreatFB::ShowZeroedNumbers(const FbTable::BlockValues& stored) {
    const FbTable::BlockValues typed = Values();
    for (int j = 0; j < FbTable::Inputs; ++j)
        if (stored.inNum[size_t(j)] == 0 && typed.inNum[size_t(j)] != 0)
            NumberEdits[size_t(j)]->setText(QStringLiteral("0"));
    if (stored.x1Num == 0 && typed.x1Num != 0) EditAnVh->setText(QStringLiteral("0"));
}
