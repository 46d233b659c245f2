// TPanelState, TPanelStates and TPanelHistory: what every scroller of a topic
// panel showed, step by step, for going back.
#pragma once

#include "ObjectContainer.h"
#include "RecordItem.h"
#include "String.h"

// One scroller: its sub-panel name (empty for the main scroller) and its topic.
class TPanelState : public TRecordItem<TPanelState> {
public:
    TString panelName;
    TString source;
};

// Every scroller of one step, in scroller order.
class TPanelStates : public TObjectContainer<TPanelState> {
public:
    using TObjectContainer<TPanelState>::TObjectContainer;
    using TObjectContainer<TPanelState>::operator=;
};

// The steps, oldest first.
class TPanelHistory : public TObjectContainer<TPanelStates> {
public:
    using TObjectContainer<TPanelStates>::TObjectContainer;
    using TObjectContainer<TPanelStates>::operator=;
};
