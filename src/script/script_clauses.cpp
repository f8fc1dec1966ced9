// script_clauses.cpp - clauses shared by the header settings and the declarations.
#include "script/script_clauses.h"

#include "vmodhost/ofio.h"
#include "script/script_context.h"

void script_WriteRect(Ofio_File *file, const Vmod_Rect &rect) {
    ofio_Fprintf(file, " %.16g, %.16g : %.16g, %.16g", rect.x1, rect.y1, rect.x2, rect.y2);
}

bool script_WriteAreaOfInterest(Ofio_File *file, int32_t aoiMode, const char *aoiFile) {
    switch (aoiMode) {
    case VMOD_AOI_NONE:
        ofio_Fprintf(file, " NONE");
        return true;
    case VMOD_AOI_DEFAULT:
        ofio_Fprintf(file, " DEFAULT");
        return true;
    case VMOD_AOI_FILE:
        ofio_Fprintf(file, " \"%s\"", script_Text(aoiFile));
        return true;
    default:
        return false;
    }
}

bool script_WriteCellSize(Ofio_File *file, double x, double y, int32_t units) {
    ofio_Fprintf(file, " %.16g, %.16g", x, y);
    if (units == VMOD_UNITS_METERS) {
        ofio_Fprintf(file, " METERS");
    } else if (units == VMOD_UNITS_FEET) {
        ofio_Fprintf(file, " FEET");
    } else {
        return false;
    }
    return true;
}
