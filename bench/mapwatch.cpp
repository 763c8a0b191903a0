// Starts a program and times it from the moment before it is started to the
// mapping of its first normal (non-dialog) top-level window with the given
// title, then lets it settle and reads its peak resident memory.
//
// Usage: ferncastle_mapwatch TITLE SETTLE_MS TIMEOUT_MS PROGRAM [ARGS...]
// Prints "<milliseconds to map> <CPU milliseconds to map> <peak memory in KiB>"
// and ends the program.
// Works without a window manager, where top-level windows are children of
// the root window.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

std::string stringProperty(Display *display, Window window, const char *name, Atom type)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    const Atom property = XInternAtom(display, name, False);
    if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &actualType,
                           &format, &count, &remaining, &data) != Success || !data)
        return {};
    std::string value(reinterpret_cast<const char *>(data), format == 8 ? count : 0);
    XFree(data);
    return value;
}

bool isDialog(Display *display, Window window)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    const Atom property = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    if (XGetWindowProperty(display, window, property, 0, 16, False, XA_ATOM, &actualType,
                           &format, &count, &remaining, &data) != Success || !data)
        return false;
    const auto *types = reinterpret_cast<const Atom *>(data);
    bool found = false;
    for (unsigned long i = 0; i < count; ++i)
        found = found || types[i] == dialog;
    XFree(data);
    return found;
}

bool isMainWindow(Display *display, Window window, const std::string &title)
{
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    return stringProperty(display, window, "_NET_WM_NAME", utf8) == title
           && !isDialog(display, window);
}

pid_t launch(char **command)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(command[0], command);
        std::perror(command[0]);
        _exit(127);
    }
    return pid;
}

bool childEnded(pid_t child)
{
    int status = 0;
    return waitpid(child, &status, WNOHANG) == child;
}

// Reads map events until the main window shows, the child ends or time
// runs out.
bool waitForMap(Display *display, const std::string &title, pid_t child,
                Clock::time_point deadline)
{
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && isMainWindow(display, event.xmap.window, title))
                return true;
        }
        if (childEnded(child))
            return false;
        poll(&connection, 1, 5);
    }
    return false;
}

long peakKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// CPU time of all the process's threads so far, from the scheduler's
// nanosecond counts; unlike wall time it hardly moves with the machine's load.
double cpuMilliseconds(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    double nanoseconds = 0;
    while (const dirent *entry = readdir(dir)) {
        std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
        double onCpu = 0;
        if (entry->d_name[0] != '.' && schedstat >> onCpu)
            nanoseconds += onCpu;
    }
    closedir(dir);
    return nanoseconds / 1e6;
}

void stop(pid_t child)
{
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
}

// A connection that reports every map of a top-level window. It is closed
// on exec so that the watched program does not inherit it.
Display *openWatchedDisplay()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    return display;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s TITLE SETTLE_MS TIMEOUT_MS PROGRAM [ARGS...]\n",
                     argv[0]);
        return 2;
    }
    Display *display = openWatchedDisplay();
    if (!display) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 2;
    }
    const auto started = Clock::now();
    const auto deadline = started + std::chrono::milliseconds(std::atol(argv[3]));
    const pid_t child = launch(argv + 4);
    if (!waitForMap(display, argv[1], child, deadline)) {
        stop(child);
        std::fprintf(stderr, "%s: no window \"%s\" was mapped\n", argv[0], argv[1]);
        return 1;
    }
    const std::chrono::duration<double, std::milli> elapsed = Clock::now() - started;
    const double cpu = cpuMilliseconds(child);
    // The first paint follows the map; the peak is read once it has been done.
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(argv[2])));
    const long peak = peakKib(child);
    stop(child);
    std::printf("%.1f %.1f %ld\n", elapsed.count(), cpu, peak);
    return 0;
}
