#include "Prog_diskr.h"

#include "Obr_veg17r.h"

TFormPrgD::TFormPrgD(TForm1* form1) : QDialog(form1), form1_(form1) {}
