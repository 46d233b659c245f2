// TStringContainer: lines, text files and resources.
#include "StringContainer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ClipboardText.h"
#include "ContainerErrors.h"
#include "MemBuffer.h"
#include "Module.h"
#include "Strings.h"

namespace {

const size_t kReadChunk = 65536;

struct FileCloser {
    FILE* file;
    ~FileCloser() {
        if (file != nullptr) std::fclose(file);
    }
};

long FileSize(FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    const long size = std::ftell(file);
    std::rewind(file);
    return size < 0 ? 0 : size;
}

}  // namespace

TStringContainer::TStringContainer() { TStringContainer::Init(); }

TStringContainer::TStringContainer(const TStringContainer& source) : TContainer() {
    TStringContainer::Init();
    Assign(source);
}

TStringContainer& TStringContainer::operator=(const TStringContainer& source) {
    Assign(source);
    return *this;
}

TStringContainer::~TStringContainer() { DeleteAll(GetOwnsItems()); }

void TStringContainer::Init() {
    SetObjectMode();
    fObjectItems = true;
    fAssignItems = true;
    SetIncrement(256);
}

TString& TStringContainer::GetString(int i) const { return *static_cast<TString*>(GetItem(i)); }

int TStringContainer::Add(const TString& line) {
    TString* copy = new TString(line);
    copy->SetReduceCapacity(fReduceCapacity);
    return TContainer::Add(copy);
}

TStringContainer& TStringContainer::operator+=(const TString& line) {
    Add(line);
    return *this;
}

TStringContainer& TStringContainer::operator+=(const TStringContainer& lines) {
    Concat(lines);
    return *this;
}

void TStringContainer::Insert(int i, const TString& line) { TContainer::Insert(i, new TString(line)); }

// One move of the lines after i, however many are inserted; the copies are
// made first, since lines may be this container.
void TStringContainer::Insert(int i, const TStringContainer& lines) {
    const int count = lines.GetCount();
    std::vector<void*> copies;
    copies.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        TString* copy = new TString(lines[k]);
        copy->SetReduceCapacity(fReduceCapacity);
        copies.push_back(copy);
    }
    InsertItems(i, copies.data(), count);
}

int TStringContainer::IndexOf(const TString& line) const { return TContainer::IndexOf(&line); }

void TStringContainer::Sort(int first, int last, TCompareStringsFunction compare, void* context) {
    if (compare == nullptr) return;
    // The generic sort takes an untyped comparison: carry the typed one alongside.
    struct Typed {
        TCompareStringsFunction compare;
        void* context;
    };
    // Kept alive for a background sort too, which may outlive this call.
    auto typed = std::make_shared<Typed>(Typed{compare, context});
    if (GetSortRunner() == nullptr) {
        TContainer::Sort(first, last, [](const void* a, const void* b, void* data) {
            const Typed* t = static_cast<const Typed*>(data);
            return t->compare(static_cast<const TString*>(a), static_cast<const TString*>(b), t->context);
        }, typed.get());
        return;
    }
    fSortContexts.push_back(typed);
    TContainer::Sort(first, last, [](const void* a, const void* b, void* data) {
        const Typed* t = static_cast<const Typed*>(data);
        return t->compare(static_cast<const TString*>(a), static_cast<const TString*>(b), t->context);
    }, typed.get());
}

int TStringContainer::AddLine(const char* text, size_t length, int lineIndex, TFileLineCallback lineCallback,
                              void* context) {
    if (length > 0 && text[length - 1] == '\r') --length;
    if (fMaxLineLength > 0 && length > static_cast<size_t>(fMaxLineLength)) {
        length = static_cast<size_t>(fMaxLineLength);
        fTruncated = true;
    }
    const TString line(text, static_cast<int>(length));
    if (lineCallback != nullptr)
        lineCallback(line, lineIndex, context);
    else
        Add(line);
    return static_cast<int>(length);
}

void TStringContainer::ReadFromFile(const TString& fileName) { ReadFromFileCallback(fileName, nullptr, nullptr); }

int TStringContainer::ReadFromFileCallback(const TString& fileName, TFileProgressCallback progress, void* context,
                                           TFileLineCallback lineCallback) {
    FileCloser closer{std::fopen(fileName.c_str(), "rb")};
    if (closer.file == nullptr) throw TSDPPFileException(fileName.str(), "cannot be opened");
    DeleteAll(true);
    fReading = true;
    const int total = static_cast<int>(std::min<long>(FileSize(closer.file), 0x7FFFFFFF));
    std::vector<char> chunk(kReadChunk);
    std::string pending;  // start of a line that continues in the next chunk
    int longest = 0, lines = 0, done = 0;
    bool stop = false;
    size_t got;
    while (!stop && (got = std::fread(chunk.data(), 1, chunk.size(), closer.file)) > 0) {
        size_t start = 0;
        for (size_t i = 0; i < got; ++i) {
            if (chunk[i] != '\n') continue;
            pending.append(chunk.data() + start, i - start);
            longest = std::max(longest, AddLine(pending.data(), pending.size(), lines++, lineCallback, context));
            pending.clear();
            start = i + 1;
        }
        pending.append(chunk.data() + start, got - start);
        done += static_cast<int>(got);
        if (progress != nullptr) progress(total, done, stop, context);
    }
    const bool failed = std::ferror(closer.file) != 0;
    if (!stop && !pending.empty()) longest = std::max(longest, AddLine(pending.data(), pending.size(), lines, lineCallback, context));
    fReading = false;
    if (failed) throw TSDPPFileException(fileName.str(), "cannot be read");
    return longest;
}

void TStringContainer::WriteToFile(const TString& fileName) const { WriteToFileCallback(fileName, nullptr, nullptr); }

void TStringContainer::WriteToFileCallback(const TString& fileName, TWriteProgressCallback progress,
                                           void* context) const {
    FileCloser closer{std::fopen(fileName.c_str(), "wb")};
    if (closer.file == nullptr) throw TSDPPFileException(fileName.str(), "cannot be created");
    const char* lineEnd = fDosLineEnds ? "\r\n" : "\n";
    const size_t lineEndLength = std::strlen(lineEnd);
    bool failed = false;
    for (int i = 0; i < GetCount() && !failed; ++i) {
        const TString& line = GetString(i);
        failed = std::fwrite(line.c_str(), 1, static_cast<size_t>(line.Length()), closer.file) !=
                     static_cast<size_t>(line.Length()) ||
                 std::fwrite(lineEnd, 1, lineEndLength, closer.file) != lineEndLength;
        if (progress != nullptr) progress(GetCount(), i + 1, context);
    }
    FILE* file = closer.file;
    closer.file = nullptr;
    if (std::fclose(file) != 0 || failed) throw TSDPPFileException(fileName.str(), "cannot be written");
}

void TStringContainer::SetText(const char* text, int length) {
    DeleteAll(true);
    if (text == nullptr || length <= 0) return;
    int start = 0, lines = 0;
    for (int i = 0; i < length; ++i)
        if (text[i] == '\n') {
            AddLine(text + start, static_cast<size_t>(i - start), lines++, nullptr, nullptr);
            start = i + 1;
        }
    if (start < length) AddLine(text + start, static_cast<size_t>(length - start), lines, nullptr, nullptr);
}

TString TStringContainer::GetText(const TString& separator) const {
    TString text;
    for (int i = 0; i < GetCount(); ++i) {
        if (i > 0) text += separator;
        text += GetString(i);
    }
    return text;
}

bool TStringContainer::CopyToClipboard() const { return SetClipboardText(GetText().str()); }

bool TStringContainer::CopyFromClipboard() {
    if (!IsClipboardFormatAvailable(CF_TEXT)) return false;
    std::string text = GetClipboardText();
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    SetText(text.data(), static_cast<int>(text.size()));
    return true;
}

TStringContainer& TStringContainer::operator=(const TStrings* strings) {
    DeleteAll(true);
    if (strings == nullptr) return *this;
    for (int i = 0; i < strings->GetCount(); ++i) Add(TString(strings->GetStrings(i)));
    return *this;
}

TStringList* TStringContainer::AsStringList() const {
    auto* list = new TStringList;
    for (int i = 0; i < GetCount(); ++i) list->Add(GetString(i).str());
    return list;
}

bool TStringContainer::LoadFromResource(HMODULE module, const char* name) {
    DeleteAll(true);
    HRSRC resource = FindResourceA(module, name, RT_RCDATA);
    if (resource == nullptr) return false;
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    if (data == nullptr) return false;
    SetText(data, static_cast<int>(std::min<DWORD>(SizeofResource(module, resource), 0x7FFFFFFF)));
    return true;
}

void* TStringContainer::CreateItem(int) {
    TString* line = new TString;
    line->SetReduceCapacity(fReduceCapacity);
    return line;
}

void TStringContainer::FreeItem(void* item) { delete static_cast<TString*>(item); }

void TStringContainer::AssignItem(void* target, const void* source) {
    *static_cast<TString*>(target) = *static_cast<const TString*>(source);
}

int TStringContainer::CompareItems(const void* a, const void* b) const {
    return TString::Compare(static_cast<const TString*>(a), static_cast<const TString*>(b));
}

void TStringContainer::WriteItem(TMemBuffer& buffer, const void* item) const {
    static_cast<const TString*>(item)->WriteToMemBuffer(buffer);
}

bool TStringContainer::ReadItem(TMemBuffer& buffer, void* item) {
    return static_cast<TString*>(item)->ReadFromMemBuffer(buffer);
}
