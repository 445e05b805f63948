// Prints where a colour is drawn in a window, as the root coordinates of the middle of
// its pixels, so that a test can point at a picture as a person would:
//   kelmor_colour_place WINDOW RRGGBB
// Pixels within a small distance of the colour count (drawing smooths edges); fewer than
// a handful is no picture, and the exit status is 1.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) {
        fputs("usage: kelmor_colour_place WINDOW RRGGBB\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 2;
    const Window window = strtoul(argv[1], nullptr, 0);
    const unsigned long colour = strtoul(argv[2], nullptr, 16);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return 1;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr) return 1;
    long sumX = 0, sumY = 0, count = 0;
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            int distance = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                distance += abs(static_cast<int>((p >> shift) & 0xff) - static_cast<int>((colour >> shift) & 0xff));
            }
            if (distance > 24) continue;
            sumX += x;
            sumY += y;
            ++count;
        }
    }
    XDestroyImage(image);
    if (count < 5) return 1;
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), static_cast<int>(sumX / count),
                          static_cast<int>(sumY / count), &rootX, &rootY, &child);
    printf("%d %d\n", rootX, rootY);
    XCloseDisplay(display);
    return 0;
}
