#include "StartUp.h"

#include "Obr_veg17r.h"
#include "Obrport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Qt's Russian catalogue keeps the file dialog's type names ("Folder", "File", ...) under the file
// dialog, while the file icon provider asks for them under its own name.
class FileTypeTexts : public QTranslator {
  public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
        const QString text = QCoreApplication::translate("QFileDialog", sourceText, disambiguation, n);
        return text == QLatin1String(sourceText) ? QString() : text;
    }
};

} // namespace

bool LoadRussianTranslations(QCoreApplication& app) {
    // Dates and numbers of Qt's own dialogs in Russian.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // Qt's own texts, and the serial-port module's reasons a port does not open: each catalogue
    // found is installed.
    bool all = true;
    for (const char* catalogue : {"qtbase_ru", "qtserialport_ru"}) {
        auto* translator = new QTranslator(&app);
        if (!translator->load(QLatin1String(catalogue), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
            !QCoreApplication::installTranslator(translator)) {
            delete translator;
            all = false;
        }
    }
    return QCoreApplication::installTranslator(new FileTypeTexts(&app)) && all;
}

void ApplyCommandLine(TForm1& form1, const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Serial port of the device."),
                                  QStringLiteral("NAME"));
    parser.addOption(port);
    parser.parse(arguments);
    if (parser.isSet(port)) form1.FormPort->SetPortName(parser.value(port));
}
