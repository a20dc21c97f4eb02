#include "Obrvhloc.h"

#include "Configuration.h"
#include "Prog_infvhdloc.h"
#include "Prog_mbm.h"
#include "ServInput.h"
#include "TServClass.h"
#include "editors/common/EditorContext.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace StartCount {
namespace {

const QString kInputError = QStringLiteral(" Ошибка ввода ");

// The number in text; -1 for an empty or unreadable text.
int Value(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : -1;
}

Verdict InRange(int v, int low, int high) {
    if (v >= low && v <= high) return {};
    return QString::asprintf("Величина вне диапазона %g - %g", double(low), double(high));
}

} // namespace

Verdict CheckStart(const QString& text, int first, int outputs) {
    const int v = Value(text);
    if (v < 0) return kInputError;
    return InRange(v, first, first + outputs - 1);
}

Verdict CheckCount(const QString& text, int start, int first, int outputs) {
    const int v = Value(text);
    if (v < 1) return kInputError;
    constexpr int shown = 12;
    if (outputs > shown && outputs - v < shown + 1) return InRange(v, 1, outputs - (start - first));
    return InRange(v, 1, shown);
}

} // namespace StartCount

TFormVhLoc::TFormVhLoc(EditorContext& context, TFormMBM& mbm, TFormVhDLoc& view, QWidget* parent)
    : QDialog(parent), context_(context), mbm_(mbm), view_(view) {
    setWindowTitle(QStringLiteral("Ввод начального адреса и количества входов блока MBM"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    form->addRow(QStringLiteral("Начальный адрес"), Edit1);
    form->addRow(QStringLiteral("Количество входов"), Edit2);
    layout->addLayout(form);
    ErrorText = new QLabel(this);
    ErrorText->hide();
    auto* buttons = new QHBoxLayout;
    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(OK);
    layout->addLayout(buttons);
    for (QLineEdit* e : {Edit1, Edit2})
        connect(e, &QLineEdit::editingFinished, this, &TFormVhLoc::EditNVhExit);
    connect(OK, &QPushButton::clicked, this, &TFormVhLoc::OKClick);
}

int TFormVhLoc::Block() const {
    return mbm_.LabN_MBM->text().toInt() - 1;
}

void TFormVhLoc::EditNVhExit() {
    view_.Start = Edit1->text().toInt();
    view_.Count = Edit2->text().toInt();
}

bool TFormVhLoc::Refuse(QLineEdit* edit, const StartCount::Verdict& hint) {
    if (hint.isEmpty()) return false;
    ServInput::ShowInputErrorHint(edit, ErrorText, hint);
    return true;
}

bool TFormVhLoc::FormCloseQuery() {
    const TProgMBMClass& m = context_.Cfg().MBM;
    const int i = Block();
    const int first = m.GetStAddrBeg1(i);
    const int outputs = m.GetKolVh(i);
    if (Refuse(Edit1, StartCount::CheckStart(Edit1->text(), first, outputs))) return false;
    if (Refuse(Edit2, StartCount::CheckCount(Edit2->text(), Edit1->text().toInt(), first, outputs)))
        return false;
    ErrorText->hide();
    return true;
}

void TFormVhLoc::OKClick() {
    if (FormCloseQuery()) done(2);
}

void TFormVhLoc::reject() {
    OKClick();
}
