/*
 * vmodkit_print.h - how a print cuts a model into pages, a grid widened to cover every
 * node, the pages that hold something, printing chosen pages on the host's printer, and
 * a paged PostScript print.
 *
 * Pages are numbered from 1 across the page grid, then down: page p is in column
 * (p - 1) % columns and row (p - 1) / columns, counted from 0. A page shows the model's
 * printable page size x 100 / print scale inches of the model, so the pages tile the
 * diagram at any scale.
 */
#ifndef VMODKIT_PRINT_H
#define VMODKIT_PRINT_H

#include "vmodkit/vmodkit_common.h"
#include "vmodhost/vmodhost_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The two printouts: the host's printer (vmod_ModelPrint) and the paged PostScript. They
   draw titles and notes in different fonts and sizes, so their ink reaches different
   pages. */
typedef enum Vmodkit_Printout { VMODKIT_PRINTER = 0, VMODKIT_POSTSCRIPT = 1 } Vmodkit_Printout;

/* The most pages one print writes. */
#define VMODKIT_MAX_PAGES 10000
/* The most columns, and the most rows, a page grid has. */
#define VMODKIT_MAX_GRID_SIDE 10000

/* How a print cuts the model into pages. */
typedef struct Vmodkit_Pages {
    int32_t columns, rows; /* the page grid, each 1..VMODKIT_MAX_GRID_SIDE */
    int32_t total;         /* columns x rows, the number of the last page */
} Vmodkit_Pages;

/* The page grid of model as it stands (the model's page size, printer page, margins,
   orientation and print scale; rows enough for every node centre). 1; 0 when model or
   pages is null. */
VMODKIT_API int32_t vmodkit_PageCount(const Vmod_Model *model, Vmodkit_Pages *pages);

/* What vmodkit_CoverEveryNode did. */
typedef struct Vmodkit_Widening {
    int32_t widened;                     /* nonzero: the grid has more columns or rows now */
    int32_t tooLarge;                    /* nonzero: covering would take more than
                                            VMODKIT_MAX_GRID_SIDE columns or rows; nothing changed */
    int32_t columnsBefore, rowsBefore;   /* the model's own grid */
    int32_t columns, rows;               /* the grid now */
    double columnsNeeded, rowsNeeded;    /* what covering takes (set when tooLarge) */
    int32_t columnsShifted, rowsShifted; /* whole pages every node moved right and down */
} Vmodkit_Widening;

/* Widens model's page (in memory; the page size becomes inches) until the page grid
   covers the ink printout draws for every node and note: glyph, title, note lines. Ink
   left of or above the first page moves every node right or down by whole pages, so the
   grid stays aligned with the model's pages. Changes nothing when the grid already covers
   it, or when covering would make the grid too large. 1 when the grid covers every node
   (widening says how); 0 when it is too large (widening->tooLarge), or, with a report,
   when model or widening is null or memory is exhausted. */
VMODKIT_API int32_t vmodkit_CoverEveryNode(Vmod_Model *model, Vmodkit_Printout printout, Vmodkit_Widening *widening,
                                           Oerr_ErrorReport **err);

/* The numbers of the pages of model's grid, in page order, that hold the ink printout
   draws for some node or note, or part of an arrow (the straight line between the two
   centres), as a new array of *count numbers released by vmodkit_Free (null when no page
   holds anything). 1 on success; 0 with *count 0 and a report when more than
   VMODKIT_MAX_PAGES pages hold something (code VMOD_ERR_FAILED), when memory is
   exhausted (VMOD_ERR_MEMORY), or when an argument is null. */
VMODKIT_API int32_t vmodkit_PagesHoldingSomething(const Vmod_Model *model, Vmodkit_Printout printout,
                                                  int32_t **numbers, size_t *count, Oerr_ErrorReport **err);

/* Prints the pages numbered in numbers (count of them, in that order, at most
   VMODKIT_MAX_PAGES) as one document on the printer the host hands out, as
   vmod_ModelPrint prints a range; with the model's page numbers on, each page is
   labelled "(Page p of labelLast)". 1 when the document and every page were started and
   finished; 0, with a report, when no printer is selected, the printer refused to start
   the document or a page, or failed to finish one (vmodhost_PrinterFailure of a PDF
   printer says why), or an argument is unusable. */
VMODKIT_API int32_t vmodkit_PrintPages(Vmod_Model *model, const int32_t *numbers, size_t count, int32_t labelLast,
                                       Oerr_ErrorReport **err);

/* Writes a paged PostScript print of the pages numbered in numbers (count of them, in
   that order, at most VMODKIT_MAX_PAGES) to file, which stays open and the caller's: the
   header and prologue (vmod_HeaderPrint), the glyph procedures, a procedure "picture"
   drawing every node (with the labels of the pages printed when the model's page numbers
   are on), the sheet the model's printer page names, one "printpage" per page, and the
   trailer. 1 when all of it was written; 0 with a report when the file holds a write
   error (ofio_HasError: closing it tells why), memory is exhausted or an argument is
   unusable. */
VMODKIT_API int32_t vmodkit_WritePostScript(Vmod_Model *model, Ofio_File *file, const int32_t *numbers, size_t count,
                                            Oerr_ErrorReport **err);

#ifdef __cplusplus
}
#endif

#endif
