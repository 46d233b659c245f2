// TStringContainer: a list of owned TString lines, with text files, resources
// and the container storage form.
#pragma once

#include <memory>
#include <vector>

#include "Container.h"
#include "ContainerErrors.h"
#include "String.h"
#include "Win32Types.h"

class TStrings;
class TStringList;

// Progress of a file read, once after each line: total bytes, bytes read
// through that line's end; setting stop ends the read after that line.
typedef void (*TFileProgressCallback)(int total, int done, bool& stop, void* context);
// Receives each line read when given; the lines are then not stored.
typedef void (*TFileLineCallback)(const TString& line, int lineIndex, void* context);
// Progress of a file write: line count, lines written so far.
typedef void (*TWriteProgressCallback)(int total, int done, void* context);
typedef int (*TCompareStringsFunction)(const TString* a, const TString* b, void* context);

class TStringContainer : public TContainer {
public:
    TStringContainer();
    TStringContainer(const TStringContainer& source);
    TStringContainer& operator=(const TStringContainer& source);
    ~TStringContainer() override;

    // Object items of TString, growth increment 256.
    void Init() override;

    // Line i; throws TSDPPBadIndex outside 0..count-1.
    TString& operator[](int i) const { return GetString(i); }
    TString& GetString(int i) const;
    TString& First() const { return GetString(0); }
    TString& Last() const { return GetString(GetCount() - 1); }

    int Add(const TString& line);
    TStringContainer& operator+=(const TString& line);
    TStringContainer& operator+=(const TStringContainer& lines);
    void Insert(int i, const TString& line);
    // Inserts copies of all lines before i (clipped to 0..count).
    void Insert(int i, const TStringContainer& lines);
    int IndexOf(const TString& line) const;

    using TContainer::Sort;
    void Sort(int first, int last, TCompareStringsFunction compare, void* context);

    // Lines added or read keep their storage when they shrink (see TString).
    void SetReduceCapacity(bool reduce) { fReduceCapacity = reduce; }
    bool GetReduceCapacity() const { return fReduceCapacity; }
    // Lines longer than this are cut while reading, and the truncated flag is
    // set; 0 (the default) keeps every line whole.
    void SetMaxLineLength(int length) { fMaxLineLength = length < 0 ? 0 : length; }
    int GetMaxLineLength() const { return fMaxLineLength; }
    bool GetTruncated() const { return fTruncated; }
    void SetTruncated(bool truncated) { fTruncated = truncated; }
    // Tabs in the lines read become blanks up to the next multiple of width,
    // counted from the line's start, after any cut to the maximum line
    // length; 0 (the default) keeps them.
    void SetTabExpansion(int width) { fTabExpansion = width < 0 ? 0 : width; }
    int GetTabExpansion() const { return fTabExpansion; }
    // Set while a file is being read; a caller may clear it before a new read.
    bool GetReading() const { return fReading; }
    void SetReading(bool reading) { fReading = reading; }
    // Line ends written: CR LF when on (the default), LF when off.
    void SetDosLineEnds(bool dos) { fDosLineEnds = dos; }
    bool GetDosLineEnds() const { return fDosLineEnds; }

    // Empties the list but keeps its lines for the next read (a file or a
    // text block), which fills them again rather than making new ones; the
    // read deletes those it does not fill, and so does the destructor. A
    // container that does not free its items only empties the list.
    void Recycle();
    // Removes lines first..last (clipped to the list) and keeps them, as
    // Recycle does, for the next read, which frees those it does not fill;
    // so does the destructor. Removing many lines costs no freeing then. A
    // container that does not free its items only removes them.
    void RecycleSection(int first, int last);

    // Text files: one line per item; reading splits at LF, drops the CR of CR LF
    // and replaces the content (its lines are recycled); a last line without
    // LF counts, an empty file gives no line. Both throw TSDPPFileException
    // when the file cannot be opened, read or written.
    void ReadFromFile(const TString& fileName) override;
    void WriteToFile(const TString& fileName) const override;
    // As ReadFromFile with progress and an optional line callback; returns the
    // length of the longest line read.
    int ReadFromFileCallback(const TString& fileName, TFileProgressCallback progress, void* context,
                             TFileLineCallback lineCallback = nullptr);
    // As WriteToFile with progress; returns the length of the longest line
    // written.
    int WriteToFileCallback(const TString& fileName, TWriteProgressCallback progress, void* context) const;
    // Lines of the text held by an RCDATA resource; false (and empty) when missing.
    bool LoadFromResource(HMODULE module, const char* name);
    // Lines of a text block, split as a file is.
    void SetText(const char* text, int length);
    // The lines joined by separator.
    TString GetText(const TString& separator = TString("\r\n")) const;

    // Puts the lines on the clipboard as text, joined by CR LF (no line end
    // after the last); false when the clipboard cannot be had.
    bool CopyToClipboard() const;
    // Replaces the lines with the clipboard's text, split at LF with every CR
    // dropped (a last line without LF counts; an empty text gives no line).
    // False, and the lines unchanged, when the clipboard holds no text.
    bool CopyFromClipboard();
    // Replaces the lines with the strings of a list; null clears them.
    TStringContainer& operator=(const TStrings* strings);
    // A new string list with the lines, which the caller deletes.
    TStringList* AsStringList() const;

    // For a pass over many lines of an item array (GetItems) of count lines:
    // fetches the string of line i + 64 and the text of line i + 32 into the
    // cache, so that a pass that calls it for each line i runs at the
    // memory's pace even where the lines lie all over memory.
    static void PrefetchLines(void* const* items, int i, int count) {
        const int kAhead = 64;
        if (i + kAhead < count) __builtin_prefetch(items[i + kAhead]);
        if (i + kAhead / 2 < count) __builtin_prefetch(static_cast<const TString*>(items[i + kAhead / 2])->c_str());
    }

    void* CreateItem(int index) override;
    void FreeItem(void* item) override;
    void AssignItem(void* target, const void* source) override;
    int CompareItems(const void* a, const void* b) const override;
    void WriteItem(TMemBuffer& buffer, const void* item) const override;
    bool ReadItem(TMemBuffer& buffer, void* item) override;
    // Every line is a string: a stored null item is damage.
    bool AcceptsNullItems() const override { return false; }

private:
    int AddLine(const char* text, size_t length, int lineIndex, TFileLineCallback lineCallback, void* context);
    void DeleteSpares();
    void OrderSpares();
    // Deletes the spares a read leaves, however the read ends.
    struct SparesDeleter {
        TStringContainer* lines;
        ~SparesDeleter() { lines->DeleteSpares(); }
    };

    bool fReduceCapacity = true;
    int fMaxLineLength = 0;
    bool fTruncated = false;
    bool fReading = false;
    bool fDosLineEnds = true;
    int fTabExpansion = 0;
    // Lines kept by Recycle, filled again from fNextSpare on.
    std::vector<void*> fSpares;
    size_t fNextSpare = 0;
    // A line read with its tabs expanded.
    std::string fExpanded;
    // Comparison records of background sorts, which may outlive the Sort call.
    std::vector<std::shared_ptr<void>> fSortContexts;
};
