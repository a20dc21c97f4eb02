#include "InformFill.h"

#include "Dialogs.h"
#include "Obr_veg17r.h"
#include "Obrinform.h"
#include "Obrinformmr.h"

namespace {
template <typename Window> void Present(Window* window, InformShow how)
{
    if (how == InformShow::Show)
        window->show();
    else if (how == InformShow::Modal)
        ShowModal(window);
}
} // namespace

void FillInform(TForm1& form1, InformShow how)
{
    form1.Inform->Clear();
    Present(form1.Inform, how);
}

void FillInformMR(TForm1& form1, InformShow how)
{
    form1.InformMR->Clear();
    Present(form1.InformMR, how);
}
