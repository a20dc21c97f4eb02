#include "ConfigFile.h"

int FileBlockCountBySize(int64_t) { return 0; }

bool OpenConfigFile(QWidget*, const QString&, TConfiguration&) { return false; }

bool SaveConfigFile(QWidget*, const QString&, TConfiguration&) { return false; }
