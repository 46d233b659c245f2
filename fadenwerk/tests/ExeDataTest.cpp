// Tests of reading entries appended to an executable: a copy of this test
// program with entries appended runs and reads them back, and damaged tables
// are rejected.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ExeData.h"
#include "FileProperties.h"
#include "TemporaryFolder.h"

namespace {

using fadenwerk_tests::TemporaryFolder;
using Lines = std::vector<std::string>;

const char* const selfCheckVariable = "FADENWERK_APPENDED_RESULT";

void PutUint32(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

struct Entry {
    std::string name;
    std::string data;
};

// The bytes to append to a file of `base` bytes: the entries in a chain, then
// the first entry's offset, 4 zero bytes and the marker.
std::string EntryTable(const std::vector<Entry>& entries, uint32_t base) {
    std::string out;
    for (size_t index = 0; index < entries.size(); ++index) {
        const Entry& entry = entries[index];
        const uint32_t size = static_cast<uint32_t>(12 + entry.name.size() + entry.data.size());
        PutUint32(out, index + 1 < entries.size() ? base + static_cast<uint32_t>(out.size()) + size : 0);
        PutUint32(out, static_cast<uint32_t>(entry.name.size()));
        out += entry.name;
        PutUint32(out, static_cast<uint32_t>(entry.data.size()));
        out += entry.data;
    }
    PutUint32(out, entries.empty() ? 0 : base);
    PutUint32(out, 0);
    return out + FileUtilsExeAppendID();
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

std::string EntryData(const TReadFromExeContext& context, const std::string& name) {
    char* data = nullptr;
    long size = -1;
    if (!ReadFromExe(context, name, data, size)) return "<none>";
    std::string text(data, static_cast<size_t>(size));
    delete[] data;
    return text;
}

const std::vector<Entry> sampleEntries = {
    {"greeting", "hello\r\nworld"}, {"empty", ""}, {"twice", "old"}, {"binary", std::string("\0\xff\n", 3)},
    {"twice", "new"}};

void ExpectSampleEntries(const TReadFromExeContext& context) {
    EXPECT_EQ(4u, context.entries.size());
    EXPECT_EQ("hello\r\nworld", EntryData(context, "greeting"));
    EXPECT_EQ("", EntryData(context, "empty"));
    EXPECT_EQ("new", EntryData(context, "twice"));
    EXPECT_EQ(std::string("\0\xff\n", 3), EntryData(context, "binary"));
    EXPECT_EQ("<none>", EntryData(context, "missing"));
    Lines lines = {"kept"};
    EXPECT_TRUE(ReadFromExe(context, "greeting", lines));
    EXPECT_EQ(Lines({"kept", "hello", "world"}), lines);
    Lines none;
    EXPECT_TRUE(ReadFromExe(context, "empty", none));
    EXPECT_TRUE(none.empty());
    void* data = nullptr;
    long size = 0;
    ASSERT_TRUE(ReadFromExe(context, "twice", data, size));
    EXPECT_EQ(3, size);
    delete[] static_cast<char*>(data);
}

// Runs only inside the copy that ExeData.CopyOfThisProgramReadsItsEntries
// makes; writes "ok" to the file the variable names when every check held.
TEST(ExeDataSelf, ReadsEntriesAppendedToItself) {
    const char* result = std::getenv(selfCheckVariable);
    if (!result) GTEST_SKIP() << "runs in the copy with appended entries";
    TReadFromExeContext context;
    ASSERT_TRUE(ReadFromExeInit(GetExeName(), context));
    ExpectSampleEntries(context);
    if (!HasFailure()) std::ofstream(result) << "ok";
}

TEST(ExeData, CopyOfThisProgramReadsItsEntries) {
    TemporaryFolder folder;
    const std::string copy = folder / "with-entries";
    std::filesystem::copy_file(GetExeName(), copy);
    const uint32_t base = static_cast<uint32_t>(std::filesystem::file_size(copy));
    std::ofstream(copy, std::ios::binary | std::ios::app) << EntryTable(sampleEntries, base);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);

    TReadFromExeContext context;
    ASSERT_TRUE(ReadFromExeInit(copy, context));
    EXPECT_EQ(copy, context.fileName);
    ExpectSampleEntries(context);

    const std::string result = folder / "result";
    const std::string command = std::string(selfCheckVariable) + "='" + result + "' '" + copy +
                                "' --gtest_filter=ExeDataSelf.* > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_EQ("ok", ReadWhole(result));
}

TEST(ExeData, FilesWithoutEntries) {
    TemporaryFolder folder;
    TReadFromExeContext context;
    context.entries["stale"] = {1, 1};
    folder.AddFile("plain", std::string(100, 'x'));
    EXPECT_FALSE(ReadFromExeInit(folder / "plain", context));
    EXPECT_TRUE(context.entries.empty());
    folder.AddFile("marker-only", FileUtilsExeAppendID());
    EXPECT_FALSE(ReadFromExeInit(folder / "marker-only", context));
    folder.AddFile("none", "prefix" + EntryTable({}, 6));
    EXPECT_TRUE(ReadFromExeInit(folder / "none", context));
    EXPECT_TRUE(context.entries.empty());
    EXPECT_FALSE(ReadFromExeInit(folder / "missing", context));
    EXPECT_FALSE(ReadFromExeInit(folder.Path(), context));
}

// A table of one entry at offset 4 with the given fields, then the trailer.
std::string DamagedTable(uint32_t firstOffset, uint32_t next, uint32_t nameLength, uint32_t dataSize) {
    std::string out = "head";
    PutUint32(out, next);
    PutUint32(out, nameLength);
    out += "nm";
    PutUint32(out, dataSize);
    out += "data";
    PutUint32(out, firstOffset);
    PutUint32(out, 0);
    return out + FileUtilsExeAppendID();
}

TEST(ExeData, DamagedTablesAreRejected) {
    TemporaryFolder folder;
    struct Case {
        const char* what;
        std::string contents;
        bool valid;
    };
    const Case cases[] = {
        {"sound", DamagedTable(4, 0, 2, 4), true},
        {"entry pointing at itself", DamagedTable(4, 4, 2, 4), false},
        {"first offset beyond the file", DamagedTable(100000, 0, 2, 4), false},
        {"first offset inside the trailer", DamagedTable(22, 0, 2, 4), false},
        {"huge name length", DamagedTable(4, 0, 0xFFFFFFFF, 4), false},
        {"name running into the trailer", DamagedTable(4, 0, 12, 4), false},
        {"huge data size", DamagedTable(4, 0, 2, 0xFFFFFFFF), false},
        {"data running into the trailer", DamagedTable(4, 0, 2, 5), false},
        {"next entry beyond the file", DamagedTable(4, 0x7FFFFFFF, 2, 4), false},
    };
    for (const Case& c : cases) {
        folder.AddFile("exe", c.contents);
        TReadFromExeContext context;
        EXPECT_EQ(c.valid, ReadFromExeInit(folder / "exe", context)) << c.what;
        EXPECT_EQ(c.valid ? 1u : 0u, context.entries.size()) << c.what;
    }
    // Entries at offsets 3 and 17; the second's next offset is made to point back at the first.
    std::string cycle = "pad" + EntryTable({{"a", "1"}, {"b", "2"}}, 3);
    cycle[17] = 3;
    folder.AddFile("cycle", cycle);
    TReadFromExeContext context;
    EXPECT_FALSE(ReadFromExeInit(folder / "cycle", context));
}

}  // namespace
