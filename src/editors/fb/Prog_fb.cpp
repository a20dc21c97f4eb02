#include "Prog_fb.h"

#include "Obr_veg17r.h"

TFormFB::TFormFB(TForm1* form1) : QDialog(form1), form1_(form1)
{
    setWindowTitle("Программирование функциональных блоков");
}
