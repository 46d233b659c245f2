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

// Splits a command line at its first blank: the word before it and the
// argument after it, as they stand (further blanks stay; tabs do not
// split). A line without a blank is all word, with an empty argument.
void SplitCommandLine(const TString& line, TString& word, TString& argument);
// The first command, in list order, whose name begins with word (case
// matters): any prefix selects the first name it starts. Null for an empty
// word and for a word that begins no name.
const TTextEditorCommand* FindCommand(const TTextEditorCommandList& commands, const TString& word);
