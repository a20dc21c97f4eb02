// Writes the configuration-file seeds, too large to commit: an empty 60-block and an empty
// 120-block configuration as the program saves them. Fails when one does not open again.
//   fuzz_make_seeds DIR

#include "ConfigFile.h"
#include "Configuration.h"
#include "Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds DIR\n");
        return 2;
    }
    SetMessageBoxHandler([](QWidget*, const MessageBoxRequest& r) {
        std::fprintf(stderr, "%s\n", qPrintable(r.text));
        return int(mrOk);
    });
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) return 1;
    for (const int fbCount : {60, 120}) {
        auto cfg = std::make_unique<TConfiguration>();
        cfg->FB.FBCount = fbCount;
        const QString path = dir.filePath(QStringLiteral("empty%1.veg").arg(fbCount));
        auto back = std::make_unique<TConfiguration>();
        if (!SaveConfigFile(nullptr, path, *cfg) || !OpenConfigFile(nullptr, path, *back) ||
            back->FB.FBCount != fbCount)
            return 1;
    }
    return 0;
}
