// Xlib helpers for the end-to-end tests: finding the game's window and pressing its close button.
#include "e2e/x11_window_support.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <map>
#include <thread>

TestDisplay::TestDisplay() : display_(XOpenDisplay(nullptr)) {}

TestDisplay::~TestDisplay() {
    if (display_)
        XCloseDisplay(display_);
}

namespace {

std::optional<unsigned long> WindowPid(Display* display, Window window) {
    Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None)
        return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) != Success ||
        !data)
        return std::nullopt;
    std::optional<unsigned long> pid;
    if (count == 1 && format == 32)
        pid = *reinterpret_cast<unsigned long*>(data);
    XFree(data);
    return pid;
}

std::string WindowTitle(Display* display, Window window) {
    char* name = nullptr;
    std::string title;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

} // namespace

std::optional<GameWindow> TestDisplay::FindWindowOf(pid_t pid) {
    Window root = DefaultRootWindow(display_), parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, root, &root, &parent, &children, &count))
        return std::nullopt;
    std::optional<GameWindow> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        auto owner = WindowPid(display_, children[i]);
        if (!owner || *owner != static_cast<unsigned long>(pid))
            continue;
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, children[i], &attributes))
            continue;
        if (attributes.map_state != IsViewable)
            continue;
        found = GameWindow{children[i], WindowTitle(display_, children[i]), attributes.width,
                           attributes.height, true};
    }
    if (children)
        XFree(children);
    return found;
}

std::optional<GameWindow> TestDisplay::AwaitWindowOf(pid_t pid, double seconds, int widerThan) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        auto window = FindWindowOf(pid);
        if (window && window->width > widerThan)
            return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
}

std::optional<std::array<int, 3>> TestDisplay::PixelAt(unsigned long window, int x, int y) {
    XImage* image = XGetImage(display_, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return std::nullopt;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    std::array<int, 3> rgb{static_cast<int>((pixel & image->red_mask) >> 16),
                           static_cast<int>((pixel & image->green_mask) >> 8),
                           static_cast<int>(pixel & image->blue_mask)};
    XDestroyImage(image);
    return rgb;
}

void TestDisplay::SendClose(unsigned long window) {
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

void TestDisplay::WatchShownWindows() {
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
}

std::vector<std::array<int, 2>> TestDisplay::ShownSizes() {
    XSync(display_, False);
    // A window may be gone by now, so its size is followed through the events themselves.
    std::map<Window, std::array<int, 2>> sizes;
    std::vector<std::array<int, 2>> shown;
    while (XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == CreateNotify)
            sizes[event.xcreatewindow.window] = {event.xcreatewindow.width,
                                                 event.xcreatewindow.height};
        else if (event.type == ConfigureNotify)
            sizes[event.xconfigure.window] = {event.xconfigure.width, event.xconfigure.height};
        else if (event.type == MapNotify)
            shown.push_back(sizes[event.xmap.window]);
    }
    return shown;
}

WindowedProgram StartWithWindow(TestDisplay& display, const ProgramRun& run, double seconds,
                                int widerThan) {
    WindowedProgram program;
    program.pid = StartProgram(run, &program.out);
    if (program.pid <= 0)
        return program;
    program.window = display.AwaitWindowOf(program.pid, seconds, widerThan);
    if (!program.window)
        kill(program.pid, SIGKILL);
    return program;
}
