/*
 * vmodkit_print.h - the pages a print of a model needs, printing chosen pages on the
 * host's printer, and a paged PostScript print.
 */
#ifndef VMODKIT_PRINT_H
#define VMODKIT_PRINT_H

#include "vmodkit/vmodkit_common.h"
#include "vmodhost/vmodhost_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The two printouts: the host's printer (vmod_ModelPrint) and the paged PostScript. */
typedef enum Vmodkit_Printout { VMODKIT_PRINTER = 0, VMODKIT_POSTSCRIPT = 1 } Vmodkit_Printout;

/* The most pages one print writes. */
#define VMODKIT_MAX_PAGES 10000

/* How a print cuts the model into pages. */
typedef struct Vmodkit_Pages {
    int32_t columns, rows;  /* the page grid */
    int32_t total;          /* columns x rows */
    int32_t holding;        /* pages that hold some node, note or part of an arrow */
} Vmodkit_Pages;

/* The page grid of model for printout, and how many of its pages hold something. 0, with
   a report, when the grid would need more than VMODKIT_MAX_PAGES pages. */
VMODKIT_API int32_t vmodkit_PageCount(const Vmod_Model *model, Vmodkit_Printout printout, Vmodkit_Pages *pages,
                                      Oerr_ErrorReport **err);

/* The numbers (from 1, in page order) of the pages first..last of the grid that hold
   something, as a new array of *count numbers released by vmodkit_Free. 0, with a
   report, when the range holds more than VMODKIT_MAX_PAGES pages. */
VMODKIT_API int32_t vmodkit_PagesHoldingSomething(const Vmod_Model *model, Vmodkit_Printout printout, int32_t first,
                                                  int32_t last, int32_t **numbers, size_t *count,
                                                  Oerr_ErrorReport **err);

/* Prints the pages numbered in numbers (count of them, in that order) as one document on
   the printer the host hands out, as vmod_ModelPrint prints a range. 1 when every page
   was printed; 0, with a report, when there is no printer, the document or a page could
   not be started, or the printer failed. */
VMODKIT_API int32_t vmodkit_PrintPages(Vmod_Model *model, const int32_t *numbers, size_t count,
                                       Oerr_ErrorReport **err);

/* Writes a paged PostScript print of the pages numbered in numbers to file. 1 on
   success; 0, with a report, when the file could not be written. */
VMODKIT_API int32_t vmodkit_WritePostScript(Vmod_Model *model, Ofio_File *file, const int32_t *numbers, size_t count,
                                            Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
