#include "Obrcreat_reg.h"

#include "Configuration.h"
#include "NumberText.h"
#include "PvInput.h"
#include "ServInput.h"
#include "WindowOpening.h"
#include "editors/common/EditorContext.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::optional<int> WholeNumber(const QLineEdit* edit) {
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// A caption that breaks into lines where it is long, so that the three groups fit a laptop screen
// side by side.
QLabel* Caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLineEdit* NewEdit(QWidget* parent, const QString& text = QStringLiteral("0")) {
    auto* edit = new QLineEdit(text, parent);
    edit->setFixedWidth(90);
    return edit;
}

} // namespace

TFormCreatReg::TFormCreatReg(EditorContext& context, QWidget* parent) : QDialog(parent), ctx_(context) {
    setWindowTitle(QStringLiteral("Программирование токового выхода"));
    FormCreate();
}

void TFormCreatReg::FormCreate() {
    LabReg = new QLabel(QStringLiteral("Токовый выход №"), this);
    LabNReg = new QLabel(this);
    LabCreatProg = new QLabel(this);
    EditNKReg = NewEdit(this);
    EditNKReg->setEnabled(false);
    Label4 = new QLabel(QStringLiteral("Тип  контура регулирования"), this);
    CBoxTReg = new QComboBox(this);
    CBoxTReg->addItems({QStringLiteral("повторитель сигнала"), QStringLiteral("одноконтурный  регулятор"),
                        QStringLiteral("каскадная схема"), QString(), QString()});
    InformBut = new QPushButton(QStringLiteral("Входные сигналы"), this);
    OK = new QPushButton(QStringLiteral("OK"), this);
    Cancel = new QPushButton(QStringLiteral("Отмена"), this);
    OK->setAutoDefault(false);
    Cancel->setAutoDefault(false);
    ErrorText = new QLabel(QStringLiteral("ошибка"), this);
    ErrorText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ErrorText->setAutoFillBackground(true);
    ErrorText->setMouseTracking(true);
    ErrorText->installEventFilter(this);
    ErrorText->hide();

    const QString inputCaption = QStringLiteral("№ входа регулируемого            параметра");
    const QString outputKind = QStringLiteral("Tип выхода");
    const QStringList actions{QStringLiteral("прямой"), QStringLiteral("обратный")};
    const QStringList paramCaptions{QStringLiteral("Kp"),
                                    QStringLiteral("Ti"),
                                    QStringLiteral("Td"),
                                    QStringLiteral("Ограничение выхода снизу OL, %"),
                                    QStringLiteral("Ограничение выхода сверху OH, %"),
                                    QStringLiteral("Безопасное значение выхода OSF, %")};

    // One loop's group: number, output action, PV input, description, parameters, output.
    struct LoopGroup {
        QGridLayout* grid;
        int row = 0;
        void Add(QWidget* caption, QWidget* control) {
            grid->addWidget(caption, row, 0);
            grid->addWidget(control, row++, 1);
        }
    };
    const auto buildLoop = [&](QGroupBox* box, QLineEdit*& nReg, QComboBox*& tOut, QLineEdit*& anVh,
                               QLabel*& inf1, QLabel*& inf, QComboBox*& razm,
                               std::array<QLineEdit*, 6> params) {
        LoopGroup g{new QGridLayout(box)};
        nReg = NewEdit(box);
        nReg->setEnabled(false);
        g.Add(new QLabel(QStringLiteral("Регулятор №"), box), nReg);
        tOut = new QComboBox(box);
        tOut->addItems(actions);
        g.Add(new QLabel(outputKind, box), tOut);
        anVh = NewEdit(box, QStringLiteral("00"));
        anVh->setMaxLength(3);
        g.Add(Caption(inputCaption, box), anVh);
        inf1 = new QLabel(box);
        inf = new QLabel(box);
        g.grid->addWidget(inf1, g.row++, 0, 1, 2);
        g.grid->addWidget(inf, g.row++, 0, 1, 2);
        razm = new QComboBox(box);
        razm->hide();
        return g;
    };

    GBComp =
        new QGroupBox(QStringLiteral("Настройки одноконтур. рег.,   рег. внеш. контура или рег. с ПЗ"), this);
    // Kp, Ti, Td, OL, OH, OSF of one loop.
    const auto newParams = [](QGroupBox* box, std::array<QLineEdit**, 6> edits) {
        std::array<QLineEdit*, 6> made{};
        for (size_t i = 0; i < edits.size(); ++i)
            *edits[i] = made[i] = new QLineEdit(box);
        return made;
    };
    const auto outer = newParams(GBComp, {&EditKp, &EditTi, &EditTd, &EditOL, &EditOH, &EditdSP});
    LoopGroup comp = buildLoop(GBComp, EditNReg, CBoxTOut, EditAnVh, LabInf1, LabInf, Razm1, outer);
    EditVhPZ = NewEdit(GBComp);
    EditVhPZ->setEnabled(false);
    comp.Add(new QLabel(QStringLiteral("Адрес ПЗ"), GBComp), EditVhPZ);
    for (int i = 0; i < 6; ++i)
        comp.Add(Caption(paramCaptions[i], GBComp), outer[size_t(i)]);
    LabAdOUT = Caption(QStringLiteral("Выход ЦАП №"), GBComp);
    EditAdOUT = NewEdit(GBComp);
    EditAdOUT->setEnabled(false);
    comp.Add(LabAdOUT, EditAdOUT);

    GBRegInt = new QGroupBox(QStringLiteral("Настройки регулятора внутреннего контура"), this);
    const auto inner = newParams(GBRegInt, {&EditKp1, &EditTi1, &EditTd1, &EditOL1, &EditOH1, &EditdSP1});
    LoopGroup in = buildLoop(GBRegInt, EditNReg1, CBoxTOut1, EditAnVh1, LabInf2, LabInf3, Razm2, inner);
    EditVhSP = NewEdit(GBRegInt);
    in.Add(new QLabel(QStringLiteral("Адрес рег. внеш. контура "), GBRegInt), EditVhSP);
    for (int i = 0; i < 6; ++i)
        in.Add(Caption(paramCaptions[i], GBRegInt), inner[size_t(i)]);
    EditAdOUT1 = NewEdit(GBRegInt);
    in.Add(new QLabel(QStringLiteral("Выход ЦАП №"), GBRegInt), EditAdOUT1);

    GBPZ = new QGroupBox(QStringLiteral("Настройки программного задатчика"), this);
    auto* pz = new QGridLayout(GBPZ);
    EditNPZ = NewEdit(GBPZ);
    EditNPZ->setEnabled(false);
    EditAReg = NewEdit(GBPZ, QStringLiteral("00"));
    EditAReg->setEnabled(false);
    pz->addWidget(new QLabel(QStringLiteral("ПЗ №"), GBPZ), 0, 0);
    pz->addWidget(EditNPZ, 0, 1);
    pz->addWidget(new QLabel(QStringLiteral("Адрес регулятора"), GBPZ), 1, 0);
    pz->addWidget(EditAReg, 1, 1);
    pz->addWidget(Caption(QStringLiteral("Интервал времени        реперной точки"), GBPZ), 2, 1);
    pz->addWidget(Caption(QStringLiteral("Задание регулятора       в реперной точкe"), GBPZ), 2, 2);
    for (int k = 0; k < 6; ++k) {
        IntervalEdits[size_t(k)] = NewEdit(GBPZ);
        IntervalEdits[size_t(k)]->setObjectName(QStringLiteral("Edit%1").arg(k + 1));
        ValueEdits[size_t(k)] = NewEdit(GBPZ);
        ValueEdits[size_t(k)]->setObjectName(QStringLiteral("Edit%1").arg(k + 7));
        pz->addWidget(new QLabel(QStringLiteral("№%1").arg(k + 1), GBPZ), 3 + k, 0);
        pz->addWidget(IntervalEdits[size_t(k)], 3 + k, 1);
        pz->addWidget(ValueEdits[size_t(k)], 3 + k, 2);
    }
    GBComp->setEnabled(false);
    GBRegInt->setEnabled(false);
    GBPZ->setEnabled(false);

    fields_ = {CBoxTReg, EditAnVh, EditNReg, EditAdOUT, EditKp,  EditTi,    EditTd,    EditOL,
               EditOH,   EditdSP,  EditVhPZ, EditAReg,  EditNPZ, EditNReg1, EditAnVh1, EditVhSP,
               EditKp1,  EditTi1,  EditTd1,  EditOL1,   EditOH1, EditdSP1,  EditAdOUT1};
    for (int k = 0; k < 6; ++k) {
        fields_[size_t(Interval(k))] = IntervalEdits[size_t(k)];
        fields_[size_t(Value(k))] = ValueEdits[size_t(k)];
    }
    paramEdits_ = {EditKp,  EditTi,  EditTd,  EditOL,  EditOH,  EditdSP,
                   EditKp1, EditTi1, EditTd1, EditOL1, EditOH1, EditdSP1};
    digitEdits_ = {EditAReg, EditAdOUT, EditAdOUT1, EditAnVh, EditAnVh1, EditVhPZ, EditVhSP};
    digitEdits_.insert(digitEdits_.end(), IntervalEdits.begin(), IntervalEdits.end());
    for (QWidget* w : fields_)
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->installEventFilter(this);
            connect(edit, &QLineEdit::textChanged, this, &TFormCreatReg::Changed);
        }
    for (QComboBox* box : {CBoxTReg, CBoxTOut, CBoxTOut1})
        connect(box, &QComboBox::currentIndexChanged, this, &TFormCreatReg::Changed);
    // Only the user's choice resets the fields; the editor's selection of a kind does not.
    connect(CBoxTReg, &QComboBox::activated, this, &TFormCreatReg::CBoxTRegClick);
    connect(InformBut, &QPushButton::clicked, this, &TFormCreatReg::InformButClick);
    connect(OK, &QPushButton::clicked, this, &TFormCreatReg::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &TFormCreatReg::CancelClick);

    auto* head = new QGridLayout;
    head->addWidget(LabReg, 0, 0);
    head->addWidget(LabNReg, 0, 1);
    head->addWidget(LabCreatProg, 0, 2);
    head->addWidget(EditNKReg, 0, 3);
    head->addWidget(Label4, 1, 0);
    head->addWidget(CBoxTReg, 1, 1, 1, 2);
    head->addWidget(InformBut, 1, 3);
    auto* groups = new QHBoxLayout;
    groups->addWidget(GBComp);
    groups->addWidget(GBRegInt);
    groups->addWidget(GBPZ);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addLayout(groups);
    layout->addLayout(buttons);
}

void TFormCreatReg::Changed() {
    ctx_.Cfg().Reg.SetRegModified(1);
}

CreatRegForm TFormCreatReg::ReadForm() const {
    CreatRegForm form;
    for (int i = 0; i < RegFieldCount; ++i)
        if (auto* edit = qobject_cast<QLineEdit*>(fields_[size_t(i)])) form.text[size_t(i)] = edit->text();
    form.kind = CBoxTReg->currentIndex();
    form.comp = GBComp->isEnabled();
    form.regInt = GBRegInt->isEnabled();
    form.pz = GBPZ->isEnabled();
    form.cascadeCaption = LabAdOUT->text() != QStringLiteral("Выход ЦАП №");
    form.outAction = CBoxTOut->currentIndex();
    return form;
}

void TFormCreatReg::ShowForm(const CreatRegForm& form) {
    for (int i = 0; i < RegFieldCount; ++i)
        if (auto* edit = qobject_cast<QLineEdit*>(fields_[size_t(i)])) edit->setText(form.text[size_t(i)]);
    CBoxTReg->setCurrentIndex(form.kind);
    GBComp->setEnabled(form.comp);
    GBRegInt->setEnabled(form.regInt);
    GBPZ->setEnabled(form.pz);
    LabAdOUT->setText(form.cascadeCaption ? QStringLiteral("Регулятор внутр.       контура №")
                                          : QStringLiteral("Выход ЦАП №"));
    CBoxTOut->setCurrentIndex(form.outAction);
}

void TFormCreatReg::CBoxTRegClick(int index) {
    Changed();
    CreatRegForm form = ReadForm();
    const TConfiguration& cfg = ctx_.Cfg();
    ChooseKind(form, index,
               KindContext{cfg.Serv.GetSlotModuleCode(1), cfg.Reg.GetCurRegIndex(), cfg.Reg.GetCurPZIndex()});
    ShowForm(form);
}

void TFormCreatReg::Hint(QWidget* control, const QString& text) {
    ServInput::ShowInputErrorHint(control, ErrorText, text);
}

void TFormCreatReg::EditNRegExit() {
    const auto n = WholeNumber(EditNReg);
    if (!n || *n <= 0 || *n > ctx_.Cfg().Reg.GetRegCount()) return Hint(EditNReg);
    if (CBoxTReg->currentIndex() == 3) EditAReg->setText(EditNReg->text());
    if (CBoxTReg->currentIndex() == 2) EditVhSP->setText(EditNReg->text());
}

void TFormCreatReg::EditVhPZExit() {
    const auto n = WholeNumber(EditVhPZ);
    if (!n || *n <= 0 || *n > ctx_.Cfg().Reg.GetRegCount()) return Hint(EditVhPZ);
    if (CBoxTReg->currentIndex() == 3) EditNPZ->setText(EditVhPZ->text());
}

void TFormCreatReg::EditAdOUTExit() {
    if (CBoxTReg->currentIndex() != 2 || EditAdOUT->text().isEmpty()) return;
    const auto n = WholeNumber(EditAdOUT);
    const auto loop = WholeNumber(EditNReg);
    if (!n || !loop || *n < 1 || *n > ctx_.Cfg().Reg.GetRegCount() || *n != *loop + 1) return Hint(EditAdOUT);
    EditNReg1->setText(EditAdOUT->text());
}

void TFormCreatReg::ShowPvInput(QLineEdit* edit, QComboBox* units, QLabel* header, QLabel* line,
                                bool storeScale) {
    const auto n = WholeNumber(edit);
    TConfiguration& cfg = ctx_.Cfg();
    if (!n || *n < 1 || *n > cfg.Serv.GetAnInCount()) return;
    const auto in = LookUpPvInput(cfg, *n);
    units->clear();
    if (!in) {
        header->clear();
        line->clear();
        if (storeScale) cfg.Reg.SetPVScaleLow(0), cfg.Reg.SetPVScaleHigh(0);
        return;
    }
    if (storeScale) {
        cfg.Reg.SetPVScaleLow(ParseDecimal(in->lowText).value_or(0));
        cfg.Reg.SetPVScaleHigh(ParseDecimal(in->highText).value_or(0));
    }
    units->addItems(cfg.MBA.FillRazmList());
    units->setCurrentIndex(in->unit);
    header->setText(QStringLiteral("позиция    НШК       ВШК        разм"));
    line->setText(in->position + QStringLiteral("   ") + in->lowText + QStringLiteral("  ") + in->highText +
                  QStringLiteral("   ") + units->currentText());
}

void TFormCreatReg::EditAnVhExit() {
    ShowPvInput(EditAnVh, Razm1, LabInf1, LabInf, true);
}

void TFormCreatReg::EditAnVh1Exit() {
    ShowPvInput(EditAnVh1, Razm2, LabInf2, LabInf3, false);
}

void TFormCreatReg::InformButClick() {
    ctx_.FillInform(ctx_.Cfg().Reg.GetRegInformFillOnly() ? InformShow::Quiet : InformShow::Show);
}

void TFormCreatReg::showEvent(QShowEvent* event) {
    if (!IsOpening(event)) return QDialog::showEvent(event);
    Cancelled = 1; // only OK clears it
    ModalResult = 2;
    ErrorText->hide();
    TProgRegClass& reg = ctx_.Cfg().Reg;
    reg.SetRegInformFillOnly(1);
    InformButClick();
    reg.SetRegInformFillOnly(0);
    QDialog::showEvent(event);
}

void TFormCreatReg::LeaveField(QWidget* edit) {
    if (edit == EditNReg) EditNRegExit();
    if (edit == EditVhPZ) EditVhPZExit();
    if (edit == EditAdOUT) EditAdOUTExit();
    if (edit == EditAnVh) EditAnVhExit();
    if (edit == EditAnVh1) EditAnVh1Exit();
}

bool TFormCreatReg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ErrorText) {
        if (event->type() == QEvent::MouseMove) ErrorText->hide();
        return false;
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr) return false;
    if (event->type() == QEvent::FocusOut) LeaveField(edit);
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (std::find(paramEdits_.begin(), paramEdits_.end(), edit) != paramEdits_.end())
        return ServInput::KeyFilterShiftDigit(edit, key) != 0;
    if (std::find(digitEdits_.begin(), digitEdits_.end(), edit) == digitEdits_.end()) return false;
    const int r = ServInput::KeyFilterDigits(edit, key);
    if (r == 13) focusNextChild();
    return r != 0;
}

void TFormCreatReg::OKClick() {
    Cancelled = 0;
    TryClose();
}

void TFormCreatReg::CancelClick() {
    Cancelled = 1;
    TryClose();
}

void TFormCreatReg::reject() {
    Cancelled = 1;
    TryClose();
}

void TFormCreatReg::TryClose() {
    if (FormCloseQuery()) done(ModalResult);
}

bool TFormCreatReg::FormCloseQuery() {
    ModalResult = 2;
    // The check of the field being left runs first.
    LeaveField(focusWidget());
    CBoxTReg->setFocus();
    ErrorText->hide();
    if (Cancelled == 1) return true;
    TConfiguration& cfg = ctx_.Cfg();
    const CloseContext close{cfg.Reg.GetRegCount(), cfg.Serv.GetAnInCount(), cfg.Reg.GetPVScaleLow(),
                             cfg.Reg.GetPVScaleHigh(), &cfg.Reg};
    if (const auto refusal = CheckClose(ReadForm(), close)) {
        Hint(Field(refusal->field), refusal->text);
        ModalResult = 6;
        return false;
    }
    if (ctx_.FileMode() && cfg.Reg.GetRegModified()) cfg.Serv.Modified = 1;
    return true;
}
