// Writes what the X server shows (the root window, or the window whose id is given) as a
// PNG file, for the end-to-end tests' artefacts: kelmor_screenshot FILE.png [WINDOW].
// kelmor_screenshot --find RRGGBB prints the screen point at the middle of the pixels of
// exactly that colour (a drawn picture's fill), and fails when there are none or they
// spread wider than one picture.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Find(XImage* image, unsigned long colour) {
    int left = image->width, top = image->height, right = -1, bottom = -1;
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            if ((XGetPixel(image, x, y) & 0xffffffu) != colour) continue;
            if (x < left) left = x;
            if (x > right) right = x;
            if (y < top) top = y;
            if (y > bottom) bottom = y;
        }
    }
    if (right < 0 || right - left > 48 || bottom - top > 48) {
        fprintf(stderr, "kelmor_screenshot: colour %06lx %s\n", colour, right < 0 ? "not shown" : "shown in several places");
        return 1;
    }
    printf("%d %d\n", (left + right) / 2, (top + bottom) / 2);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (strcmp(argv[1], "--find") == 0 && argc < 3)) {
        fputs("usage: kelmor_screenshot FILE.png [WINDOW] | --find RRGGBB\n", stderr);
        return 2;
    }
    const bool find = strcmp(argv[1], "--find") == 0;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        fputs("kelmor_screenshot: no display\n", stderr);
        return 1;
    }
    const Window window = argc > 2 && !find ? strtoul(argv[2], nullptr, 0) : DefaultRootWindow(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return 1;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        fputs("kelmor_screenshot: cannot read the window\n", stderr);
        return 1;
    }
    if (find) {
        const int status = Find(image, strtoul(argv[2], nullptr, 16));
        XDestroyImage(image);
        XCloseDisplay(display);
        return status;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image->width, image->height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image->height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < image->width; ++x) row[x] = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xffffffu;
    }
    cairo_surface_mark_dirty(surface);
    const cairo_status_t status = cairo_surface_write_to_png(surface, argv[1]);
    cairo_surface_destroy(surface);
    XDestroyImage(image);
    XCloseDisplay(display);
    if (status != CAIRO_STATUS_SUCCESS) {
        fprintf(stderr, "kelmor_screenshot: %s: %s\n", argv[1], cairo_status_to_string(status));
        return 1;
    }
    return 0;
}
