// Helpers of the real-window tests that need a desktop: a virtual X server of
// a chosen size with a window manager (openbox) on it, started once per test
// program and ended with it, and the desktop's own tools (xdotool, xwininfo,
// xprop) run against it. For test programs only.
#pragma once

#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Win32Types.h"
#include "display/SdlBackEnd.h"
#include "display/SdlTestEvents.h"
#include "display/TestDriver.h"

namespace win32 {

// Runs a shell command on the desktop and returns what it printed.
inline std::string DesktopCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (size_t count = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, count);
        pclose(pipe);
    }
    return output;
}

class VirtualDesktop {
public:
    // Starts the server (width x height, 24 bits) and its window manager, and
    // points DISPLAY and SUITE_DISPLAY at them. It must come before the display
    // back end starts, so a test program runs one desktop: asked again for the
    // same size it answers true at once. False, with the reason, when a tool is
    // missing, the desktop does not come up, or SDL already runs on another server.
    static bool Start(int width, int height, std::string* why) {
        static int startedWidth = 0, startedHeight = 0;
        if (startedWidth != 0) {
            if (width == startedWidth && height == startedHeight) return true;
            *why = "this test program already runs a desktop of another size: run the test alone";
            return false;
        }
        if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
            *why = "the display back end already runs on another X server: run the test alone "
                   "(ctest runs each test in a process of its own)";
            return false;
        }
        for (const char* tool : {"Xvfb", "openbox", "xdotool", "xwininfo", "xprop"})
            if (DesktopCommand(std::string("command -v ") + tool).empty()) {
                *why = std::string(tool) + " is not installed (./make.sh deps installs it)";
                return false;
            }
        // Desktops started at the same moment by other tests may take the
        // same display number, and a server may then refuse the window
        // manager: a desktop that does not come up is ended and started anew.
        for (int attempt = 0; attempt < 5; ++attempt)
            if (StartDesktop(width, height)) {
                startedWidth = width;
                startedHeight = height;
                return true;
            }
        *why = "no virtual X server with openbox came up";
        return false;
    }

private:
    static bool StartDesktop(int width, int height) {
        pid_t server = -1;
        const std::string display = StartServer(width, height, &server);
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SUITE_DISPLAY", "sdl", 1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        pid_t manager = -1;
        const bool running = !display.empty() && Until(deadline, server, ServerAnswers) &&
                             (manager = StartCompanion({"openbox", "--sm-disable"})) > 0 &&
                             WindowManagerAnswers(deadline, manager);
        if (running) return true;
        for (pid_t companion : {manager, server}) {
            if (companion <= 0) continue;
            kill(companion, SIGKILL);
            waitpid(companion, nullptr, 0);
        }
        return false;
    }

    // Starts a program, quiet, that ends with this process (the kernel ends it
    // when the thread that started it goes); its pid, or -1. It inherits the
    // open descriptors.
    static pid_t StartCompanion(const std::vector<std::string>& arguments) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        const pid_t child = fork();
        if (child != 0) return child;
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int quiet = open("/dev/null", O_RDWR);
        for (int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) dup2(quiet, descriptor);
        execvp(argv[0], argv.data());
        _exit(127);
    }

    // An X server on a display number it chooses itself; its name, or "".
    static std::string StartServer(int width, int height, pid_t* server) {
        int pipe[2];
        if (::pipe(pipe) != 0) return "";
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        *server =
            StartCompanion({"Xvfb", "-displayfd", std::to_string(pipe[1]), "-nolisten", "tcp", "-screen", "0", screen});
        close(pipe[1]);
        std::string number;
        char byte = 0;
        while (*server > 0 && read(pipe[0], &byte, 1) == 1 && byte != '\n') number += byte;
        close(pipe[0]);
        return number.empty() ? "" : ":" + number;
    }

    // Waits until done() holds, while the program runs and the deadline is
    // ahead; false when it does not.
    template <class Done>
    static bool Until(std::chrono::steady_clock::time_point deadline, pid_t program, Done done) {
        while (std::chrono::steady_clock::now() < deadline && waitpid(program, nullptr, WNOHANG) == 0) {
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // The server accepts clients (xprop answers on its standard output).
    static bool ServerAnswers() { return !DesktopCommand("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").empty(); }

    static int Desktops() {
        const std::string answer = DesktopCommand("xprop -root _NET_NUMBER_OF_DESKTOPS 2>/dev/null");
        const size_t equals = answer.find('=');
        return equals == std::string::npos ? -1 : std::atoi(answer.c_str() + equals + 1);
    }

    // The window manager runs and answers requests: a window it is asked to
    // map while it still starts may stay unmapped (and SDL then waits for it
    // for ever), so it is asked for one more desktop and back (again and
    // again: it may drop what comes while it starts), and seen to do both.
    static bool WindowManagerAnswers(std::chrono::steady_clock::time_point deadline, pid_t manager) {
        int count = -1;
        if (!Until(deadline, manager, [&] { return (count = Desktops()) > 0; })) return false;
        for (int wanted : {count + 1, count}) {
            const std::string ask = "xdotool set_num_desktops " + std::to_string(wanted);
            if (!Until(deadline, manager, [&] {
                    DesktopCommand(ask);
                    return Desktops() == wanted;
                }))
                return false;
        }
        return true;
    }
};

// Lets the desktop and the layer settle until the condition holds (the
// desktop answers in its own time); false when it still fails after the
// milliseconds.
inline bool SettleUntil(TestDriver& driver, const std::function<bool()>& condition, int milliseconds = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        SettleRealWindows(driver);
        if (condition()) return true;
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

// The X window of a top-level window, as the desktop's tools name it.
inline std::string DesktopWindowName(HWND topLevel) { return std::to_string(SdlX11WindowOf(topLevel)); }

// Where the desktop shows an X window, in screen coordinates (from xwininfo);
// empty when it cannot tell.
inline RECT DesktopGeometry(const std::string& window) {
    const std::string info = DesktopCommand("xwininfo -id " + window + " 2>/dev/null");
    auto field = [&info](const char* label) {
        const size_t at = info.find(label);
        return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + std::char_traits<char>::length(label));
    };
    const int x = field("Absolute upper-left X:"), y = field("Absolute upper-left Y:");
    return RECT{x, y, x + field("Width:"), y + field("Height:")};
}

}  // namespace win32
