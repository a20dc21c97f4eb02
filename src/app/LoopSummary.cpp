#include "LoopSummary.h"

#include "AnalogLists.h"
#include "Configuration.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

TLoopSummary::TLoopSummary(QWidget* parent) : QGroupBox(QStringLiteral("Токовые выходы"), parent) {
    auto* grid = new QGridLayout(this);
    const QStringList headers = {QStringLiteral("вход"), QStringLiteral("тип"),  QStringLiteral("НШК"),
                                 QStringLiteral("ВШК"),  QStringLiteral("разм"), QStringLiteral("схема")};
    for (int c = 0; c < kCells; ++c)
        grid->addWidget(new QLabel(headers[c], this), 0, c + 1);
    for (int r = 0; r < kRows; ++r) {
        grid->addWidget(new QLabel(QStringLiteral("%1:").arg(r + 1), this), r + 1, 0);
        for (int c = 0; c < kCells; ++c) {
            Cells[r][c] = new QLabel(this);
            Cells[r][c]->setFrameShape(QFrame::Panel);
            Cells[r][c]->setFrameShadow(QFrame::Sunken);
            Cells[r][c]->setMinimumWidth(70);
            grid->addWidget(Cells[r][c], r + 1, c + 1);
        }
    }
    Raz = new QComboBox(this);
    Raz->hide();
}

QString TLoopSummary::CellText(int row, int cell) const {
    return Cells[row][cell]->text();
}

QString TLoopSummary::Item(const QStringList& items, int index) {
    Raz->clear();
    Raz->addItems(items);
    Raz->setCurrentIndex(index >= 0 && index < items.size() ? index : -1);
    return Raz->currentText();
}

void TLoopSummary::Refresh(const TConfiguration& cfg) {
    for (auto& row : Cells)
        for (QLabel* cell : row)
            cell->clear();
    const TProgMBAClass& mba = cfg.MBA;
    for (int r = 0; r < kRows; ++r) {
        const int n = cfg.Reg.GetAnVh(r);
        if (n == 0) continue;
        const int c = n - 1; // channel of the first analogue module
        auto& row = Cells[r];
        row[cInput]->setText(QStringLiteral("вх № %1").arg(n));
        // The controller has four channels; past them the record holds the module type and the
        // outputs, which are no scale.
        if (c >= kControllerChannels) continue;
        row[cMin]->setText(mba.GetChNSkText(0, c));
        row[cMax]->setText(mba.GetChVSkText(0, c));
        row[cUnit]->setText(Item(mba.FillRazmList(), mba.GetChRazm(0, c)));
        if (n <= 2) {
            const int kind = mba.GetChSk(0, c);
            row[cKind]->setText(Item(ItemList(kSensorTypeNames), kind));
            if (kind >= 7) row[cWiring]->setText(Item(ItemList(kSensorWiringNames), mba.GetChB1Bit6(0, c)));
            if (kind == 9 || kind == 14 || kind == 15) row[cWiring]->clear();
        } else {
            row[cKind]->setText(Item(ItemList(kCurrentInputNames), mba.GetChTInp(0, c)));
            row[cWiring]->clear();
        }
    }
}
