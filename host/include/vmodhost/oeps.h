/* oeps.h - the framing of an Encapsulated PostScript file: header comments, set-up and
   trailer around the caller's prologue and drawing.

   The caller writes, in this order: oeps_Header, its prologue (procedure definitions),
   oeps_Setup, its drawing, oeps_Trailer. The result is a conforming EPSF-3.0 file that
   leaves the interpreter as it found it (the trailer also clears whatever the drawing
   left on the operand stack) and shows its page when printed on its own. */
#ifndef VMOD_HOST_OEPS_H
#define VMOD_HOST_OEPS_H

#include "vmodhost/host_api.h"
#include "ovec.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Writes the header comments: the EPSF-3.0 first line, "%%BoundingBox:" (the box's
   corners in points, widened to whole points) and "%%HiResBoundingBox:", "%%Creator:"
   with creator, "%%Title:" with title ("untitled" when null; line ends become blanks),
   "%%Pages: 1", "%%EndComments", and opens the prologue. A null box is written as 0 0 0 0. version is
   the framing revision the caller expects; every caller passes 14. */
OHOST_API void oeps_Header(Ofio_File *file, const char *creator, const char *title, const Ovec_Bbox *box,
                           int32_t version);
/* Closes the prologue, writes the set-up section and opens the page. */
OHOST_API void oeps_Setup(Ofio_File *file);
/* Writes the trailer and the end-of-file comment. */
OHOST_API void oeps_Trailer(Ofio_File *file);

#ifdef __cplusplus
}
#endif

#endif
