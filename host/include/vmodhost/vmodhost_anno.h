/*
 * vmodhost_anno.h - how a test or a front end watches and disturbs the host's annotation
 * package (oant_, ofga_, ovec_, oprj_, oevg_, oint_GetInit).
 *
 * The record. While recording is on, every call of those packages appends one line, in
 * call order:  name(arguments) -> result
 *   - handles by kind and a number in order of creation within the record ("element3",
 *     "block1", "color2"); the process-wide handles as "init", "graphics", the layer's as
 *     "layer", "library", "elements"; a report slot as "report" (or "null");
 *   - attribute lists after a semicolon as "code: value, value" items joined by "; ";
 *   - strings in double quotes, integers in decimal, doubles with %g; a coordinate block
 *     as its name and its points "block1 [(x, y), ...]"; a group's members in the same
 *     bracket form;
 *   - oant_LayerClose also shows the layer's root element and map information.
 * Lines stay owned by the record and are valid until it is cleared or restarted.
 */
#ifndef VMODHOST_ANNO_H
#define VMODHOST_ANNO_H

#include <stddef.h>
#include <stdint.h>

#include "vmodhost/vmodhost.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Starts (on nonzero: the record is cleared first) or stops recording. Off by default. */
VMODHOST_API void vmodhost_AnnoRecord(int32_t on);
VMODHOST_API size_t vmodhost_AnnoRecordCount(void);
/* Line index of the record, or null past its end. */
VMODHOST_API const char *vmodhost_AnnoRecordLine(size_t index);

/* Makes calls of the package operation named `call` fail with a report, as a full store
   or a bad attribute would: the nth call from now (1-based), or every call from the nth
   on when `every` is nonzero. oant_LayerClose fails by not writing its file. A null call
   or nth 0 switches failure off; one operation at a time. */
VMODHOST_API void vmodhost_AnnoFailCall(const char *call, int32_t nth, int32_t every);

#ifdef __cplusplus
}
#endif

#endif
