// Reading image-link descriptions into image link records.
#include "LinkDescription.h"

#include "SourceWords.h"

namespace {

// Points stay within what a picture of the help may measure.
constexpr int kCoordinateLimit = 65535;

}  // namespace

std::vector<TLinkArea> ReadLinkDescription(const THelpSource& source) {
    std::vector<TLinkArea> areas;
    const std::vector<std::string>& lines = source.GetLines();
    for (size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        const TSourceWords words(source, line, lines[i]);
        if (words.GetCount() == 0 || words[0][0] == '#') continue;
        if (words.GetCount() < 5) words.Fail("expected: TARGET PANEL and at least three points X,Y");
        TLinkArea area;
        area.target = words[0];
        area.panel = words[1] == "-" ? std::string() : words[1];
        for (size_t k = 2; k < words.GetCount(); ++k) area.points.push_back(words.Point(k, kCoordinateLimit));
        area.line = line;
        areas.push_back(area);
    }
    if (areas.empty()) source.Fail(0, "describes no area");
    return areas;
}

void MakeImageLinks(const std::vector<TLinkArea>& areas, TImageLinks& links) {
    for (const TLinkArea& area : areas) {
        TImageLink* link = links.NewItem();
        for (const POINT& point : area.points) link->polygon.Add(point);
        link->target = area.target;
        link->targetPanel = area.panel;
    }
}
