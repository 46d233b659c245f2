// The program entry: real windows only; the start-up does the rest.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DemoShots.h"
#include "Startup.h"

int main() {
    if (GraphicalDisplayMissing()) {
        std::fputs("mostrana: a graphical display is needed (X11 or Wayland), and none could be opened\n", stderr);
        return 1;
    }
    // MOSTRANA_SHOTS: a folder for pictures of the windows, taken before the program ends by itself.
    const char* shots = std::getenv("MOSTRANA_SHOTS");
    const std::string folder = shots ? shots : "";
    if (!folder.empty() && !TDemoShots::IsFolder(folder)) {
        std::fprintf(stderr, "mostrana: MOSTRANA_SHOTS names no folder: %s\n", folder.c_str());
        return 1;
    }
    return RunMostrana(folder);
}
