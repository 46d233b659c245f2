// The help-archive builder: reading the sources, checking what they refer to,
// and writing the archive's entries.
#include "HelpArchiveBuilder.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "HelpSource.h"
#include "HelpSourceError.h"
#include "LinkDescription.h"
#include "PictureDescription.h"
#include "TopicChecker.h"
#include "Topics.h"

namespace {

const char* const kStartTopic = "index.vgt";
const char* const kTopicList = "topics.lst";

struct TTopicSource {
    THelpSource source;
    std::vector<TTopicChecker::TReference> references;
};

struct TLinkSource {
    THelpSource source;
    std::vector<TLinkArea> areas;
};

// Everything read from the folders, by entry name.
struct THelpSet {
    std::map<std::string, TTopicSource> topics;
    std::map<std::string, THelpSource> pictures;
    std::map<std::string, TLinkSource> links;
    std::vector<THelpSource> lists;
    std::set<std::string> targetNames{"main"};
};

std::string Stem(const std::filesystem::path& path) { return path.stem().string(); }

// Reads one source file into the set, under the entry name it gives.
// Errors name the file by its path, so that the two languages' files of one
// name stay apart.
void ReadSourceFile(const std::filesystem::path& path, THelpSet& set, std::set<std::string>& names) {
    const std::string file = path.filename().string();
    const std::string shown = path.string();
    const std::string extension = path.extension().string();
    std::string entry;
    if (file == kTopicList) {
        entry = "topics";
        set.lists.emplace_back(shown, shown);
    } else if (extension == ".vgt") {
        entry = file;
        TTopicChecker checker;
        THelpSource source(shown, shown);
        checker.Check(source);
        for (const auto& declared : checker.GetPanelNames()) set.targetNames.insert(declared.name);
        for (const auto& declared : checker.GetFormNames()) set.targetNames.insert(declared.name);
        set.topics.emplace(entry, TTopicSource{source, checker.GetReferences()});
    } else if (extension == ".picture") {
        entry = Stem(path) + ".bmp";
        set.pictures.emplace(entry, THelpSource(shown, shown));
    } else if (extension == ".links") {
        entry = Stem(path) + ".ald";
        THelpSource source(shown, shown);
        set.links.emplace(entry, TLinkSource{source, ReadLinkDescription(source)});
    } else {
        throw THelpSourceError(shown, 0, "is no help source (*.vgt, *.picture, *.links or topics.lst)");
    }
    if (!names.insert(entry).second) throw THelpSourceError(shown, 0, "gives the entry " + entry + " a second time");
}

// Splits at every separator.
std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        items.push_back(text.substr(start, end - start));
    items.push_back(text.substr(start));
    return items;
}

// The topics a link target opens: itself, or the topics of a SEEALSO list.
std::vector<std::string> TargetTopics(const THelpSource& source, int line, const std::string& target) {
    const std::vector<std::string> items = Split(target, '/');
    if (items[0] != "SEEALSO") return {target};
    if (items.size() < 3 || items.size() % 2 == 0)
        source.Fail(line, "a SEEALSO list needs a caption and a topic for each choice: " + target);
    std::vector<std::string> topics;
    for (size_t i = 1; i < items.size(); i += 2) {
        if (items[i].empty()) source.Fail(line, "a SEEALSO choice without a caption: " + target);
        topics.push_back(items[i + 1]);
    }
    return topics;
}

void CheckTarget(const THelpSet& set, const THelpSource& source, int line, const std::string& target,
                 const std::string& panel) {
    for (const std::string& topic : TargetTopics(source, line, target))
        if (set.topics.count(topic) == 0) source.Fail(line, "the topic " + topic + " is no topic of the help set");
    if (!panel.empty() && set.targetNames.count(panel) == 0)
        source.Fail(line, "TARGET=" + panel + " names no PANEL, no FORM and not main");
}

// The topics a topic leads to, and the pictures and link files it uses.
void CheckReferences(const THelpSet& set, std::set<std::string>& used) {
    for (const auto& [name, topic] : set.topics) {
        for (const TTopicChecker::TReference& reference : topic.references) {
            if (reference.kind == TTopicChecker::rkTopic) {
                CheckTarget(set, topic.source, reference.line, reference.name, reference.panel);
                continue;
            }
            const bool picture = reference.kind == TTopicChecker::rkPicture;
            const bool found = picture ? set.pictures.count(reference.name) > 0 : set.links.count(reference.name) > 0;
            if (!found)
                topic.source.Fail(reference.line, std::string(picture ? "the picture " : "the link file ") +
                                                      reference.name + " is no entry of the help set");
            used.insert(reference.name);
        }
    }
    for (const auto& [name, links] : set.links)
        for (const TLinkArea& area : links.areas) CheckTarget(set, links.source, area.line, area.target, area.panel);
    for (const auto& [name, picture] : set.pictures)
        if (used.count(name) == 0) picture.Fail(0, "no topic shows the picture " + name);
    for (const auto& [name, links] : set.links)
        if (used.count(name) == 0) links.source.Fail(0, "no topic uses the link file " + name);
}

// The topics reachable from the start topic through links, PANEL sources and
// the areas of the link files the topics use.
std::set<std::string> Reachable(const THelpSet& set) {
    std::set<std::string> reached{kStartTopic};
    std::vector<std::string> pending{kStartTopic};
    auto reach = [&](const THelpSource& source, int line, const std::string& target) {
        for (const std::string& topic : TargetTopics(source, line, target))
            if (reached.insert(topic).second) pending.push_back(topic);
    };
    while (!pending.empty()) {
        const TTopicSource& topic = set.topics.at(pending.back());
        pending.pop_back();
        for (const TTopicChecker::TReference& reference : topic.references) {
            if (reference.kind == TTopicChecker::rkTopic) reach(topic.source, reference.line, reference.name);
            if (reference.kind != TTopicChecker::rkLinkFile) continue;
            const TLinkSource& links = set.links.at(reference.name);
            for (const TLinkArea& area : links.areas) reach(links.source, area.line, area.target);
        }
    }
    return reached;
}

TTopics ReadTopicList(const THelpSet& set) {
    if (set.lists.empty()) throw THelpSourceError(kTopicList, 0, "is missing from the help folders");
    const THelpSource& list = set.lists.front();
    TTopics topics;
    for (size_t i = 0; i < list.GetLines().size(); ++i) {
        const std::string& line = list.GetLines()[i];
        const int number = static_cast<int>(i) + 1;
        if (line.empty()) continue;
        if (line.find(", ") != std::string::npos || line.find(" ,") != std::string::npos)
            list.Fail(number, "blanks around a comma");
        TTopic topic;
        TTopics::ReadTopicLine(TString(line), topic);
        if (topic.names.GetCount() == 0) list.Fail(number, "a topic needs a name before its source");
        if (set.topics.count(topic.source.str()) == 0)
            list.Fail(number, "the topic " + topic.source.str() + " is no topic of the help set");
        topics += topic;
    }
    return topics;
}

void CheckEveryTopicIsFound(const THelpSet& set, const TTopics& topics) {
    std::set<std::string> found = Reachable(set);
    for (int i = 0; i < topics.GetCount(); ++i) found.insert(topics[i].source.str());
    for (const auto& [name, topic] : set.topics)
        if (found.count(name) == 0)
            topic.source.Fail(0, "is neither in " + std::string(kTopicList) + " nor reachable from " + kStartTopic);
}

template <class T>
TMemBuffer EntryOf(const T& value) {
    TMemBuffer entry;
    value.WriteToMemBuffer(entry);
    return entry;
}

void WriteEntries(const THelpSet& set, const TTopics& topics, TMemResource& archive) {
    archive.AddBuffer(TString(kStartTopic), EntryOf(set.topics.at(kStartTopic).source.AsStringContainer()));
    for (const auto& [name, topic] : set.topics)
        if (name != kStartTopic) archive.AddBuffer(TString(name), EntryOf(topic.source.AsStringContainer()));
    for (const auto& [name, source] : set.pictures) {
        TMemBitmap picture;
        DrawPictureDescription(source, picture);
        TMemBuffer entry;
        picture.WriteToMemBuffer(entry);
        archive.AddBuffer(TString(name), entry);
    }
    for (const auto& [name, links] : set.links) {
        TImageLinks records;
        MakeImageLinks(links.areas, records);
        archive.AddBuffer(TString(name), EntryOf(records));
    }
    archive.AddBuffer(TString("topics"), EntryOf(topics));
    archive.AddBuffer(TString("defaultname"), EntryOf(TString(kStartTopic)), false);
}

}  // namespace

void BuildHelpArchive(const std::vector<std::string>& folders, TMemResource& archive) {
    THelpSet set;
    std::set<std::string> names;
    for (const std::string& folder : folders) {
        std::vector<std::filesystem::path> files;
        for (const auto& item : std::filesystem::directory_iterator(folder))
            if (item.is_regular_file()) files.push_back(item.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) ReadSourceFile(file, set, names);
    }
    if (set.topics.count(kStartTopic) == 0) throw THelpSourceError(kStartTopic, 0, "is missing from the help folders");
    const TTopics topics = ReadTopicList(set);
    std::set<std::string> used;
    CheckReferences(set, used);
    CheckEveryTopicIsFound(set, topics);
    WriteEntries(set, topics, archive);
}

void PackHelpArchive(TMemResource& archive, TMemBuffer& block) {
    TMemBuffer inner;
    archive.WriteToMemBuffer(inner);
    inner.WriteToPackedBlock(block);
}
