// Fuzz target: a help source as the help-archive builder reads it (a topic, a picture description, an image-link
// description or the topic list, chosen by the first byte) in a small help set that builds otherwise. A refusal
// naming file and line is the expected outcome; anything else escaping the builder is a finding.
#include <cstdint>
#include <fstream>
#include <string>

#include "FuzzSupport.h"
#include "HelpArchiveBuilder.h"
#include "HelpSourceError.h"

namespace {

// The rest of the set; the input replaces one of its files.
const struct {
    const char* name;
    const char* text;
} kSources[] = {
    {"index.vgt", "<B>Start</B><NL><LINK=page.vgt,TARGET=main>page</LINK> <IMAGE=p.bmp,LINKS=p.ald>"},
    {"page.vgt", "A page."},
    {"p.picture", "picture 4 4 24\nfill FF0000\n"},
    {"p.links", "page.vgt - 0,0 3,0 3,3\n"},
    {"topics.lst", "Start,index.vgt\n"},
};
const char* const kReplaced[] = {"page.vgt", "p.picture", "p.links", "topics.lst"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int reader = fuzz::PickReader(data, size, 4);
    if (reader < 0) return -1;
    const std::string& folder = fuzz::EnterEmptyFolder();
    for (const auto& source : kSources) std::ofstream(folder + "/" + source.name, std::ios::binary) << source.text;
    fuzz::WriteInputFile(data, size, kReplaced[reader]);
    try {
        TMemResource archive;
        BuildHelpArchive({folder}, archive);
    } catch (const THelpSourceError&) {
    }
    return 0;
}
