// TVGMPanel: the topic panel of the document variant. It shows a help set
// carried as one archive (topic sources, pictures, image links and the topic
// index as named entries) instead of loose files.
#pragma once

#include "Resource.h"
#include "VGTPanel.h"

// Every scroller it makes is a TVGMScroller owned by the panel's owner, and
// every form a TVGMForm owned by the panel; both read the panel's archive.
//
// The panel does not own the archive: the host keeps it alive while any
// panel, scroller or form of the panel uses it, and deletes it afterwards.
class TVGMPanel : public TVGTPanel {
    CLASSLIB_CLASS(TVGMPanel, TVGTPanel)

public:
    explicit TVGMPanel(TComponent* owner);

    // Hands the archive to every scroller, replaces the topic index by its
    // "topics" entry (only when that entry reads completely; otherwise the
    // index stays) and has every scroller open its topic again, so a topic
    // opened before comes from the new archive. A frame topic shown rebuilds
    // its own sub-panels. The panels of the open forms take the archive too,
    // so none keeps reading one the host let go. Null reloads too, and then every scroller showing a
    // topic shows the topic error: a host should not call SetResource(nullptr)
    // when it shuts down, but simply delete the archive after the panel.
    void SetResource(TResourceBase* archive);
    TResourceBase* GetResource() const { return fResource; }

    TVGTScroller* CreateScroller() override;
    // The base properties, then the archive for the scroller and its visualizer.
    void SetScrollerProps(TVGTScroller* scroller) override;
    // The lines of the entry that index entry index names; empty when it is
    // outside the index or the entry cannot be read.
    void GetTopicSource(int index, TStringContainer& lines) override;
    TVGTFormBase* CreateForm() override;
    // The base set-up, then the form's panel receives the archive.
    TVGTFormBase* SetupForm(const TVGTFormInfo& info) override;

    CLASSLIB_MESSAGE_MAP(TVGMPanel, TVGTPanel, {WM_SIZE, &TVGMPanel::WMSize})

private:
    TResourceBase* fResource = nullptr;
};

namespace Vgmpanel {
// Registers TVGMPanel on the palette page "Rollan".
void Register();
}  // namespace Vgmpanel

// The stream classes of the document variant (called by the package's start-up).
void RegisterVGMPanelClasses();
void UnregisterVGMPanelClasses();
