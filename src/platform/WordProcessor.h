#pragma once
// The word processor the table printers hand their RTF files to: exactly the calls the print
// sequence makes. The desktop implementation drives LibreOffice headless.

#include "RtfWriter.h"

#include <QString>
#include <functional>

class QWidget;

class WordProcessor {
  public:
    virtual ~WordProcessor() = default;
    // Opens the document; false when the word processor is not available (it has said why).
    virtual bool OpenDocument(const QString& fileName) = 0;
    virtual void SetPageSetup(const PageSetup& page) = 0;
    virtual void PrintOut() = 0;
    virtual void Save(const QString& fileName) = 0;
    virtual void Close(const QString& fileName) = 0;
    virtual void Quit() = 0;
};

// LibreOffice headless turns the RTF file into a PDF in a temporary folder, and CUPS's `lp` puts
// that PDF on the system's default printer. LibreOffice's exit status says nothing about a print,
// so the print counts as done only when the PDF is there and `lp` answers with a request id. The
// page setup travels in the RTF file, and the file on disk is the saved document, so setting up,
// saving and closing have nothing left to do. The print runs while the windows keep painting and
// the user's input is held, as during a transfer; with no default printer it is not started, and
// either case is told in one box.
class DesktopWordProcessor : public WordProcessor {
  public:
    static constexpr int kPrintTimeoutMs = 120000;

    // The system's default printer, the one the print dialog offers first; empty when there is none.
    static QString SystemDefaultPrinter();

    // The programs `soffice` and `lp` are looked up on PATH.
    explicit DesktopWordProcessor(QWidget* parent = nullptr, int printTimeoutMs = kPrintTimeoutMs,
                                  std::function<QString()> defaultPrinter = SystemDefaultPrinter);

    bool OpenDocument(const QString& fileName) override;
    void SetPageSetup(const PageSetup& page) override;
    void PrintOut() override;
    void Save(const QString& fileName) override;
    void Close(const QString& fileName) override;
    void Quit() override;

  private:
    // Converts and queues the document; returns why it did not reach the printer, empty when it did.
    QString Print(const QString& printer);

    QWidget* parent_;
    int printTimeoutMs_;
    std::function<QString()> defaultPrinter_;
    QString officePath_; // found when the document was opened
    QString document_;
};
