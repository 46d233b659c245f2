// TVGMScroller: the topic scroller of the document variant, whose topics,
// pictures and image links come out of a help archive.
#pragma once

#include "Resource.h"
#include "VGMVisualizer.h"
#include "VGTScroller.h"

// A TVGTScroller with a TVGMVisualizer. The archive is not owned; without
// one no topic opens (each attempt shows the topic error).
class TVGMScroller : public TVGTScroller {
    CLASSLIB_CLASS(TVGMScroller, TVGTScroller)

public:
    explicit TVGMScroller(TComponent* owner);

    // Takes the archive and hands it to the visualizer; the topic shown stays
    // until it is opened again.
    void SetResource(TResourceBase* archive);
    TResourceBase* GetResource() const { return fResource; }

private:
    TResourceBase* fResource = nullptr;
};

// The stream class of the scroller (called by the package's start-up).
void RegisterVGMScrollerClasses();
void UnregisterVGMScrollerClasses();
