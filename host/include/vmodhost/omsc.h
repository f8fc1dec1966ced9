/* omsc.h - the host heap. Every record and string of the library lives here. */
#ifndef VMOD_HOST_OMSC_H
#define VMOD_HOST_OMSC_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A new block of size bytes, zero-filled; null only when memory is exhausted. */
OHOST_API void *omsc_HeapMalloc(size_t size);
/* Releases a block of omsc_HeapMalloc; null is ignored. */
OHOST_API void omsc_HeapFree(void *block);

#ifdef __cplusplus
}
#endif

#endif
