/* oint.h - the host library's initialisation handle, passed to layer and style creation. */
#ifndef VMOD_HOST_OINT_H
#define VMOD_HOST_OINT_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Oint_Init Oint_Init;

/* The process-wide initialisation handle; never null, owned by the host. */
OHOST_API Oint_Init *oint_GetInit(void);

#ifdef __cplusplus
}
#endif

#endif
