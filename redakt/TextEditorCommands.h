// The editor's command table: one command word with the member that runs it.
#pragma once

#include "ObjectContainer.h"
#include "String.h"

class TTextEditor;

// A command's member; it receives the argument text of the command line.
using TTextEditorCommandHandler = void (TTextEditor::*)(TString& argument);

class TTextEditorCommand : public TContainerItem {
public:
    void Assign(const TContainerItem& source) override;

    TString name;
    TTextEditorCommandHandler handler = nullptr;
};

// ORDER: registration order is matching order.
class TTextEditorCommandList : public TObjectContainer<TTextEditorCommand> {};
