#pragma once
// The printer the scheme and table pictures go to: the print dialog, then one print job at a
// time with a painter on its pages. The desktop one is QPrinter with QPrintDialog; tests use one
// that writes each job to a PDF file of its own.

#include <QPointer>
#include <QString>
#include <memory>

class QBuffer;
class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;
class QTextDocument;
class QWidget;

// What the print dialog offers first: every page, or the text selected.
enum class PrintRange { AllPages, Selection };

class PagePrinter {
  public:
    virtual ~PagePrinter() = default;
    // The print dialog (pages fromPage..toPage offered, range preset); false when it was cancelled.
    virtual bool Setup(QWidget* parent, int fromPage, int toPage, PrintRange range) = 0;
    // Begins a print job with the painter on its first page; nullptr when the printer cannot begin
    // (a file that cannot be written). Every page of a job goes to the same printer or file.
    virtual QPainter* BeginJob() = 0;
    // Moves the job's painter on to a new page; false when the printer cannot.
    virtual bool NewPage() = 0;
    virtual void EndJob() = 0;
    // Prints a text document, over as many pages as it takes, as one job under the title.
    virtual void PrintDocument(QTextDocument& document, const QString& title) = 0;
    // The printer's resolution in dots per inch.
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
};

// QPrinter: the dialog through ShowModal, each job a document of its own. With a PDF path
// pattern ("%1" for the job number from 1) it prints to PDF files and shows no dialog. A job
// printed to a file writes it whole or, telling the user, leaves the old file as it was.
class QtPagePrinter : public PagePrinter {
  public:
    explicit QtPagePrinter(QString pdfPattern = QString());
    ~QtPagePrinter() override;
    bool Setup(QWidget* parent, int fromPage, int toPage, PrintRange range) override;
    QPainter* BeginJob() override;
    bool NewPage() override;
    void EndJob() override;
    void PrintDocument(QTextDocument& document, const QString& title) override;
    int DpiX() const override;
    int DpiY() const override;
    int Jobs() const { return jobs_; }

  private:
    // The device a new job paints on: the printer, or a PDF in memory for a file.
    QPagedPaintDevice* StartJob();
    // Writes a job printed to a file.
    void FinishJob();

    QString pdfPattern_;
    QPointer<QWidget> parent_; // of the last print dialog, for the box of a file not written
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QBuffer> fileData_;
    std::unique_ptr<QPdfWriter> fileWriter_;
    std::unique_ptr<QPainter> painter_;
    int jobs_ = 0;
};

// The printer the editors print pictures through; tests put another one in (nullptr restores the
// desktop one).
PagePrinter& PicturePrinter();
void SetPicturePrinter(PagePrinter* printer);
