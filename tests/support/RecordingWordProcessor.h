#pragma once
// A word processor that records the calls the print sequence makes.

#include "WordProcessor.h"

#include <QStringList>

class RecordingWordProcessor : public WordProcessor {
  public:
    bool available = true;
    QStringList calls;

    bool OpenDocument(const QString& fileName) override {
        calls << "Open " + fileName;
        return available;
    }
    void SetPageSetup(const PageSetup& page) override {
        calls << QStringLiteral("PageSetup %1 %2 %3 %4 %5")
                     .arg(page.landscape)
                     .arg(page.rightMargin)
                     .arg(page.leftMargin)
                     .arg(page.topMargin)
                     .arg(page.bottomMargin);
    }
    void PrintOut() override { calls << "PrintOut"; }
    void Save(const QString& fileName) override { calls << "Save " + fileName; }
    void Close(const QString& fileName) override { calls << "Close " + fileName; }
    void Quit() override { calls << "Quit"; }
};
