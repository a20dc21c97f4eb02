#include "StartUp.h"

#include "Obr_veg17r.h"
#include "Obrport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool LoadRussianTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void ApplyCommandLine(TForm1& form1, const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Serial port of the device."),
                                  QStringLiteral("NAME"));
    parser.addOption(port);
    parser.parse(arguments);
    if (parser.isSet(port)) form1.FormPort->SetPortName(parser.value(port));
}
