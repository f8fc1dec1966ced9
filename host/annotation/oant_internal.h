// oant_internal.h - the records behind the annotation package's handles, shared by the
// layer, style, element, record and SVG files of the host.
#ifndef VMODHOST_OANT_INTERNAL_H
#define VMODHOST_OANT_INTERNAL_H

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "vmodhost/oant.h"
#include "vmodhost/ofga.h"

struct Oant_Color {
    std::string name;
    int r = 0, g = 0, b = 0;
};

struct Oant_LineStyle {
    std::string name;
    std::string widthUnit = "points";
    double width = 0;
    int colour = -1;
    double patternScale = 1.0;
    int pattern = 0;
};

struct Oant_FillStyle {
    std::string name;
    int filled = 0;
    int colour = -1;
    int outlined = 0;
    int line = -1;
};

struct Oant_TextStyle {
    std::string name;
    std::string sizeUnit = "points";
    std::string font;
    double slant = 0;
    int fill = -1;
    int underline = 0;
    double underlineThickness = 0;
    int underlineLine = -1;
};

struct Oant_StyleLibrary {
    std::vector<std::unique_ptr<Oant_Color>> colours;
    std::vector<std::unique_ptr<Oant_LineStyle>> lines;
    std::vector<std::unique_ptr<Oant_FillStyle>> fills;
    std::vector<std::unique_ptr<Oant_TextStyle>> texts;
};

namespace anno {

enum class ElementKind { Rectangle, Ellipse, Polyline, Polygon, Text, Group };

// One element's contents. Coordinates are in the layer's units after conversion.
struct ElementData {
    ElementKind kind = ElementKind::Group;
    std::string name;
    std::string sizeUnit = "inches";
    std::string positionUnit = "inches";
    int style = -1; // line, fill or text style, by kind
    double x = 0, y = 0; // centre (rectangle, ellipse) or position (text)
    double w = 0, h = 0; // size (rectangle) or radii (ellipse)
    std::vector<std::pair<double, double>> points;
    double size = 0; // text size in the size unit
    int halign = 0, valign = 0;
    std::string text;
    std::vector<const Oant_Element *> members;
};

} // namespace anno

// A list element: next and prev come first so that the host's list operations chain it.
// Its contents wait in the layer's scratch file (see Oant_Elements) until the layer is
// written, so that a layer of a million elements does not hold them all in memory.
struct Oant_Element {
    Oant_Element *next = nullptr;
    Oant_Element *prev = nullptr;
    uint64_t offset = 0;  // where its record starts in the scratch file
    uint32_t length = 0;  // the record's size in bytes
};

struct Oant_Elements {
    // Elements live in blocks of a fixed count, found by address: a handle is one of
    // this layer's exactly when it lies on an element boundary of a used slot.
    static constexpr size_t blockSize = 4096;
    std::vector<std::unique_ptr<Oant_Element[]>> blocks;
    std::map<uintptr_t, size_t> blockAt; // start address of a block -> its index
    size_t count = 0;
    // The element records, written as the elements are made and read back when the
    // layer is written; an unnamed temporary file that vanishes when it is closed.
    std::FILE *scratch = nullptr;
    static constexpr size_t scratchBufferSize = 1 << 20;
    std::unique_ptr<char[]> scratchBuffer; // the scratch file's buffer; outlives the file
    uint64_t scratchSize = 0;
    bool scratchFailed = false;
    int scratchCause = 0; // errno of the failure
    std::string scratchDirectory; // where the scratch file is made, if it can be
    std::string recordBuffer; // the record being made, kept for its capacity
    // The part of the scratch file last read back, as the layer is written: the tree is
    // read mostly forward, a record close to the one before.
    mutable bool flushed = false;
    mutable std::string window;
    mutable uint64_t windowStart = 0;
    bool hasBox = false;
    Ovec_Bbox box{};

    Oant_Elements() = default;
    Oant_Elements(const Oant_Elements &) = delete;
    Oant_Elements &operator=(const Oant_Elements &) = delete;
    ~Oant_Elements() {
        if (scratch)
            std::fclose(scratch);
    }
};

struct Oant_CoordSysConversion {
    double scaleX = 1, scaleY = 1, unitX = 1, unitY = 1, offsetX = 0, offsetY = 0;
    std::string from, to;
};

namespace anno {

// ---- the record and fault injection (oant_record.cpp) ----
bool recording();
void record(std::string line);
// The record's name of a handle; a new name of the given kind when first seen.
// Names are kept only while recording.
std::string handleName(const void *handle, const char *kind);
// A new name for a handle just made (its address may have been another's before).
std::string freshName(const void *handle, const char *kind);
void forgetHandle(const void *handle);
// The first step of every release: records `call(name)` and forgets the handle's name.
void recordRelease(const char *call, const void *handle, const char *kind);
void nameHandle(const void *handle, const std::string &name);
// True when this call of `call` is to fail (counts the call).
bool failNow(const char *call);
std::string formatDouble(double value);
std::string quoted(const char *text);
std::string reportName(Oerr_ErrorReport **err);

// ---- element records (oant_elements.cpp) ----
// True when element is one made on elements (and not a stray pointer).
bool isElement(const Oant_Elements &elements, const Oant_Element *element);
// The index of an element of elements, and the element at an index (null past the end).
uint64_t elementIndex(const Oant_Elements &elements, const Oant_Element *element);
const Oant_Element *elementAt(const Oant_Elements &elements, uint64_t index);
// Reads an element's contents back from the scratch file; false when it cannot.
bool loadElement(const Oant_Elements &elements, const Oant_Element *element, ElementData &data);

// ---- attribute lists (oant_attributes.cpp) ----
struct AttrValue {
    char type; // 'i' int, 'd' double, 's' string, 'b' block, 'e' element
    long long i = 0;
    double d = 0;
    std::string s;
    bool nullString = false;
    std::vector<std::pair<double, double>> points; // 'b'
    std::vector<Oant_Element *> members;           // 'e', followed from the head
    const void *handle = nullptr;                   // 'b', 'e'
};
// The values of one attribute, kept in place: no call takes more than three for a code,
// and an element is made from a handful of attributes a million times over.
struct AttrValues {
    static constexpr size_t capacity = 3;
    AttrValue items[capacity];
    size_t count = 0;
    size_t size() const { return count; }
    AttrValue &operator[](size_t k) { return items[k]; }
    const AttrValue &operator[](size_t k) const { return items[k]; }
    const AttrValue *begin() const { return items; }
    const AttrValue *end() const { return items + count; }
};
struct Attr {
    int code;
    AttrValues values;
};
struct AttrSpec {
    int code;
    const char *types;
};
// Reads code-value pairs until 0. False (with the offending code in *bad) when a code is
// not in specs; elements are looked up in `store` (may be null).
bool readAttributes(va_list args, const std::vector<AttrSpec> &specs, const Oant_Elements *store,
                    std::vector<Attr> &out, int *bad);
std::string formatAttributes(const std::vector<Attr> &attrs);

// ---- errors ----
void setError(Oerr_ErrorReport **err, const char *function, int code, const std::string &message);

// ---- the SVG document of a layer (oant_svg.cpp) ----
// Writes the document in pieces through write (false stops it); false when it stopped or
// an element could not be read back.
using SvgWrite = bool (*)(void *context, const std::string &piece);
bool layerSvg(const Oant_StyleLibrary &library, const Oant_Elements &elements, const Oant_Element *root,
              const Oprj_MapInfo *mapInfo, SvgWrite write, void *context);

// ---- outline fonts (oant_fonts.cpp) ----
struct FontFace {
    const char *family; // CSS font-family list
    bool bold;
    bool italic;
    // The size an element in this outline font is given, as a part of the type size it
    // stands for: the outline fonts are cut larger than a standard face, so the model
    // library sizes its text elements down by this much, and a standard face must be
    // drawn this much larger to show the type size.
    double scale;
};
FontFace fontFace(const std::string &outlineFile);

} // namespace anno

#endif
