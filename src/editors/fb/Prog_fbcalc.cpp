#include "Prog_fbcalc.h"

#include "Configuration.h"
#include "Dialogs.h"
#include "Obrcreatfb_mb.h"
#include "RadioGroup.h"
#include "ServInput.h"
#include "editors/common/EditorContext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

using namespace CalcBlocks;

namespace {

const QString Warning = QStringLiteral("Предупреждение");
const QString ProgrammingArith = QStringLiteral("программирование арифметических блоков");
constexpr int NumberLength = 7;
constexpr int Calculated = 1; // source item "расчетная величина"
constexpr int LastHour = 23;

QLineEdit* NewEdit(QWidget* parent, int maxLength) {
    auto* e = new QLineEdit(QStringLiteral("0"), parent);
    e->setMaxLength(maxLength);
    e->setFixedWidth(60);
    return e;
}

QComboBox* NewSourceBox(QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->addItems({QStringLiteral("аналоговый сигнал"), QStringLiteral("расчетная величина")});
    return c;
}

int Value(const QLineEdit* e) {
    return e->text().trimmed().toInt();
}

} // namespace

TFormFBCalc::TFormFBCalc(EditorContext& context, QWidget* parent) : QDialog(parent), ctx_(context) {
    setObjectName("FormFBCalc");
    setWindowTitle(QStringLiteral("Программирование расчетных блоков"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    FormCreate();
}

void TFormFBCalc::FormCreate() {
    auto* top = new QVBoxLayout(this);
    LabCreatProg = new QLabel(this);
    top->addWidget(LabCreatProg);
    auto* middle = new QHBoxLayout;
    // Item index = block kind: 0 the integrator, 1..5 the operation.
    RadioGroup1 = new RadioGroup(QStringLiteral("Тип арифметического блока"),
                                 {QStringLiteral("Интегратор расхода"),
                                  QStringLiteral("\"Суммирование       Y=C1*X1+C2*X2"),
                                  QStringLiteral("Вычитание                Y=C1*X1-C2*X2"),
                                  QStringLiteral("Умножение              Y=C1*X1*X2"),
                                  QStringLiteral("Деление                   Y=C1*X1/X2"),
                                  QStringLiteral("Квадратный корень Y=SQRT(C1*X1)")},
                                 this);
    middle->addWidget(RadioGroup1, 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    middle->addLayout(right);
    top->addLayout(middle);

    GroupBox2 = new QGroupBox(QStringLiteral("Настройки интеграторов расхода"), this);
    auto* integ = new QGridLayout(GroupBox2);
    LabFB = new QLabel(QStringLiteral("Интегратор расхода №"), GroupBox2);
    LabNFB1 = new QLabel(GroupBox2);
    Label36 = new QLabel(QStringLiteral("№ в базе "), GroupBox2);
    EditNFB1 = NewEdit(GroupBox2, 3);
    Label26 = new QLabel(QStringLiteral("Интегратор расхода  №"), GroupBox2);
    LabNFB2 = new QLabel(GroupBox2);
    Label37 = new QLabel(QStringLiteral("№ в базе "), GroupBox2);
    EditNFB2 = NewEdit(GroupBox2, 3);
    EditNFB1->setEnabled(false);
    EditNFB2->setEnabled(false);
    for (int r = 0; r < 2; ++r) {
        const int row = r * 3;
        const std::array<QWidget*, 4> head =
            r == 0 ? std::array<QWidget*, 4>{LabFB, LabNFB1, Label36, EditNFB1}
                   : std::array<QWidget*, 4>{Label26, LabNFB2, Label37, EditNFB2};
        integ->addWidget(head[0], row, 0, 1, 4);
        integ->addWidget(head[1], row, 4);
        integ->addWidget(head[2], row, 5, 1, 2);
        integ->addWidget(head[3], row, 7, 1, 2);
        for (int j = 0; j < IntegratorInputs; ++j) {
            QLineEdit* e = NewEdit(GroupBox2, NumberLength);
            e->setObjectName(QStringLiteral("Edit%1").arg(r * IntegratorInputs + j + 1));
            NumberEdits[size_t(r * IntegratorInputs + j)] = e;
            integ->addWidget(new QLabel(QStringLiteral("№%1").arg(j + 1), GroupBox2), row + 1, j);
            integ->addWidget(e, row + 2, j);
        }
    }
    right->addWidget(GroupBox2);

    GroupBox1 = new QGroupBox(QStringLiteral("Час начала суток"), this);
    auto* hour = new QHBoxLayout(GroupBox1);
    HourBeginDay = NewEdit(GroupBox1, 2);
    HourBeginDay->setToolTip(QStringLiteral("0-23"));
    hour->addWidget(HourBeginDay);
    hour->addStretch();
    right->addWidget(GroupBox1);

    GroupBox3 = new QGroupBox(QStringLiteral("Настройки арифметических блоков"), this);
    auto* arith = new QGridLayout(GroupBox3);
    Label31 = new QLabel(QStringLiteral("Арифметический блок №"), GroupBox3);
    LabNFB3 = new QLabel(GroupBox3);
    Label35 = new QLabel(QStringLiteral("№ в базе "), GroupBox3);
    EditNFB3 = NewEdit(GroupBox3, 3);
    EditNFB3->setReadOnly(true);
    UpDown1 = new QScrollBar(Qt::Horizontal, GroupBox3);
    UpDown1->setFixedWidth(40);
    UpDown1->setPageStep(1);
    arith->addWidget(Label31, 0, 0);
    arith->addWidget(LabNFB3, 0, 1);
    arith->addWidget(Label35, 0, 2);
    arith->addWidget(EditNFB3, 0, 3);
    arith->addWidget(UpDown1, 0, 4);
    ComboBox1 = NewSourceBox(GroupBox3);
    ComboBox2 = NewSourceBox(GroupBox3);
    EditX1 = NewEdit(GroupBox3, 3);
    EditX2 = NewEdit(GroupBox3, 3);
    EditC1 = NewEdit(GroupBox3, 10);
    EditC2 = NewEdit(GroupBox3, 10);
    EditY = NewEdit(GroupBox3, 2);
    EditY->setEnabled(false);
    const std::array<std::array<QWidget*, 3>, 2> rows = {
        {{ComboBox1, EditX1, EditC1}, {ComboBox2, EditX2, EditC2}}};
    for (int r = 0; r < 2; ++r) {
        arith->addWidget(new QLabel(QStringLiteral("X%1").arg(r + 1), GroupBox3), r + 1, 0);
        arith->addWidget(rows[size_t(r)][0], r + 1, 1);
        arith->addWidget(rows[size_t(r)][1], r + 1, 2);
        arith->addWidget(new QLabel(QStringLiteral("C%1").arg(r + 1), GroupBox3), r + 1, 3);
        arith->addWidget(rows[size_t(r)][2], r + 1, 4);
    }
    arith->addWidget(new QLabel(QStringLiteral("Y"), GroupBox3), 3, 0);
    arith->addWidget(EditY, 3, 1);
    arith->addWidget(
        new QLabel(QStringLiteral("адрес результата в массиве         расчетных величин"), GroupBox3), 3, 2,
        1, 3);
    right->addWidget(GroupBox3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    OK = new QPushButton(QStringLiteral("OK"), this);
    Cancel = new QPushButton(QStringLiteral("Отмена"), this);
    for (QPushButton* b : {OK, Cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    top->addLayout(buttons);

    ErrorText = new QLabel(QStringLiteral("ошибка"), this);
    ErrorText->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ErrorText->setAutoFillBackground(true);
    ErrorText->setMouseTracking(true);
    ErrorText->hide();

    std::vector<QLineEdit*> edits(NumberEdits.begin(), NumberEdits.end());
    edits.insert(edits.end(), {EditNFB3, EditX1, EditX2, EditC1, EditC2, EditY, HourBeginDay});
    ErrorText->installEventFilter(this);
    for (QLineEdit* e : edits) {
        e->installEventFilter(this);
        connect(e, &QLineEdit::textEdited, this, &TFormFBCalc::Changed);
    }
    for (QComboBox* c : {ComboBox1, ComboBox2})
        connect(c, &QComboBox::activated, this, &TFormFBCalc::Changed);
    connect(RadioGroup1, &RadioGroup::Clicked, this, &TFormFBCalc::RadioGroup1Click);
    connect(UpDown1, &QScrollBar::valueChanged, this, &TFormFBCalc::UpDown1Click);
    connect(OK, &QPushButton::clicked, this, &TFormFBCalc::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &TFormFBCalc::CancelClick);
}

TProgFBClass& TFormFBCalc::Fb() const {
    return ctx_.Cfg().FB;
}

int TFormFBCalc::AnInCount() const {
    return ctx_.Cfg().Serv.GetAnInCount();
}

void TFormFBCalc::Changed() {
    Fb().FBModified = 1;
}

void TFormFBCalc::Reset() {
    Cancelled = 1;
    ErrorText->hide();
    for (QLineEdit* e : NumberEdits) {
        e->setText(QStringLiteral("0"));
        e->setEnabled(false);
    }
    GroupBox2->setEnabled(false);
    RadioGroup1->SetItemIndex(-1);
    for (QLabel* l : {LabNFB1, LabNFB2, LabNFB3})
        l->clear();
    for (QLineEdit* e : {EditNFB1, EditNFB2, EditNFB3})
        e->clear();
    EditNFB3->setEnabled(false);
    UpDown1->setEnabled(false);
    HourBeginDay->setText(QStringLiteral("00"));
    HourBeginDay->setEnabled(false);
    for (QComboBox* c : {ComboBox1, ComboBox2}) {
        c->setCurrentIndex(-1);
        c->setEnabled(false);
    }
    for (QLineEdit* e : {EditX1, EditC1, EditX2, EditC2, EditY}) {
        e->setText(QStringLiteral("0"));
        e->setEnabled(false);
    }
    GroupBox3->setEnabled(false);
}

// UpDown1 steps through the existing arithmetic blocks only.
void TFormFBCalc::SetUpDown(int min, int max) {
    const QSignalBlocker block(UpDown1);
    UpDown1->setRange(min, max);
    UpDown1->setValue(Value(EditNFB3));
}

void TFormFBCalc::Fill() {
    const TProgFBClass& fb = Fb();
    const int first = fb.LogicFBCount;
    switch (fb.CalcAction) {
    case CreateIntegrators:
        LabCreatProg->setText(QStringLiteral("создание интеграторов расхода"));
        GroupBox2->setEnabled(true);
        LabNFB1->setText(QStringLiteral("1"));
        EditNFB1->setText(QString::number(first + 1));
        RadioGroup1->SetItemIndex(0);
        NumberEdits[0]->setEnabled(true);
        HourBeginDay->setEnabled(true);
        break;
    case CreateArith:
        LabCreatProg->setText(QStringLiteral("создание арифметических блоков"));
        for (QWidget* w :
             std::initializer_list<QWidget*>{GroupBox3, ComboBox1, EditX1, EditC1, EditX2, EditC2})
            w->setEnabled(true);
        LabNFB3->setText(QString::number(fb.ArithBlockCount + 1));
        EditNFB3->setText(QString::number(ArithIndex(fb, fb.ArithBlockCount) + 1));
        EditY->setText(QString::number(fb.ArithBlockCount + 1));
        break;
    case EditIntegrators:
        LabCreatProg->setText(QStringLiteral("программирование интеграторов расхода"));
        GroupBox2->setEnabled(true);
        NumberEdits[0]->setEnabled(true);
        RadioGroup1->SetItemIndex(0);
        LabNFB1->setText(QStringLiteral("1"));
        EditNFB1->setText(QString::number(first + 1));
        LoadIntegrators();
        HourBeginDay->setEnabled(true);
        HourBeginDay->setText(QString::number(fb.GetDayStartHour(first)));
        break;
    case EditArith: {
        LabCreatProg->setText(ProgrammingArith);
        for (QWidget* w : std::initializer_list<QWidget*>{GroupBox3, ComboBox1, EditNFB3, UpDown1, EditX1,
                                                          EditC1, ComboBox2, EditX2})
            w->setEnabled(true);
        const int k = fb.CalcBlockIndex == -1 ? 0 : fb.CalcBlockIndex;
        const int i = ArithIndex(fb, k);
        RadioGroup1->SetItemIndex(OperationAt(fb, i) != 0 ? OperationAt(fb, i) : -1);
        LabNFB3->setText(QString::number(k + 1));
        EditNFB3->setText(QString::number(i + 1));
        SetUpDown(ArithIndex(fb, 0) + 1, ArithIndex(fb, fb.ArithBlockCount));
        LoadBlock(i);
        // A block chosen in the overview stays fixed.
        if (fb.CalcBlockIndex != -1) {
            EditNFB3->setEnabled(false);
            UpDown1->setEnabled(false);
        }
        break;
    }
    default:
        break;
    }
}

void TFormFBCalc::LoadIntegrators() {
    const TProgFBClass& fb = Fb();
    const IntegratorValues v = ReadIntegrators(fb);
    for (int j = 0; j < IntegratorEdits; ++j)
        NumberEdits[size_t(j)]->setText(QString::number(v.numbers[size_t(j)]));
    // Every used input and the one after it can be edited.
    for (int j = 0; j + 1 < IntegratorEdits; ++j)
        if (v.numbers[size_t(j)] != 0 || v.numbers[size_t(j + 1)] != 0) {
            NumberEdits[size_t(j)]->setEnabled(true);
            NumberEdits[size_t(j + 1)]->setEnabled(true);
        }
    const int second = fb.LogicFBCount + 2;
    LabNFB2->setText(QStringLiteral("2"));
    EditNFB2->setText(QString::number(second));
    if (second > fb.FBCount) {
        LabNFB2->clear();
        EditNFB2->clear();
        NumberEdits[IntegratorInputs]->setText(QStringLiteral("0"));
        NumberEdits[IntegratorInputs]->setEnabled(false);
    }
    const bool secondUsed =
        std::any_of(v.numbers.begin() + IntegratorInputs, v.numbers.end(), [](int n) { return n; });
    if (v.numbers[IntegratorInputs - 1] == 0 && !secondUsed) {
        for (int j = IntegratorInputs; j < IntegratorEdits; ++j)
            NumberEdits[size_t(j)]->setEnabled(false);
        LabNFB2->clear();
        EditNFB2->clear();
    }
}

void TFormFBCalc::LoadBlock(int i) {
    const ArithValues a = ReadArith(Fb(), i);
    const int op = Fb().GetCalcOp(i);
    ComboBox1->setCurrentIndex(a.x1Src);
    EditX1->setText(QString::number(a.x1Num));
    EditC1->setText(a.c1);
    if (HasX2(op)) {
        ComboBox2->setEnabled(true);
        EditX2->setEnabled(true);
        ComboBox2->setCurrentIndex(a.x2Src);
        EditX2->setText(QString::number(a.x2Num));
    } else {
        EditX2->clear();
    }
    EditY->setText(QString::number(a.y));
    EditC2->setEnabled(HasC2(op));
    EditC2->setText(a.c2);
}

void TFormFBCalc::RadioGroup1Click() {
    Changed();
    const int item = RadioGroup1->ItemIndex();
    const int action = Fb().CalcAction;
    // The kinds an action allows; a forced change runs this handler again.
    int forced = item;
    if ((action == CreateIntegrators || action == EditIntegrators) && item > 0) forced = 0;
    if (action == CreateArith && item == 0) forced = 1;
    if (action == EditArith && item == 0) forced = -1;
    if (forced != item) {
        RadioGroup1->SetItemIndex(forced);
        RadioGroup1Click();
        return;
    }
    for (QWidget* w : std::initializer_list<QWidget*>{GroupBox2, ComboBox1, ComboBox2, EditX1, EditC1, EditX2,
                                                      EditC2, EditY, GroupBox3})
        w->setEnabled(false);
    if (action == CreateArith || action == EditArith) {
        for (QWidget* w : std::initializer_list<QWidget*>{GroupBox3, ComboBox1, EditX1, EditC1})
            w->setEnabled(true);
        if (HasX2(item)) {
            ComboBox2->setEnabled(true);
            EditX2->setEnabled(true);
        }
        if (HasC2(item))
            EditC2->setEnabled(true);
        else
            EditC2->clear();
    }
    if (item != 0) return;
    GroupBox2->setEnabled(true);
    if (Fb().IntegratorCount != 0) {
        LoadIntegrators();
        HourBeginDay->setText(QString::number(Fb().GetDayStartHour(Fb().LogicFBCount)));
    } else {
        NumberEdits[0]->setEnabled(true);
    }
}

bool TFormFBCalc::NumberOk(QLineEdit* edit) {
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    if (ok && v >= 0 && v <= AnInCount()) return true;
    ServInput::ShowInputErrorHint(edit, ErrorText);
    return false;
}

bool TFormFBCalc::IsNumberEdit(const QObject* o) const {
    return std::find(NumberEdits.begin(), NumberEdits.end(), o) != NumberEdits.end();
}

void TFormFBCalc::Edit1Exit(QLineEdit* edit) {
    if (edit->text().isEmpty()) {
        ServInput::ShowInputErrorHint(edit, ErrorText);
        return;
    }
    if (edit == EditC1 || edit == EditC2) return; // checked when closing
    const int item = RadioGroup1->ItemIndex();
    if (item == 0 && !NumberOk(edit)) return;
    if ((edit == EditX1 || edit == EditX2) && item > 0) {
        const QComboBox* source = edit == EditX1 ? ComboBox1 : ComboBox2;
        CheckEditRange(edit, source->currentIndex() == Calculated ? Fb().ArithBlockCount : AnInCount(), 0);
        return;
    }
    const auto at = std::find(NumberEdits.begin(), NumberEdits.end(), edit);
    const int j = int(at - NumberEdits.begin());
    if (at == NumberEdits.end() || j + 1 == IntegratorEdits) return;
    // A used input opens the next one, while integrator 2 fits in the table.
    if (edit->text() == QStringLiteral("0") || Value(EditNFB1) >= Fb().FBCount) return;
    NumberEdits[size_t(j + 1)]->setEnabled(true);
    if (j + 1 == IntegratorInputs) {
        LabNFB2->setText(QStringLiteral("2"));
        EditNFB2->setText(QString::number(Fb().LogicFBCount + 2));
    }
}

void TFormFBCalc::EditNFB3Exit() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{ComboBox1, EditX1, EditC1, EditY, ComboBox2, EditX2, EditC2})
        w->setEnabled(false);
    for (QLineEdit* e : {EditY, EditX2, EditC2})
        e->clear();
    ComboBox2->setCurrentIndex(-1);
    const TProgFBClass& fb = Fb();
    const int number = Value(EditNFB3);
    if (EditNFB3->text().isEmpty() || number < ArithIndex(fb, 0) + 1 ||
        number > ArithIndex(fb, fb.ArithBlockCount)) {
        ServInput::ShowInputErrorHint(EditNFB3, ErrorText);
        return;
    }
    const int i = number - 1;
    const int op = OperationAt(fb, i);
    if (op == 0) {
        MessageBox(this, QStringLiteral("Для создания арифметического блока \nвоспользуйтесь меню Создание"),
                   Warning, MsgButtons::OK, MsgIcon::Warning);
        CancelClick();
        return;
    }
    LabNFB3->setText(QString::number(i + 1 - ArithIndex(fb, 0)));
    LabCreatProg->setText(ProgrammingArith);
    RadioGroup1->SetItemIndex(op);
    for (QWidget* w : std::initializer_list<QWidget*>{ComboBox1, EditX1, EditC1})
        w->setEnabled(true);
    LoadBlock(i);
}

void TFormFBCalc::UpDown1Click() {
    EditNFB3->setText(QString::number(UpDown1->value()));
    EditNFB3Exit();
}

int TFormFBCalc::CheckEditRange(QLineEdit* edit, double high, double low) {
    return CreatFb::CheckEditRange(edit, ErrorText, high, low);
}

bool TFormFBCalc::FormCloseQuery() {
    ErrorText->hide();
    if (Cancelled != 0) return true;
    const int item = RadioGroup1->ItemIndex();
    const TProgFBClass& fb = Fb();
    // Without an operation the block would not be a block.
    if (item < 0) {
        ServInput::ShowInputErrorHint(RadioGroup1, ErrorText);
        return false;
    }
    if (item > 0) {
        const auto xHigh = [&](const QComboBox* source) {
            return source->currentIndex() == Calculated ? fb.ArithBlockCount : AnInCount();
        };
        if (CheckEditRange(EditC1, MaxConstant, -MaxConstant) != 2 ||
            CheckEditRange(EditX1, xHigh(ComboBox1), 0) != 2)
            return false;
        if (HasX2(item) && CheckEditRange(EditX2, xHigh(ComboBox2), 0) != 2) return false;
        if (HasC2(item) && CheckEditRange(EditC2, MaxConstant, -MaxConstant) != 2) return false;
        if (CheckEditRange(EditY, MaxArithBlocks, 1) != 2) return false;
    } else {
        for (QLineEdit* e : NumberEdits)
            if (!NumberOk(e)) return false;
        if (CheckEditRange(HourBeginDay, LastHour, 0) != 2) return false;
    }
    if (ctx_.FileMode() && fb.FBModified) ctx_.Cfg().Serv.Modified = 1;
    return true;
}

void TFormFBCalc::TryClose() {
    if (FormCloseQuery()) done(Cancelled == 0 ? QDialog::Accepted : QDialog::Rejected);
}

void TFormFBCalc::OKClick() {
    Cancelled = 0;
    TryClose();
}

void TFormFBCalc::CancelClick() {
    Cancelled = 1;
    TryClose();
}

// The close box and Esc act as "Отмена".
void TFormFBCalc::reject() {
    CancelClick();
}

IntegratorValues TFormFBCalc::Integrators() const {
    IntegratorValues v;
    for (int j = 0; j < IntegratorEdits; ++j)
        v.numbers[size_t(j)] = Value(NumberEdits[size_t(j)]);
    v.dayStartHour = Value(HourBeginDay);
    return v;
}

ArithValues TFormFBCalc::Arith() const {
    ArithValues v;
    v.op = Kind();
    v.x1Src = std::max(ComboBox1->currentIndex(), 0);
    v.x1Num = Value(EditX1);
    v.c1 = EditC1->text();
    v.x2Src = std::max(ComboBox2->currentIndex(), 0);
    v.x2Num = Value(EditX2);
    v.c2 = EditC2->text();
    v.y = Value(EditY);
    return v;
}

int TFormFBCalc::Kind() const {
    return RadioGroup1->ItemIndex();
}

int TFormFBCalc::BlockIndex() const {
    return Value(EditNFB3) - 1;
}

bool TFormFBCalc::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ErrorText) {
        if (event->type() == QEvent::MouseMove) ErrorText->hide();
        return false;
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr) return false;
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (!isVisible() || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (edit == EditNFB3)
            EditNFB3Exit();
        else if (edit != HourBeginDay)
            Edit1Exit(edit);
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (edit == EditC1 || edit == EditC2) {
        edit->setStyleSheet(QStringLiteral("background: white"));
        return ServInput::KeyFilterShiftDigit(edit, key) != 0;
    }
    if (IsNumberEdit(edit) || edit == EditNFB3) {
        const int r = ServInput::KeyFilterDigits(edit, key);
        if (r == 13) focusNextChild();
        if (r != 0) return true;
    }
    // Only digits and Backspace reach the number fields.
    const QString t = key->text();
    return !t.isEmpty() && t[0].isPrint() && !t[0].isDigit();
}
