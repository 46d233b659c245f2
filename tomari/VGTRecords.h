// The records a topic's layout keeps: column borders, open frames, aligned
// stretches, and what a topic declares (links, coloured blocks, sub-panels and
// forms), with their containers.
#pragma once

#include "ObjectContainer.h"
#include "RecordItem.h"
#include "String.h"
#include "ValueContainers.h"
#include "Win32Types.h"

// One column border; n borders make n + 1 columns.
struct COL_INFO {
    int gap;        // pixels on each side of the border
    int position;   // x of the border
    int lineStyle;  // stored; separators are drawn solid
};

// An open frame.
struct FRAME_INFO {
    int left;
    int top;
    int horizontalGap;  // space units
    int verticalGap;    // line spaces
    int alignment;      // 0 left, 1 right, 2 centre
    int right;
    int lineStyle;
};

// A centred (kind 3) or right-aligned (kind 2) stretch as the measure pass found it.
struct ALIGNED_SECTION {
    int kind;
    int start;  // x where its text began
    int end;    // x where it ended
};

class TColInfos : public TValueContainer<COL_INFO> {
public:
    using TValueContainer<COL_INFO>::TValueContainer;
};

class TFrameInfos : public TValueContainer<FRAME_INFO> {
public:
    using TValueContainer<FRAME_INFO>::TValueContainer;
};

class TAlignedSections : public TValueContainer<ALIGNED_SECTION> {
public:
    using TValueContainer<ALIGNED_SECTION>::TValueContainer;
};

// A link of the topic: where it leads and the areas of its words and pictures
// (left, top, right, bottom, all inclusive).
class TLinkItem : public TRecordItem<TLinkItem> {
public:
    TString target;
    TString targetPanel;
    TRectContainer areas;
};

// A stretch of text painted on a background colour; edges inclusive.
class TColorBlock : public TRecordItem<TColorBlock> {
public:
    COLORREF color = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One size of a sub-panel: pixels when absolute is 1 (negative: the whole
// less that many), a percentage of the whole when 0.
struct PANEL_POS {
    BYTE absolute;
    int value;
};

// A sub-panel a topic declares with PANEL.
class TPanelInfo : public TRecordItem<TPanelInfo> {
public:
    PANEL_POS left{1, 0};
    PANEL_POS top{1, 0};
    PANEL_POS width{0, 100};
    PANEL_POS height{0, 100};
    TString name;
    TString source;
};

// A form a topic declares with FORM.
class TVGTFormInfo : public TRecordItem<TVGTFormInfo> {
public:
    TString name;
    TString caption;
    int left = 10;
    int top = 10;
    int width = 150;
    int height = 200;
};

class TLinkContainer : public TObjectContainer<TLinkItem> {
public:
    using TObjectContainer<TLinkItem>::TObjectContainer;
    using TObjectContainer<TLinkItem>::operator=;
};

class TColorBlocks : public TObjectContainer<TColorBlock> {
public:
    using TObjectContainer<TColorBlock>::TObjectContainer;
    using TObjectContainer<TColorBlock>::operator=;
};

class TPanelInfos : public TObjectContainer<TPanelInfo> {
public:
    using TObjectContainer<TPanelInfo>::TObjectContainer;
    using TObjectContainer<TPanelInfo>::operator=;
};

class TVGTFormInfos : public TObjectContainer<TVGTFormInfo> {
public:
    using TObjectContainer<TVGTFormInfo>::TObjectContainer;
    using TObjectContainer<TVGTFormInfo>::operator=;
};
