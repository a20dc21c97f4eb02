#include "RtfTablePrint.h"

#include "Dialogs.h"
#include "RtfWriter.h"
#include "WholeFile.h"

namespace {

const QString kRtfExt = QStringLiteral(".rtf");

// The extension as the name shows it: from the last dot of the last path element, dot included.
QString extensionOf(const QString& fileName) {
    const qsizetype slash = std::max(fileName.lastIndexOf(QChar('/')), fileName.lastIndexOf(QChar('\\')));
    const qsizetype dot = fileName.lastIndexOf(QChar('.'));
    return dot > slash ? fileName.mid(dot) : QString();
}

} // namespace

QString CheckedRtfName(QWidget* parent, const QString& fileName) {
    const QString ext = extensionOf(fileName);
    if (ext == kRtfExt) return fileName;
    if (ext.isEmpty()) return fileName + kRtfExt;
    MessageBox(parent, QStringLiteral("Неверно задано имя файла"), QStringLiteral("Cохранение данных в файл"),
               MsgButtons::OK, MsgIcon::Warning);
    return QString();
}

RtfPrintOutcome SavePrintFile(QWidget* parent, const QString& fileName, const QByteArray& document) {
    if (WriteFileWhole(fileName, document)) return RtfPrintOutcome::Finished;
    const int answer =
        MessageBox(parent, QStringLiteral("Файл не удается создать.\nПовторить?"),
                   QStringLiteral("Сохранение файла печати"), MsgButtons::YesNo, MsgIcon::Question, mrNo);
    return answer == mrYes ? RtfPrintOutcome::ChooseNameAgain : RtfPrintOutcome::Stopped;
}

RtfPrintResult RtfTablePrint(QWidget* parent, const QStringList& lines, const QString& fileName,
                             WordProcessor& wordProcessor, const std::optional<PageSetup>& pageSetup) {
    RtfPrintResult result{RtfPrintOutcome::ChooseNameAgain, CheckedRtfName(parent, fileName)};
    if (result.fileName.isEmpty()) {
        result.fileName = fileName;
        return result;
    }

    result.outcome = SavePrintFile(parent, result.fileName, RtfDocument(lines, pageSetup));
    if (result.outcome != RtfPrintOutcome::Finished) return result;

    if (!wordProcessor.OpenDocument(result.fileName)) return result;
    if (pageSetup) wordProcessor.SetPageSetup(*pageSetup);
    if (MessageBox(parent, QStringLiteral("Печатать?"), QStringLiteral("Необходимость печати файла .rtf"),
                   MsgButtons::YesNo, MsgIcon::Question, mrNo) == mrYes)
        wordProcessor.PrintOut();
    wordProcessor.Save(result.fileName);
    wordProcessor.Close(result.fileName);
    wordProcessor.Quit();
    return result;
}
