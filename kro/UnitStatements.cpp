// Definitions that make no token: const and import (with the search for unit files), and the reserved setpixel.
#include <cctype>
#include <cstdio>

#include "Files.h"
#include "LineScan.h"
#include "Statements.h"

namespace {

bool DefineConstant(const TString& part, TCompileState& state) {
    const int equals = FindOutsideQuotes(part, '=');
    if (equals < 0) return Fail(state, keConstWithoutAssignment);
    const TString name = TrimWhiteSpace(part.Left(equals));
    const TString value = TrimWhiteSpace(part.Substring(equals + 1, part.Length() - 1));
    if (name.Length() == 0 || value.Length() == 0) return Fail(state, keConstMissingPart);
    state.constantNames.Add(name);
    state.constantValues.Add("(" + value + ")");
    return true;
}

TString WithSlashes(TString path) {
    for (int i = 0; i < path.Length(); ++i)
        if (path[i] == '\\') path[i] = '/';
    return path;
}

bool SameNameIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// Larger files are refused: a device that never ends would else be read for ever.
constexpr int kMaxFileBytes = 64 << 20;

bool ReadWholeFile(const TString& path, TMemBuffer& bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bytes.Clear();
    char chunk[65536];
    size_t got = 0;
    bool fits = true;
    while (fits && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        fits = bytes.GetSize() <= kMaxFileBytes - static_cast<int>(got);
        if (fits) bytes.Add(chunk, static_cast<int>(got));
    }
    // A folder opens but fails to read.
    const bool read = fits && std::ferror(file) == 0;
    std::fclose(file);
    return read;
}

// The entry of path's folder whose name equals path's last part but for
// case; "" when none.
TString FindIgnoringCase(const TString& path) {
    const int slash = path.LastPos('/');
    const TString folder = slash >= 0 ? path.Left(slash + 1) : TString("./");
    const TString wanted = path.Substring(slash + 1, path.Length() - 1);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return TString();
    TString found;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && SameNameIgnoringCase(entry.cFileName, wanted.c_str()))
            found = (slash >= 0 ? folder : TString()) + entry.cFileName;
    } while (found.Length() == 0 && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

// Reads the file as named, else a file whose name differs only in case.
bool ReadNamedFile(const TString& name, TMemBuffer& bytes, TString& opened) {
    const TString path = WithSlashes(name);
    if (ReadWholeFile(path, bytes)) {
        opened = name;
        return true;
    }
    const TString other = FindIgnoringCase(path);
    if (other.Length() == 0 || !ReadWholeFile(other, bytes)) return false;
    opened = other;
    return true;
}

}  // namespace

bool ReadFileFromDirectories(const TString& name, const TStringContainer& directories, TMemBuffer& bytes,
                             TString& found) {
    if (ReadNamedFile(name, bytes, found)) return true;
    for (int i = 0; i < directories.GetCount(); ++i) {
        TString directory = directories[i];
        if (directory.Length() > 0 && directory[directory.Length() - 1] != '/' &&
            directory[directory.Length() - 1] != '\\')
            directory += "/";
        if (ReadNamedFile(directory + name, bytes, found)) return true;
    }
    return false;
}

namespace {

// The unit's lines and the name under which it is reported.
bool FindUnit(const TString& name, const TCompileState& state, TStringContainer& lines, TString& found) {
    if (const TUnitSubsInfo* unit = state.units.Find(name)) {
        lines = unit->lines;
        found = unit->name;
        return true;
    }
    TString fileName = name;
    if (!name.Contains(".txt") && !name.Contains(".TXT")) fileName += ".txt";
    TMemBuffer bytes;
    if (!ReadFileFromDirectories(fileName, state.unitDirectories, bytes, found)) return false;
    lines.SetText(static_cast<const char*>(bytes.GetBlock()), bytes.GetSize());
    return true;
}

}  // namespace

bool CompileConst(TString& rest, TCompileState& state, TProgram&) {
    TStringContainer parts;
    SplitTopLevel(rest, ',', parts);
    for (int i = 0; i < parts.GetCount(); ++i)
        if (!DefineConstant(parts[i], state)) return false;
    return true;
}

// Units are opened in the order written, so the last is read first. A unit
// already being read (an import cycle) is unknown, as it could never end.
bool CompileImport(TString& rest, TCompileState& state, TProgram&) {
    TStringContainer parts;
    SplitTopLevel(rest, ',', parts);
    if (parts.GetCount() == 0) return Fail(state, keImportWithoutName);
    for (int i = 0; i < parts.GetCount(); ++i) {
        const TString name = TrimWhiteSpace(parts[i]);
        if (name.Length() == 0) return Fail(state, keUnknownUnit);
        TStringContainer lines;
        TString found;
        if (!FindUnit(name, state, lines, found) || state.IsUnitOpen(found)) return Fail(state, keUnknownUnit);
        state.PushUnit(lines, found);
    }
    return true;
}

bool CompileSetPixel(TString&, TCompileState&, TProgram&) { return false; }
