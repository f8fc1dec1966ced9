/* oprj.h - map information of the host: where a layer's corners lie and in which unit. */
#ifndef VMOD_HOST_OPRJ_H
#define VMOD_HOST_OPRJ_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Oprj_MapInfo {
    double upperLeftX, upperLeftY;   /* y grows upward */
    double lowerRightX, lowerRightY;
    int32_t unitCode;                /* 7: inches */
    char *unitName;                  /* owned heap string ("inches"), or null */
} Oprj_MapInfo;

/* A new, zeroed map information; release with oprj_MapInfoFree (a layer that it is
   stored in releases it when it closes). Null when memory is exhausted. */
OHOST_API Oprj_MapInfo *oprj_MapInfoCreate(void);
/* Releases the record and its unit name; null is ignored. */
OHOST_API void oprj_MapInfoFree(Oprj_MapInfo *info);

#ifdef __cplusplus
}
#endif

#endif
