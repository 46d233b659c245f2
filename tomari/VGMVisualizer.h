// TVGMVisualizer: the topic visualizer of the document variant, which reads
// topic sources, pictures and image links from a help archive's entries.
#pragma once

#include "Resource.h"
#include "VGTVisualizer.h"

// Names are entry names, matched by their exact bytes. The archive is not
// owned. A damaged entry counts as a missing one.
class TVGMVisualizer : public TVGTVisualizer {
public:
    void SetResource(TResourceBase* archive) { fResource = archive; }
    TResourceBase* GetResource() const { return fResource; }

    // An empty name gives true at once. The entry's string list becomes the
    // source; without an archive, without the entry or with a damaged one the
    // topic error shows, the source stays as it was and the result is false.
    bool LoadSource(const TString& name) override;
    // The entry's picture record (a DIB or a JPEG payload); without a
    // readable entry the bitmap is left without a picture (not valid).
    void LoadImage(const TString& name, TMemBitmap& bitmap) override;
    // The entry's image link records; without a readable entry the list is
    // empty. Nothing is reported either way.
    void LoadImageLinks(const TString& name, TImageLinks& links) override;
    // The base parser's run with direct calls, as the file variant's.
    bool Parse(TStringContainer& lines) override;

private:
    TResourceBase* fResource = nullptr;
};
