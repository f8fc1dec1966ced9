/* ofga.h - coordinate blocks of the host: the points of one polyline or polygon. */
#ifndef VMOD_HOST_OFGA_H
#define VMOD_HOST_OFGA_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A block of `count` points of `dimensions` coordinates each. The caller stores point i
   at coords[i * dimensions + 0] (x) and coords[i * dimensions + 1] (y). */
typedef struct Ofga_CoordBlock {
    int32_t dimensions;
    int32_t count;
    double *coords; /* count * dimensions values, owned by the block, zero when made */
} Ofga_CoordBlock;

/* A new block of count points in dimensions (2 or 3) coordinates; release with
   ofga_CoordBlockDelete. `a` and `b` are the block's storage parameters (the library
   passes 1 and 10), kept but not interpreted. Null with *err set for a dimension outside
   2..3 or a negative count. */
OHOST_API Ofga_CoordBlock *ofga_BaseCoordBlockCreate(int32_t dimensions, int32_t count, int32_t a, int32_t b,
                                                     Oerr_ErrorReport **err);
/* Releases a block; null is ignored. */
OHOST_API void ofga_CoordBlockDelete(Ofga_CoordBlock *block);

#ifdef __cplusplus
}
#endif

#endif
