// Configuration files: the fuzz bytes are the whole file, opened into a configuration.

#include "ConfigFile.h"
#include "Configuration.h"
#include "Dialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("fuzz.veg"));
    static const bool once = [] {
        SetMessageBoxHandler([](QWidget*, const MessageBoxRequest&) { return int(mrOk); });
        return true;
    }();
    (void)once;
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            return 0;
    }
    auto cfg = std::make_unique<TConfiguration>();
    OpenConfigFile(nullptr, path, *cfg);
    return 0;
}
