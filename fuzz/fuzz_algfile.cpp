// The algorithm window's load from a file: the fuzz bytes make a file, its algorithm tables are
// loaded into a configuration, filled into the grid rows as the window does, and stored back as
// its OK does. Byte 0 bits 0..1 pick the file: a 60-block file or a 120-block file (zeros, with the
// rest of the fuzz bytes from the algorithm marks on, and its last byte as the algorithm count),
// the rest byte for byte, or a 40-block file; bit 2 makes the configuration one of 60 blocks, bit 3
// gives it another composition. Byte 1 is the configuration's count of logic blocks.

#include "AlgTableEdit.h"
#include "ConfigFile.h"
#include "FuzzConfig.h"
#include "FuzzFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t* rest = data + 2;
    const size_t restSize = size - 2;
    QByteArray file;
    const int kind = data[0] & 3;
    if (kind == 2) {
        file = QByteArray(reinterpret_cast<const char*>(rest), qsizetype(restSize));
    } else {
        const ConfigFileLayout l{kind == 0 ? 60 : 120};
        file = QByteArray(kind == 0 ? 17 * 1024 : kind == 1 ? l.AlgEnd() : 12 * 1024, '\0');
        if (restSize > 0 && l.CountAt() < file.size()) {
            std::copy_n(rest, std::min(restSize, size_t(file.size() - l.MarksAt())),
                        file.begin() + l.MarksAt());
            file[l.CountAt()] = char(rest[restSize - 1]);
        }
    }
    if (!WriteFuzzFile(file.constData(), file.size())) return 0;
    auto cfg = NewConfiguration();
    cfg->FB.FBCount = data[0] & 4 ? 60 : TProgFBClass::FBCapacity;
    cfg->FB.LogicFBCount = std::min<int>(data[1], cfg->FB.FBCount);
    if (data[0] & 8) cfg->Serv.SetSlotModuleCode(1, 6);
    if (!LoadAlgorithmsFromFile(nullptr, FuzzFilePath(), *cfg)) return 0;
    const std::vector<AlgGridRow> rows = LoadedAlgorithmRows(cfg->FB);
    (void)StoreAlgorithmGrid(cfg->FB, rows);
    (void)AlgorithmRows(cfg->FB);
    return 0;
}
