#pragma once
// A configuration as the program starts one: a copy of one built once, as building one (its
// default channels) costs far more than a fuzz run of the readers.

#include "Configuration.h"

#include <memory>

inline std::unique_ptr<TConfiguration> NewConfiguration() {
    static const TConfiguration fresh;
    return std::make_unique<TConfiguration>(fresh);
}
