// Tests of the help-archive builder: a small help set built into its entries,
// the same bytes from the same sources, the pictures and areas drawn from
// their descriptions, and a table of broken sources, each refused with its
// file and line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "HelpArchiveBuilder.h"
#include "HelpSource.h"
#include "HelpSourceError.h"
#include "ImageLinks.h"
#include "LinkDescription.h"
#include "MemBitmap.h"
#include "PictureDescription.h"
#include "StringContainer.h"
#include "Topics.h"

namespace {

std::string Bytes(const TMemBuffer& buffer) {
    return std::string(static_cast<const char*>(buffer.GetBlock()), static_cast<size_t>(buffer.GetSize()));
}

// A help set of five sources that builds.
const std::map<std::string, std::string> kSources = {
    {"index.vgt",
     "<FS=12><B>Start</B><FS=10><NL>\n"
     "<LINK=page.vgt>Page</LINK> <LINK=frame.vgt>Frame</LINK> <LINK=SEEALSO/One/page.vgt/Two/frame.vgt>More</LINK>\n"
     "<IMAGE=map.bmp,LINKS=map.ald><FC=C04000>Sz\xC3\xA9p \xC5\x91sz<FC=000000>\n"},
    {"page.vgt",
     "A page.<FORM=NAME=sheet,CAPTION=Sheet,LEFT=1,TOP=1,WIDTH=100,HEIGHT=80>\n"
     "<LINK=page.vgt,TARGET=sheet>sheet</LINK> <LINK=index.vgt,TARGET=main>start</LINK>\n"},
    {"frame.vgt",
     "<PANEL=NAME=left,SOURCE=page.vgt,LEFT=0,TOP=0,WIDTH=50%,HEIGHT=100%>\n"
     "<PANEL=NAME=right,SOURCE=side.vgt,LEFT=50%,TOP=0,WIDTH=50%,HEIGHT=100%>\n"},
    {"side.vgt", "<LINK=page.vgt,TARGET=left>left</LINK>\n"},
    {"map.picture", "# a red band\npicture 20 10 24\nfill FF0000\nrect 0 5 20 10 0000FF\n"},
    {"map.links", "page.vgt left 0,0 9,0 9,9\n\nframe.vgt - 10,0 19,0 19,9\n"},
    {"topics.lst", "Start,index.vgt\nPage,/Pages*One page,page.vgt\nFrame,frame.vgt\n"},
};

// A temporary folder holding the set above, removed afterwards.
class THelpFolder {
public:
    THelpFolder() {
        static int counter = 0;
        folder = std::filesystem::path(::testing::TempDir()) /
                 ("help_sources_" + std::to_string(getpid()) + "_" + std::to_string(++counter));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        for (const auto& [name, text] : kSources) Write(name, text);
    }
    ~THelpFolder() { std::filesystem::remove_all(folder); }
    THelpFolder(const THelpFolder&) = delete;
    THelpFolder& operator=(const THelpFolder&) = delete;

    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
    }
    // The archive of the set and its packed block.
    std::string Build(TMemResource& archive) const {
        BuildHelpArchive({folder.string()}, archive);
        TMemBuffer block;
        PackHelpArchive(archive, block);
        return Bytes(block);
    }
    // The message of the refusal, or "" when the set builds.
    std::string Refusal() const {
        try {
            TMemResource archive;
            Build(archive);
        } catch (const THelpSourceError& error) {
            return error.what();
        }
        return "";
    }
    THelpSource Source(const std::string& name, const std::string& text) const {
        Write(name, text);
        return THelpSource((folder / name).string(), name);
    }

    std::filesystem::path folder;
};

class HelpArchiveBuilderTest : public ::testing::Test {
protected:
    THelpFolder sources;
};

std::string EntryBytes(TMemResource& archive, const char* name) {
    TMemBuffer entry;
    return archive.GetBuffer(TString(name), entry) ? Bytes(entry) : std::string("(none)");
}

TEST_F(HelpArchiveBuilderTest, ASmallSetBuildsIntoItsEntries) {
    TMemResource archive;
    const std::string block = sources.Build(archive);
    std::vector<std::string> names;
    for (int i = 0; i < archive.GetCount(); ++i) {
        names.push_back(archive.GetEntry(i)->Name.str());
        EXPECT_EQ(archive.GetEntry(i)->Data.GetPacked(), names.back() != "defaultname") << names.back();
    }
    EXPECT_EQ(names, (std::vector<std::string>{"index.vgt", "frame.vgt", "page.vgt", "side.vgt", "map.bmp", "map.ald",
                                               "topics", "defaultname"}));
    EXPECT_EQ(EntryBytes(archive, "defaultname"), std::string("\x09\x00\x00\x00\x01index.vgt", 14));
    // Topics are the source lines in the code page.
    TMemBuffer entry;
    ASSERT_TRUE(archive.GetBuffer(TString("index.vgt"), entry));
    TStringContainer lines;
    ASSERT_TRUE(lines.ReadFromMemBuffer(entry));
    ASSERT_EQ(lines.GetCount(), 3);
    EXPECT_EQ(lines[2].str(), "<IMAGE=map.bmp,LINKS=map.ald><FC=C04000>Sz\xE9p \xF5sz<FC=000000>");
    // The list, as the viewer's list reader reads it.
    ASSERT_TRUE(archive.GetBuffer(TString("topics"), entry));
    TTopics topics;
    ASSERT_TRUE(topics.ReadFromMemBuffer(entry));
    ASSERT_EQ(topics.GetCount(), 3);
    EXPECT_EQ(topics[1].names[1].str(), "  One page");
    EXPECT_EQ(topics[1].source.str(), "page.vgt");
    // The areas.
    ASSERT_TRUE(archive.GetBuffer(TString("map.ald"), entry));
    TImageLinks links;
    ASSERT_TRUE(links.ReadFromMemBuffer(entry));
    ASSERT_EQ(links.GetCount(), 2);
    EXPECT_EQ(links[0].targetPanel.str(), "left");
    EXPECT_EQ(links[1].target.str(), "frame.vgt");
    EXPECT_EQ(links[1].targetPanel.str(), "");
    EXPECT_EQ(links[1].polygon[2].x, 19);
    // The outer block, and the same bytes a second time.
    EXPECT_EQ(block.substr(4, 1), "\x01");
    EXPECT_EQ(block.substr(9, 2), "\x78\x9C");
    EXPECT_EQ(block.substr(block.size() - 4), std::string("\x00\x01\x00\x00", 4));
    TMemResource again;
    EXPECT_EQ(sources.Build(again), block);
}

TEST_F(HelpArchiveBuilderTest, PicturesAndAreasAreDrawnAsDescribed) {
    TMemBitmap picture;
    DrawPictureDescription(sources.Source("a.picture",
                                  "picture 40 30 24\nfill FFFFFF\nrect 2 2 10 10 FF0000\nframe 20 2 30 12 0000FF\n"
                                  "ellipse 0 20 10 30 00FF00\nline 12 0 12 30 000000\n"
                                  "polygon 804000 30,20 39,20 39,29\nfont 8 bold Arial\ntext 14 14 000000 Ab\n"),
                           picture);
    ASSERT_TRUE(picture.Valid);
    ASSERT_EQ(picture.BitCount, 24);
    struct Probe {
        int x, y;
        COLORREF colour;
    } probes[] = {{5, 5, RGB(255, 0, 0)},  {10, 5, RGB(255, 255, 255)}, {20, 6, RGB(0, 0, 255)},
                  {25, 6, RGB(255, 255, 255)}, {5, 25, RGB(0, 255, 0)},     {12, 5, RGB(0, 0, 0)},
                  {38, 27, RGB(0x80, 0x40, 0)}};
    for (const Probe& probe : probes)
        EXPECT_EQ(static_cast<COLORREF>(picture.GetPixel(probe.x, probe.y)), probe.colour) << probe.x << "," << probe.y;
    bool inked = false;
    for (int y = 14; y < 28; ++y)
        for (int x = 14; x < 28; ++x) inked |= static_cast<COLORREF>(picture.GetPixel(x, y)) != RGB(255, 255, 255);
    EXPECT_TRUE(inked);

    // At 8 bits the pixels are palette indexes, drawn colours the nearest entry.
    TMemBitmap tile;
    DrawPictureDescription(sources.Source("t.picture", "picture 8 8 8\npalette 000000 F0E0C0\npalette 806040\n"
                                               "fill F0E0C0\nrect 0 0 4 4 806040\nrect 4 4 8 8 7F6141\n"),
                           tile);
    ASSERT_EQ(tile.BitCount, 8);
    EXPECT_EQ(tile.GetPixel(1, 1), 2);
    EXPECT_EQ(tile.GetPixel(6, 1), 1);
    EXPECT_EQ(tile.GetPixel(6, 6), 2);
    EXPECT_EQ(tile.GetPaletteEntry(2), 0x806040);
}

// Each row breaks one source of the set above; the builder names its file and line.
TEST(HelpArchiveBuilder, BrokenSourcesAreRefusedWithTheirFileAndLine) {
    const struct {
        const char* file;
        const char* text;
        const char* refusal;
    } rows[] = {
        // topics
        {"page.vgt", "A page.\n<LINK=gone.vgt>gone</LINK>", "page.vgt:2: the topic gone.vgt is no topic"},
        {"page.vgt", "A <b>page</b>.", "page.vgt:1: unknown tag <b>"},
        {"page.vgt", "A\n<FS =10>page.", "page.vgt:2: unknown tag <FS >"},
        {"page.vgt", "<IMAGE=gone.bmp>", "page.vgt:1: the picture gone.bmp is no entry"},
        {"page.vgt", "<IMAGE=map.bmp,LINKS=gone.ald>", "page.vgt:1: the link file gone.ald is no entry"},
        {"page.vgt", "<BKIMAGE=gone.bmp,WIDTH=8>", "page.vgt:1: the picture gone.bmp"},
        {"page.vgt", "<LINK=page.vgt,TARGET=nowhere>x</LINK>", "page.vgt:1: TARGET=nowhere names no PANEL"},
        {"page.vgt", "<LINK=SEEALSO/One/page.vgt/Two>x</LINK>", "page.vgt:1: a SEEALSO list needs"},
        {"page.vgt", "<LINK=SEEALSO/One/page.vgt//frame.vgt>x</LINK>", "page.vgt:1: a SEEALSO choice without"},
        {"page.vgt", "<LINK=SEEALSO/One/page.vgt/Two/gone.vgt>x</LINK>", "page.vgt:1: the topic gone.vgt"},
        {"page.vgt", "x\n\n<FC=F00>red", "page.vgt:3: 'F00' is no colour"},
        {"page.vgt", "<LINKCOLOR=#FF0000>", "page.vgt:1: '#FF0000' is no colour"},
        {"page.vgt", "<SETCOL=NUM=0,POS=50%,LINECOLOR=red>", "page.vgt:1: 'red' is no colour"},
        {"page.vgt", "A page \xE2\x98\xBA.", "page.vgt:1: column 8: malformed UTF-8, a control character or a character outside"},
        {"page.vgt", "A page \xC3.", "page.vgt:1: column 8"},
        {"page.vgt", "x\n<NL=3>", "page.vgt:2: a parameter on a tag that takes none"},
        {"page.vgt", "<FS>", "page.vgt:1: a tag without the parameter"},
        {"page.vgt", "<B<I>>", "page.vgt:1: a '<' inside a tag"},
        {"frame.vgt", "<PANEL=NAME=left,SOURCE=gone.vgt,LEFT=0,TOP=0,WIDTH=50%,HEIGHT=100%>", "frame.vgt:1: the topic gone.vgt"},
        {"lonely.vgt", "alone", "lonely.vgt: is neither in topics.lst nor reachable from index.vgt"},
        {"index.vgt", "<LINK=page.vgt>Page</LINK>", "map.picture: no topic shows the picture map.bmp"},
        {"notes.txt", "x", "notes.txt: is no help source"},
        // topic list
        {"topics.lst", "Start,index.vgt\nPage , page.vgt\n", "topics.lst:2: blanks around a comma"},
        {"topics.lst", "Start,index.vgt\npage.vgt\n", "topics.lst:2: a topic needs a name"},
        {"topics.lst", "Start,index.vgt\n\nGone,gone.vgt\n", "topics.lst:3: the topic gone.vgt is no topic"},
        // picture descriptions
        {"map.picture", "fill FF0000", "map.picture:1: the description must begin: picture WIDTH HEIGHT BITS"},
        {"map.picture", "picture 20 10 16", "map.picture:1: a picture has 8 or 24 bits"},
        {"map.picture", "picture 0 10 24", "map.picture:1: a picture must be at least 1 x 1"},
        {"map.picture", "picture 20 10 24\nfill F00", "map.picture:2: 'F00' is no colour"},
        {"map.picture", "picture 20 10 24\n\ncircle 1 1 5 00FF00", "map.picture:3: unknown statement 'circle'"},
        {"map.picture", "picture 20 10 24\nrect 1 1 5 00FF00", "map.picture:2: expected: rect LEFT TOP RIGHT BOTTOM"},
        {"map.picture", "picture 20 10 24\nrect 1 x 5 5 00FF00", "map.picture:2: 'x' is no number"},
        {"map.picture", "picture 20 10 24\npolygon 00FF00 1,1 2,2", "map.picture:2: expected: polygon"},
        {"map.picture", "picture 20 10 24\npolygon 00FF00 1,1 2;2 3,3", "map.picture:2: '2;2' is no point"},
        {"map.picture", "picture 20 10 8\nfill 000000", "map.picture:1: an 8-bit picture needs a palette"},
        {"map.picture", "picture 20 10 24\npalette 000000", "map.picture:2: only an 8-bit picture"},
        {"map.picture", "picture 20 10 24\nfont 9 bold", "map.picture:2: the font has no face name"},
        {"map.picture", "", "map.picture: describes no picture"},
        // image-link descriptions
        {"map.links", "page.vgt left 0,0 9,0", "map.links:1: expected: TARGET PANEL and at least three points"},
        {"map.links", "# areas\ngone.vgt left 0,0 9,0 9,9", "map.links:2: the topic gone.vgt is no topic"},
        {"map.links", "page.vgt nowhere 0,0 9,0 9,9", "map.links:1: TARGET=nowhere names no PANEL"},
        {"map.links", "page.vgt - 0,0 9,0 9,99999999", "map.links:1: '99999999' is no number"},
    };
    for (const auto& row : rows) {
        THelpFolder fresh;
        fresh.Write(row.file, row.text);
        const std::string refusal = (fresh.folder / row.refusal).string();
        EXPECT_EQ(fresh.Refusal().rfind(refusal, 0), 0u) << row.file << ": " << row.text << "\n" << fresh.Refusal();
    }
    for (const char* missing : {"index.vgt", "topics.lst"}) {
        THelpFolder fresh;
        std::filesystem::remove(fresh.folder / missing);
        EXPECT_EQ(fresh.Refusal(), std::string(missing) + ": is missing from the help folders");
    }
}

// The demonstration program's help sources: both languages build, twice to
// the same bytes, with the same entry names.
TEST(HelpSources, BothLanguagesBuildAlikeEveryTime) {
    const std::string help = MOSTRANA_HELP_FOLDER;
    std::vector<std::vector<std::string>> names;
    for (const char* language : {"en", "hu"}) {
        std::string first, second;
        for (std::string* bytes : {&first, &second}) {
            TMemResource archive;
            BuildHelpArchive({help + "/" + language, help + "/common"}, archive);
            TMemBuffer block;
            PackHelpArchive(archive, block);
            *bytes = Bytes(block);
            if (bytes == &second) continue;
            names.emplace_back();
            for (int i = 0; i < archive.GetCount(); ++i) names.back().push_back(archive.GetEntry(i)->Name.str());
        }
        EXPECT_EQ(first, second) << language;
    }
    EXPECT_EQ(names[0], names[1]);
}

}  // namespace
