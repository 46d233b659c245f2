// The module that carries the Tabulo package's own resources (the quick
// list's cursors), registered when the library loads.
#pragma once

#include "Win32Types.h"

HMODULE TabuloResourceModule();
