/* ostr.h and otxt: string helpers of the host. */
#ifndef VMOD_HOST_OSTR_H
#define VMOD_HOST_OSTR_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A new heap copy of text (release with omsc_HeapFree); null for null text. */
OHOST_API char *ostr_Duplicate(const char *text);
/* The first occurrence of pattern inside text (a pointer into text), or null. */
OHOST_API char *ostr_SubString(const char *text, const char *pattern);
/* A heap string of a followed by b. buffer is a heap string the caller keeps as its
   buffer (or null): it is released or reused, and the result takes its place. */
OHOST_API char *ostr_StringCat(char *buffer, const char *a, const char *b);
/* Writes the extension of path's file name (after its last dot, without the dot) into
   buffer of size bytes, truncated to fit; an empty string when there is none. Returns buffer. */
OHOST_API char *ostr_GetExtPart(const char *path, char *buffer, size_t size);
/* 0 when a and b are equal texts (null equals only null), nonzero otherwise. */
OHOST_API int32_t otxt_Text_strcmp(const char *a, const char *b);

#ifdef __cplusplus
}
#endif

#endif
