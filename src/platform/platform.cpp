// Interfaces only; this file gives the library a translation unit.
#include "platform/platform.h"
