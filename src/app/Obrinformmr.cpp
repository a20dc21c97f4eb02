#include "Obrinformmr.h"

#include "Obrinform.h"

#include <QTableWidget>
#include <QVBoxLayout>

TInformMR::TInformMR(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Информация о выходах"));
    resize(1000, 700);
    StringGrid1 = MakeInfoGrid(this, kRows,
                               {QStringLiteral("Выход"), QStringLiteral("Адрес"), QStringLiteral("Идентификатор"),
                                QStringLiteral("Тип"), QStringLiteral("Сигнализация"), QStringLiteral("Блокировка"),
                                QStringLiteral("Квитирование извне"), QStringLiteral("Сброс извне"),
                                QStringLiteral("Вход квитирования"), QStringLiteral("Вход сброса")});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1);
}

void TInformMR::Clear() { ClearInfoGrid(StringGrid1); }
