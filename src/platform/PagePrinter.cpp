#include "PagePrinter.h"

#include "Dialogs.h"

#include <QPainter>
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

QPainter* QtPagePrinter::BeginJob() {
    ++jobs_;
    if (!pdfPattern_.isEmpty()) printer_->setOutputFileName(pdfPattern_.arg(jobs_));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        painter_.reset();
        return nullptr;
    }
    return painter_.get();
}

bool QtPagePrinter::NewPage() {
    return painter_ && printer_->newPage();
}

void QtPagePrinter::EndJob() {
    if (painter_) painter_->end();
    painter_.reset();
}

void QtPagePrinter::PrintDocument(QTextDocument& document, const QString& title) {
    ++jobs_;
    if (!pdfPattern_.isEmpty()) printer_->setOutputFileName(pdfPattern_.arg(jobs_));
    printer_->setDocName(title);
    document.print(printer_.get());
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
