// Elements of an annotation layer: rectangles, ellipses, polylines, polygons, text and
// groups, and the coordinate conversion their positions pass through.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <cstring>
#include <unistd.h>
#include <new>

#include "oant_internal.h"

using namespace anno;

namespace {

const AttrSpec nameSpec{OANT_NAME, "s"};
const AttrSpec sizeUnitSpec{OANT_SIZE_UNIT, "is"};
const AttrSpec positionUnitSpec{OANT_POSITION_UNIT, "is"};

// ---- the scratch file's records ----
// A layer of a million elements writes its records once and reads them back once, so
// they are kept short: counts, lengths and small integers as variable-length numbers,
// the common units as one byte, only the coordinates that are not zero, and each group
// member as how many elements before the group it was made.

void putBytes(std::string &out, const void *data, size_t size) { out.append(static_cast<const char *>(data), size); }
template <typename T> void putValue(std::string &out, T value) { putBytes(out, &value, sizeof value); }
void putCount(std::string &out, uint64_t value) {
    for (; value >= 0x80; value >>= 7)
        out += static_cast<char>(value | 0x80);
    out += static_cast<char>(value);
}
void putInteger(std::string &out, int64_t value) { // small of either sign: zigzag
    putCount(out, (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63));
}
void putText(std::string &out, const std::string &text) {
    putCount(out, text.size());
    out += text;
}
enum : uint8_t { kInches = 0, kPoints = 1, kUnitNamed = 2 };
void putUnit(std::string &out, const std::string &unit) {
    if (unit == "inches")
        out += static_cast<char>(kInches);
    else if (unit == "points")
        out += static_cast<char>(kPoints);
    else {
        out += static_cast<char>(kUnitNamed);
        putText(out, unit);
    }
}

// Which of an element's optional fields its record holds.
enum : uint8_t { kHasX = 1, kHasY = 2, kHasW = 4, kHasH = 8, kHasSize = 16, kHasAlignment = 32, kHasText = 64 };

bool nonZero(double value) { // -0 is kept as well
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits != 0;
}

struct Reader {
    const char *at, *end;
    bool ok = true;
    void bytes(void *data, size_t size) {
        if (static_cast<size_t>(end - at) < size) {
            ok = false;
            return;
        }
        std::memcpy(data, at, size);
        at += size;
    }
    template <typename T> T value() {
        T v{};
        bytes(&v, sizeof v);
        return v;
    }
    uint64_t count() {
        uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at == end) {
                ok = false;
                return 0;
            }
            const auto byte = static_cast<unsigned char>(*at++);
            v |= static_cast<uint64_t>(byte & 0x7F) << shift;
            if (byte < 0x80)
                return v;
        }
        ok = false;
        return 0;
    }
    int64_t integer() {
        const uint64_t v = count();
        return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
    }
    void text(std::string &out) {
        uint64_t size = count();
        if (!ok || static_cast<uint64_t>(end - at) < size) {
            ok = false;
            return;
        }
        out.assign(at, static_cast<size_t>(size));
        at += size;
    }
    void unit(std::string &out) {
        const auto code = value<uint8_t>();
        if (code == kInches)
            out = "inches";
        else if (code == kPoints)
            out = "points";
        else
            text(out);
    }
};

// The record of d, which is to be the element at index `self`, into out.
void encode(const Oant_Elements &elements, const ElementData &d, uint64_t self, std::string &out) {
    out.clear();
    putValue<uint8_t>(out, static_cast<uint8_t>(d.kind));
    putText(out, d.name);
    putUnit(out, d.sizeUnit);
    putUnit(out, d.positionUnit);
    putInteger(out, d.style);
    const uint8_t has = (nonZero(d.x) ? kHasX : 0) | (nonZero(d.y) ? kHasY : 0) | (nonZero(d.w) ? kHasW : 0) |
                        (nonZero(d.h) ? kHasH : 0) | (nonZero(d.size) ? kHasSize : 0) |
                        (d.halign != 0 || d.valign != 0 ? kHasAlignment : 0) | (d.text.empty() ? 0 : kHasText);
    putValue<uint8_t>(out, has);
    for (auto [bit, v] : {std::pair{kHasX, d.x}, {kHasY, d.y}, {kHasW, d.w}, {kHasH, d.h}, {kHasSize, d.size}})
        if (has & bit)
            putValue(out, v);
    if (has & kHasAlignment) {
        putInteger(out, d.halign);
        putInteger(out, d.valign);
    }
    if (has & kHasText)
        putText(out, d.text);
    putCount(out, d.points.size());
    for (const auto &p : d.points) {
        putValue(out, p.first);
        putValue(out, p.second);
    }
    putCount(out, d.members.size());
    // Members are made before their group: each is written as how far back it lies.
    for (const Oant_Element *m : d.members)
        putCount(out, self - elementIndex(elements, m));
}

bool decode(const Oant_Elements &elements, const char *at, size_t size, uint64_t self, ElementData &d) {
    Reader r{at, at + size};
    d.kind = static_cast<ElementKind>(r.value<uint8_t>());
    r.text(d.name);
    r.unit(d.sizeUnit);
    r.unit(d.positionUnit);
    d.style = static_cast<int>(r.integer());
    const auto has = r.value<uint8_t>();
    for (auto [bit, v] : {std::pair{kHasX, &d.x}, {kHasY, &d.y}, {kHasW, &d.w}, {kHasH, &d.h}, {kHasSize, &d.size}})
        *v = (has & bit) ? r.value<double>() : 0.0;
    d.halign = (has & kHasAlignment) ? static_cast<int>(r.integer()) : 0;
    d.valign = (has & kHasAlignment) ? static_cast<int>(r.integer()) : 0;
    if (has & kHasText)
        r.text(d.text);
    else
        d.text.clear();
    uint64_t count = r.count();
    d.points.clear();
    if (!r.ok || count > size / 16)
        return false;
    d.points.reserve(count);
    for (uint64_t k = 0; k < count; ++k) {
        double x = r.value<double>();
        d.points.emplace_back(x, r.value<double>());
    }
    count = r.count();
    d.members.clear();
    if (!r.ok || count > size)
        return false;
    d.members.reserve(count);
    for (uint64_t k = 0; k < count; ++k) {
        const uint64_t back = r.count();
        const Oant_Element *m = back >= 1 && back <= self ? elementAt(elements, self - back) : nullptr;
        if (m)
            d.members.push_back(m);
    }
    return r.ok;
}

// An unnamed file for the element records, on the target's disk where the system allows
// it (a temporary directory may be held in memory), else in the temporary directory; it
// vanishes when closed, whatever becomes of the process.
std::FILE *openScratch(const std::string &directory) {
#ifdef O_TMPFILE
    if (!directory.empty()) {
        int fd = open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd >= 0) {
            if (std::FILE *file = fdopen(fd, "w+b"))
                return file;
            close(fd);
        }
    }
#endif
    return std::tmpfile();
}

// A new element slot in elements, its record written to the scratch file; null with
// *failure set when either cannot be had. May throw std::bad_alloc.
Oant_Element *store(Oant_Elements &elements, const std::string &record, std::string *failure) {
    if (record.size() > UINT32_MAX) {
        *failure = "the element is too large";
        return nullptr;
    }
    if (!elements.scratch && !elements.scratchFailed) {
        elements.scratch = openScratch(elements.scratchDirectory);
        if (!elements.scratch) {
            elements.scratchFailed = true;
            elements.scratchCause = errno;
        } else {
            // Records are small and many: write them in large pieces. The C library
            // would take the size of a buffer it makes itself as no more than a hint.
            elements.scratchBuffer = std::make_unique<char[]>(Oant_Elements::scratchBufferSize);
            std::setvbuf(elements.scratch, elements.scratchBuffer.get(), _IOFBF, Oant_Elements::scratchBufferSize);
        }
    }
    errno = 0;
    if (!elements.scratchFailed &&
        std::fwrite(record.data(), 1, record.size(), elements.scratch) != record.size()) {
        // A record half written would misplace every later one: the layer cannot be written.
        elements.scratchFailed = true;
        elements.scratchCause = errno;
    }
    if (elements.scratchFailed) {
        *failure = "the element cannot be stored";
        return nullptr;
    }
    size_t slot = elements.count % Oant_Elements::blockSize;
    if (slot == 0) {
        elements.blocks.push_back(std::make_unique<Oant_Element[]>(Oant_Elements::blockSize));
        try {
            elements.blockAt[reinterpret_cast<uintptr_t>(elements.blocks.back().get())] = elements.blocks.size() - 1;
        } catch (...) {
            elements.blocks.pop_back();
            throw;
        }
    }
    Oant_Element *element = &elements.blocks.back()[slot];
    element->offset = elements.scratchSize;
    element->length = static_cast<uint32_t>(record.size());
    elements.scratchSize += record.size();
    ++elements.count;
    return element;
}

// Reads an element's list and makes the element in `elements`; `apply` takes each
// attribute that is not common to every element.
template <typename Apply>
Oant_Element *makeElement(const char *call, ElementKind kind, Oant_Elements *elements, int32_t zero,
                          Oant_CoordSysConversion *conversion, Oerr_ErrorReport **err, va_list args,
                          std::vector<AttrSpec> specs, Apply apply) {
    specs.reserve(specs.size() + 3);
    specs.push_back(nameSpec);
    if (kind != ElementKind::Group) {
        specs.push_back(sizeUnitSpec);
        specs.push_back(positionUnitSpec);
    }
    std::vector<Attr> attrs;
    int bad = 0;
    bool read = readAttributes(args, specs, elements, attrs, &bad);
    std::string failure;
    if (!read)
        failure = "unknown attribute code " + std::to_string(bad);
    else if (!elements)
        failure = "no elements";
    else if (failNow(call))
        failure = "the element cannot be made";
    Oant_Element *element = nullptr;
    if (failure.empty()) {
        try {
            ElementData d;
            d.kind = kind;
            for (const Attr &a : attrs) {
                if (a.code == OANT_NAME)
                    d.name = a.values[0].s;
                else if (kind != ElementKind::Group && a.code == OANT_SIZE_UNIT)
                    d.sizeUnit = a.values[1].s;
                else if (kind != ElementKind::Group && a.code == OANT_POSITION_UNIT)
                    d.positionUnit = a.values[1].s;
                else
                    apply(d, a);
            }
            if (conversion) {
                const Oant_CoordSysConversion &c = *conversion;
                d.x = d.x * c.scaleX * c.unitX + c.offsetX;
                d.y = d.y * c.scaleY * c.unitY + c.offsetY;
                d.w *= c.scaleX * c.unitX;
                d.h *= c.scaleY * c.unitY;
                for (auto &p : d.points)
                    p = {p.first * c.scaleX * c.unitX + c.offsetX, p.second * c.scaleY * c.unitY + c.offsetY};
            }
            std::string &record = elements->recordBuffer;
            encode(*elements, d, elements->count, record);
            element = store(*elements, record, &failure);
        } catch (const std::bad_alloc &) {
            element = nullptr;
            failure = "out of memory";
        }
    }
    if (!failure.empty())
        setError(err, call, 1, std::string(call) + ": " + failure);
    if (recording())
        record(std::string(call) + "(" + handleName(elements, "elements") + ", " + std::to_string(zero) + ", " +
               handleName(conversion, "conversion") + ", " + reportName(err) + formatAttributes(attrs) + ") -> " +
               freshName(element, "element"));
    return element;
}

int intValue(const Attr &a, size_t k) { return static_cast<int>(a.values[k].i); }

// A rectangle or an ellipse: a fill style, a centre and a size (or radii).
Oant_Element *boxElement(const char *call, ElementKind kind, int centreCode, int sizeCode, Oant_Elements *elements,
                         int32_t zero, Oant_CoordSysConversion *conversion, Oerr_ErrorReport **err, va_list args) {
    return makeElement(call, kind, elements, zero, conversion, err, args,
                       {{OANT_ELEMENT_FILL_STYLE, "i"}, {centreCode, "dd"}, {sizeCode, "dd"}},
                       [centreCode](ElementData &d, const Attr &a) {
                           if (a.code == OANT_ELEMENT_FILL_STYLE) {
                               d.style = intValue(a, 0);
                           } else if (a.code == centreCode) {
                               d.x = a.values[0].d;
                               d.y = a.values[1].d;
                           } else {
                               d.w = a.values[0].d;
                               d.h = a.values[1].d;
                           }
                       });
}

// A polyline or a polygon: a style and a block of points.
Oant_Element *pointsElement(const char *call, ElementKind kind, int styleCode, int pointsCode, Oant_Elements *elements,
                            int32_t zero, Oant_CoordSysConversion *conversion, Oerr_ErrorReport **err, va_list args) {
    return makeElement(call, kind, elements, zero, conversion, err, args, {{styleCode, "i"}, {pointsCode, "ib"}},
                       [styleCode](ElementData &d, const Attr &a) {
                           if (a.code == styleCode)
                               d.style = intValue(a, 0);
                           else
                               d.points = a.values[1].points;
                       });
}

// A text: style, position, size, alignment and string.
Oant_Element *textElement(const char *call, Oant_Elements *elements, int32_t zero, Oant_CoordSysConversion *conversion,
                          Oerr_ErrorReport **err, va_list args) {
    return makeElement(call, ElementKind::Text, elements, zero, conversion, err, args,
                       {{OANT_ELEMENT_TEXT_STYLE, "i"},
                        {OANT_TEXT_POSITION, "dd"},
                        {OANT_TEXT_SIZE, "d"},
                        {OANT_TEXT_ALIGNMENT, "ii"},
                        {OANT_TEXT_STRING, "is"}},
                       [](ElementData &d, const Attr &a) {
                           switch (a.code) {
                           case OANT_ELEMENT_TEXT_STYLE:
                               d.style = intValue(a, 0);
                               break;
                           case OANT_TEXT_POSITION:
                               d.x = a.values[0].d;
                               d.y = a.values[1].d;
                               break;
                           case OANT_TEXT_SIZE:
                               d.size = a.values[0].d;
                               break;
                           case OANT_TEXT_ALIGNMENT:
                               d.halign = intValue(a, 0);
                               d.valign = intValue(a, 1);
                               break;
                           default:
                               d.text = a.values[1].s;
                               break;
                           }
                       });
}

// A group: its members.
Oant_Element *groupElement(const char *call, Oant_Elements *elements, int32_t zero,
                           Oant_CoordSysConversion *conversion, Oerr_ErrorReport **err, va_list args) {
    return makeElement(call, ElementKind::Group, elements, zero, conversion, err, args, {{OANT_GROUP_MEMBERS, "e"}},
                       [](ElementData &d, const Attr &a) {
                           d.members.assign(a.values[0].members.begin(), a.values[0].members.end());
                       });
}

} // namespace

namespace anno {

namespace {

// The block that address lies in, as (start address, index), or false. Elements are
// mostly looked up soon after they are made: the newest block is tried first.
bool blockOf(const Oant_Elements &elements, uintptr_t address, std::pair<uintptr_t, size_t> *block) {
    if (!elements.blocks.empty()) {
        const auto newest = reinterpret_cast<uintptr_t>(elements.blocks.back().get());
        if (address >= newest && address - newest < Oant_Elements::blockSize * sizeof(Oant_Element)) {
            *block = {newest, elements.blocks.size() - 1};
            return true;
        }
    }
    auto after = elements.blockAt.upper_bound(address);
    if (after == elements.blockAt.begin())
        return false;
    *block = *--after;
    return true;
}

} // namespace

bool isElement(const Oant_Elements &elements, const Oant_Element *element) {
    auto address = reinterpret_cast<uintptr_t>(element);
    std::pair<uintptr_t, size_t> block;
    if (!blockOf(elements, address, &block))
        return false;
    uintptr_t offset = address - block.first;
    if (offset % sizeof(Oant_Element) != 0 || offset / sizeof(Oant_Element) >= Oant_Elements::blockSize)
        return false;
    return block.second * Oant_Elements::blockSize + offset / sizeof(Oant_Element) < elements.count;
}

uint64_t elementIndex(const Oant_Elements &elements, const Oant_Element *element) {
    auto address = reinterpret_cast<uintptr_t>(element);
    std::pair<uintptr_t, size_t> block{address, 0}; // only elements of the layer are asked for
    blockOf(elements, address, &block);
    return block.second * Oant_Elements::blockSize + (address - block.first) / sizeof(Oant_Element);
}

const Oant_Element *elementAt(const Oant_Elements &elements, uint64_t index) {
    if (index >= elements.count)
        return nullptr;
    return &elements.blocks[index / Oant_Elements::blockSize][index % Oant_Elements::blockSize];
}

bool loadElement(const Oant_Elements &elements, const Oant_Element *element, ElementData &data) {
    if (!elements.scratch || elements.scratchFailed)
        return false;
    std::string &window = elements.window;
    uint64_t end = element->offset + element->length;
    if (element->offset < elements.windowStart || end > elements.windowStart + window.size()) {
        if (!elements.flushed) {
            if (std::fflush(elements.scratch) != 0)
                return false;
            elements.flushed = true;
        }
        // A group's record follows its members': the window reaches back a little.
        uint64_t start = element->offset > (1 << 13) ? element->offset - (1 << 13) : 0;
        uint64_t size = std::max<uint64_t>(end - start, 1 << 16);
        if (start + size > elements.scratchSize)
            size = elements.scratchSize - start;
        window.clear();
        window.resize(static_cast<size_t>(size));
        ssize_t got = pread(fileno(elements.scratch), &window[0], window.size(), static_cast<off_t>(start));
        if (got < 0 || static_cast<uint64_t>(got) != size) {
            window.clear();
            return false;
        }
        elements.windowStart = start;
    }
    return decode(elements, window.data() + (element->offset - elements.windowStart), element->length,
                  elementIndex(elements, element), data);
}

} // namespace anno

extern "C" {

OHOST_API Oant_CoordSysConversion *oant_CoordSysConversionSetValues(int32_t zero, double scaleX, double scaleY,
                                                                    double unitX, double unitY, double offsetX,
                                                                    double offsetY, const char *from,
                                                                    const char *to, Oerr_ErrorReport **err) {
    Oant_CoordSysConversion *c = nullptr;
    if (!from || !to || !std::isfinite(scaleX * scaleY * unitX * unitY * offsetX * offsetY))
        setError(err, "oant_CoordSysConversionSetValues", 1, "oant_CoordSysConversionSetValues: bad conversion");
    else if (failNow("oant_CoordSysConversionSetValues"))
        setError(err, "oant_CoordSysConversionSetValues", 2, "oant_CoordSysConversionSetValues: cannot be made");
    else if ((c = new (std::nothrow) Oant_CoordSysConversion()) != nullptr)
        *c = {scaleX, scaleY, unitX, unitY, offsetX, offsetY, from, to};
    if (recording())
        record("oant_CoordSysConversionSetValues(" + std::to_string(zero) + ", " + formatDouble(scaleX) + ", " +
               formatDouble(scaleY) + ", " + formatDouble(unitX) + ", " + formatDouble(unitY) + ", " +
               formatDouble(offsetX) + ", " + formatDouble(offsetY) + ", " + quoted(from) + ", " + quoted(to) +
               ", " + reportName(err) + ") -> " + freshName(c, "conversion"));
    return c;
}

OHOST_API void oant_CoordSysConversionFree(Oant_CoordSysConversion *conversion) {
    recordRelease("oant_CoordSysConversionFree", conversion, "conversion");
    delete conversion;
}

// Each element entry point hands its list, as a va_list, to the function that makes its
// kind: MAKE(call, KIND ARGUMENTS..., elements, zero, conversion, err, args).
#define ELEMENT_SET_VALUES(NAME, MAKE, ...)                                                                        \
    OHOST_API Oant_Element *NAME(Oant_Elements *elements, int32_t zero, Oant_CoordSysConversion *conversion,       \
                                 Oerr_ErrorReport **err, ...) {                                                    \
        va_list args;                                                                                              \
        va_start(args, err);                                                                                       \
        Oant_Element *e = MAKE(#NAME, __VA_ARGS__ __VA_OPT__(, ) elements, zero, conversion, err, args);          \
        va_end(args);                                                                                              \
        return e;                                                                                                  \
    }

ELEMENT_SET_VALUES(oant_RectangleElementSetValues, boxElement, ElementKind::Rectangle, OANT_RECT_CENTER,
                   OANT_RECT_SIZE)
ELEMENT_SET_VALUES(oant_EllipseElementSetValues, boxElement, ElementKind::Ellipse, OANT_ELLIPSE_CENTER,
                   OANT_ELLIPSE_RADII)
ELEMENT_SET_VALUES(oant_PolylineElementSetValues, pointsElement, ElementKind::Polyline, OANT_ELEMENT_LINE_STYLE,
                   OANT_POLYLINE_POINTS)
ELEMENT_SET_VALUES(oant_PolygonElementSetValues, pointsElement, ElementKind::Polygon, OANT_ELEMENT_FILL_STYLE,
                   OANT_POLYGON_POINTS)
ELEMENT_SET_VALUES(oant_TextElementSetValues, textElement)
ELEMENT_SET_VALUES(oant_GroupElementSetValues, groupElement)

#undef ELEMENT_SET_VALUES

OHOST_API void oant_SetAntBoundingBox(Oant_Elements *elements, const Ovec_Bbox *box, Oerr_ErrorReport **err) {
    std::string shown = box ? "[" + formatDouble(box->xmin) + ", " + formatDouble(box->ymin) + ", " +
                                  formatDouble(box->xmax) + ", " + formatDouble(box->ymax) + "]"
                            : "";
    if (!elements || !box)
        setError(err, "oant_SetAntBoundingBox", 1, "oant_SetAntBoundingBox: no elements or no box");
    else if (failNow("oant_SetAntBoundingBox"))
        setError(err, "oant_SetAntBoundingBox", 2, "oant_SetAntBoundingBox: cannot be set");
    else {
        elements->box = *box;
        elements->hasBox = true;
    }
    if (recording())
        record("oant_SetAntBoundingBox(" + handleName(elements, "elements") + ", " + handleName(box, "bbox") + " " +
               shown + ", " + reportName(err) + ")");
}
}
