// The resource statement: a file read into a resource token, with the checks of its kind, file and name.
#include "ResourceStatements.h"

#include <memory>

#include "LineScan.h"
#include "Statements.h"

namespace {

enum TResourceKind { rkImage = 0, rkText = 1, rkDialog = 2 };

// ORDER: the kinds' numbers are stored in resource tokens.
const char* const kResourceKinds[] = {"image", "text", "dialog"};

// ORDER: a format's number is its position; the first contained wins.
const char* const kImageFormats[] = {".BMP", ".JPG", ".GIF"};

const char* const kDialogFirstLine = "KRO dialog";

int ResourceKindOf(const TString& word) {
    for (int kind = 0; kind < 3; ++kind)
        if (word == kResourceKinds[kind]) return kind;
    return -1;
}

int ImageFormatOf(const TString& fileName) {
    const TString upper = fileName.UpperCase();
    for (int format = 0; format < 3; ++format)
        if (upper.Contains(kImageFormats[format])) return format;
    return 0;
}

bool TakeImage(const TMemBuffer& bytes, const TString& fileName, RESOURCE_INFO& info) {
    info.format = ImageFormatOf(fileName);
    const uint8_t* data = static_cast<const uint8_t*>(bytes.GetBlock());
    if (bytes.GetSize() > 0) info.image.assign(data, data + bytes.GetSize());
    return true;
}

bool TakeLines(const TMemBuffer& bytes, RESOURCE_INFO& info, TCompileState& state) {
    info.lines.SetText(static_cast<const char*>(bytes.GetBlock()), bytes.GetSize());
    if (info.kind != rkDialog) return true;
    if (info.lines.GetCount() == 0 || info.lines[0] != kDialogFirstLine) return Fail(state, keBadDialogResource);
    return true;
}

}  // namespace

bool CompileResource(TString& rest, TCompileState& state, TProgram& program) {
    TStringContainer parts;
    rest.GetTokens(',', parts);
    if (parts.GetCount() != 3) return Fail(state, keBadParameterCount);
    const TString kindWord = TrimWhiteSpace(parts[0]);
    if (kindWord.Length() == 0) return Fail(state, keMissingResourceKind);
    const int kind = ResourceKindOf(kindWord);
    if (kind < 0) return Fail(state, keUnknownResourceKind);
    const TString fileName = TrimWhiteSpace(parts[1]);
    if (fileName.Length() == 0) return Fail(state, keMissingResourceFile);
    // Names are matched regardless of case, as on the system the scripts come from.
    TMemBuffer bytes;
    TString found;
    if (!ReadFileFromDirectories(fileName, state.unitDirectories, bytes, found))
        return Fail(state, keResourceFileNotFound);
    const TString name = TrimWhiteSpace(parts[2]);
    if (name.Length() == 0) return Fail(state, keMissingResourceName);

    std::unique_ptr<RESOURCE_INFO> info = std::make_unique<RESOURCE_INFO>();
    info->kind = kind;
    info->name = name;
    const bool taken = kind == rkImage ? TakeImage(bytes, fileName, *info) : TakeLines(bytes, *info, state);
    if (!taken) return false;
    program.resourceTokens.Add(program.tokens.GetCount());
    program.tokens.AddToken(ttResource)->record = std::move(info);
    return true;
}
