// Build-time tool: builds a help archive from its text sources and writes the
// archive's packed outer block, as a program carries it as a resource.
//
// usage: MakeHelpArchive <output> <source folder>...
//
// A source the builder refuses is reported as "file:line: message" and the
// tool ends with status 1, leaving no output file. It draws pictures on memory
// bitmaps only; run it with SUITE_DISPLAY=headless.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "HelpArchiveBuilder.h"
#include "HelpSourceError.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: MakeHelpArchive <output> <source folder>...\n";
        return 2;
    }
    const std::string output = argv[1];
    std::remove(output.c_str());
    TMemBuffer block;
    try {
        TMemResource archive;
        BuildHelpArchive(std::vector<std::string>(argv + 2, argv + argc), archive);
        PackHelpArchive(archive, block);
    } catch (const THelpSourceError& error) {
        std::cerr << error.what() << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "MakeHelpArchive: " << error.what() << "\n";
        return 1;
    }
    const std::string partial = output + ".partial";
    {
        std::ofstream out(partial, std::ios::binary);
        out.write(static_cast<const char*>(block.GetBlock()), block.GetSize());
        if (!out) {
            std::cerr << "cannot write " << partial << "\n";
            return 1;
        }
    }
    if (std::rename(partial.c_str(), output.c_str()) != 0) {
        std::cerr << "cannot write " << output << "\n";
        return 1;
    }
    return 0;
}
