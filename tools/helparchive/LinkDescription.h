// The image-link description: the clickable areas of one picture, one area
// per line, in a small text format of the help sources (files "*.links").
#pragma once

#include <string>
#include <vector>

#include "HelpSource.h"
#include "ImageLinks.h"

// Line form: "TARGET PANEL X,Y X,Y X,Y ...": the topic (or SEEALSO list) the
// area opens, the panel it opens in ("-" for none), and at least three points
// in picture pixels. Blank lines and lines starting with '#' are skipped.
struct TLinkArea {
    std::string target;
    std::string panel;
    std::vector<POINT> points;
    int line = 0;
};

// The areas of the description, in order; a malformed line stops with its
// file and line.
std::vector<TLinkArea> ReadLinkDescription(const THelpSource& source);
// The areas as image link records.
void MakeImageLinks(const std::vector<TLinkArea>& areas, TImageLinks& links);
