#include "PagePrinter.h"

#include "Dialogs.h"
#include "WholeFile.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace {
PagePrinter* g_printer = nullptr;
}

QtPagePrinter::QtPagePrinter(QString pdfPattern)
    : pdfPattern_(std::move(pdfPattern)), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    if (!pdfPattern_.isEmpty()) printer_->setOutputFormat(QPrinter::PdfFormat);
}

QtPagePrinter::~QtPagePrinter() {
    if (painter_) painter_->end();
}

bool QtPagePrinter::Setup(QWidget* parent, int fromPage, int toPage, PrintRange range) {
    parent_ = parent;
    const bool selection = range == PrintRange::Selection;
    printer_->setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);
    if (!pdfPattern_.isEmpty()) return true;
    QPrintDialog dialog(printer_.get(), parent);
    dialog.setOptions(
        QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
        (selection ? QAbstractPrintDialog::PrintSelection : QAbstractPrintDialog::PrintDialogOptions()));
    dialog.setMinMax(fromPage, toPage);
    if (selection) dialog.setPrintRange(QAbstractPrintDialog::Selection);
    return ShowModal(&dialog) == QDialog::Accepted;
}

QPagedPaintDevice* QtPagePrinter::StartJob() {
    ++jobs_;
    if (!pdfPattern_.isEmpty()) printer_->setOutputFileName(pdfPattern_.arg(jobs_));
    if (printer_->outputFileName().isEmpty()) return printer_.get();
    // Printed to a file: the job is drawn into memory and the file written whole at its end.
    // QPrinter would write the file as it goes, and a full disk would leave it cut, unreported.
    fileData_ = std::make_unique<QBuffer>();
    fileData_->open(QIODevice::WriteOnly);
    fileWriter_ = std::make_unique<QPdfWriter>(fileData_.get());
    fileWriter_->setResolution(printer_->resolution());
    fileWriter_->setPageLayout(printer_->pageLayout());
    fileWriter_->setPageRanges(printer_->pageRanges());
    fileWriter_->setTitle(printer_->docName());
    fileWriter_->setCreator(printer_->creator());
    return fileWriter_.get();
}

void QtPagePrinter::FinishJob() {
    if (!fileWriter_) return;
    fileWriter_.reset();
    WriteFileWholeOrTell(parent_, printer_->outputFileName(), fileData_->data());
    fileData_.reset();
}

QPainter* QtPagePrinter::BeginJob() {
    QPagedPaintDevice* device = StartJob();
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(device)) {
        painter_.reset();
        fileWriter_.reset();
        fileData_.reset();
        return nullptr;
    }
    return painter_.get();
}

bool QtPagePrinter::NewPage() {
    if (!painter_) return false;
    return fileWriter_ ? fileWriter_->newPage() : printer_->newPage();
}

void QtPagePrinter::EndJob() {
    if (!painter_) return;
    painter_->end();
    painter_.reset();
    FinishJob();
}

void QtPagePrinter::PrintDocument(QTextDocument& document, const QString& title) {
    printer_->setDocName(title);
    document.print(StartJob());
    FinishJob();
}

int QtPagePrinter::DpiX() const {
    return printer_->logicalDpiX();
}
int QtPagePrinter::DpiY() const {
    return printer_->logicalDpiY();
}

PagePrinter& PicturePrinter() {
    static QtPagePrinter desktop;
    return g_printer ? *g_printer : desktop;
}

void SetPicturePrinter(PagePrinter* printer) {
    g_printer = printer;
}
