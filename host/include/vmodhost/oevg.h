/* oevg.h - vector graphics of the host: the handle an annotation layer draws with. */
#ifndef VMOD_HOST_OEVG_H
#define VMOD_HOST_OEVG_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Oevg_Graphics Oevg_Graphics;

/* The process-wide vector-graphics handle; never null, owned by the host (not released). */
OHOST_API Oevg_Graphics *oevg_Init(void);

#ifdef __cplusplus
}
#endif

#endif
