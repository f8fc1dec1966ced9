/* host_api.h - the export macro and the opaque handle types shared by every host package. */
#ifndef VMOD_HOST_API_H
#define VMOD_HOST_API_H

#include <stddef.h>
#include <stdint.h>

#include "vmodhost/vmodhost_handles.h"

#if defined(__GNUC__)
#define OHOST_API __attribute__((visibility("default")))
#else
#define OHOST_API
#endif

#endif
