// script_clauses.cpp - clauses shared by the header settings and the declarations.
#include "script/script_clauses.h"

#include "host/ofio.h"
#include "script/script_context.h"

void script_WriteRect(Ofio_File *file, const Vmod_Rect &rect) {
    ofio_Fprintf(file, " %.16g, %.16g : %.16g, %.16g", rect.x1, rect.y1, rect.x2, rect.y2);
}

bool script_WriteAreaOfInterest(Ofio_File *file, int32_t aoiMode, const char *aoiFile) {
    switch (aoiMode) {
    case 0:
        ofio_Fprintf(file, " NONE");
        return true;
    case 1:
        ofio_Fprintf(file, " DEFAULT");
        return true;
    case 2:
        ofio_Fprintf(file, " \"%s\"", script_Text(aoiFile));
        return true;
    default:
        return false;
    }
}

bool script_WriteCellSize(Ofio_File *file, double x, double y, int32_t units) {
    ofio_Fprintf(file, " %.16g, %.16g", x, y);
    if (units == 0) {
        ofio_Fprintf(file, " METERS");
    } else if (units == 1) {
        ofio_Fprintf(file, " FEET");
    } else {
        return false;
    }
    return true;
}
