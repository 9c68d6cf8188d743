// vantor-run --window on Linux: a plain X11 window that gets each frame's back buffer, read back from
// the platform's device, with XPutImage. The device stays headless (its EGL context has no window),
// so the window needs no GL of its own; the pixels and the XImage are made once, not per frame.
#include "system.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform_control.h"

#ifdef VTR3_HAVE_X11
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

namespace host::system {

#ifdef VTR3_HAVE_X11
namespace {

struct FrameWindow {
    Display* display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    Atom closing = 0;
    XImage* image = nullptr;
    std::vector<std::uint8_t> pixels; // B, G, R, A: a 24-bit true-colour pixel in X's LSBFirst order
    // The back buffer as last read, of whatever size a device reset gave it; only a frame of the
    // window's size is copied into `pixels`, which the image points at and which never moves.
    std::vector<std::uint8_t> readBack;
    unsigned width = 0;
    unsigned height = 0;
};

FrameWindow* g_frames = nullptr;

void Paint(FrameWindow& frames) {
    XPutImage(frames.display, frames.window, frames.gc, frames.image, 0, 0, 0, 0, frames.width,
              frames.height);
}

} // namespace

bool OpenFrameWindow(HWND, int width, int height, const char* title, std::string* error) {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        *error = "--window needs an X display, and DISPLAY is not set (runs are headless without it)";
        return false;
    }
    Display* display = XOpenDisplay(name);
    if (!display) {
        *error = std::string("--window cannot open the X display '") + name + "'";
        return false;
    }
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    const int depth = DefaultDepth(display, screen);
    if ((depth != 24 && depth != 32) || visual->red_mask != 0xff0000 || visual->blue_mask != 0xff) {
        XCloseDisplay(display);
        *error = std::string("--window needs a 24-bit true-colour X display, and '") + name + "' is not";
        return false;
    }
    auto* frames = new FrameWindow;
    frames->display = display;
    frames->width = static_cast<unsigned>(width);
    frames->height = static_cast<unsigned>(height);
    frames->window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, frames->width, frames->height, 0,
                            BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, frames->window, title);
    XSelectInput(display, frames->window, ExposureMask);
    frames->closing = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, frames->window, &frames->closing, 1);
    frames->gc = XCreateGC(display, frames->window, 0, nullptr);
    frames->pixels.assign(static_cast<std::size_t>(width) * height * 4, 0);
    frames->image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(frames->pixels.data()), frames->width,
                                 frames->height, 32, width * 4);
    frames->image->byte_order = LSBFirst; // Xlib converts for a server of the other order
    XMapWindow(display, frames->window);
    XFlush(display);
    g_frames = frames;
    return true;
}

void ShowFrame(IDirect3DDevice9* device) {
    if (!g_frames) {
        return;
    }
    FrameWindow& frames = *g_frames;
    UINT width = 0;
    UINT height = 0;
    if (platform::ReadBackBuffer(device, &frames.readBack, &width, &height) && width == frames.width &&
        height == frames.height && frames.readBack.size() == frames.pixels.size()) {
        std::copy(frames.readBack.begin(), frames.readBack.end(), frames.pixels.begin());
        Paint(frames);
    }
    while (XPending(frames.display) > 0) {
        XEvent event;
        XNextEvent(frames.display, &event);
        if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == frames.closing) {
            CloseFrameWindow(); // the run goes on headless
            return;
        }
        if (event.type == Expose && event.xexpose.count == 0) {
            Paint(frames);
        }
    }
    XSync(frames.display, False); // one frame at a time, so that the server keeps up
}

void CloseFrameWindow() {
    if (!g_frames) {
        return;
    }
    g_frames->image->data = nullptr; // the pixels are the vector's
    XDestroyImage(g_frames->image);
    XFreeGC(g_frames->display, g_frames->gc);
    XDestroyWindow(g_frames->display, g_frames->window);
    XCloseDisplay(g_frames->display);
    delete g_frames;
    g_frames = nullptr;
}

#else

bool OpenFrameWindow(HWND, int, int, const char*, std::string* error) {
    *error = "--window needs X11, and this runner was built without it";
    return false;
}

void ShowFrame(IDirect3DDevice9*) {}

void CloseFrameWindow() {}

#endif

} // namespace host::system
