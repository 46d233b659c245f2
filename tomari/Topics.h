// TTopic and TTopics: the topic index of a help set, read from a topic list
// file or from its stored container form.
#pragma once

#include "ObjectContainer.h"
#include "RecordItem.h"
#include "String.h"
#include "StringContainer.h"

// One topic: the names it is listed under (in file order; a name may begin
// with two blanks, which the lists show as an indent) and its source, the
// topic file or archive entry that opens it. Assign copies both from
// another TTopic.
class TTopic : public TRecordItem<TTopic> {
public:
    // The names as a string container's form, then the source as a string's
    // form. The reader replaces both and returns false on damaged or short data.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    TStringContainer names;
    TString source;
};

// The topic index: owned topics, in order. Element access throws
// TSDPPBadIndex outside the index; operator+= appends a copy.
class TTopics : public TObjectContainer<TTopic> {
public:
    using TObjectContainer<TTopic>::TObjectContainer;
    using TObjectContainer<TTopic>::operator=;

    // Appends one topic per line of a topic list file: the line is split at
    // ','; the last item is the source and the items before it are names. In
    // a name holding '/', the text up to the first '/' and then, repeatedly,
    // up to the first '*' becomes two blanks, so "/Array*Strings" gives
    // "  Strings"; a name without '/' keeps its '*'. An empty line adds nothing,
    // a line of one item a topic without names. The topics already held stay.
    // A file that cannot be read adds nothing and reports nothing.
    void ReadFromFile(const TString& fileName) override;

    // The topic of one line of a topic list file, as ReadFromFile reads it;
    // false (and topic unchanged) for an empty line.
    static bool ReadTopicLine(const TString& line, TTopic& topic);
    // A name with its indent marks replaced as ReadFromFile does.
    static TString IndentedName(const TString& name);
};
