#pragma once
// Configuration files (".veg"): the device blocks and the algorithm tables in a fixed order.

#include <QString>
#include <cstdint>

class QWidget;
struct TConfiguration;

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
