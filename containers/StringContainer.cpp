// TStringContainer: lines, text files and resources.
#include "StringContainer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "ClipboardText.h"
#include "ContainerErrors.h"
#include "MemBuffer.h"
#include "Module.h"
#include "Strings.h"

namespace {

const size_t kReadChunk = 65536;
const size_t kWriteBlock = 262144;

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

// The room a new line of length characters gets: all that the heap's block
// for it holds anyway (blocks grow in steps of 16 bytes, 8 of them the
// heap's own), so that a line that grows by a few characters (an appended
// ';') or is read again a little longer keeps its storage. Short lines
// live inside the string itself.
int RoomFor(size_t length) {
    if (length < 16 || length > 0x7FFFFFF0) return 0;
    return static_cast<int>(((length + 1 + 8 + 15) & ~size_t(15)) - 8 - 1);
}

// Spares in up to this many ascending runs are merged run by run; more
// are sorted by their addresses.
const size_t kMergedRuns = 64;

// Sorts addresses ascending in linear time, least significant digit first,
// sixteen bits a pass over the bits in which they differ: the lines of a
// large text that a sort left in any order take two or three passes.
void SortAddresses(void** addresses, size_t count) {
    if (count < 65536) {
        std::sort(addresses, addresses + count, std::less<void*>());
        return;
    }
    const int kDigitBits = 16;
    const size_t kDigits = size_t(1) << kDigitBits;
    uintptr_t* keys = reinterpret_cast<uintptr_t*>(addresses);
    uintptr_t lowest = UINTPTR_MAX;
    for (size_t i = 0; i < count; ++i) lowest = std::min(lowest, keys[i]);
    uintptr_t differing = 0;
    for (size_t i = 0; i < count; ++i) differing |= keys[i] - lowest;
    int shift = 0;
    while (shift < 64 && (differing & (uintptr_t(1) << shift)) == 0) ++shift;  // alike in all (alignment)
    std::vector<uintptr_t> buffer(count);
    uintptr_t* sorted = buffer.data();
    std::vector<size_t> starts(kDigits);
    for (; shift < 64 && (differing >> shift) != 0; shift += kDigitBits) {
        const auto digit = [&](uintptr_t key) { return ((key - lowest) >> shift) & (kDigits - 1); };
        std::fill(starts.begin(), starts.end(), 0);
        for (size_t i = 0; i < count; ++i) ++starts[digit(keys[i])];
        size_t total = 0;
        for (size_t& start : starts) total += std::exchange(start, total);
        for (size_t i = 0; i < count; ++i) sorted[starts[digit(keys[i])]++] = keys[i];
        std::swap(keys, sorted);
    }
    if (keys != reinterpret_cast<uintptr_t*>(addresses))
        std::copy(keys, keys + count, reinterpret_cast<uintptr_t*>(addresses));
}

// Merges neighbouring ascending runs (starting at runStarts, the first at
// 0) pairwise until one is left.
void MergeRuns(void** addresses, size_t count, std::vector<size_t> runStarts) {
    runStarts.push_back(count);
    while (runStarts.size() > 2) {
        std::vector<size_t> merged;
        for (size_t run = 0; run + 1 < runStarts.size(); run += 2) {
            merged.push_back(runStarts[run]);
            if (run + 2 < runStarts.size())
                std::inplace_merge(addresses + runStarts[run], addresses + runStarts[run + 1],
                                   addresses + runStarts[run + 2], std::less<void*>());
        }
        merged.push_back(count);
        runStarts.swap(merged);
    }
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

TStringContainer::~TStringContainer() {
    DeleteAll(GetOwnsItems());
    DeleteSpares();
}

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

void TStringContainer::Recycle() {
    if (!GetFreeItems()) {
        DeleteAll(true);
        return;
    }
    void* const* items = static_cast<void* const*>(GetItems());
    fSpares.reserve(fSpares.size() + static_cast<size_t>(GetCount()));
    for (int i = 0; i < GetCount(); ++i)
        if (items[i] != nullptr) fSpares.push_back(items[i]);
    DeleteAll(false);
    OrderSpares();
}

void TStringContainer::RecycleSection(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, GetCount() - 1);
    if (first > last) return;
    if (!GetFreeItems()) {
        DeleteSection(first, last, true);
        return;
    }
    void* const* items = static_cast<void* const*>(GetItems());
    const size_t spares = fSpares.size();
    for (int i = first; i <= last; ++i)
        if (items[i] != nullptr) fSpares.push_back(items[i]);
    try {
        DeleteSection(first, last, false);
    } catch (...) {
        fSpares.resize(spares);  // the lines stay in the list, and only there
        throw;
    }
}

// The spares still to fill go in the order of their places in memory, so
// that the lines a read fills lie in memory in their own order: lines that
// were sorted, moved about or removed here and there would otherwise leave
// the new text scattered. A few ascending runs (the text's lines and the
// removed ones kept beside them, say) are merged, more are sorted.
void TStringContainer::OrderSpares() {
    void** first = fSpares.data() + fNextSpare;
    const size_t count = fSpares.size() - fNextSpare;
    const std::less<void*> before;
    std::vector<size_t> runStarts{0};
    for (size_t i = 1; i < count && runStarts.size() <= kMergedRuns; ++i)
        if (before(first[i], first[i - 1])) runStarts.push_back(i);
    if (runStarts.size() == 1) return;
    if (runStarts.size() <= kMergedRuns)
        MergeRuns(first, count, runStarts);
    else
        SortAddresses(first, count);
}

void TStringContainer::DeleteSpares() {
    for (size_t i = fNextSpare; i < fSpares.size(); ++i) FreeItem(fSpares[i]);
    std::vector<void*>().swap(fSpares);
    fNextSpare = 0;
    std::string().swap(fExpanded);
}

int TStringContainer::AddLine(const char* text, size_t length, int lineIndex, TFileLineCallback lineCallback,
                              void* context) {
    if (length > 0 && text[length - 1] == '\r') --length;
    if (fMaxLineLength > 0 && length > static_cast<size_t>(fMaxLineLength)) {
        length = static_cast<size_t>(fMaxLineLength);
        fTruncated = true;
    }
    if (fTabExpansion > 0 && length > 0 && std::memchr(text, '\t', length) != nullptr) {
        fExpanded.clear();
        TString::AppendExpandingTabs(fExpanded, text, static_cast<int>(length), fTabExpansion);
        text = fExpanded.data();
        length = fExpanded.size();
    }
    if (lineCallback != nullptr) {
        lineCallback(TString(text, static_cast<int>(length)), lineIndex, context);
        return static_cast<int>(length);
    }
    TString* line;
    if (fNextSpare < fSpares.size()) {
        PrefetchLines(fSpares.data(), static_cast<int>(fNextSpare), static_cast<int>(fSpares.size()));
        line = static_cast<TString*>(fSpares[fNextSpare++]);
        line->SetReduceCapacity(fReduceCapacity);
        line->Assign(text, static_cast<int>(length));
    } else {
        line = new TString;
        line->SetReduceCapacity(fReduceCapacity);
        line->Reserve(RoomFor(length));
        line->Assign(text, static_cast<int>(length));
    }
    TContainer::Add(line);
    return static_cast<int>(length);
}

void TStringContainer::ReadFromFile(const TString& fileName) { ReadFromFileCallback(fileName, nullptr, nullptr); }

// Progress is reported once per line, with the bytes read through its end,
// so that a reader can stop after any line (a line limit, say). A line that
// lies whole in a chunk is taken from the chunk without a copy.
int TStringContainer::ReadFromFileCallback(const TString& fileName, TFileProgressCallback progress, void* context,
                                           TFileLineCallback lineCallback) {
    SparesDeleter spares{this};
    FileCloser closer{std::fopen(fileName.c_str(), "rb")};
    if (closer.file == nullptr) throw TSDPPFileException(fileName.str(), "cannot be opened");
    Recycle();
    fReading = true;
    const int total = static_cast<int>(std::min<long>(FileSize(closer.file), 0x7FFFFFFF));
    std::vector<char> chunk(kReadChunk);
    std::string pending;  // start of a line that continues in the next chunk
    int longest = 0, lines = 0;
    long done = 0;  // bytes before the chunk
    bool stop = false;
    const auto lineRead = [&](const char* text, size_t length, long through) {
        longest = std::max(longest, AddLine(text, length, lines++, lineCallback, context));
        if (progress != nullptr) progress(total, static_cast<int>(std::min<long>(through, 0x7FFFFFFF)), stop, context);
    };
    size_t got;
    while (!stop && (got = std::fread(chunk.data(), 1, chunk.size(), closer.file)) > 0) {
        const char* data = chunk.data();
        size_t start = 0;
        while (!stop) {
            const void* found = std::memchr(data + start, '\n', got - start);
            if (found == nullptr) break;
            const size_t end = static_cast<size_t>(static_cast<const char*>(found) - data);
            const long through = done + static_cast<long>(end) + 1;
            if (pending.empty()) {
                lineRead(data + start, end - start, through);
            } else {
                pending.append(data + start, end - start);
                lineRead(pending.data(), pending.size(), through);
                pending.clear();
            }
            start = end + 1;
        }
        if (!stop) pending.append(data + start, got - start);
        done += static_cast<long>(got);
    }
    const bool failed = std::ferror(closer.file) != 0;
    if (!stop && !pending.empty()) lineRead(pending.data(), pending.size(), done);
    fReading = false;
    if (failed) throw TSDPPFileException(fileName.str(), "cannot be read");
    return longest;
}

void TStringContainer::WriteToFile(const TString& fileName) const { WriteToFileCallback(fileName, nullptr, nullptr); }

// The lines are gathered into blocks of kWriteBlock bytes, each written
// with one call, the lines ahead fetched into the cache while the block
// fills. After a progress call the list is read afresh, since the handler
// may have changed it.
int TStringContainer::WriteToFileCallback(const TString& fileName, TWriteProgressCallback progress,
                                          void* context) const {
    FileCloser closer{std::fopen(fileName.c_str(), "wb")};
    if (closer.file == nullptr) throw TSDPPFileException(fileName.str(), "cannot be created");
    std::setvbuf(closer.file, nullptr, _IONBF, 0);
    const std::string lineEnd = fDosLineEnds ? "\r\n" : "\n";
    std::vector<char> block(kWriteBlock);
    size_t used = 0;
    bool failed = false;
    const auto write = [&](const char* data, size_t size) {
        failed = failed || std::fwrite(data, 1, size, closer.file) != size;
    };
    const auto gather = [&](const char* data, size_t size) {
        if (size > block.size() - used) {
            write(block.data(), used);
            used = 0;
            if (size > block.size()) {
                write(data, size);
                return;
            }
        }
        std::memcpy(block.data() + used, data, size);
        used += size;
    };
    void* const* items = static_cast<void* const*>(GetItems());
    int count = GetCount();
    size_t longest = 0;
    for (int i = 0; i < count && !failed; ++i) {
        PrefetchLines(items, i, count);
        const std::string& text = static_cast<const TString*>(items[i])->str();
        longest = std::max(longest, text.size());
        gather(text.data(), text.size());
        gather(lineEnd.data(), lineEnd.size());
        if (progress != nullptr) {
            progress(count, i + 1, context);
            items = static_cast<void* const*>(GetItems());
            count = GetCount();
        }
    }
    if (!failed) write(block.data(), used);
    FILE* file = closer.file;
    closer.file = nullptr;
    if (std::fclose(file) != 0 || failed) throw TSDPPFileException(fileName.str(), "cannot be written");
    return static_cast<int>(longest);
}

void TStringContainer::SetText(const char* text, int length) {
    SparesDeleter spares{this};
    Recycle();
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
