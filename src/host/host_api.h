/* host_api.h - the export macro and opaque handle types shared by every host package. */
#ifndef VMOD_HOST_API_H
#define VMOD_HOST_API_H

#include <stddef.h>
#include <stdint.h>

#include "vmod/vmod_records.h" /* Oerr_ErrorReport, Ofio_File and the frame/canvas handles */

#if defined(__GNUC__)
#define OHOST_API __attribute__((visibility("default")))
#else
#define OHOST_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Ooml_FontSpec Ooml_FontSpec; /* a font specification for a canvas */
typedef struct Ooci_Member Ooci_Member;     /* one member of a value set */
typedef struct Ooci_Set Ooci_Set;           /* a set of values given to a part */

#ifdef __cplusplus
}
#endif

#endif
