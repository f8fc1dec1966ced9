// The small packages an annotation layer is made with: the initialisation and
// vector-graphics handles, coordinate blocks, bounding boxes and map information.
#include <cmath>
#include <new>

#include "oant_internal.h"
#include "vmodhost/omsc.h"

using namespace anno;

struct Oint_Init {
    int unused;
};
struct Oevg_Graphics {
    int unused;
};

extern "C" {

OHOST_API Oint_Init *oint_GetInit(void) {
    static Oint_Init init{};
    if (recording())
        record("oint_GetInit() -> " + handleName(&init, "init"));
    return &init;
}

OHOST_API Oevg_Graphics *oevg_Init(void) {
    static Oevg_Graphics graphics{};
    if (recording())
        record("oevg_Init() -> " + handleName(&graphics, "graphics"));
    return &graphics;
}

OHOST_API Ofga_CoordBlock *ofga_BaseCoordBlockCreate(int32_t dimensions, int32_t count, int32_t a, int32_t b,
                                                     Oerr_ErrorReport **err) {
    Ofga_CoordBlock *block = nullptr;
    // A block beyond a million points is not a drawing; refusing it keeps the size sane.
    if (dimensions < 2 || dimensions > 3 || count < 0 || count > 1000000) {
        setError(err, "ofga_BaseCoordBlockCreate", 1, "ofga_BaseCoordBlockCreate: bad dimensions or count");
    } else if (failNow("ofga_BaseCoordBlockCreate")) {
        setError(err, "ofga_BaseCoordBlockCreate", 2, "ofga_BaseCoordBlockCreate: out of memory");
    } else {
        block = new (std::nothrow) Ofga_CoordBlock{dimensions, count, nullptr};
        if (block && count > 0) {
            block->coords = new (std::nothrow) double[static_cast<size_t>(count) * dimensions]();
            if (!block->coords) {
                delete block;
                block = nullptr;
            }
        }
        if (!block)
            setError(err, "ofga_BaseCoordBlockCreate", 2, "ofga_BaseCoordBlockCreate: out of memory");
    }
    if (recording())
        record("ofga_BaseCoordBlockCreate(" + std::to_string(dimensions) + ", " + std::to_string(count) + ", " +
               std::to_string(a) + ", " + std::to_string(b) + ", " + reportName(err) + ") -> " +
               freshName(block, "block"));
    return block;
}

OHOST_API void ofga_CoordBlockDelete(Ofga_CoordBlock *block) {
    recordRelease("ofga_CoordBlockDelete", block, "block");
    if (block)
        delete[] block->coords;
    delete block;
}

OHOST_API Ovec_Bbox *ovec_BboxCreate(double xmin, double ymin, double xmax, double ymax, Oerr_ErrorReport **err) {
    Ovec_Bbox *box = nullptr;
    if (failNow("ovec_BboxCreate") || !(box = new (std::nothrow) Ovec_Bbox{xmin, ymin, xmax, ymax}))
        setError(err, "ovec_BboxCreate", 1, "ovec_BboxCreate: out of memory");
    if (recording())
        record("ovec_BboxCreate(" + formatDouble(xmin) + ", " + formatDouble(ymin) + ", " + formatDouble(xmax) +
               ", " + formatDouble(ymax) + ", " + reportName(err) + ") -> " + freshName(box, "bbox"));
    return box;
}

OHOST_API void ovec_BboxDelete(Ovec_Bbox *box) {
    recordRelease("ovec_BboxDelete", box, "bbox");
    delete box;
}

OHOST_API Oprj_MapInfo *oprj_MapInfoCreate(void) {
    Oprj_MapInfo *info = nullptr;
    if (!failNow("oprj_MapInfoCreate"))
        info = new (std::nothrow) Oprj_MapInfo{};
    if (recording())
        record("oprj_MapInfoCreate() -> " + freshName(info, "mapinfo"));
    return info;
}

OHOST_API void oprj_MapInfoFree(Oprj_MapInfo *info) {
    recordRelease("oprj_MapInfoFree", info, "mapinfo");
    if (info)
        omsc_HeapFree(info->unitName);
    delete info;
}
}
