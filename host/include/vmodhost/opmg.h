/* opmg.h - user preferences of the host. */
#ifndef VMOD_HOST_OPMG_H
#define VMOD_HOST_OPMG_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A new heap string with the setting of key in category, or a copy of def. */
OHOST_API char *opmg_GetStringPreference(const char *category, const char *key, const char *def,
                                         Oerr_ErrorReport **err);
/* The setting as a number, or def when it is unset or not a number. */
OHOST_API double opmg_GetNumberPreference(const char *category, const char *key, double def,
                                          Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
