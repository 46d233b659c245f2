// The Win32 subset as the components see it: one include for all of it.
#pragma once

#include "Win32Types.h"
#include "Module.h"
