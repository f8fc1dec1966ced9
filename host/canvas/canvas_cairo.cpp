// canvas_cairo.cpp - a canvas that draws real pixels into an image through Cairo.
//
// Design. The image is a Cairo RGB24 surface, so a pixel is the 32-bit word 0x00RRGGBB,
// the same encoding as the canvas colours. Cairo's own operators cannot do what the
// canvas needs in exclusive-or mode (a bitwise XOR of the pixel with the colour, so that a
// second identical drawing restores every pixel), so a primitive is first drawn as a
// coverage mask into an A8 surface the size of the image, over the primitive's bounding
// box only (a line: over its own pixels), and then applied to the image by hand: copy
// mode blends the colour by the coverage, exclusive-or mode flips the pixels the
// primitive covers. Shapes are drawn without antialiasing on pixel centres, so their
// coverage is all or nothing, and a pixel is flipped at most once however often the
// primitive's path crosses it. Lines, rectangle outlines and arcs in copy mode need no
// mask: Cairo sets the very pixels the mask would hold to the colour, straight into the
// image.
//
// Geometry follows the usual integer canvas conventions: a line includes both end pixels,
// a rectangle outline (left, top, width, height) covers width + 1 x height + 1 pixels, a
// filled rectangle width x height pixels, an arc lies in the same box as the outline.
// Coordinates are clipped to a margin around the image before they reach Cairo, whose
// fixed-point numbers cannot hold the whole int32 range.
//
// Fonts come from fontconfig: a font name is a fontconfig pattern ("DejaVu Sans:bold:
// size=10"); a font specification names a family that fontconfig has, itself or through
// an alias its configuration gives (Helvetica, Times-Roman), or the canvas reports that it
// cannot use it. A few names the system may lack are drawn in the generic family of
// their kind rather than refused: "charter" and "new century schoolbook" in a serif,
// "fixed" (the backup font of notes) in a fixed-pitch face, as the printed outputs do.
// Sizes are points at 96 pixels per inch.
// Text extents are the font's advance width and its ascent plus descent; drawn text
// extends upward from the y given, centred on x under justification 1. A text of several
// lines (broken by line feeds) is as wide as its widest line and as high as its lines
// together, each line justified on its own, the last one ending at y.
#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <utility>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "canvas.h"
#include "canvas/png_quick.h"
#include "canvas/slanted_segment.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "ui/ui_report.h"
#include "vmodhost/vmodhost.h"

namespace {

constexpr int32_t kMaxSide = 16384;
constexpr int32_t kMargin = 4; // pixels beyond the image where clipped geometry ends
constexpr double kFontDpi = 96.0;
constexpr const char *kDefaultFont = "DejaVu Sans:size=10";

constexpr int32_t kCopy = 1;
constexpr int32_t kXor = 3;

// An integer pixel box, inclusive corners.
struct PixelBox {
    int32_t x0, y0, x1, y1;
    bool Empty() const { return x0 > x1 || y0 > y1; }
};

// Takes text as UTF-8 when it is valid UTF-8, otherwise reads each byte as Latin-1:
// Cairo refuses invalid UTF-8, and titles are plain bytes.
std::string ToUtf8(const char *text) {
    const auto *s = reinterpret_cast<const unsigned char *>(text);
    size_t n = std::strlen(text);
    bool valid = true;
    for (size_t i = 0; i < n && valid;) {
        unsigned char c = s[i];
        size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || i + len > n || (len == 2 && c < 0xC2)) {
            valid = false;
            break;
        }
        for (size_t k = 1; k < len; ++k)
            if ((s[i + k] & 0xC0) != 0x80) valid = false;
        i += len;
    }
    if (valid) return std::string(text, n);
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = s[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The lines of a text: split at each line feed, a carriage return just before it dropped.
std::vector<std::string> LinesOf(const std::string &text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

// A font resolved through fontconfig, ready for Cairo.
struct ResolvedFont {
    cairo_font_face_t *face = nullptr;
    double pixelSize = 0;
};

// Counts the canvases alive (change +1 or -1); see ReleaseFontCaches.
void CountCanvas(int change);

class CairoCanvas final : public Ooml_Canvas {
public:
    CairoCanvas(int32_t width, int32_t height, uint32_t background)
        : width_(width), height_(height),
          image_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
          mask_(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height)) {
        CountCanvas(+1);
        if (Ok()) {
            // One row is filled and copied down: a large picture is cleared at memory speed.
            uint32_t *first = &Pixel(0, 0);
            std::fill_n(first, width_, background & 0xFFFFFF);
            for (int32_t y = 1; y < height_; ++y) std::memcpy(&Pixel(0, y), first, sizeof(uint32_t) * width_);
            std::memset(cairo_image_surface_get_data(mask_), 0,
                        static_cast<size_t>(cairo_image_surface_get_stride(mask_)) * height_);
            cairo_surface_mark_dirty(image_);
            cairo_surface_mark_dirty(mask_);
        }
    }
    ~CairoCanvas() override {
        for (auto &entry : fonts_) cairo_font_face_destroy(entry.second.face);
        if (straight_ != nullptr) cairo_destroy(straight_);
        cairo_surface_destroy(mask_);
        cairo_surface_destroy(image_);
        CountCanvas(-1);
    }

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    bool Ok() const {
        return cairo_surface_status(image_) == CAIRO_STATUS_SUCCESS &&
               cairo_surface_status(mask_) == CAIRO_STATUS_SUCCESS;
    }

    uint32_t PixelAt(int32_t x, int32_t y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return UINT32_MAX;
        return const_cast<CairoCanvas *>(this)->Pixel(x, y) & 0xFFFFFF;
    }

    // Saves the image whole or not at all (ofio_SaveOpen); false with *err set.
    bool WritePng(const char *path, Oerr_ErrorReport **err) {
        cairo_surface_mark_dirty(image_);
        Ofio_File *file = ofio_SaveOpen(path, err);
        if (!file) return false;
        cairo_status_t status = cairo_surface_write_to_png_stream(image_, WritePngBytes, file);
        if (status != CAIRO_STATUS_SUCCESS && !ofio_HasError(file)) {
            ofio_SaveCancel(file);
            if (err) *err = oerr_CreateErrorReport("vmodhost_CairoCanvasSavePng", OERR_FAILED, OERR_SEVERITY_ERROR, *err, "cannot write %s: %s",
                                                   path, cairo_status_to_string(status));
            return false;
        }
        return ofio_SaveClose(file, err) == 0;
    }

    // The rectangle (inside the image) as a PNG in a growing heap block.
    bool PngPart(int32_t x, int32_t y, int32_t width, int32_t height, bool quick, unsigned char **bytes,
                 size_t *size) {
        cairo_surface_flush(image_);
        unsigned char *data = cairo_image_surface_get_data(image_);
        const int stride = cairo_image_surface_get_stride(image_);
        unsigned char *first = data + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4;
        std::vector<unsigned char> png;
        if (quick) {
            if (!png_QuickEncode(first, width, height, static_cast<size_t>(stride), png)) return false;
        } else {
            // The part shares the image's memory: only the encoding costs anything.
            cairo_surface_t *part = cairo_image_surface_create_for_data(first, CAIRO_FORMAT_RGB24, width, height, stride);
            cairo_status_t status = cairo_surface_status(part);
            if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_write_to_png_stream(part, AppendPngBytes, &png);
            cairo_surface_destroy(part);
            if (status != CAIRO_STATUS_SUCCESS) return false;
        }
        *bytes = static_cast<unsigned char *>(omsc_HeapMalloc(png.size()));
        if (*bytes == nullptr) return false;
        std::memcpy(*bytes, png.data(), png.size());
        *size = png.size();
        return true;
    }

    static cairo_status_t AppendPngBytes(void *closure, const unsigned char *data, unsigned int length) {
        try {
            static_cast<std::vector<unsigned char> *>(closure)->insert(
                static_cast<std::vector<unsigned char> *>(closure)->end(), data, data + length);
            return CAIRO_STATUS_SUCCESS;
        } catch (...) {
            return CAIRO_STATUS_NO_MEMORY;
        }
    }

    static cairo_status_t WritePngBytes(void *closure, const unsigned char *data, unsigned int length) {
        return ofio_Write(static_cast<Ofio_File *>(closure), data, length) == 0 ? CAIRO_STATUS_SUCCESS
                                                                                : CAIRO_STATUS_WRITE_ERROR;
    }

    // ---- Ooml_Canvas ----

    void setForeground(uint32_t colour, Oerr_ErrorReport **) override { colour_ = colour & 0xFFFFFF; }

    void setDrawMode(int32_t mode, Oerr_ErrorReport **err) override {
        if (mode != kCopy && mode != kXor) {
            UiReport(err, "ooml_CanvasContextSetDrawMode", UI_ERR_BAD_ARGUMENT, "Unknown Draw Mode%s", "");
            return;
        }
        mode_ = mode;
    }

    void setFont(const char *name, Oerr_ErrorReport **err) override {
        // A name already resolved is not parsed again: every title sets its font.
        std::string key = std::string("name:") + name;
        if (UseKnownFont(key)) return;
        const std::string standIn = HasFamily(name) ? std::string() : StandIn(name);
        FcPattern *pattern =
            FcNameParse(reinterpret_cast<const FcChar8 *>(standIn.empty() ? name : standIn.c_str()));
        if (!pattern) {
            UiReport(err, "ooml_CanvasContextSetFont", UI_ERR_FONT, "Cannot Use Font: %s", name);
            return;
        }
        UseFont(key, pattern, err, "ooml_CanvasContextSetFont");
    }

    void setFontSpec(const Ooml_FontSpec &spec, Oerr_ErrorReport **err) override {
        static const char *const function = "ooml_CanvasContextSetFontSpec";
        std::string key = "spec:" + spec.family + ":" + std::to_string(spec.style) + ":" + std::to_string(spec.size);
        if (UseKnownFont(key)) return;
        std::string family = HasFamily(spec.family) ? spec.family : StandIn(spec.family);
        if (family.empty()) {
            UiReport(err, function, UI_ERR_FONT, "Cannot Use Font: %s", spec.family.c_str());
            return;
        }
        FcPattern *pattern = FcPatternCreate();
        if (!pattern) {
            UiReport(err, function, UI_ERR_MEMORY, "Out of Memory%s", "");
            return;
        }
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, (spec.style & 1) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, (spec.style & 2) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddDouble(pattern, FC_SIZE, spec.size);
        UseFont(key, pattern, err, function);
    }

    void setJustification(int32_t justification, Oerr_ErrorReport **) override { justification_ = justification; }

    void getStringExtents(const char *text, CanvasExtents &extents, Oerr_ErrorReport **err) override {
        const ResolvedFont *font = CurrentFont(err);
        if (!font) return;
        const std::vector<std::string> lines = LinesOf(ToUtf8(text));
        cairo_t *cr = cairo_create(mask_);
        SetFontOn(cr, *font, CAIRO_ANTIALIAS_GRAY);
        cairo_font_extents_t fe;
        cairo_font_extents(cr, &fe);
        double widest = 0;
        for (const std::string &line : lines) {
            cairo_text_extents_t te;
            MeasureLine(cr, *font, line, &te);
            widest = std::max(widest, te.x_advance);
        }
        cairo_destroy(cr);
        extents.x1 = 0;
        extents.x2 = Clamp(std::ceil(widest));
        extents.y1 = 0;
        extents.y2 = Clamp(std::ceil(fe.ascent + fe.descent) * static_cast<double>(lines.size()));
    }

    void fillRectangle(int32_t left, int32_t top, int32_t width, int32_t height, Oerr_ErrorReport **) override {
        if (width <= 0 || height <= 0) return;
        PixelBox box = ClipToImage({left, top, Add(left, width - 1), Add(top, height - 1)});
        if (box.Empty()) return;
        // A filled rectangle needs no mask: every pixel of the box is covered.
        for (int32_t y = box.y0; y <= box.y1; ++y) SetRow(y, box.x0, box.x1);
    }

    void drawRectangle(int32_t left, int32_t top, int32_t width, int32_t height, Oerr_ErrorReport **) override {
        if (width < 0 || height < 0) return;
        int32_t right = Add(left, width), bottom = Add(top, height);
        int32_t corners[] = {left, top, right, top, right, bottom, left, bottom, left, top};
        StrokePoints(corners, 5);
    }

    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Oerr_ErrorReport **) override {
        int32_t points[] = {x1, y1, x2, y2};
        StrokePoints(points, 2);
    }

    void drawArc(int32_t left, int32_t top, int32_t width, int32_t height, int32_t start, int32_t extent,
                 Oerr_ErrorReport **) override {
        if (width < 0 || height < 0 || extent == 0) return;
        PixelBox box = ClipToImage({Add(left, -1), Add(top, -1), Add(Add(left, width), 1), Add(Add(top, height), 1)});
        if (box.Empty()) return;
        // Cairo's fixed-point coordinates cannot hold a huge ellipse; such an arc has no
        // visible curvature anyway, so it is left out.
        if (width > (1 << 22) || height > (1 << 22) || std::abs(static_cast<double>(left)) > (1 << 22) ||
            std::abs(static_cast<double>(top)) > (1 << 22))
            return;
        if (width == 0 || height == 0) {
            drawLine(left, top, Add(left, width), Add(top, height), nullptr);
            return;
        }
        auto stroke = [&](cairo_t *cr) {
            cairo_save(cr);
            cairo_translate(cr, left + width / 2.0 + 0.5, top + height / 2.0 + 0.5);
            cairo_scale(cr, width / 2.0, height / 2.0);
            // 1/64 degree, counter-clockwise from three o'clock on a y-down canvas.
            double a0 = -start / 64.0 * M_PI / 180.0;
            double sweep = std::clamp(extent / 64.0, -360.0, 360.0) * M_PI / 180.0;
            cairo_new_sub_path(cr);
            if (sweep > 0)
                cairo_arc_negative(cr, 0, 0, 1, a0, a0 - sweep);
            else
                cairo_arc(cr, 0, 0, 1, a0, a0 - sweep);
            cairo_restore(cr);
            cairo_set_line_width(cr, 1);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
            cairo_stroke(cr);
        };
        if (mode_ == kCopy)
            DrawStraight(stroke);
        else
            DrawMasked(box, stroke);
    }

    void drawPolyline(const int32_t *points, int32_t count, Oerr_ErrorReport **) override {
        StrokePoints(points, count);
    }

    void drawText(const char *text, int32_t x, int32_t y, Oerr_ErrorReport **err) override {
        const ResolvedFont *font = CurrentFont(err);
        if (!font || !*text) return;
        const std::vector<std::string> lines = LinesOf(ToUtf8(text));
        // One context measures the font and every line.
        cairo_t *measure = cairo_create(mask_);
        SetFontOn(measure, *font, CAIRO_ANTIALIAS_GRAY);
        cairo_font_extents_t fe;
        cairo_font_extents(measure, &fe);
        // Lines stand one extent height apart, the same height getStringExtents gives.
        const double lineHeight = std::ceil(fe.ascent + fe.descent);
        for (size_t k = 0; k < lines.size(); ++k)
            DrawTextLine(measure, *font, fe, lines[k], x, y - lineHeight * static_cast<double>(lines.size() - 1 - k));
        cairo_destroy(measure);
    }

private:
    uint32_t &Pixel(int32_t x, int32_t y) {
        // The surface's data and stride never change; they are looked up once.
        if (pixels_ == nullptr) {
            pixels_ = cairo_image_surface_get_data(image_);
            pixelStride_ = static_cast<size_t>(cairo_image_surface_get_stride(image_));
        }
        unsigned char *row = pixels_ + static_cast<size_t>(y) * pixelStride_;
        return reinterpret_cast<uint32_t *>(row)[x];
    }
    unsigned char &Coverage(int32_t x, int32_t y) {
        return cairo_image_surface_get_data(mask_)[static_cast<size_t>(y) * cairo_image_surface_get_stride(mask_) + x];
    }

    static int32_t Clamp(double v) {
        if (std::isnan(v)) return 0;
        return static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
    }
    static int32_t Add(int32_t a, int64_t b) { return Clamp(static_cast<double>(a) + static_cast<double>(b)); }

    PixelBox ClipToImage(PixelBox box) const {
        return {std::max(box.x0, 0), std::max(box.y0, 0), std::min(box.x1, width_ - 1), std::min(box.y1, height_ - 1)};
    }

    // Covers the pixels x0..x1 of row y (all within the image) fully.
    void SetRow(int32_t y, int32_t x0, int32_t x1) {
        if (x0 > x1) return;
        if (mode_ == kCopy) {
            uint32_t *row = &Pixel(x0, y);
            std::fill(row, row + (x1 - x0 + 1), colour_);
            return;
        }
        for (int32_t x = x0; x <= x1; ++x) Apply(x, y, 255);
    }

    // Applies the current colour to pixel (x, y) with coverage 0..255.
    void Apply(int32_t x, int32_t y, unsigned coverage) {
        uint32_t &p = Pixel(x, y);
        if (mode_ == kXor) {
            if (coverage >= 128) p = (p ^ colour_) & 0xFFFFFF;
            return;
        }
        if (coverage == 255) {
            p = colour_;
            return;
        }
        // Each channel becomes (src * coverage + dst * (255 - coverage) + 127) / 255. Red
        // and blue are worked out side by side in 16-bit lanes, which that sum (at most
        // 255 * 255) cannot overflow, and (v + 127) / 255 is found as (t + (t >> 8)) >> 8
        // with t = v + 128, which is the same for every v up to 255 * 255.
        const uint32_t rest = 255 - coverage;
        uint32_t redBlue = (colour_ & 0xFF00FF) * coverage + (p & 0xFF00FF) * rest + 0x800080;
        redBlue = ((redBlue + ((redBlue >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
        uint32_t green = ((colour_ >> 8) & 0xFF) * coverage + ((p >> 8) & 0xFF) * rest + 128;
        green = (green + (green >> 8)) >> 8;
        p = redBlue | green << 8;
    }

    // Lets draw stroke straight into the image in the current colour. Only for copy mode
    // and shapes without antialiasing: their coverage is all or nothing, so Cairo sets
    // exactly the pixels the mask would and to the same colour, without a mask to clear
    // and read back. Cairo sets the unused top byte of what it draws, which no reader of
    // the image looks at.
    template <class Draw> void DrawStraight(Draw &&draw) {
        cairo_surface_mark_dirty(image_);
        // One context serves every such drawing: draw sets what it uses and ends its path.
        if (straight_ == nullptr) {
            straight_ = cairo_create(image_);
            cairo_set_antialias(straight_, CAIRO_ANTIALIAS_NONE);
        }
        cairo_set_source_rgb(straight_, ((colour_ >> 16) & 0xFF) / 255.0, ((colour_ >> 8) & 0xFF) / 255.0,
                             (colour_ & 0xFF) / 255.0);
        draw(straight_);
        cairo_new_path(straight_);
        cairo_surface_flush(image_);
    }

    // Clears the mask over box, lets draw paint coverage there, then applies it.
    template <class Draw>
    void DrawMasked(const PixelBox &box, Draw &&draw) {
        DrawMasked(box, std::forward<Draw>(draw), [&box](int32_t, int32_t &x0, int32_t &x1) {
            x0 = box.x0;
            x1 = box.x1;
        });
    }

    // As above, but only the columns span(y, x0, x1) gives of each row are cleared and
    // read: the caller promises the drawing covers nothing outside them. A long diagonal
    // line then costs its length, not the area of its bounding box.
    template <typename Draw, typename Span> void DrawMasked(const PixelBox &box, Draw &&draw, Span &&span) {
        DrawMasked(box, std::forward<Draw>(draw), std::forward<Span>(span), [](int32_t, int32_t, unsigned) {});
    }

    // As above, and tells record(x, y, coverage) of every pixel it applies.
    template <typename Draw, typename Span, typename Record>
    void DrawMasked(const PixelBox &box, Draw &&draw, Span &&span, Record &&record) {
        // Each row's columns are worked out once; a long line visits many rows.
        spans_.clear();
        for (int32_t y = box.y0; y <= box.y1; ++y) {
            int32_t x0 = 0, x1 = -1;
            span(y, x0, x1);
            spans_.push_back({std::max(x0, box.x0), std::min(x1, box.x1)});
        }
        cairo_surface_flush(mask_);
        unsigned char *coverage = cairo_image_surface_get_data(mask_);
        const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(mask_));
        for (int32_t y = box.y0; y <= box.y1; ++y) {
            const auto [x0, x1] = spans_[static_cast<size_t>(y - box.y0)];
            if (x0 > x1) continue;
            unsigned char *row = coverage + static_cast<size_t>(y) * stride;
            const size_t count = static_cast<size_t>(x1 - x0 + 1);
            // A line's few columns are cleared with one fixed-size store where the row has
            // room for it: what lies past the span is not read for this drawing.
            if (count <= 16 && static_cast<size_t>(x0) + 16 <= stride)
                std::memset(row + x0, 0, 16);
            else
                std::memset(row + x0, 0, count);
        }
        cairo_surface_mark_dirty(mask_);
        cairo_t *cr = cairo_create(mask_);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        draw(cr);
        cairo_destroy(cr);
        cairo_surface_flush(mask_);
        for (int32_t y = box.y0; y <= box.y1; ++y) {
            const auto [x0, x1] = spans_[static_cast<size_t>(y - box.y0)];
            const unsigned char *row = coverage + static_cast<size_t>(y) * stride;
            for (int32_t x = x0; x <= x1; ++x) {
                // Most of a row is uncovered: skip it eight bytes at a time.
                uint64_t word = 0;
                if (x + 8 <= x1 + 1 && (std::memcpy(&word, row + x, 8), word == 0)) {
                    x += 7;
                    continue;
                }
                if (unsigned c = row[x]) {
                    Apply(x, y, c);
                    record(x, y, c);
                }
            }
        }
    }

    // A glyph draws the same few small polylines at every node. Cairo's pixels for a
    // polyline move with it by whole pixels, as its outline is worked out from the
    // points' differences, so the pixels of a shape met before are applied again without
    // Cairo. That holds while nothing is clipped: the shape, with room for the longest
    // miter, must lie inside the image.
    template <class Draw> void StrokeRepeated(const int32_t *points, int32_t count, const PixelBox &box, Draw &&draw) {
        constexpr int32_t kMostPoints = 16, kLongestSide = 32;
        constexpr int32_t kRoom = 8;                  // past a miter's reach of five pixels
        constexpr size_t kMostCachedPixels = 1 << 20; // a few megabytes
        const bool repeatable = count <= kMostPoints && box.x1 - box.x0 < kLongestSide &&
                                box.y1 - box.y0 < kLongestSide && box.x0 >= kRoom && box.y0 >= kRoom &&
                                box.x1 < width_ - kRoom && box.y1 < height_ - kRoom;
        if (!repeatable) {
            DrawMasked(box, std::forward<Draw>(draw));
            return;
        }
        const int32_t x0 = points[0], y0 = points[1];
        std::vector<int32_t> shape(points, points + 2 * count);
        for (int32_t i = 0; i < count; ++i) shape[2 * i] -= x0, shape[2 * i + 1] -= y0;
        if (const auto found = shapes_.find(shape); found != shapes_.end()) {
            for (const ShapePixel &p : found->second) Apply(x0 + p.dx, y0 + p.dy, p.coverage);
            return;
        }
        std::vector<ShapePixel> pixels;
        DrawMasked(
            box, std::forward<Draw>(draw),
            [&box](int32_t, int32_t &from, int32_t &to) {
                from = box.x0;
                to = box.x1;
            },
            [&](int32_t x, int32_t y, unsigned coverage) {
                pixels.push_back({static_cast<int16_t>(x - x0), static_cast<int16_t>(y - y0),
                                  static_cast<uint8_t>(coverage)});
            });
        // A shape's key and record count too, so that shapes without pixels cannot pile up.
        const size_t cost = pixels.size() + shape.size() + 8;
        if (cachedPixels_ + cost > kMostCachedPixels) return;
        cachedPixels_ += cost;
        shapes_.emplace(std::move(shape), std::move(pixels));
    }

    // The columns of each row that a one-pixel stroke from (x1, y1) to (x2, y2) with
    // square caps can cover. Cairo covers a pixel when its centre lies inside the stroke:
    // within half a pixel of the line across it, which along a row is within half the
    // length over |y2 - y1| of where the line crosses the row's centre, and within the
    // segment's box grown by the caps. A further pixel on each side allows for Cairo's
    // fixed-point rounding, so a row's span is the line's own pixels plus a few.
    struct SegmentColumns {
        double low, high; // the box's columns, grown
        double crossingAtZero = 0, step = 0, reach = 0;
        double y1;
        bool level;

        SegmentColumns(double x1, double y1In, double x2, double y2)
            : low(std::min(x1, x2) - 1), high(std::max(x1, x2) + 1), y1(y1In), level(y2 == y1In) {
            if (level) return;
            const double dx = x2 - x1, dy = y2 - y1;
            step = dx / dy;
            crossingAtZero = x1 + (0.5 - y1) * step;
            reach = 0.5 * std::hypot(dx, dy) / std::abs(dy) + 0.125;
        }

        void operator()(int32_t y, int32_t &from, int32_t &to) const {
            double a = low, b = high;
            if (level) {
                if (std::abs(static_cast<double>(y) + 0.5 - y1) > 1) {
                    from = 0, to = -1;
                    return;
                }
            } else {
                const double crossing = crossingAtZero + static_cast<double>(y) * step;
                a = std::max(a, crossing - reach);
                b = std::min(b, crossing + reach);
            }
            from = Clamp(std::floor(a) - 1);
            to = Clamp(std::ceil(b) + 1);
        }
    };

    // Clips the segment to the image plus a margin (Liang-Barsky); false when it misses.
    bool ClipSegment(double &x1, double &y1, double &x2, double &y2) const {
        double lo[2] = {-kMargin, -kMargin}, hi[2] = {static_cast<double>(width_) + kMargin,
                                                       static_cast<double>(height_) + kMargin};
        double t0 = 0, t1 = 1, d[2] = {x2 - x1, y2 - y1}, p0[2] = {x1, y1};
        for (int axis = 0; axis < 2; ++axis) {
            if (d[axis] == 0) {
                if (p0[axis] < lo[axis] || p0[axis] > hi[axis]) return false;
                continue;
            }
            double ta = (lo[axis] - p0[axis]) / d[axis], tb = (hi[axis] - p0[axis]) / d[axis];
            if (ta > tb) std::swap(ta, tb);
            t0 = std::max(t0, ta);
            t1 = std::min(t1, tb);
            if (t0 > t1) return false;
        }
        x2 = p0[0] + t1 * d[0];
        y2 = p0[1] + t1 * d[1];
        x1 = p0[0] + t0 * d[0];
        y1 = p0[1] + t0 * d[1];
        return true;
    }

    // True when every segment of the polyline is level or upright: its joins are right
    // angles or turn back, whose miters reach less than a pixel past the corner.
    static bool Rectilinear(const int32_t *points, int32_t count) {
        for (int32_t i = 0; i + 1 < count; ++i)
            if (points[2 * i] != points[2 * i + 2] && points[2 * i + 1] != points[2 * i + 3]) return false;
        return true;
    }

    // Sets the pixels of a polyline whose segments are all level or upright, or of a
    // single point. Such a stroke one pixel wide with square caps, from pixel centre to
    // pixel centre, covers whole pixels: each segment's row or column from end to end,
    // its right-angle joins inside them. Cairo sets exactly those, so they need no Cairo
    // call. False, having set nothing, where that does not hold or is not known to:
    // when no segment has length, and where the line turns straight back, whose join
    // ends at the turning pixel's centre and so leaves that pixel out. In exclusive-or
    // mode a pixel two segments share would flip twice, so only a single segment is set.
    bool SetRectilinear(const int32_t *points, int32_t count) {
        if (count == 1) {
            if (points[0] >= 0 && points[0] < width_ && points[1] >= 0 && points[1] < height_)
                Apply(points[0], points[1], 255);
            return true;
        }
        if (mode_ != kCopy && count > 2) return false;
        auto sign = [](int32_t a, int32_t b) { return (b > a) - (b < a); };
        int previousX = 0, previousY = 0;
        bool any = false;
        for (int32_t i = 0; i + 1 < count; ++i) {
            const int dx = sign(points[2 * i], points[2 * i + 2]), dy = sign(points[2 * i + 1], points[2 * i + 3]);
            if (dx == 0 && dy == 0) continue;
            if (any && dx == -previousX && dy == -previousY) return false;
            previousX = dx, previousY = dy;
            any = true;
        }
        if (!any) return false;
        for (int32_t i = 0; i + 1 < count; ++i) {
            const int32_t x1 = points[2 * i], y1 = points[2 * i + 1], x2 = points[2 * i + 2], y2 = points[2 * i + 3];
            if (x1 == x2 && y1 == y2) continue;
            const PixelBox box = ClipToImage({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
            for (int32_t y = box.y0; y <= box.y1; ++y) SetRow(y, box.x0, box.x1);
        }
        return true;
    }

    // Sets the pixels of the slanted segment points[0..3] as Cairo would stroke it, from
    // pixel centre to pixel centre after the same clipping. False, having set nothing,
    // where Cairo is to draw it.
    bool SetSlanted(const int32_t *points) {
        double x1 = points[0], y1 = points[1], x2 = points[2], y2 = points[3];
        if (!ClipSegment(x1, y1, x2, y2)) return true;
        int32_t firstRow = 0;
        if (!slanted_SegmentRows(x1 + 0.5, y1 + 0.5, x2 + 0.5, y2 + 0.5, width_, height_, segmentRows_, &firstRow))
            return false;
        for (size_t k = 0; k < segmentRows_.size(); ++k)
            SetRow(firstRow + static_cast<int32_t>(k), segmentRows_[k].from, segmentRows_[k].to);
        return true;
    }

    // Strokes an open polyline of count points one pixel wide, end pixels included.
    void StrokePoints(const int32_t *points, int32_t count) {
        if (count <= 0) return;
        if (Rectilinear(points, count) && SetRectilinear(points, count)) return;
        int64_t minX = points[0], maxX = points[0], minY = points[1], maxY = points[1];
        for (int32_t i = 1; i < count; ++i) {
            minX = std::min<int64_t>(minX, points[2 * i]);
            maxX = std::max<int64_t>(maxX, points[2 * i]);
            minY = std::min<int64_t>(minY, points[2 * i + 1]);
            maxY = std::max<int64_t>(maxY, points[2 * i + 1]);
        }
        PixelBox box = ClipToImage({Clamp(minX - 1.0), Clamp(minY - 1.0), Clamp(maxX + 1.0), Clamp(maxY + 1.0)});
        if (box.Empty()) return;
        auto stroke = [&](cairo_t *cr) {
            cairo_set_line_width(cr, 1);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
            if (count == 1) {
                cairo_rectangle(cr, points[0], points[1], 1, 1);
                cairo_fill(cr);
                return;
            }
            for (int32_t i = 0; i + 1 < count; ++i) {
                double x1 = points[2 * i], y1 = points[2 * i + 1], x2 = points[2 * i + 2], y2 = points[2 * i + 3];
                if (!ClipSegment(x1, y1, x2, y2)) continue;
                bool joined = i > 0 && x1 == points[2 * i] && y1 == points[2 * i + 1];
                if (!joined) cairo_move_to(cr, x1 + 0.5, y1 + 0.5);
                cairo_line_to(cr, x2 + 0.5, y2 + 0.5);
            }
            cairo_stroke(cr);
        };
        if (mode_ == kCopy && count == 2 && SetSlanted(points)) return;
        // A sharp join's miter can reach past the box, where the mask drawing has always
        // cut it off; only shapes whose joins stay inside it are drawn straight.
        if (mode_ == kCopy && (count <= 2 || Rectilinear(points, count))) {
            DrawStraight(stroke);
            return;
        }
        if (count != 2) {
            StrokeRepeated(points, count, box, stroke);
            return;
        }
        // One segment (an arrow, a line): only the columns along it.
        const double x1 = points[0] + 0.5, y1 = points[1] + 0.5, x2 = points[2] + 0.5, y2 = points[3] + 0.5;
        DrawMasked(box, stroke, SegmentColumns(x1, y1, x2, y2));
    }

    // Draws one line of text whose bottom is at y.
    // measure has the font set for smoothed text.
    void DrawTextLine(cairo_t *measure, const ResolvedFont &font, const cairo_font_extents_t &fe,
                      const std::string &utf8, double x, double y) {
        if (utf8.empty()) return;
        cairo_text_extents_t te;
        MeasureLine(measure, font, utf8, &te);
        double left = x;
        if (justification_ == 1) left -= te.x_advance / 2;
        else if (justification_ == 2) left -= te.x_advance;
        double baseline = y - fe.descent;
        double top = baseline - fe.ascent;
        if (left > width_ + kMargin || left + te.x_advance + fe.max_x_advance < -kMargin || top > height_ + kMargin ||
            baseline + fe.descent + fe.height < -kMargin)
            return;
        // Smoothed glyphs stay within their ink extents, as measured above, but for the
        // rounding of each glyph's position and outline to whole pixels: a margin of three
        // pixels holds them, and the mask work is then the size of the text. Exclusive-or
        // text is drawn with glyphs hinted for all-or-nothing coverage, which were not
        // measured: it keeps a box any glyph of the font fits in.
        PixelBox box;
        if (mode_ == kXor) {
            double slack = fe.max_x_advance + fe.height + 2;
            box = ClipToImage({Clamp(std::floor(left - slack)), Clamp(std::floor(top - slack)),
                               Clamp(std::ceil(left + te.x_advance + slack)),
                               Clamp(std::ceil(baseline + fe.descent + slack))});
        } else {
            const double margin = 3;
            box = ClipToImage({Clamp(std::floor(left + te.x_bearing - margin)),
                               Clamp(std::floor(baseline + te.y_bearing - margin)),
                               Clamp(std::ceil(left + te.x_bearing + te.width + margin)),
                               Clamp(std::ceil(baseline + te.y_bearing + te.height + margin))});
        }
        if (box.Empty()) return;
        // Exclusive-or needs all-or-nothing coverage; copy mode may smooth the edges.
        cairo_antialias_t antialias = mode_ == kXor ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY;
        DrawMasked(box, [&](cairo_t *cr) {
            SetFontOn(cr, font, antialias);
            cairo_move_to(cr, left, baseline);
            cairo_show_text(cr, utf8.c_str());
        });
    }

    // The extents of a line of smoothed text in font, measured with cr (which has that
    // font set). A title is measured and then drawn: the last line measured is kept.
    void MeasureLine(cairo_t *cr, const ResolvedFont &font, const std::string &line, cairo_text_extents_t *te) {
        if (measuredFont_ == &font && measuredLine_ == line) {
            *te = measured_;
            return;
        }
        cairo_text_extents(cr, line.c_str(), te);
        measuredFont_ = &font;
        measuredLine_ = line;
        measured_ = *te;
    }

    // ---- fonts ----

    // The generic family drawn for a name the system lacks, or "" when there is none.
    static std::string StandIn(const std::string &name) {
        static const char *const kStandIns[][2] = {
            {"charter", "serif"}, {"new century schoolbook", "serif"}, {"fixed", "monospace"}};
        std::string lower;
        for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        for (const auto &standIn : kStandIns)
            if (lower == standIn[0]) return standIn[1];
        return std::string();
    }

    // The families fontconfig's configuration offers for family, in preference order.
    static std::vector<std::string> SubstitutedFamilies(const std::string &family) {
        std::vector<std::string> families;
        FcPattern *pattern = FcPatternCreate();
        if (!pattern) return families;
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcChar8 *name = nullptr;
        for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i)
            families.emplace_back(reinterpret_cast<const char *>(name));
        FcPatternDestroy(pattern);
        return families;
    }

    // True when fontconfig has family itself, or a font its configuration names as that
    // family's stand-in ("Helvetica" is often served by a metric-compatible sans). The
    // configuration appends the same defaults to every name, known or not; those, and
    // what follows them, do not count.
    // Asked once per family and remembered: the configuration does not change while the
    // program runs, and a model with many notes selects the same few fonts again and again.
    static bool HasFamily(const std::string &family) {
        static std::map<std::string, bool> known;
        auto found = known.find(family);
        if (found != known.end()) return found->second;
        const bool has = LooksUpFamily(family);
        known.emplace(family, has);
        return has;
    }

    static bool LooksUpFamily(const std::string &family) {
        if (family.empty()) return false;
        const std::vector<std::string> unknown = SubstitutedFamilies("vmod-no-such-family");
        const std::string defaultsStart = unknown.size() > 1 ? unknown[1] : std::string();
        std::vector<std::string> offered = SubstitutedFamilies(family);
        if (offered.empty()) offered.push_back(family);
        for (size_t i = 0; i < offered.size(); ++i) {
            if (i > 0 && offered[i] == defaultsStart) break;
            if (IsInstalled(offered[i])) return true;
        }
        return false;
    }

    static bool IsInstalled(const std::string &family) {
        FcPattern *pattern = FcPatternCreate();
        if (!pattern) return false;
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
        FcObjectSet *objects = FcObjectSetBuild(FC_FAMILY, static_cast<char *>(nullptr));
        FcFontSet *fonts = objects ? FcFontList(nullptr, pattern, objects) : nullptr;
        bool found = fonts && fonts->nfont > 0;
        if (fonts) FcFontSetDestroy(fonts);
        if (objects) FcObjectSetDestroy(objects);
        FcPatternDestroy(pattern);
        return found;
    }

    // Makes the font resolved under key the current one; false when there is none.
    bool UseKnownFont(const std::string &key) {
        auto found = fonts_.find(key);
        if (found == fonts_.end()) return false;
        current_ = &found->second;
        return true;
    }

    // Resolves pattern (taking it over) and makes it the current font.
    void UseFont(const std::string &key, FcPattern *pattern, Oerr_ErrorReport **err, const char *function) {
        auto found = fonts_.find(key);
        if (found != fonts_.end()) {
            FcPatternDestroy(pattern);
            current_ = &found->second;
            return;
        }
        ResolvedFont font = Resolve(pattern);
        if (!font.face) {
            UiReport(err, function, UI_ERR_FONT, "Cannot Use Font: %s", key.c_str());
            return;
        }
        current_ = &fonts_.emplace(key, font).first->second;
    }

    static ResolvedFont Resolve(FcPattern *pattern) {
        ResolvedFont font;
        FcPatternDel(pattern, FC_DPI);
        FcPatternAddDouble(pattern, FC_DPI, kFontDpi);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern *match = FcFontMatch(nullptr, pattern, &result);
        FcPatternDestroy(pattern);
        if (!match) return font;
        double pixelSize = 0;
        if (FcPatternGetDouble(match, FC_PIXEL_SIZE, 0, &pixelSize) != FcResultMatch || !(pixelSize > 0) ||
            pixelSize > 4096)
            pixelSize = 13;
        cairo_font_face_t *face = cairo_ft_font_face_create_for_pattern(match);
        FcPatternDestroy(match);
        if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
            cairo_font_face_destroy(face);
            return font;
        }
        font.face = face;
        font.pixelSize = pixelSize;
        return font;
    }

    const ResolvedFont *CurrentFont(Oerr_ErrorReport **err) {
        if (!current_) {
            FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>(kDefaultFont));
            if (pattern) UseFont(kDefaultFont, pattern, err, "ooml_CanvasDrawText");
        }
        return current_;
    }

    static void SetFontOn(cairo_t *cr, const ResolvedFont &font, cairo_antialias_t antialias) {
        cairo_set_font_face(cr, font.face);
        cairo_set_font_size(cr, font.pixelSize);
        cairo_font_options_t *options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, antialias);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        cairo_set_font_options(cr, options);
        cairo_font_options_destroy(options);
    }

    int32_t width_, height_;
    cairo_surface_t *image_;
    cairo_t *straight_ = nullptr; // draws copy-mode strokes straight into image_
    unsigned char *pixels_ = nullptr;
    size_t pixelStride_ = 0;
    std::vector<std::pair<int32_t, int32_t>> spans_;
    std::vector<SegmentRow> segmentRows_; // the rows of the slanted segment being set
    // The pixels of polylines drawn before, by their points relative to the first.
    struct ShapePixel {
        int16_t dx, dy;
        uint8_t coverage;
    };
    std::map<std::vector<int32_t>, std::vector<ShapePixel>> shapes_;
    size_t cachedPixels_ = 0;
    cairo_surface_t *mask_;
    uint32_t colour_ = 0x000000;
    int32_t mode_ = kCopy;
    int32_t justification_ = 0;
    std::map<std::string, ResolvedFont> fonts_;
    const ResolvedFont *current_ = nullptr;
    const ResolvedFont *measuredFont_ = nullptr; // see MeasureLine
    std::string measuredLine_;
    cairo_text_extents_t measured_{};
};

CairoCanvas *AsCairo(Ooml_Canvas *canvas) { return dynamic_cast<CairoCanvas *>(canvas); }

// Cairo and fontconfig keep process-wide caches (fonts, the parsed configuration). They
// are released at exit when no canvas is left, so that leak checkers see a clean process.
int liveCanvases = 0;

void ReleaseFontCaches() {
    if (liveCanvases != 0) return;
    cairo_debug_reset_static_data();
    FcFini();
}

void CountCanvas(int change) {
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit(ReleaseFontCaches);
    }
    liveCanvases += change;
}

} // namespace

extern "C" {

VMODHOST_API int32_t vmodhost_HasCairo(void) { return 1; }

VMODHOST_API Ooml_Canvas *vmodhost_CairoCanvasCreate(int32_t width, int32_t height, uint32_t background) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
    try {
        auto *canvas = new CairoCanvas(width, height, background);
        if (!canvas->Ok()) {
            delete canvas;
            return nullptr;
        }
        return canvas;
    } catch (...) {
        return nullptr;
    }
}

VMODHOST_API int32_t vmodhost_CairoCanvasWritePng(Ooml_Canvas *canvas, const char *path) {
    return vmodhost_CairoCanvasSavePng(canvas, path, nullptr);
}

VMODHOST_API int32_t vmodhost_CairoCanvasSavePng(Ooml_Canvas *canvas, const char *path, Oerr_ErrorReport **err) {
    CairoCanvas *cairo = AsCairo(canvas);
    if (!cairo || !path) {
        if (err) *err = oerr_CreateErrorReport("vmodhost_CairoCanvasSavePng", OERR_FAILED, OERR_SEVERITY_ERROR, *err, "no picture to write");
        return 0;
    }
    return cairo->WritePng(path, err) ? 1 : 0;
}

VMODHOST_API int32_t vmodhost_CairoCanvasPngPart(Ooml_Canvas *canvas, int32_t x, int32_t y, int32_t width,
                                                 int32_t height, int32_t quick, unsigned char **bytes, size_t *size) {
    CairoCanvas *cairo = AsCairo(canvas);
    if (!cairo || !bytes || !size || width <= 0 || height <= 0 || x < 0 || y < 0 ||
        int64_t(x) + width > cairo->Width() || int64_t(y) + height > cairo->Height())
        return 0;
    try {
        return cairo->PngPart(x, y, width, height, quick != 0, bytes, size) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

VMODHOST_API uint32_t vmodhost_CairoCanvasPixel(Ooml_Canvas *canvas, int32_t x, int32_t y) {
    CairoCanvas *cairo = AsCairo(canvas);
    return cairo ? cairo->PixelAt(x, y) : UINT32_MAX;
}

} // extern "C"
