// The Win32 subset as the components see it: one include for all of it.
#pragma once

#include "Win32Types.h"
#include "Module.h"
#include "LastError.h"
#include "GlobalMemory.h"
#include "Files.h"
#include "Synchronization.h"
#include "Threads.h"
#include "Pipes.h"
#include "System.h"
