// script_clauses.h - the clauses that the header settings and the raster and vector
// declarations write alike: a rectangle, an area of interest, a cell size with its units.
// A mode or unit value the language has no word for writes nothing.
#ifndef VMOD_SCRIPT_CLAUSES_H
#define VMOD_SCRIPT_CLAUSES_H

#include <cstdint>

#include "vmod/vmod_records.h"

// " X1, Y1 : X2, Y2".
void script_WriteRect(Ofio_File *file, const Vmod_Rect &rect);

// " NONE", " DEFAULT" or the quoted file for aoiMode 0, 1, 2; false for any other mode.
bool script_WriteAreaOfInterest(Ofio_File *file, int32_t aoiMode, const char *aoiFile);

// " X, Y" followed by " METERS" or " FEET" for units 0, 1; false when no unit word follows.
bool script_WriteCellSize(Ofio_File *file, double x, double y, int32_t units);

#endif
