/* vmodhost_handles.h - the opaque handle types of the host packages. Each is an
   incomplete type so that the compiler catches a canvas passed where a menu is expected.
   The model records name some of them; the host declares them all here, so the records
   depend on the host's declarations and never the other way round. */
#ifndef VMODHOST_HANDLES_H
#define VMODHOST_HANDLES_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct Oerr_ErrorReport Oerr_ErrorReport; /* an error report (chained) */
typedef struct Ofio_File Ofio_File;               /* an output file */
typedef struct Ooml_Frame Ooml_Frame;             /* the model editor's frame */
typedef struct Ooml_Part Ooml_Part;               /* a part of a frame (button, file chooser) */
typedef struct Ooml_Menu Ooml_Menu;               /* the editor's menu */
typedef struct Ooml_Canvas Ooml_Canvas;           /* a drawing canvas */
typedef struct Ooml_FontSpec Ooml_FontSpec;       /* a font specification for a canvas */
typedef struct Ooci_Member Ooci_Member;           /* one member of a value set */
typedef struct Ooci_Set Ooci_Set;                 /* a set of values given to a part */

#ifdef __cplusplus
}
#endif

#endif
