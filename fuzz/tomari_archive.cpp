// Fuzz target: a help archive as the document viewer reads it (the packed outer block or the container form), every
// entry opened as a topic source, a picture and an image link file, each topic laid out and painted with the
// archive's pictures and link areas, and the topic index entry.
#include <cstdint>

#include "ArchiveEntry.h"
#include "FuzzSupport.h"
#include "Gdi.h"
#include "Topics.h"
#include "VGMVisualizer.h"

namespace {

// Topics that do not read report through a message box; here they only fail.
class QuietVisualizer : public TVGMVisualizer {
public:
    void TopicError(const TString&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 2);
    if (reader < 0) return -1;
    TMemBuffer block;
    if (reader == 0) {
        if (!block.ReadFromPackedBlock(data, static_cast<int>(size))) return 0;
    } else {
        fuzz::FillBuffer(block, data, size);
    }
    TMemResource archive;
    archive.ReadFromMemBuffer(block);  // the entries read before any damage stay
    QuietVisualizer visualizer;
    visualizer.SetResource(&archive);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 160, 120);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int i = 0; i < archive.GetCount(); ++i) {
        const TMemResourceEntry* entry = archive.GetEntry(i);
        if (entry == nullptr) continue;
        TMemBitmap picture;
        visualizer.LoadImage(entry->Name, picture);
        TImageLinks links;
        visualizer.LoadImageLinks(entry->Name, links);
        if (!visualizer.LoadSource(entry->Name)) continue;
        int height = 0, maxWidth = 0;
        visualizer.SetCollectLinks(true);
        visualizer.MeasureTopic(dc, 4, 0, 150, height, maxWidth, true, true);
        visualizer.PaintTopic(dc, 4, 0, 150, false, true, true);
    }
    TTopics topics;
    ReadArchiveEntry(&archive, TString("topics"), topics);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return 0;
}
