/*
 * vmodkit_common.h - what every part of the front-end kit shares: the export macro, the
 * ownership of what the kit returns, and its error rule.
 *
 * The kit (libvmodkit, prefix vmodkit_) is what a model editor needs beyond the exported
 * vmod_ functions. It works on the same records (vmod/vmod_records.h) and the same host
 * handles (vmodhost/), so a front end mixes vmod_, vmodkit_ and host calls freely.
 *
 * Conventions, once for all functions:
 * - A function that takes `err` follows the library's rule for error reports (vmod.h):
 *   on failure it stores a report; the caller releases it with oerr_DeleteErrorReportEx.
 * - No C++ exception leaves a function; memory exhaustion is reported as
 *   VMOD_ERR_MEMORY ("memory is exhausted") through `err`, or gives the failure value.
 * - Every string, array or text list the kit returns is new and belongs to the caller:
 *   release a string or array with vmodkit_Free, a text list with vmodkit_FreeTexts.
 *   Models the kit makes are released with vmodkit_ModelFree.
 * - Lengths are in paper inches unless a declaration says pixels.
 */
#ifndef VMODKIT_COMMON_H
#define VMODKIT_COMMON_H

#include <stddef.h>
#include <stdint.h>

#include "vmod/vmod.h"
#include "vmod/vmod_records.h"

#if defined(_WIN32)
#define VMODKIT_API __declspec(dllexport)
#elif defined(__GNUC__)
#define VMODKIT_API __attribute__((visibility("default")))
#else
#define VMODKIT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A list of texts: `count` strings, each new and ending in a zero byte, followed by a
   null entry. Released whole by vmodkit_FreeTexts. */
typedef struct Vmodkit_Texts {
    size_t count;
    char **texts;
} Vmodkit_Texts;

/* Releases a string or array the kit returned; null is ignored. */
VMODKIT_API void vmodkit_Free(void *memory);

/* Releases every text of list and the array, and zeroes the record (which stays the
   caller's). A null list or a zeroed record is ignored. */
VMODKIT_API void vmodkit_FreeTexts(Vmodkit_Texts *list);

#ifdef __cplusplus
}
#endif

#endif
