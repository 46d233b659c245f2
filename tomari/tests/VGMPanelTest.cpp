// Tests of the document variant: the help archive's bytes, a document panel
// on an archive (topics, pictures, text links, image-link areas, the index,
// the word search and a linked form), other and missing archives, damaged
// entries, and a bounded damage loop over single entries and whole archives.
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ArchiveEntry.h"
#include "FoundTopicsDlg.h"
#include "HelpArchiveFixture.h"
#include "HelpArchiveLayout.h"
#include "ListBox.h"
#include "Registration.h"
#include "ScrollerFixture.h"
#include "SearchDlg.h"
#include "SeeAlsoDlg.h"
#include "VGMPanel.h"
#include "VGMScroller.h"
#include "VGTForm.h"

namespace {

using help_archive::Build;
using help_archive::LinesEntry;

using help_archive::Bytes;
using help_archive::U32;

// The bytes of an entry as stored, unpacked.
std::string EntryBytes(TMemResource& archive, const std::string& name) {
    TMemBuffer entry;
    return archive.GetBuffer(TString(name), entry) ? Bytes(entry) : std::string();
}

void SetEntryBytes(TMemResource& archive, const std::string& name, const std::string& bytes) {
    TMemBuffer entry;
    entry.Add(bytes.data(), static_cast<int>(bytes.size()));
    archive.AddBuffer(TString(name), entry);
}

std::vector<std::string> Lines(const TStringContainer& lines) {
    std::vector<std::string> texts;
    for (int i = 0; i < lines.GetCount(); ++i) texts.push_back(lines[i].str());
    return texts;
}

// Whether an entry holds a picture the viewer can show.
bool PictureReads(TMemResource& archive, const TString& name) {
    TMemBitmap picture;
    try {
        return ReadArchiveEntry(&archive, name, picture) && picture.Valid;
    } catch (const std::exception&) {
        return false;
    }
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class VGMPanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        Build(archive);
        panel = new TVGMPanel(form);
        panel->SetParent(form);
        panel->SetName("Help");
        panel->SetBounds(10, 10, 400, 300);
        driver.PumpUntilIdle();
    }
    TVGTPanel* Panel() const override { return panel; }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const win32::ModalInteraction& box : boxes) texts.push_back(box.text);
        return texts;
    }
    static std::string FirstLine(TVGTScroller* scroller) {
        TStringContainer& source = scroller->GetVisualizer()->GetSource();
        return source.GetCount() > 0 ? source[0].str() : std::string();
    }
    static bool Near(COLORREF seen, COLORREF wanted, int tolerance) {
        return std::abs(GetRValue(seen) - GetRValue(wanted)) <= tolerance &&
               std::abs(GetGValue(seen) - GetGValue(wanted)) <= tolerance &&
               std::abs(GetBValue(seen) - GetBValue(wanted)) <= tolerance;
    }

    TMemResource archive;
    TVGMPanel* panel = nullptr;
};

TEST_F(VGMPanelTest, TheArchiveIsStoredInItsContainerForm) {
    TMemBuffer container;
    archive.WriteToMemBuffer(container);
    const help_archive::TInnerBlock inner = help_archive::ReadInnerBlock(Bytes(container));
    ASSERT_TRUE(inner.complete);
    EXPECT_EQ(inner.count, 13u);
    EXPECT_EQ(inner.headerWord, 16u);
    EXPECT_EQ(inner.flags, help_archive::kContainerFlags);
    std::vector<std::string> names;
    for (const help_archive::TStoredEntry& entry : inner.entries) {
        names.push_back(entry.name);
        EXPECT_EQ(entry.itemMarks, "\x01\x02") << entry.name;
        EXPECT_EQ(entry.marks, std::string("\x01\x00", 2)) << entry.name;
        EXPECT_EQ(entry.packed, entry.name != "defaultname") << entry.name;
        EXPECT_EQ(entry.streamStart, entry.packed ? "\x78\x9C" : "") << entry.name;
        EXPECT_EQ(entry.data, EntryBytes(archive, entry.name)) << entry.name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"index.vgt", "frame.vgt", "map.vgt", "page.vgt", "pictures.vgt",
                                               "forms.vgt", "red.bmp", "blue.bmp", "green.jpg", "map.bmp", "map.ald",
                                               "topics", "defaultname"}));
    EXPECT_EQ(EntryBytes(archive, "defaultname"), std::string("\x09\x00\x00\x00\x01index.vgt", 14));
    // A topic entry is a string list: its end offset is its size, 256, the flags.
    const std::string topic = EntryBytes(archive, "index.vgt");
    EXPECT_EQ(U32(topic, 0), topic.size());
    EXPECT_EQ(U32(topic, 4), 1u);
    EXPECT_EQ(U32(topic, 8), 256u);
    EXPECT_EQ(topic.substr(12, 12), help_archive::kContainerFlags);
    // Pictures: a DIB record, and a JPEG payload.
    EXPECT_EQ(EntryBytes(archive, "red.bmp").substr(0, 1), std::string(1, '\0'));
    EXPECT_EQ(EntryBytes(archive, "red.bmp").substr(6, 6), std::string("\x0E\x00\x00\x00" "BM", 6));
    EXPECT_EQ(EntryBytes(archive, "green.jpg").substr(0, 1), "\x01");
    EXPECT_EQ(EntryBytes(archive, "green.jpg").substr(10, 2), "\xFF\xD8");

    // The outer block: sizes, the packed flag, a zlib stream and the trailer.
    TMemBuffer packed;
    container.WriteToPackedBlock(packed);
    const help_archive::TOuterBlock outer = help_archive::ReadOuterBlock(Bytes(packed));
    EXPECT_EQ(outer.unpackedSize, static_cast<uint32_t>(container.GetSize()));
    EXPECT_EQ(outer.packedFlag, 1);
    EXPECT_TRUE(outer.sizeAgrees);
    EXPECT_EQ(outer.streamStart, "\x78\x9C");
    EXPECT_EQ(outer.trailer, std::string("\x00\x01\x00\x00", 4));
    EXPECT_TRUE(outer.inflates);
    EXPECT_EQ(outer.inner, Bytes(container));
    TMemBuffer back;
    ASSERT_TRUE(back.ReadFromPackedBlock(packed.GetBlock(), packed.GetSize()));
    TMemResource read;
    ASSERT_TRUE(read.ReadFromMemBuffer(back));
    for (const std::string& name : names) EXPECT_EQ(EntryBytes(read, name), EntryBytes(archive, name)) << name;
}

TEST_F(VGMPanelTest, APanelShowsTheArchive) {
    panel->SetResource(&archive);
    EXPECT_EQ(panel->GetResource(), &archive);
    ASSERT_EQ(panel->GetTopics().GetCount(), 5);
    EXPECT_EQ(panel->GetTopics()[0].names[1].str(), "Start");
    EXPECT_EQ(panel->GetTopics()[2].names[0].str(), "  Frame");
    panel->SetSource(TString("index.vgt"));
    EXPECT_EQ(Main()->GetTopicName().str(), "index.vgt");
    ASSERT_NE(dynamic_cast<TVGMScroller*>(Main()), nullptr);
    EXPECT_EQ(Main()->GetOwner(), form);
    EXPECT_EQ(static_cast<TVGMScroller*>(Main())->GetResource(), &archive);

    // Pictures: 24 bits, 8 bits with a palette, a JPEG payload, one under the other.
    ClickLink(Main(), 0);
    ASSERT_EQ(Main()->GetTopicName().str(), "pictures.vgt");
    driver.PumpUntilIdle();
    const HWND window = Main()->GetHandle();
    EXPECT_EQ(driver.Pixel(window, 23, 18), help_archive::kRed);
    EXPECT_EQ(driver.Pixel(window, 23, 38), help_archive::kBlue);
    EXPECT_TRUE(Near(driver.Pixel(window, 23, 58), help_archive::kGreen, 12)) << std::hex << driver.Pixel(window, 23, 58);
    EXPECT_EQ(driver.Pixel(window, 4, 18), RGB(255, 255, 255));

    // The frame: sub-panels of the archive's kind; an image-link area opens
    // its topic in the named sub-panel, the other one in "main".
    panel->SetSource(TString("frame.vgt"));
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "map:map.vgt", "page:page.vgt"}));
    TVGTScroller* map = panel->GetPanel(TString("map"));
    for (int i = 0; i < panel->GetScrollerCount(); ++i) {
        ASSERT_NE(dynamic_cast<TVGMScroller*>(panel->GetScroller(i)), nullptr);
        EXPECT_EQ(panel->GetScroller(i)->GetOwner(), form);
    }
    ASSERT_EQ(map->GetImageLinks().GetCount(), 2);
    ClickArea(map, 0);
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "map:map.vgt", "page:pictures.vgt"}));
    panel->Back();
    ClickLink(panel->GetPanel(TString("page")), 0);
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "map:map.vgt", "page:pictures.vgt"}));
    ClickArea(panel->GetPanel(TString("map")), 1);
    EXPECT_EQ(Sources(), (std::vector<std::string>{":index.vgt"}));

    // A FORM link opens a document form whose panel reads the same archive.
    panel->SetSource(TString("forms.vgt"));
    ClickLink(Main(), 0);
    ASSERT_EQ(panel->GetOpenForms().size(), 1u);
    auto* opened = dynamic_cast<TVGMForm*>(panel->GetOpenForms()[0]);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->GetOwner(), panel);
    EXPECT_EQ(opened->GetCaption(), "Sheet");
    auto* inner = dynamic_cast<TVGMPanel*>(opened->GetPanel());
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetResource(), &archive);
    EXPECT_EQ(inner->GetTopics().GetCount(), 5);
    ASSERT_NE(dynamic_cast<TVGMScroller*>(inner->GetMainPanel()), nullptr);
    EXPECT_EQ(inner->GetMainPanel()->GetTopicName().str(), "page.vgt");
    EXPECT_EQ(FirstLine(inner->GetMainPanel()), help_archive::kPage);
    // It follows when the panel takes another archive.
    TMemResource other;
    other.AddBuffer(TString("page.vgt"), LinesEntry("Another page"));
    other.AddBuffer(TString("forms.vgt"), LinesEntry(help_archive::kForms));
    panel->SetResource(&other);
    EXPECT_EQ(inner->GetResource(), &other);
    EXPECT_EQ(FirstLine(inner->GetMainPanel()), "Another page");
    panel->SetResource(&archive);

    // The word search reads the topics' entries.
    std::vector<std::string> listed;
    win32::ScopedResponder searching([&](const win32::ModalInteraction& box) {
        TWinControl* window = TWinControl::FindControl(box.window);
        if (auto* dialog = dynamic_cast<TSearchDlg*>(window)) {
            dialog->lbWords->GetItems()->Add("archives");
            return win32::ModalReply::Answer(mrOk);
        }
        if (auto* found = dynamic_cast<TFoundTopicsDlg*>(window)) {
            for (int i = 0; i < found->lbTopics->GetCount(); ++i) listed.push_back(found->lbTopics->GetItems()->GetStrings(i));
            found->lbTopics->SetItemIndex(0);
            return win32::ModalReply::Answer(mrOk);
        }
        boxes.push_back(box);
        return win32::ModalReply::Answer(box.defaultAnswer);
    });
    panel->Search();
    EXPECT_EQ(listed, (std::vector<std::string>{"Page"}));
    EXPECT_EQ(Main()->GetTopicName().str(), "page.vgt");
    TStringContainer lines;
    panel->GetTopicSource(1, lines);
    EXPECT_EQ(lines[0].str(), help_archive::kPictures);
    panel->GetTopicSource(5, lines);
    EXPECT_EQ(lines.GetCount(), 0);
    EXPECT_TRUE(boxes.empty()) << BoxTexts()[0];
}

TEST_F(VGMPanelTest, TheComponentIsRegistered) {
    bool onPalette = false;
    for (const TPalettePage& page : PalettePages())
        for (const TClassInfo* info : page.classes) onPalette |= page.name == "Rollan" && info == TVGMPanel::StaticClassInfo();
    EXPECT_TRUE(onPalette);
    TComponent* made = CreateComponent("TVGMPanel", form);
    auto* streamed = dynamic_cast<TVGMPanel*>(made);
    ASSERT_NE(streamed, nullptr);
    EXPECT_NE(dynamic_cast<TVGMScroller*>(streamed->GetMainPanel()), nullptr);
    EXPECT_EQ(TopicScrollersOfForm(), 2);  // the base's first main scroller is gone
    EXPECT_NE(dynamic_cast<TVGMScroller*>(CreateComponent("TVGMScroller", form)), nullptr);
    EXPECT_NE(dynamic_cast<TVGMForm*>(CreateComponent("TVGMForm", nullptr)), nullptr);
}

TEST_F(VGMPanelTest, WithoutAnArchiveNothingOpens) {
    TTopics kept;
    TTopics::ReadTopicLine(TString("Kept,kept.vgt"), *kept.NewItem());
    panel->SetTopics(kept);
    panel->SetSource(TString("index.vgt"));
    panel->SetSource(TString("index.vgt"));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>(2, "The index.vgt topic can not be opened")));
    EXPECT_EQ(boxes[0].caption, "Select link or topic");
    EXPECT_EQ(Main()->GetTopicName().str(), "");
    panel->SetResource(nullptr);
    ASSERT_EQ(panel->GetTopics().GetCount(), 1);
    EXPECT_EQ(panel->GetTopics()[0].source.str(), "kept.vgt");
    TVGMVisualizer visualizer;
    TMemBitmap picture;
    visualizer.LoadImage(TString("red.bmp"), picture);
    EXPECT_FALSE(picture.Valid);
    TImageLinks links;
    visualizer.LoadImageLinks(TString("map.ald"), links);
    EXPECT_EQ(links.GetCount(), 0);
    EXPECT_TRUE(visualizer.LoadSource(TString("")));
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(VGMPanelTest, AnotherArchiveReloadsTheTopicShown) {
    panel->SetResource(&archive);
    panel->SetSource(TString("index.vgt"));
    panel->SetSource(TString("page.vgt"));
    EXPECT_EQ(FirstLine(Main()), help_archive::kPage);
    TMemResource other;
    other.AddBuffer(TString("page.vgt"), LinesEntry("Another page"));
    panel->SetResource(&other);
    EXPECT_EQ(FirstLine(Main()), "Another page");
    EXPECT_EQ(panel->GetTopics().GetCount(), 5);  // other has no index
    EXPECT_TRUE(boxes.empty());

    // A link to a name the archive lacks: the error, and the history as it was.
    panel->SetResource(&archive);
    panel->SetSource(TString("index.vgt"));
    const int steps = panel->GetHistory().GetCount();
    ClickLink(Main(), 3);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"The absent.vgt topic can not be opened"}));
    EXPECT_EQ(panel->GetHistory().GetCount(), steps);
    EXPECT_EQ(Main()->GetTopicName().str(), "index.vgt");

    // Taking the archive away reloads too: each topic shown reports, and stays.
    boxes.clear();
    panel->SetResource(nullptr);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"The index.vgt topic can not be opened"}));
    EXPECT_EQ(FirstLine(Main()), help_archive::kIndex);
}

// Reloading a frame topic rebuilds the sub-panels while the reload walks
// the scrollers: the new archive's frame decides which sub-panels remain.
TEST_F(VGMPanelTest, ANewArchiveUnderAFrameLeavesThatFramesSubPanels) {
    panel->SetResource(&archive);
    panel->SetSource(TString("frame.vgt"));
    ASSERT_EQ(panel->GetScrollerCount(), 3);
    TMemResource same;
    Build(same);
    panel->SetResource(&same);
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "map:map.vgt", "page:page.vgt"}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(static_cast<TVGMScroller*>(panel->GetScroller(i))->GetResource(), &same);

    TMemResource other;
    Build(other);
    other.AddBuffer(TString("frame.vgt"),
                    LinesEntry("<PANEL=NAME=upper,SOURCE=page.vgt,LEFT=0,TOP=0,WIDTH=100%,HEIGHT=50%>"
                               "<PANEL=NAME=lower,SOURCE=index.vgt,LEFT=0,TOP=50%,WIDTH=100%,HEIGHT=50%>"));
    panel->SetResource(&other);
    EXPECT_EQ(Sources(), (std::vector<std::string>{":frame.vgt", "upper:page.vgt", "lower:index.vgt"}));
    // The sub-panels it replaced stay hidden until they are freed.
    std::vector<std::string> visible;
    for (int i = 0; i < form->GetComponentCount(); ++i)
        if (auto* scroller = dynamic_cast<TVGTScroller*>(form->GetComponent(i)); scroller && scroller->GetVisible())
            visible.push_back(scroller->GetPanelInfo().name.str() + ":" + scroller->GetTopicName().str());
    EXPECT_EQ(visible, (std::vector<std::string>{"upper:page.vgt", "lower:index.vgt"}));
    driver.PumpUntilIdle();
    EXPECT_EQ(TopicScrollersOfForm(), 3);
    EXPECT_FALSE(Main()->GetVisible());
    EXPECT_EQ(panel->GetPanel(TString("lower"))->GetTop(), 10 + 150);
    EXPECT_TRUE(boxes.empty());
}

// Each damage makes its entry read as a missing one.
TEST_F(VGMPanelTest, DamagedEntriesCountAsMissing) {
    auto truncate = [](std::string& bytes) { bytes.resize(bytes.size() / 2); };
    auto extend = [](std::string& bytes) { bytes += '\0'; };
    auto countUp = [](std::string& bytes) { ++bytes[4]; };
    auto breakJpeg = [](std::string& bytes) { bytes[10] = 'X'; };
    const struct {
        const char* entry;
        std::function<void(std::string&)> damage;
    } rows[] = {
        {"page.vgt", truncate}, {"page.vgt", extend},   {"page.vgt", countUp},    {"red.bmp", truncate},
        {"blue.bmp", extend},   {"green.jpg", breakJpeg}, {"green.jpg", truncate}, {"map.ald", truncate},
        {"map.ald", countUp},   {"topics", truncate},   {"topics", countUp},
    };
    for (const auto& row : rows) {
        const std::string name = row.entry;
        TMemResource damaged;
        Build(damaged);
        std::string bytes = EntryBytes(damaged, name);
        row.damage(bytes);
        SetEntryBytes(damaged, name, bytes);
        TVGMVisualizer visualizer;
        visualizer.SetResource(&damaged);
        boxes.clear();
        if (EndsWith(name, ".vgt")) {
            TStringContainer before;
            before.Add(TString("before"));
            visualizer.AssignSource(before);
            EXPECT_FALSE(visualizer.LoadSource(TString(name))) << name;
            EXPECT_EQ(visualizer.GetSource()[0].str(), "before");
            EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"The " + name + " topic can not be opened"}));
        } else if (EndsWith(name, ".ald")) {
            TImageLinks links;
            visualizer.LoadImageLinks(TString(name), links);
            EXPECT_EQ(links.GetCount(), 0) << name;
        } else if (name == "topics") {
            TTopics kept;
            TTopics::ReadTopicLine(TString("Kept,kept.vgt"), *kept.NewItem());
            panel->SetTopics(kept);
            panel->SetResource(&damaged);
            ASSERT_EQ(panel->GetTopics().GetCount(), 1) << name;
            EXPECT_EQ(panel->GetTopics()[0].source.str(), "kept.vgt");
        } else {
            TMemBitmap picture;
            visualizer.LoadImage(TString(name), picture);
            EXPECT_FALSE(picture.Valid) << name;
        }
        EXPECT_EQ(boxes.size(), EndsWith(name, ".vgt") ? 1u : 0u) << name;
    }
}

// Whole archives and single entries, truncated or with bytes changed; every
// topic is opened, every link and area clicked, the words searched. Each
// entry must act as it reads: a topic opens or reports, a picture shows or
// is missing, a link file gives its areas or none.
TEST_F(VGMPanelTest, DamageOfAnySortActsAsAMissingEntry) {
    std::mt19937 random(71);
    auto below = [&](size_t n) { return n == 0 ? size_t(0) : static_cast<size_t>(random() % n); };
    auto damage = [&](std::string& bytes) {
        if (bytes.empty()) return;
        if (random() % 3 == 0) {
            bytes.resize(below(bytes.size()));
            return;
        }
        for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips)
            bytes[below(bytes.size())] = static_cast<char>(random());
    };
    win32::ScopedResponder answering([&](const win32::ModalInteraction& box) {
        TWinControl* window = TWinControl::FindControl(box.window);
        if (auto* dialog = dynamic_cast<TSearchDlg*>(window)) {
            dialog->lbWords->GetItems()->Add("pictures");
            return win32::ModalReply::Answer(mrOk);
        }
        if (auto* found = dynamic_cast<TFoundTopicsDlg*>(window)) {
            found->lbTopics->SetItemIndex(0);
            return win32::ModalReply::Answer(mrOk);
        }
        if (auto* related = dynamic_cast<TSeeAlsoDlg*>(window)) {
            related->lbNames->SetItemIndex(1);
            return win32::ModalReply::Answer(mrOk);
        }
        boxes.push_back(box);
        return win32::ModalReply::Answer(box.defaultAnswer);
    });
    TMemBuffer whole;
    archive.WriteToMemBuffer(whole);
    const std::string wholeBytes = Bytes(whole);
    for (int round = 0; round < 60; ++round) {
        TMemResource damaged;
        if (round % 4 == 0) {
            std::string bytes = wholeBytes;
            damage(bytes);
            TMemBuffer buffer;
            buffer.Add(bytes.data(), static_cast<int>(bytes.size()));
            damaged.ReadFromMemBuffer(buffer);  // what it read, if anything
        } else {
            Build(damaged);
            const std::string name = damaged.GetEntry(static_cast<int>(below(damaged.GetCount())))->Name.str();
            std::string bytes = EntryBytes(damaged, name);
            damage(bytes);
            SetEntryBytes(damaged, name, bytes);
        }
        TTopics before = panel->GetTopics();
        panel->SetResource(&damaged);
        TTopics index;
        const bool indexRead = ReadArchiveEntry(&damaged, TString("topics"), index);
        EXPECT_EQ(panel->GetTopics().GetCount(), (indexRead ? index : before).GetCount()) << round;

        for (const char* topic : {"index.vgt", "frame.vgt", "map.vgt", "page.vgt", "pictures.vgt", "forms.vgt"}) {
            const std::string name = topic;
            TStringContainer lines;
            const bool readable = ReadArchiveEntry(&damaged, TString(name), lines);
            boxes.clear();
            panel->SetSource(TString(name));
            bool reported = false;
            for (const std::string& text : BoxTexts()) reported |= text == "The " + name + " topic can not be opened";
            EXPECT_EQ(reported, !readable) << round << " " << name;
            if (!readable) continue;
            EXPECT_EQ(Main()->GetTopicName().str(), name);
            EXPECT_EQ(Lines(Main()->GetVisualizer()->GetSource()), Lines(lines)) << round << " " << name;
            // Pictures the topic placed: shown exactly when their entries read.
            for (int i = 0; i < panel->GetScrollerCount(); ++i) {
                TVGTVisualizer* visualizer = panel->GetScroller(i)->GetVisualizer();
                for (int k = 0; k < visualizer->GetPictureCache().GetCount(); ++k) {
                    TVGTImageBufferItem& cached = visualizer->GetPictureCache()[k];
                    EXPECT_EQ(cached.picture.Valid != 0, PictureReads(damaged, cached.name)) << round << " " << cached.name.str();
                }
            }
            TVGTScroller* map = panel->GetPanel(TString("map"));
            if (map != nullptr && map->GetTopicName() == TString("map.vgt") &&
                EntryBytes(damaged, "map.vgt") == EntryBytes(archive, "map.vgt")) {
                TImageLinks links;
                const bool shown = PictureReads(damaged, TString("map.bmp"));
                const bool linksRead = ReadArchiveEntry(&damaged, TString("map.ald"), links);
                int areas = 0;
                for (int k = 0; k < links.GetCount(); ++k) areas += links.GetItem(k) != nullptr;
                EXPECT_EQ(map->GetImageLinks().GetCount(), shown && linksRead ? areas : 0) << round;
            }
            // Every text link and image-link area of every scroller, each from the topic afresh.
            std::vector<std::pair<int, int>> clicks;
            for (int i = 0; i < panel->GetScrollerCount(); ++i) {
                for (int k = 0; k < panel->GetScroller(i)->GetLinks().GetCount(); ++k) clicks.push_back({i, k});
                for (int k = 0; k < panel->GetScroller(i)->GetImageLinks().GetCount(); ++k) clicks.push_back({i, -1 - k});
            }
            for (const auto& click : clicks) {
                panel->SetSource(TString(name));
                TVGTScroller* scroller = panel->GetScroller(click.first);
                if (scroller == nullptr) continue;
                const int k = click.second;
                if (k >= 0 && k < scroller->GetLinks().GetCount() && scroller->GetLinks()[k].areas.GetCount() > 0)
                    ClickLink(scroller, k);
                else if (k < 0 && -1 - k < scroller->GetImageLinks().GetCount() &&
                         scroller->GetImageLinks()[-1 - k].polygon.GetCount() >= 3)
                    ClickArea(scroller, -1 - k);
            }
        }
        panel->Search();
        driver.PumpUntilIdle();
    }
    // The forms the loop opened follow the panel's archive.
    ASSERT_FALSE(panel->GetOpenForms().empty());
    panel->SetResource(&archive);
    for (TVGTFormBase* opened : panel->GetOpenForms())
        EXPECT_EQ(static_cast<TVGMPanel*>(opened->GetPanel())->GetResource(), &archive);
}

}  // namespace
