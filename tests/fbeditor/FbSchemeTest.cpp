// The scheme rebuilt from the function-block records.
#include "FbEditorFixture.h"
