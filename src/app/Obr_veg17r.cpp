#include "Obr_veg17r.h"

#include "InformFill.h"
#include "Obrinform.h"
#include "Obrinformmr.h"
#include "editors/discrete/Obrsign_mb.h"
#include "editors/discrete/Obrvyh_mb.h"
#include "editors/discrete/Prog_diskr.h"
#include "editors/fb/Prog_fb.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm1* Form1 = nullptr;

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    Form1 = this;
    setWindowTitle("Программатор ВЕГ-17");
    CBoxUstr = new QComboBox(this);
    for (int n = 1; n <= 31; ++n)
        CBoxUstr->addItem(QString::number(n));
    EditModif = new QLineEdit(this);
    EditModif->hide();
    CBoxRazmDef = new QComboBox(this);
    CBoxRazmDef->hide();
    StAllD = new QLabel(this);
    StAllAn = new QLabel(this);
    for (int i = 0; i < 8; ++i)
        SlotControls[i] = new QPushButton(this);
    CreateForms();
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::CreateForms()
{
    Inform = new TInform(this);
    InformMR = new TInformMR(this);
    FormSig = new TFormSig(this);
    FormVyh = new TFormVyh(this);
    FormFB = new TFormFB(this);
    FormPrgD = new TFormPrgD(this);
}

void TForm1::InformButClick() { FillInform(*this, InformShow::Show); }

void TForm1::InformButMRClick() { FillInformMR(*this, InformShow::Show); }
