// Prints where the toolbar's pictures are on the screen and how they look, as a person
// sees them: one "x y enabled|greyed" line per picture, left to right, with the root
// coordinates of its centre:
//   kelmor_toolbar_places WINDOW
// The toolbar is the row through the Start Recording button's red dot (bright or greyed).
// Pictures are the runs of columns on that row that differ from the toolbar's background;
// a run as narrow as a separator line is not one. A greyed picture is drawn faintly: none
// of its pixels stands out from the background as every enabled picture's outline does.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

// Columns of one picture lie closer together than this; pictures lie farther apart.
const int kJoinGap = 10;
const int kNarrowestPicture = 6;
const int kDifferentEnough = 40;
// The faintest enabled picture (the page's outline) differs by about 390, the boldest
// greyed one by about 240.
const int kEnabledContrast = 320;

struct Rgb {
    int r, g, b;
};

Rgb PixelAt(XImage* image, int x, int y) {
    const unsigned long p = XGetPixel(image, x, y);
    return Rgb{static_cast<int>((p >> 16) & 0xff), static_cast<int>((p >> 8) & 0xff), static_cast<int>(p & 0xff)};
}

int Difference(Rgb a, Rgb b) { return abs(a.r - b.r) + abs(a.g - b.g) + abs(a.b - b.b); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fputs("usage: kelmor_toolbar_places WINDOW\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        fputs("kelmor_toolbar_places: no display\n", stderr);
        return 2;
    }
    const Window window = strtoul(argv[1], nullptr, 0);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return 1;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        fputs("kelmor_toolbar_places: cannot read the window\n", stderr);
        return 1;
    }
    long sumY = 0, count = 0;
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const Rgb p = PixelAt(image, x, y);
            // Red, bright or faded; not the orange of the folder.
            if (p.r - p.g > 50 && p.r - p.b > 50 && abs(p.g - p.b) < 20) {
                sumY += y;
                ++count;
            }
        }
    }
    if (count < 20) {
        fputs("kelmor_toolbar_places: no Start Recording button in the window\n", stderr);
        XDestroyImage(image);
        return 1;
    }
    const int row = static_cast<int>(sumY / count);
    // The background is the colour most of the row has.
    std::map<unsigned long, int> colours;
    for (int x = 0; x < image->width; ++x) ++colours[XGetPixel(image, x, row)];
    unsigned long background = 0;
    int most = 0;
    for (const auto& c : colours) {
        if (c.second > most) {
            most = c.second;
            background = c.first;
        }
    }
    const Rgb ground{static_cast<int>((background >> 16) & 0xff), static_cast<int>((background >> 8) & 0xff),
                     static_cast<int>(background & 0xff)};
    struct Picture {
        int centre;
        bool enabled;
    };
    std::vector<Picture> pictures;
    int first = -1, last = -1, strongest = 0;
    auto close = [&]() {
        if (first >= 0 && last - first + 1 >= kNarrowestPicture) {
            pictures.push_back(Picture{(first + last) / 2, strongest >= kEnabledContrast});
        }
        first = last = -1;
        strongest = 0;
    };
    for (int x = 0; x < image->width; ++x) {
        const int difference = Difference(PixelAt(image, x, row), ground);
        if (difference < kDifferentEnough) continue;
        if (first >= 0 && x - last > kJoinGap) close();
        if (first < 0) first = x;
        last = x;
        if (difference > strongest) strongest = difference;
    }
    close();
    XDestroyImage(image);
    for (const Picture& picture : pictures) {
        int rootX = 0, rootY = 0;
        Window child = 0;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), picture.centre, row, &rootX, &rootY, &child);
        printf("%d %d %s\n", rootX, rootY, picture.enabled ? "enabled" : "greyed");
    }
    XCloseDisplay(display);
    return pictures.empty() ? 1 : 0;
}
