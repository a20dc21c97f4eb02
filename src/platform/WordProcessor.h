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

// LibreOffice headless: prints with `soffice --headless -p FILE` to the default printer. The page
// setup already travels in the RTF file, and the file on disk is the saved document, so setting
// up, saving and closing have nothing left to do. The print runs while the windows keep painting
// and the user's input is held, as during a transfer; with no printer it is not started, and
// either case is told in one box.
class DesktopWordProcessor : public WordProcessor {
  public:
    static constexpr int kPrintTimeoutMs = 120000;

    // True when the system has a printer (QPrinterInfo).
    static bool SystemHasPrinter();

    explicit DesktopWordProcessor(QWidget* parent = nullptr, QString program = QStringLiteral("soffice"),
                                  int printTimeoutMs = kPrintTimeoutMs,
                                  std::function<bool()> hasPrinter = SystemHasPrinter);

    bool OpenDocument(const QString& fileName) override;
    void SetPageSetup(const PageSetup& page) override;
    void PrintOut() override;
    void Save(const QString& fileName) override;
    void Close(const QString& fileName) override;
    void Quit() override;

  private:
    QWidget* parent_;
    QString program_;
    int printTimeoutMs_;
    std::function<bool()> hasPrinter_;
    QString programPath_; // found when the document was opened
    QString document_;
};
