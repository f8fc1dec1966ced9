// png_pixels.h - the pixels of PNG bytes, read back through Cairo, for comparing what a
// PNG holds with what was drawn.
#ifndef VMOD_TESTS_SUPPORT_PNG_PIXELS_H
#define VMOD_TESTS_SUPPORT_PNG_PIXELS_H

#include <cairo.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace vmodtest {

struct PngPixels {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb; // 0xRRGGBB, row by row; empty when the bytes are no PNG
    uint32_t at(int x, int y) const { return rgb[size_t(y) * width + x]; }
};

inline PngPixels DecodePng(const void *bytes, size_t size) {
    struct Reader {
        const unsigned char *bytes;
        size_t size, at;
    } reader{static_cast<const unsigned char *>(bytes), size, 0};
    auto read = [](void *closure, unsigned char *data, unsigned int length) {
        auto *r = static_cast<Reader *>(closure);
        if (r->size - r->at < length) return CAIRO_STATUS_READ_ERROR;
        std::memcpy(data, r->bytes + r->at, length);
        r->at += length;
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_surface_t *surface = cairo_image_surface_create_from_png_stream(read, &reader);
    PngPixels out;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        out.width = cairo_image_surface_get_width(surface);
        out.height = cairo_image_surface_get_height(surface);
        const unsigned char *data = cairo_image_surface_get_data(surface);
        const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(surface));
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x)
                out.rgb.push_back(reinterpret_cast<const uint32_t *>(data + size_t(y) * stride)[x] & 0xFFFFFF);
    }
    cairo_surface_destroy(surface);
    return out;
}

} // namespace vmodtest

#endif
