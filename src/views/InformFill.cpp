#include "InformFill.h"

#include "Configuration.h"
#include "Dialogs.h"
#include "Obrinform.h"
#include "Obrinformmr.h"

#include <QApplication>
#include <QTableWidget>
#include <QWindow>
#include <algorithm>

namespace {

template <typename Window> void Present(Window* window, InformShow how) {
    if (how == InformShow::Show) {
        window->show();
        // Shown from a modal editor, the window belongs to that editor; otherwise the editor's
        // modality would block it and the user could not scroll it.
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != window && modal->windowHandle() && window->windowHandle())
            window->windowHandle()->setTransientParent(modal->windowHandle());
    } else if (how == InformShow::Modal)
        ShowModal(window);
}

// " 0x" and the index in two hexadecimal digits.
QString Address(int i) {
    return QStringLiteral(" 0x") + QStringLiteral("%1").arg(i, 2, 16, QLatin1Char('0')).toUpper();
}

void Put(QTableWidget* grid, int row, int column, const QString& text) {
    if (QTableWidgetItem* item = grid->item(row, column)) item->setText(text);
}

// Analogue inputs are numbered by six per analogue module (the channel places of a module
// record); the controller's and every module's four channels take the first four of them.
constexpr int kAnNumbersPerModule = 6;
constexpr int kChannelsShown = 4;

} // namespace

void FillInform(TInform& inform, const TConfiguration& cfg, InformShow how) {
    inform.Clear();
    const TServClass& serv = cfg.Serv;
    QTableWidget* discrete = inform.StringGrid1;
    for (int i = 0; i < serv.GetDiscrInCount() && i < TInform::kDiscreteRows; ++i) {
        bool relay = false;
        for (int k = 1; k <= 5; ++k)
            relay = relay || cfg.Veg.GetRecByte(i, k) != 0;
        Put(discrete, i, TInform::dcNumber, QString::number(i + 1));
        Put(discrete, i, TInform::dcIdent, serv.GetInputText(i));
        Put(discrete, i, TInform::dcAddress, Address(i));
        Put(discrete, i, TInform::dcText, serv.GetNameText(i));
        Put(discrete, i, TInform::dcRelay, relay ? QStringLiteral("       V") : QStringLiteral("       -"));
    }
    QTableWidget* analogue = inform.StringGrid2;
    for (int m = 0; m < serv.GetCntMod6F(); ++m)
        for (int c = 0; c < kChannelsShown; ++c) {
            const int i = kAnNumbersPerModule * m + c; // the input's number - 1, its row
            if (i >= TInform::kAnalogueRows) break;
            Put(analogue, i, TInform::acNumber, QString::number(i + 1));
            Put(analogue, i, TInform::acAddress, Address(i));
            Put(analogue, i, TInform::acIdent, serv.GetAnInputText(m, c));
            Put(analogue, i, TInform::acPosition, cfg.MBA.GetChPozText(m, c));
            Put(analogue, i, TInform::acLongText, serv.GetLongText(i));
        }
    Present(&inform, how);
}

void FillInformMR(TInformMR& informMR, const TConfiguration& cfg, InformShow how) {
    informMR.Clear();
    const TServClass& serv = cfg.Serv;
    const TProgMRClass& mr = cfg.MR;
    QTableWidget* grid = informMR.StringGrid1;
    const int modules = std::min(serv.GetCntModMR(), int(TInformMR::kModules));
    for (int m = 0; m < modules; ++m)
        for (int o = 0; o < TInformMR::kOutputsPerModule; ++o) {
            const int row = TInformMR::kOutputsPerModule * m + o;
            const bool control = mr.GetTipVyh(o, m) != 0;
            const bool bit1 = mr.GetKvitBlock(o, m) != 0;
            const int ackInput = mr.GetVxKvit(o, m);
            const int resetInput = mr.GetVhSbr(o, m);
            Put(grid, row, TInformMR::colName, serv.GetOutNameText(row));
            Put(grid, row, TInformMR::colAddress, Address(row));
            Put(grid, row, TInformMR::colIdent, serv.GetOutputText(row));
            Put(grid, row, TInformMR::colKind,
                control ? QStringLiteral("управл.") : QStringLiteral("сигнал."));
            if (control)
                Put(grid, row, TInformMR::colBlocking,
                    bit1 ? QStringLiteral("с   блокировкой") : QStringLiteral("без блокировки"));
            else
                Put(grid, row, TInformMR::colSignal,
                    bit1 ? QStringLiteral("звук(с гашением)") : QStringLiteral("свет(п-вод в ровн)"));
            if (ackInput != 0) {
                Put(grid, row, TInformMR::colAckSource, QStringLiteral("есть"));
                Put(grid, row, TInformMR::colAckInput, QString::number(ackInput));
            }
            if (resetInput != 0) {
                Put(grid, row, TInformMR::colResetSource, QStringLiteral("есть"));
                Put(grid, row, TInformMR::colResetInput, QString::number(resetInput));
            }
        }
    Present(&informMR, how);
}
