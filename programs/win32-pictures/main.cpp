// Writes the pictures of the Linux face, drawn by its own code, as the Windows face's
// resources (scripts/win32-pictures): 8-bit bitmaps on the grey that Windows turns into the
// button face's colour when it loads them, and icons of 16 and 32 pixels with their masks.
//   kelmor-win32-pictures FOLDER
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/gtk/pictures.h"
#include "platform/gtk/toolbar_images.h"
#include "platform/gtk/tray_images.h"
#include "platform/picture_ids.h"

namespace {

// The greys Windows replaces with the desktop's 3D colours (LR_LOADMAP3DCOLORS): the ground
// is the face grey, and no drawn pixel may be one of them.
const uint32_t kGround = 0xC0C0C0;
const uint32_t kMapped[] = {0x808080, 0xC0C0C0, 0xDFDFDF};

struct Image {
    int width, height;
    std::vector<uint32_t> rgb;   // 0xRRGGBB, top row first
    std::vector<bool> opaque;
};

uint32_t Composite(uint32_t argb) {
    // Cairo's pixels are premultiplied: the ground shows through what alpha leaves.
    const uint32_t alpha = argb >> 24;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t c = (argb >> shift & 0xFF) + (kGround >> shift & 0xFF) * (255 - alpha) / 255;
        out |= (c > 255 ? 255 : c) << shift;
    }
    if (alpha == 0) return kGround;
    for (uint32_t mapped : kMapped) {
        if (out == mapped) out ^= 1;  // one step off in blue: the same to the eye
    }
    return out;
}

void Append(Image* image, cairo_surface_t* surface, int left) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < h && y < image->height; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t argb = *reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x);
            image->rgb[static_cast<size_t>(y * image->width + left + x)] = Composite(argb);
            image->opaque[static_cast<size_t>(y * image->width + left + x)] = (argb >> 24) >= 128;
        }
    }
    cairo_surface_destroy(surface);
}

Image Blank(int width, int height) {
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), kGround),
            std::vector<bool>(static_cast<size_t>(width * height), false)};
}

// At most 256 colours: channels lose their low bits until the picture has no more.
std::vector<uint32_t> Palette(Image* image) {
    for (int lost = 0; lost < 8; ++lost) {
        const uint32_t keep = (0xFFu << lost) & 0xFF;
        std::vector<uint32_t> palette = {kGround};
        std::vector<uint32_t> rounded = image->rgb;
        for (uint32_t& c : rounded) {
            if (c == kGround) continue;
            c &= keep << 16 | keep << 8 | keep;
            for (uint32_t mapped : kMapped) {
                if (c == mapped) c ^= 1u << lost;
            }
            bool known = false;
            for (uint32_t p : palette) known = known || p == c;
            if (!known) palette.push_back(c);
        }
        if (palette.size() <= 256) {
            image->rgb = rounded;
            return palette;
        }
    }
    return {kGround};
}

void Put(std::string* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

// The header, palette and bottom-up rows of an 8-bit device-independent bitmap; for an
// icon the height counts the mask too, which follows.
std::string Dib(Image image, bool icon) {
    const std::vector<uint32_t> palette = Palette(&image);
    std::string out;
    Put(&out, 40, 4);
    Put(&out, static_cast<uint32_t>(image.width), 4);
    Put(&out, static_cast<uint32_t>(icon ? 2 * image.height : image.height), 4);
    Put(&out, 1, 2);
    Put(&out, 8, 2);
    Put(&out, 0, 4);
    Put(&out, 0, 4);
    Put(&out, 0, 4);
    Put(&out, 0, 4);
    Put(&out, static_cast<uint32_t>(palette.size()), 4);
    Put(&out, 0, 4);
    for (uint32_t c : palette) Put(&out, c, 4);  // blue, green, red, 0
    const int row = (image.width + 3) / 4 * 4;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < row; ++x) {
            uint32_t index = 0;
            for (size_t i = 0; x < image.width && i < palette.size(); ++i) {
                if (palette[i] == image.rgb[static_cast<size_t>(y * image.width + x)]) index = static_cast<uint32_t>(i);
            }
            out.push_back(static_cast<char>(icon && x < image.width && !image.opaque[static_cast<size_t>(y * image.width + x)] ? 0 : index));
        }
    }
    if (!icon) return out;
    const int maskRow = (image.width + 31) / 32 * 4;
    for (int y = image.height - 1; y >= 0; --y) {
        std::string bits(static_cast<size_t>(maskRow), '\0');
        for (int x = 0; x < image.width; ++x) {
            if (!image.opaque[static_cast<size_t>(y * image.width + x)]) bits[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        }
        out += bits;
    }
    return out;
}

bool Write(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && written;
}

bool WriteBitmap(const std::string& path, const Image& image) {
    const std::string dib = Dib(image, false);
    std::string file = "BM";
    const uint32_t paletteEnd = 14 + 40 + 4 * (static_cast<uint32_t>(static_cast<unsigned char>(dib[32])) |
                                               static_cast<uint32_t>(static_cast<unsigned char>(dib[33])) << 8);
    Put(&file, static_cast<uint32_t>(14 + dib.size()), 4);
    Put(&file, 0, 4);
    Put(&file, paletteEnd, 4);
    return Write(path, file + dib);
}

bool WriteIcon(const std::string& path, int code) {
    const int sizes[] = {16, 32};
    std::string directory, images;
    Put(&directory, 0, 2);
    Put(&directory, 1, 2);
    Put(&directory, 2, 2);
    for (int size : sizes) {
        Image image = Blank(size, size);
        GdkPixbuf* pixbuf = TrayImage(code, size);
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(surface);
        gdk_cairo_set_source_pixbuf(cr, pixbuf, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        g_object_unref(pixbuf);
        Append(&image, surface, 0);
        const std::string dib = Dib(image, true);
        directory.push_back(static_cast<char>(size));
        directory.push_back(static_cast<char>(size));
        Put(&directory, 0, 2);  // colour count (0: 256 or more), reserved
        Put(&directory, 1, 2);
        Put(&directory, 8, 2);
        Put(&directory, static_cast<uint32_t>(dib.size()), 4);
        Put(&directory, static_cast<uint32_t>(6 + 16 * 2 + images.size()), 4);
        images += dib;
    }
    return Write(path, directory + images);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: kelmor-win32-pictures FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;
    const int bitmaps[] = {IDB_ADD_SHORTTYPE, IDB_ADD_MAPPING, IDB_MOUSE_TOOL,       IDB_MOUSE_TOOL_CAPTURING,
                           IDB_ABOUT_LOGO,    IDB_DELETE_MAPPING, IDB_DELETE_SHORTTYPE, IDB_HELP_GADGET};
    for (int id : bitmaps) {
        cairo_surface_t* surface = DrawBitmap(id);
        Image image = Blank(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
        Append(&image, surface, 0);
        ok = WriteBitmap(folder + "/bitmap" + std::to_string(id) + ".bmp", image) && ok;
    }
    Image strip = Blank(16 * kToolbarImageCount, 16);
    for (int i = 0; i < kToolbarImageCount; ++i) Append(&strip, ToolbarSurface(i), 16 * i);
    ok = WriteBitmap(folder + "/toolbar.bmp", strip) && ok;
    const int icons[] = {1000, 1003, 1004, 1006};
    for (int code : icons) ok = WriteIcon(folder + "/icon" + std::to_string(code) + ".ico", code) && ok;
    if (!ok) fprintf(stderr, "kelmor-win32-pictures: cannot write into %s\n", folder.c_str());
    return ok ? 0 : 1;
}
