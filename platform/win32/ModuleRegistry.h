// Registration of modules and their embedded resources, called by the source
// that the resource tool generates for each library and for the program.
#pragma once

#include "Win32Types.h"

namespace win32 {

// One embedded resource. Type and name are upper-cased strings or "#<number>".
struct EmbeddedResource {
    const char* type;
    const char* name;
    const unsigned char* data;
    size_t size;
};

// Registers a module with its resources and returns its handle. `isProgram`
// attaches the resources to the program's module instead of making a library
// module. `addressInModule` is any address inside the module's file, used to
// find the file's path. Registering the same name twice returns the first handle.
HMODULE RegisterModule(const char* moduleName, bool isProgram, const EmbeddedResource* resources,
                       size_t count, const void* addressInModule);

}  // namespace win32
