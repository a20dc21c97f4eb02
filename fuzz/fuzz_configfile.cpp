// Configuration files: the fuzz bytes are the whole file, opened into a configuration.

#include "ConfigFile.h"
#include "FuzzConfig.h"
#include "FuzzFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!WriteFuzzFile(reinterpret_cast<const char*>(data), qint64(size))) return 0;
    auto cfg = NewConfiguration();
    OpenConfigFile(nullptr, FuzzFilePath(), *cfg);
    return 0;
}
