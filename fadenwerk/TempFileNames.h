// Temporary names: numbered names from a process-wide prefix, and
// TTempFileName, a temporary file that removes itself.
#pragma once

#include <string>

#include "Win32.h"

// Sets the process-wide prefix of GetTempFileNameA (any length).
void GetTempFileNameInit(const std::string& prefix);
// The next name "<prefix>_TEMP_<n>", n counting from 0 per process; safe from
// any thread. Creates no file. Overloads the Win32 subset's four-argument call.
std::string GetTempFileNameA();
// Does nothing; kept for callers.
void GetTempFileNameDone();

// A fresh file in the system's temporary folder, created empty so that no
// other caller can get the same name, and removed when the object is
// destroyed. GetName() is empty when no file could be made.
class TTempFileName {
public:
    TTempFileName();
    ~TTempFileName();
    TTempFileName(const TTempFileName&) = delete;
    TTempFileName& operator=(const TTempFileName&) = delete;

    const std::string& GetName() const { return fName; }

private:
    std::string fName;
};
