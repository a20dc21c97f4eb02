#include "TCopyBlocksClass.h"
