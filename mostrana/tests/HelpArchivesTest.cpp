// Tests of the program's resources: the English and Hungarian help archives
// (their bytes; every topic opened and every link, area, form and related
// topic followed in a document panel of the size the program gives it; what
// their topics show of the markup; the word search) and the JPEG test picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CharClass.h"
#include "Form.h"
#include "FoundTopicsDlg.h"
#include "HelpArchiveLayout.h"
#include "ListBox.h"
#include "MemBitmap.h"
#include "Resource.h"
#include "Responder.h"
#include "SearchDlg.h"
#include "SeeAlsoDlg.h"
#include "Buttons.h"
#include "TaggedTextParser.h"
#include "VGMPanel.h"
#include "VGMVisualizer.h"
#include "VGTForm.h"
#include "VGTParameters.h"
#include "display/TestDriver.h"

namespace {

using help_archive::Bytes;

const char* const kArchives[] = {"ORVEX_HELP_EN", "ORVEX_HELP_HU"};
// The document panel's size when the scrollers-and-splitters form opens.
constexpr int kPanelWidth = 233;
constexpr int kPanelHeight = 128;

std::string ResourceBytes(const char* name) {
    HRSRC resource = FindResourceA(nullptr, name, RT_RCDATA);
    if (resource == nullptr) return "";
    const char* data = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    return std::string(data, SizeofResource(nullptr, resource));
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        items.push_back(text.substr(start, end - start));
    items.push_back(text.substr(start));
    return items;
}

// The topics a link target opens: itself, or the choices of a SEEALSO list.
std::vector<std::string> TargetTopics(const std::string& target) {
    const std::vector<std::string> items = Split(target, '/');
    if (items.size() < 3 || items.size() % 2 == 0 || items[0] != "SEEALSO") return {target};
    std::vector<std::string> topics;
    for (size_t i = 2; i < items.size(); i += 2) topics.push_back(items[i]);
    return topics;
}

// An archive resource read as the scrollers-and-splitters form reads it.
struct ProgramArchive {
    explicit ProgramArchive(const char* name) {
        TMemBuffer block;
        loaded = block.LoadFromResource(nullptr, name) && archive.ReadFromMemBuffer(block);
        TMemBuffer entry;
        if (archive.GetBuffer(TString("topics"), entry)) topics.ReadFromMemBuffer(entry);
    }
    std::vector<std::string> TopicEntries() const {
        std::vector<std::string> names;
        for (int i = 0; i < archive.GetCount(); ++i)
            if (EndsWith(archive.GetEntry(i)->Name.str(), ".vgt")) names.push_back(archive.GetEntry(i)->Name.str());
        return names;
    }
    TStringContainer Lines(const std::string& name) {
        TStringContainer lines;
        TMemBuffer entry;
        if (archive.GetBuffer(TString(name), entry)) lines.ReadFromMemBuffer(entry);
        return lines;
    }

    bool loaded = false;
    TMemResource archive;
    TTopics topics;
};

TEST(HelpArchives, TheResourcesHoldPackedArchivesOfTheSameEntries) {
    std::vector<std::vector<std::string>> names;
    for (const char* resource : kArchives) {
        const help_archive::TOuterBlock outer = help_archive::ReadOuterBlock(ResourceBytes(resource));
        EXPECT_EQ(outer.packedFlag, 1) << resource;
        EXPECT_TRUE(outer.sizeAgrees) << resource;
        EXPECT_EQ(outer.streamStart, "\x78\x9C") << resource;
        EXPECT_EQ(outer.trailer, std::string("\x00\x01\x00\x00", 4)) << resource;
        ASSERT_TRUE(outer.inflates) << resource;
        EXPECT_EQ(outer.inner.size(), outer.unpackedSize);
        const help_archive::TInnerBlock inner = help_archive::ReadInnerBlock(outer.inner);
        ASSERT_TRUE(inner.complete) << resource;
        EXPECT_EQ(inner.headerWord, 16u);
        EXPECT_EQ(inner.flags, help_archive::kContainerFlags);
        names.emplace_back();
        for (const help_archive::TStoredEntry& entry : inner.entries) {
            names.back().push_back(entry.name);
            EXPECT_EQ(entry.itemMarks, "\x01\x02") << entry.name;
            EXPECT_EQ(entry.marks, std::string("\x01\x00", 2)) << entry.name;
            EXPECT_EQ(entry.packed, entry.name != "defaultname") << entry.name;
        }
        ASSERT_EQ(names.back().back(), "defaultname");
        EXPECT_EQ(inner.entries.back().data, std::string("\x09\x00\x00\x00\x01index.vgt", 14));
        ProgramArchive read(resource);
        EXPECT_TRUE(read.loaded) << resource;
        EXPECT_GE(read.topics.GetCount(), 12) << resource;
    }
    EXPECT_EQ(names[0], names[1]);
}

// A document panel of the program's size on a shown form. Every message box
// is a fault; the dialogs are answered as the test asks.
class HelpPanelTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 1);
        form->SetBounds(20, 20, 520, 400);
        form->Show();
        panel = new TVGMPanel(form);
        panel->SetParent(form);
        panel->SetBounds(8, 8, kPanelWidth, kPanelHeight);
        panel->SetResource(&help.archive);
        driver.PumpUntilIdle();
    }
    void TearDown() override { delete form; }

    TVGTScroller* Main() const { return panel->GetMainPanel(); }
    void Open(const std::string& topic) {
        panel->SetSource(TString(topic));
        driver.PumpUntilIdle();
    }
    // Scrolls the point of the user rectangle into the middle of the view and clicks it.
    void ClickAt(TVGTScroller* scroller, POINT point) {
        scroller->SetVPos(std::max(0, point.y - scroller->GetClientHeight() / 2));
        scroller->SetHPos(std::max(0, point.x - scroller->GetClientWidth() / 2));
        driver.PumpUntilIdle();
        const POINT at = scroller->GetComponentCoord(point);
        EXPECT_TRUE(at.x >= 0 && at.y >= 0 && at.x < scroller->GetClientWidth() && at.y < scroller->GetClientHeight())
            << scroller->GetTopicName().str() << ": " << point.x << "," << point.y << " out of view";
        driver.MoveMouse(scroller->GetHandle(), at.x, at.y);
        driver.Click(scroller->GetHandle(), at.x, at.y);
        driver.PumpUntilIdle();
    }
    // The middle of a text link's first area, or of an image link's first three points.
    static POINT LinkPoint(TVGTScroller* scroller, int link) {
        if (link < scroller->GetLinks().GetCount()) {
            const RECT area = scroller->GetLinks()[link].areas[0];
            return POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        }
        const TPointContainer& polygon = scroller->GetImageLinks()[link - scroller->GetLinks().GetCount()].polygon;
        return POINT{(polygon[0].x + polygon[1].x + polygon[2].x) / 3, (polygon[0].y + polygon[1].y + polygon[2].y) / 3};
    }
    static std::pair<std::string, std::string> LinkTarget(TVGTScroller* scroller, int link) {
        if (link < scroller->GetLinks().GetCount())
            return {scroller->GetLinks()[link].target.str(), scroller->GetLinks()[link].targetPanel.str()};
        const TImageLink& area = scroller->GetImageLinks()[link - scroller->GetLinks().GetCount()];
        return {area.target.str(), area.targetPanel.str()};
    }
    static int LinkCount(TVGTScroller* scroller) {
        return scroller->GetLinks().GetCount() + scroller->GetImageLinks().GetCount();
    }
    TVGTFormBase* OpenForm(const std::string& name) const {
        for (TVGTFormBase* opened : panel->GetOpenForms())
            if (opened->GetLinkName().str() == name) return opened;
        return nullptr;
    }

    ProgramArchive help{GetParam()};
    win32::TestDriver driver;
    int seeAlsoChoice = 0;
    std::function<win32::ModalReply(TWinControl*, const win32::ModalInteraction&)> dialogs;
    win32::ScopedResponder responder{[this](const win32::ModalInteraction& box) {
        TWinControl* window = TWinControl::FindControl(box.window);
        if (auto* related = dynamic_cast<TSeeAlsoDlg*>(window)) {
            related->lbNames->SetItemIndex(seeAlsoChoice);
            return win32::ModalReply::Answer(mrOk);
        }
        if (dialogs && window != nullptr) return dialogs(window, box);
        ADD_FAILURE() << GetParam() << ": a message box: " << box.text;
        return win32::ModalReply::Answer(box.defaultAnswer);
    }};
    TForm* form = nullptr;
    TVGMPanel* panel = nullptr;
};

// Opens every topic of the index and every topic reachable from index.vgt,
// then clicks every text link and image-link area of every scroller (each
// choice of a related-topics list in turn) and checks where its topic opened.
TEST_P(HelpPanelTest, EveryTopicOpensAndEveryLinkArrives) {
    std::vector<std::string> pending{"index.vgt"};
    std::set<std::string> reached{"index.vgt"};
    int clicks = 0;
    bool wider = false, taller = false;
    while (!pending.empty()) {
        const std::string topic = pending.back();
        pending.pop_back();
        Open(topic);
        ASSERT_EQ(Main()->GetTopicName().str(), topic);
        wider |= Main()->GetRectSizes().cx > Main()->GetClientWidth() && panel->GetScrollerCount() == 1;
        taller |= Main()->GetLaidOutHeight() > kPanelHeight && panel->GetScrollerCount() == 1;
        std::vector<std::pair<int, int>> links;
        for (int s = 0; s < panel->GetScrollerCount(); ++s) {
            TVGTScroller* scroller = panel->GetScroller(s);
            TVGTImageBuffer& pictures = scroller->GetVisualizer()->GetPictureCache();
            for (int k = 0; k < pictures.GetCount(); ++k)
                EXPECT_TRUE(pictures[k].picture.Valid) << topic << ": " << pictures[k].name.str();
            for (int k = 0; k < LinkCount(scroller); ++k) {
                links.push_back({s, k});
                for (const std::string& next : TargetTopics(LinkTarget(scroller, k).first))
                    if (reached.insert(next).second) pending.push_back(next);
            }
        }
        for (const auto& [s, k] : links) {
            Open(topic);
            const auto [target, targetPanel] = LinkTarget(panel->GetScroller(s), k);
            const std::vector<std::string> choices = TargetTopics(target);
            for (size_t choice = 0; choice < choices.size(); ++choice) {
                Open(topic);
                TVGTScroller* clicked = panel->GetScroller(s);
                const bool framed = panel->GetScrollerCount() > 1;
                seeAlsoChoice = static_cast<int>(choice);
                ClickAt(clicked, LinkPoint(clicked, k));
                ++clicks;
                const std::string where = topic + " -> " + target + " (" + targetPanel + ")";
                if (TVGTFormBase* opened = OpenForm(targetPanel)) {
                    EXPECT_TRUE(opened->GetVisible()) << where;
                    EXPECT_EQ(opened->GetPanel()->GetMainPanel()->GetTopicName().str(), choices[choice]) << where;
                    continue;
                }
                TVGTScroller* named = targetPanel.empty() ? nullptr : panel->GetPanel(TString(targetPanel));
                TVGTScroller* shown = !framed || targetPanel == "main" ? Main() : named ? named : clicked;
                EXPECT_EQ(shown->GetTopicName().str(), choices[choice]) << where;
            }
        }
    }
    EXPECT_GT(clicks, 30);
    EXPECT_FALSE(panel->GetOpenForms().empty());
    EXPECT_TRUE(wider) << "no topic needs horizontal scrolling";
    EXPECT_TRUE(taller) << "no topic is taller than the panel";
    // Every topic of the index opens; every topic entry is listed or reachable.
    std::set<std::string> found = reached;
    for (int i = 0; i < help.topics.GetCount(); ++i) {
        const std::string source = help.topics[i].source.str();
        found.insert(source);
        Open(source);
        EXPECT_EQ(Main()->GetTopicName().str(), source);
    }
    for (const std::string& entry : help.TopicEntries()) EXPECT_EQ(found.count(entry), 1u) << entry;
}

// The plain words of a topic, as the word search sees them.
class WordCollector : public TTaggedTextParser {
public:
    void ParseSymbol(const TString& word) override {
        TTaggedTextParser::ParseSymbol(word);
        words.push_back(word.str());
    }
    std::vector<std::string> words;
};

bool AllLetters(const std::string& word) {
    for (char c : word)
        if (!mystr_ishchar(c)) return false;
    return word.size() >= 4;
}

bool HasAccent(const std::string& word) {
    for (char c : word)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

// Each topic of the index is found by a word that occurs in it alone; in
// Hungarian a word with accented letters is found in either case.
TEST_P(HelpPanelTest, EachTopicIsFoundByItsOwnWord) {
    std::vector<std::set<std::string>> words;
    std::map<std::string, int> topicsHolding;
    for (int i = 0; i < help.topics.GetCount(); ++i) {
        WordCollector collector;
        TStringContainer lines = help.Lines(help.topics[i].source.str());
        collector.Parse(lines);
        words.emplace_back();
        for (const std::string& word : collector.words) words.back().insert(TString(word).UpperCase().str());
        for (const std::string& word : words.back()) ++topicsHolding[word];
    }
    std::vector<std::string> searched;
    std::vector<std::string> listed;
    dialogs = [&](TWinControl* window, const win32::ModalInteraction& box) {
        if (auto* criteria = dynamic_cast<TSearchDlg*>(window)) {
            criteria->lbWords->Clear();
            for (const std::string& word : searched) criteria->lbWords->GetItems()->Add(word);
            criteria->cbWholeWords->SetChecked(true);
            criteria->cbCase->SetChecked(false);
            return win32::ModalReply::Answer(mrOk);
        }
        if (auto* found = dynamic_cast<TFoundTopicsDlg*>(window)) {
            for (int i = 0; i < found->lbTopics->GetCount(); ++i) listed.push_back(found->lbTopics->GetItems()->GetStrings(i));
            return win32::ModalReply::Answer(mrCancel);
        }
        ADD_FAILURE() << box.text;
        return win32::ModalReply::Answer(box.defaultAnswer);
    };
    auto search = [&](const std::string& word) {
        searched = {word};
        listed.clear();
        panel->Search();
        return listed;
    };
    const bool hungarian = std::string(GetParam()) == "ORVEX_HELP_HU";
    bool accentedFound = false;
    for (int i = 0; i < help.topics.GetCount(); ++i) {
        std::string own;
        for (const std::string& word : words[static_cast<size_t>(i)])
            if (topicsHolding[word] == 1 && AllLetters(word) && (own.empty() || (hungarian && HasAccent(word))))
                own = word;
        const std::string source = help.topics[i].source.str();
        ASSERT_FALSE(own.empty()) << source << " has no word of its own";
        std::vector<std::string> names;
        for (int k = 0; k < help.topics[i].names.GetCount(); ++k) names.push_back(help.topics[i].names[k].str());
        EXPECT_EQ(search(own), names) << source << ": " << own;
        if (!hungarian || !HasAccent(own)) continue;
        EXPECT_EQ(search(TString(own).LowerCase().str()), names) << source;
        accentedFound = true;
    }
    EXPECT_EQ(accentedFound, hungarian);
}

// What the topics of an archive use of the markup, gathered by laying each
// out: every tag as written, with the state it was written in.
class TagRecorder : public TVGMVisualizer {
public:
    struct Tag {
        std::string topic;
        std::string name;  // without the '/' of a closing tag
        bool closing;
        std::string parameter;
        int listDepth;  // lists open after this tag
        bool inLink;    // written between a LINK and its closing
    };
    void ParseTag(const TString& name, const TString& value) override {
        std::string written = name.str();
        const bool closing = !written.empty() && written[0] == '/';
        if (closing) written.erase(0, written.find_first_not_of('/'));
        if (written == "LIST") depth += closing ? -1 : 1;
        if (written == "LINK") inLink = !closing;
        tags.push_back(Tag{topic, written, closing, value.str(), depth, inLink});
        TVGMVisualizer::ParseTag(name, value);
    }
    void Record(TResourceBase* archive, const std::string& name, TStringContainer& lines) {
        topic = name;
        depth = 0;
        inLink = false;
        SetResource(archive);
        AssignSource(lines);
        HDC dc = CreateCompatibleDC(nullptr);
        int height = 0, width = 0;
        MeasureTopic(dc, 8, 8, 224, height, width, true, true);
        DeleteDC(dc);
    }

    std::vector<Tag> tags;

private:
    std::string topic;
    int depth = 0;
    bool inLink = false;
};

bool HasKey(const std::string& parameter, const char* key) {
    for (const TVGTItem& item : TVGTItems(TString(parameter), true))
        if (item.key == TString(key)) return true;
    return false;
}

bool HasKeys(const std::string& parameter, std::initializer_list<const char*> keys) {
    for (const char* key : keys)
        if (!HasKey(parameter, key)) return false;
    return true;
}

std::string FirstItem(const std::string& parameter) { return Split(parameter, ',')[0]; }

// The TARGET of a LINK parameter, as the viewer reads it; "" without one.
std::string TargetPanelOf(const std::string& parameter) {
    const TVGTItems items{TString(parameter)};
    for (int i = 0; items.GetCount() > 1 && i < 2; ++i)
        if (items[i].key == TString("TARGET")) return items[i].value.str();
    return "";
}

// The facts an archive's topics are checked against, one row per part of the markup.
struct ArchiveFacts {
    std::vector<TagRecorder::Tag> tags;
    ProgramArchive* help = nullptr;

    bool Any(const std::function<bool(const TagRecorder::Tag&)>& holds) const {
        for (const TagRecorder::Tag& tag : tags)
            if (holds(tag)) return true;
        return false;
    }
    bool Opening(const char* name, const std::function<bool(const std::string&)>& parameter = nullptr) const {
        return Any([&](const TagRecorder::Tag& tag) {
            return tag.name == name && !tag.closing && (!parameter || parameter(tag.parameter));
        });
    }
    TMemBitmap Picture(const std::string& name) const {
        TMemBitmap picture;
        TMemBuffer entry;
        if (help->archive.GetBuffer(TString(name), entry)) picture.ReadFromMemBuffer(entry);
        return picture;
    }
    std::vector<TagRecorder::Tag> Of(const std::string& topic) const {
        std::vector<TagRecorder::Tag> found;
        for (const TagRecorder::Tag& tag : tags)
            if (tag.topic == topic) found.push_back(tag);
        return found;
    }
};

// The frame topic of two PANEL tags: its first sub-panel shows a picture
// whose areas open topics in the second, and the sub-panels' topics link to
// "main", to the other sub-panel and to themselves.
bool FrameIsComplete(const ArchiveFacts& facts) {
    for (const TagRecorder::Tag& first : facts.tags) {
        if (first.name != "PANEL") continue;
        std::vector<TagRecorder::Tag> panels;
        for (const TagRecorder::Tag& tag : facts.Of(first.topic))
            if (tag.name == "PANEL") panels.push_back(tag);
        if (panels.size() != 2) continue;
        std::string names[2], sources[2];
        for (int i = 0; i < 2; ++i)
            for (const TVGTItem& item : TVGTItems(TString(panels[static_cast<size_t>(i)].parameter), true)) {
                if (item.key == TString("NAME")) names[i] = item.value.str();
                if (item.key == TString("SOURCE")) sources[i] = item.value.str();
            }
        bool areasToSecond = false;
        for (const TagRecorder::Tag& tag : facts.Of(sources[0])) {
            if (tag.name != "IMAGE" || !HasKey(tag.parameter, "LINKS")) continue;
            TImageLinks links;
            TMemBuffer entry;
            for (const TVGTItem& item : TVGTItems(TString(tag.parameter), true))
                if (item.key == TString("LINKS") && facts.help->archive.GetBuffer(item.value, entry))
                    links.ReadFromMemBuffer(entry);
            areasToSecond = links.GetCount() > 0;
            for (int k = 0; k < links.GetCount(); ++k) areasToSecond &= links[k].targetPanel.str() == names[1];
        }
        // Links of the sub-panel topics: those the sources hold and those they open.
        std::set<std::string> panelTargets;
        for (const TagRecorder::Tag& tag : facts.tags)
            if (tag.name == "LINK" && !tag.closing && (tag.topic == sources[0] || tag.topic == sources[1]))
                panelTargets.insert(TargetPanelOf(tag.parameter));
        if (areasToSecond && panelTargets.count("main") && panelTargets.count("") &&
            (panelTargets.count(names[0]) || panelTargets.count(names[1])))
            return true;
    }
    return false;
}

// A FORM with all its items and a link in the same topic whose TARGET names it.
bool FormIsOpened(const ArchiveFacts& facts) {
    for (const TagRecorder::Tag& form : facts.tags) {
        if (form.name != "FORM" || !HasKeys(form.parameter, {"NAME", "CAPTION", "LEFT", "TOP", "WIDTH", "HEIGHT"}))
            continue;
        std::string name;
        for (const TVGTItem& item : TVGTItems(TString(form.parameter), true))
            if (item.key == TString("NAME")) name = item.value.str();
        for (const TagRecorder::Tag& tag : facts.Of(form.topic))
            if (tag.name == "LINK" && !tag.closing && TargetPanelOf(tag.parameter) == name) return true;
    }
    return false;
}

TEST_P(HelpPanelTest, TheTopicsShowEveryPartOfTheMarkup) {
    ArchiveFacts facts;
    facts.help = &help;
    TagRecorder recorder;
    for (const std::string& topic : help.TopicEntries()) {
        TStringContainer lines = help.Lines(topic);
        recorder.Record(&help.archive, topic, lines);
    }
    facts.tags = recorder.tags;

    // Every name of the tag table, and the closing form of every tag whose closing does something.
    const TTagInfos& table = recorder.GetTags();
    for (int i = 0; i < table.GetCount(); ++i)
        EXPECT_TRUE(facts.Any([&](const TagRecorder::Tag& tag) { return tag.name == table[i].name.str(); }))
            << table[i].name.str();
    for (const char* closing :
         {"NOBREAK", "B", "U", "I", "S", "LIST", "COLCAPTIONS", "LINK", "FRAME", "ALIGN", "CENTER", "RIGHT", "PAINTBK"}) {
        int code = 0;
        for (int i = 0; i < table.GetCount(); ++i)
            if (table[i].name.str() == closing) code = table[i].id;
        EXPECT_TRUE(facts.Any([&](const TagRecorder::Tag& tag) {
            if (!tag.closing) return false;
            for (int i = 0; i < table.GetCount(); ++i)
                if (table[i].name.str() == tag.name && table[i].id == code) return true;
            return false;
        })) << "</" << closing << ">";
    }

    auto number = [](const std::string& parameter) { return ReadTagNumber(TString(parameter)); };
    auto pictureOf = [&](const std::string& parameter) { return facts.Picture(FirstItem(parameter)); };
    auto keyed = [](std::initializer_list<const char*> keys) {
        return [keys](const std::string& parameter) { return HasKeys(parameter, keys); };
    };
    std::string bkColourTopic;
    for (const TagRecorder::Tag& tag : facts.tags)
        if (tag.name == "BKCOLOR") bkColourTopic = tag.topic;
    const struct {
        const char* row;
        bool holds;
    } rows[] = {
        // text
        {"FF Courier New", facts.Opening("FF", [](const std::string& p) { return p == "Courier New"; })},
        // lists and indents
        {"LI in a list nested twice", facts.Any([](const TagRecorder::Tag& tag) {
             return (tag.name == "LI" || tag.name == "LISTITEM") && tag.listDepth >= 3;
         })},
        {"INDENT 0", facts.Opening("INDENT", [&](const std::string& p) { return number(p) == 0; })},
        {"INDENT n", facts.Opening("INDENT", [&](const std::string& p) { return number(p) > 0; })},
        {"INDENT -1", facts.Opening("INDENT", [&](const std::string& p) { return number(p) == -1; })},
        {"INDENT -2", facts.Opening("INDENT", [&](const std::string& p) { return number(p) == -2; })},
        // columns
        {"SETCOL NUM=0,POS=35%,GAP=2", facts.Opening("SETCOL", [](const std::string& p) { return p == "NUM=0,POS=35%,GAP=2"; })},
        {"SETCOL with LINE and LINECOLOR", facts.Opening("SETCOL", keyed({"NUM", "POS", "LINE", "LINECOLOR"}))},
        // blocks
        {"FRAME with HGAP, VGAP, WIDTH, ALIGN", facts.Opening("FRAME", keyed({"HGAP", "VGAP", "WIDTH", "ALIGN"}))},
        {"ALIGN with WIDTH and LEFT", facts.Opening("ALIGN", keyed({"WIDTH", "LEFT"}))},
        {"ALIGN with WIDTH and RIGHT", facts.Opening("ALIGN", keyed({"WIDTH", "RIGHT"}))},
        {"ALIGN with WIDTH and CENTER", facts.Opening("ALIGN", keyed({"WIDTH", "CENTER"}))},
        {"ALIGN NONE", facts.Opening("ALIGN", keyed({"NONE"}))},
        {"HLINE with GAP, STYLE, SIZE", facts.Opening("HLINE", keyed({"GAP", "STYLE", "SIZE"}))},
        {"BKCOLOR and BKIMAGE in another topic",
         !bkColourTopic.empty() &&
             facts.Any([&](const TagRecorder::Tag& tag) { return tag.name == "BKIMAGE" && tag.topic != bkColourTopic; })},
        {"BKIMAGE of a 32 x 32 tile at 8 bits", facts.Opening("BKIMAGE", [&](const std::string& p) {
             const TMemBitmap tile = pictureOf(p);
             return tile.Valid && tile.Width == 32 && tile.Height == 32 && tile.BitCount == 8;
         })},
        {"BKIMAGE with WIDTH and HEIGHT", facts.Opening("BKIMAGE", keyed({"WIDTH", "HEIGHT"}))},
        // pictures
        {"IMAGE plain", facts.Opening("IMAGE", [](const std::string& p) { return Split(p, ',').size() == 1; })},
        {"IMAGE with WIDTH and HEIGHT", facts.Opening("IMAGE", keyed({"WIDTH", "HEIGHT"}))},
        {"IMAGE with KEEPLEFT", facts.Opening("IMAGE", keyed({"KEEPLEFT"}))},
        {"IMAGE with KEEPRIGHT", facts.Opening("IMAGE", keyed({"KEEPRIGHT"}))},
        {"IMAGE with BACKGROUND", facts.Opening("IMAGE", keyed({"BACKGROUND"}))},
        {"IMAGE inside a LINK", facts.Any([](const TagRecorder::Tag& tag) { return tag.name == "IMAGE" && tag.inLink; })},
        {"IMAGE at 24 bits", facts.Opening("IMAGE", [&](const std::string& p) { return pictureOf(p).BitCount == 24; })},
        {"IMAGE at 8 bits", facts.Opening("IMAGE", [&](const std::string& p) { return pictureOf(p).BitCount == 8; })},
        // panels, forms and choices
        {"a frame topic with its picture map and sub-panel links", FrameIsComplete(facts)},
        {"a FORM and the link that opens it", FormIsOpened(facts)},
        {"SEEALSO with two choices or more", facts.Opening("LINK", [](const std::string& p) {
             const std::vector<std::string> items = Split(FirstItem(p), '/');
             return items[0] == "SEEALSO" && items.size() >= 5 && items.size() % 2 == 1;
         })},
    };
    for (const auto& row : rows) EXPECT_TRUE(row.holds) << GetParam() << ": " << row.row;

    // The index: two names for the start topic, names indented under others.
    int startNames = 0, indented = 0;
    for (int i = 0; i < help.topics.GetCount(); ++i) {
        if (help.topics[i].source.str() == "index.vgt") startNames += help.topics[i].names.GetCount();
        for (int k = 0; k < help.topics[i].names.GetCount(); ++k)
            indented += help.topics[i].names[k].str().compare(0, 2, "  ") == 0;
    }
    EXPECT_GE(startNames, 2);
    EXPECT_GE(indented, 2);
    // The guide names what to try in the program's own words.
    std::set<std::string> words;
    for (const std::string& topic : help.TopicEntries()) {
        WordCollector collector;
        TStringContainer lines = help.Lines(topic);
        collector.Parse(lines);
        words.insert(collector.words.begin(), collector.words.end());
    }
    for (const char* word : {"Alt+C", "Ctrl+S", "Ctrl+Z", "Topics...", "Back", "Regenerate"})
        EXPECT_EQ(words.count(word), 1u) << GetParam() << ": " << word;
}

INSTANTIATE_TEST_SUITE_P(Archives, HelpPanelTest, ::testing::ValuesIn(kArchives),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

// TESTIMAGE: a baseline JPEG of three components, 640 x 480, with its corner blocks.
TEST(TestImage, IsABaselineJpegWithItsCornerColours) {
    const std::string bytes = ResourceBytes("TESTIMAGE");
    ASSERT_EQ(bytes.substr(0, 2), "\xFF\xD8");
    int frames = 0;
    for (size_t at = 2; at + 4 <= bytes.size() && bytes[at] == '\xFF';) {
        const unsigned char marker = static_cast<unsigned char>(bytes[at + 1]);
        const size_t length = static_cast<unsigned char>(bytes[at + 2]) << 8 | static_cast<unsigned char>(bytes[at + 3]);
        if (marker == 0xDA) break;  // the scan data follows
        EXPECT_TRUE(marker < 0xC1 || marker > 0xCF || marker == 0xC4 || marker == 0xCC) << "frame marker " << int(marker);
        if (marker == 0xC0) {
            ++frames;
            EXPECT_EQ(bytes.substr(at + 5, 4), std::string("\x01\xE0\x02\x80", 4));  // 480 x 640
            EXPECT_EQ(bytes[at + 9], '\x03');
        }
        at += 2 + length;
    }
    EXPECT_EQ(frames, 1);

    TMemBitmap picture;
    picture.LoadFromJPEGResource(TString("testimage"), nullptr);
    ASSERT_TRUE(picture.Valid);
    EXPECT_EQ(picture.Width, 640);
    EXPECT_EQ(picture.Height, 480);
    EXPECT_EQ(picture.BitCount, 24);
    uint8_t* bits = static_cast<uint8_t*>(picture.Lock());
    ASSERT_NE(bits, nullptr);
    const struct {
        int x, y;
        int blue, green, red;
    } corners[] = {{32, 32, 0, 0, 255}, {607, 32, 0, 255, 0}, {32, 447, 255, 0, 0}, {607, 447, 255, 255, 255}};
    for (const auto& corner : corners) {
        const uint8_t* pixel = picture.RowAt(bits, picture.Height - 1 - corner.y) + 3 * corner.x;
        EXPECT_NEAR(pixel[0], corner.blue, 40) << corner.x << "," << corner.y;
        EXPECT_NEAR(pixel[1], corner.green, 40) << corner.x << "," << corner.y;
        EXPECT_NEAR(pixel[2], corner.red, 40) << corner.x << "," << corner.y;
    }
    picture.Unlock();
}

}  // namespace
