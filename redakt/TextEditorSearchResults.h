// The "search all" records: the list boxes a host registers as destinations,
// and the hits shown in each of them.
#pragma once

#include "ObjectContainer.h"
#include "String.h"
#include "ValueContainers.h"

class TListBox;

// A destination: a host's list box under a name. The list box is the host's.
class TTextEditorResultList : public TContainerItem {
public:
    void Assign(const TContainerItem& source) override;

    TString name;
    TListBox* listBox = nullptr;
};

class TTextEditorResultLists : public TObjectContainer<TTextEditorResultList> {};

// The hits of the last search into one list box: the text searched for and
// the hit lines, in the order of the list box's hit rows.
class TTextEditorSearchResult : public TContainerItem {
public:
    void Assign(const TContainerItem& source) override;

    TString text;
    TListBox* listBox = nullptr;
    TIntContainer hitLines;
};

// At most one result per list box.
class TTextEditorSearchResults : public TObjectContainer<TTextEditorSearchResult> {};
