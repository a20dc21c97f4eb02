#pragma once
// Configuration files (".veg"): the device blocks and the algorithm tables in a fixed order.

#include <QString>
#include <cstdint>

class QWidget;
struct TConfiguration;

// Where a file of f function blocks (60 or 120) keeps its block pages and its algorithm section.
struct ConfigFileLayout {
    static constexpr int HeadBytes =
        921; // device number, composition, module 1, discrete table, units, names
    int f = 0;
    constexpr int Pages() const { return f / 10; }
    constexpr int FbAt() const { return HeadBytes; }
    constexpr int AlgAt() const { return HeadBytes + 160 * Pages(); } // the name pages, 1000 bytes each
    constexpr int MarksAt() const { return AlgAt() + 1000 * Pages(); }
    constexpr int ListsAt() const { return MarksAt() + f; }
    constexpr int CountAt() const { return ListsAt() + f * f; }
    constexpr int AlgEnd() const { return CountAt() + 1; } // the algorithm section ends here
};

// The block count a file of this size was written for: 0 not a configuration file (below
// 12 KiB), 40 (12 KiB, not supported), 60 (17 KiB), 120 (any other size from 13 KiB on).
int FileBlockCountBySize(int64_t size);

// Reads the file into the configuration. Any failure is reported in a message box and leaves
// the configuration exactly as it was. On success the configuration is in file mode, not
// modified.
bool OpenConfigFile(QWidget* parent, const QString& path, TConfiguration& cfg);

// Writes the configuration to the file through a temporary file and a rename, so that the old
// file stays whole when anything fails; a failure is reported in a message box.
bool SaveConfigFile(QWidget* parent, const QString& path, TConfiguration& cfg);

// Takes the algorithm names, marks, lists and count of the file into the configuration and its
// reserve, leaving everything else. The file's block count comes from its size; a file that does
// not hold a whole algorithm section with a count of at most its block count is refused, and
// nothing changes. A different block count or composition only warns. Every refusal and warning
// is a message box; false when nothing was loaded. In file mode a load marks the configuration
// modified.
bool LoadAlgorithmsFromFile(QWidget* parent, const QString& path, TConfiguration& cfg);
