// TVGMScroller: a topic scroller that reads its topics from a help archive.
#include "VGMScroller.h"

#include <memory>

#include "Registration.h"

TVGMScroller::TVGMScroller(TComponent* owner) : TVGTScroller(owner) {
    SetVisualizer(std::make_unique<TVGMVisualizer>());
}

void TVGMScroller::SetResource(TResourceBase* archive) {
    fResource = archive;
    static_cast<TVGMVisualizer*>(GetVisualizer())->SetResource(archive);
}

void RegisterVGMScrollerClasses() { RegisterClass<TVGMScroller>(); }

void UnregisterVGMScrollerClasses() { UnRegisterClass(TVGMScroller::StaticClassInfo()); }
