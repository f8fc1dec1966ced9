/* ovec.h - bounding boxes of the host. */
#ifndef VMOD_HOST_OVEC_H
#define VMOD_HOST_OVEC_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Ovec_Bbox {
    double xmin, ymin, xmax, ymax;
} Ovec_Bbox;

/* A new box holding x from xmin to xmax and y from ymin to ymax; release with
   ovec_BboxDelete. Null with *err set when memory is exhausted. */
OHOST_API Ovec_Bbox *ovec_BboxCreate(double xmin, double ymin, double xmax, double ymax, Oerr_ErrorReport **err);
/* Releases a box; null is ignored. */
OHOST_API void ovec_BboxDelete(Ovec_Bbox *box);

#ifdef __cplusplus
}
#endif

#endif
