// Builds the line containers that the parser tests feed to Parse.
#pragma once

#include <string>
#include <vector>

#include "StringContainer.h"

inline TStringContainer Lines(const std::vector<std::string>& lines) {
    TStringContainer container;
    for (const std::string& line : lines) container.Add(TString(line));
    return container;
}
