// TTopic and TTopics: topic records, topic list files and the stored index.
#include "Topics.h"

#include <memory>
#include <vector>

#include "MemBuffer.h"

void TTopic::WriteToMemBuffer(TMemBuffer& buffer) const {
    names.WriteToMemBuffer(buffer);
    source.WriteToMemBuffer(buffer);
}

bool TTopic::ReadFromMemBuffer(TMemBuffer& buffer) {
    source.Clear();
    return names.ReadFromMemBuffer(buffer) && source.ReadFromMemBuffer(buffer);
}

TString TTopics::IndentedName(const TString& name) {
    const TString indent("  ");
    int slash = name.Pos('/');
    if (slash < 0) return name;
    TString result = indent + name.Substring(slash + 1, name.Length() - 1);
    for (int star = result.Pos('*'); star >= 0; star = result.Pos('*'))
        result = indent + result.Substring(star + 1, result.Length() - 1);
    return result;
}

bool TTopics::ReadTopicLine(const TString& line, TTopic& topic) {
    TStringContainer items;
    line.GetTokens(',', items);
    if (items.GetCount() == 0) return false;
    topic.names.Clear();
    for (int i = 0; i + 1 < items.GetCount(); ++i) topic.names.Add(IndentedName(items[i]));
    topic.source = items.Last();
    return true;
}

void TTopics::ReadFromFile(const TString& fileName) {
    // The whole file is read and turned into topics before any is appended,
    // so a failure part of the way adds none.
    std::vector<std::unique_ptr<TTopic>> read;
    try {
        TStringContainer lines;
        lines.ReadFromFile(fileName);
        read.reserve(static_cast<size_t>(lines.GetCount()));
        for (int i = 0; i < lines.GetCount(); ++i) {
            auto topic = std::make_unique<TTopic>();
            if (ReadTopicLine(lines[i], *topic)) read.push_back(std::move(topic));
        }
    } catch (...) {
        return;
    }
    for (std::unique_ptr<TTopic>& topic : read) Add(topic.release());
}
