#include "Obrinformmr.h"

#include "InfoPrint.h"
#include "Obrinform.h"

#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TInformMR::TInformMR(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Информация о выходах"));
    resize(1000, 690); // with its title bar above a laptop's task bar
    StringGrid1 =
        MakeInfoGrid(this, kRows,
                     {QStringLiteral("Выход"), QStringLiteral("Адрес"), QStringLiteral("Идентификатор"),
                      QStringLiteral("Тип"), QStringLiteral("Сигнализация"), QStringLiteral("Блокировка"),
                      QStringLiteral("Квитирование извне"), QStringLiteral("Сброс извне"),
                      QStringLiteral("Вход квитирования"), QStringLiteral("Вход сброса")});
    ButPrint = new QPushButton(kPrintCaption, this);
    connect(ButPrint, &QPushButton::clicked, this, &TInformMR::PrintClick);
    DialSaveFile.MakeWith([this] { return MakeRtfSaveDialog(this); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ButPrint, 0, Qt::AlignLeft);
    layout->addWidget(StringGrid1);
}

void TInformMR::Clear() {
    ClearInfoGrid(StringGrid1);
}

void TInformMR::PrintClick() {
    PrintInfoGrids(this, Printing, DialSaveFile, windowTitle(), {StringGrid1});
}
