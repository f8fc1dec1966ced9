// eps_procedures.cpp - the PostScript procedures of the printed glyphs and arrows.
//
// Each glyph procedure takes the node centre (in points) from the operand stack and
// strokes the glyph with fixed inch offsets around it, so the model procedure only has to
// push a centre and name the glyph. The texts are fixed; they go out through "%s" so
// that no character in them is read as a conversion. Each block ends with an empty line.
//
// The for loops of raster, matrix and criteria leave their control values on the operand
// stack; the EPS trailer clears whatever is left there.
#include "print/eps_node.h"
#include "vmodhost/ofio.h"
#include "vmod/vmod.h"

namespace {

// The end shared by the vector and table glyphs: from the box's lower left corner, its
// outline, then the stroke of the whole path.
#define UNIT_BOX_FROM_LOWER_LEFT \
    "\t\t1 inch 0 inch rlineto\n" \
    "\t\t0 inch 1 inch rlineto\n" \
    "\t\t-1 inch 0 inch rlineto\n" \
    "\t\tclosepath\n" \
    "\tstroke\n" \
    "} def\n\n"

const char kRasterProcedure[] =
    "/raster {\n"
    "\tnewpath moveto\n"
    "\t\t-.4 inch -.2 inch rmoveto\n"
    "\t\t-.2 inch -.08 inch rlineto\n"
    "\t\t.6 inch -.22 inch rlineto\n"
    "\t\t.6 inch .22 inch rlineto\n"
    "\t\t-.2 inch .08 inch rlineto\n"
    "\t\t.0 .1 .3 {\n"
    "\t\t\t.06 inch -.02 inch rmoveto\n"
    "\t\t\t.14 inch .04 inch rlineto\n"
    "\t\t\t-.2 inch .08 inch rlineto\n"
    "\t\t} for\n"
    "\t\t.06 inch -.02 inch rmoveto\n"
    "\t\t.14 inch .04 inch rlineto\n"
    "\t\t-.6 inch .22 inch rlineto\n"
    "\t\t-.6 inch -.22 inch rlineto\n"
    "\t\t.14 inch -.04 inch rlineto\n"
    "\t\t.0 .1 .3 {\n"
    "\t\t\t.06 inch .02 inch rmoveto\n"
    "\t\t\t-.2 inch -.08 inch rlineto\n"
    "\t\t\t.14 inch -.04 inch rlineto\n"
    "\t\t} for\n"
    "\tstroke\n"
    "} def\n\n";

const char kVectorProcedure[] =
    "/vector {\n"
    "\tnewpath moveto\n"
    "\t\t0 inch -.5 inch rmoveto\n"
    "\t\t-.5 inch .75 inch rlineto\n"
    "\t\t.25 inch -.375 inch rmoveto\n"
    "\t\t.75 inch .25 inch rlineto\n"
    "\t\t-.5 inch .0625 inch rmoveto\n"
    "\t\t0 inch .125 inch rlineto\n"
    "\t\t-.0625 inch -.0625 inch rmoveto\n"
    "\t\t.125 inch 0 inch rlineto\n"
    "\t\t.1875 inch -.5625 inch rmoveto\n"
    "\t\t0 inch .125 inch rlineto\n"
    "\t\t-.0625 inch -.0625 inch rmoveto\n"
    "\t\t.125 inch 0 inch rlineto\n"
    "\t\t-.8125 inch -.25 inch rmoveto\n"
    UNIT_BOX_FROM_LOWER_LEFT;

const char kMatrixProcedure[] =
    "/matrix {\n"
    "\tnewpath moveto\n"
    "\t\t-.5 inch -.5 inch rmoveto\n"
    "\t\t.2 .2 .8 {\n"
    "\t\t\t.2 inch 1 inch rmoveto\n"
    "\t\t\t0 inch -1 inch rlineto\n"
    "\t\t} for\n"
    "\t\t.2 inch 1 inch rmoveto\n"
    "\t\t.2 .2 .8 {\n"
    "\t\t\t-1 inch -.2 inch rmoveto\n"
    "\t\t\t1 inch 0 inch rlineto\n"
    "\t\t} for\n"
    "\t\t-1 inch .8 inch rmoveto\n"
    "\t\t1 inch 0 inch rlineto\n"
    "\t\t0 inch -1 inch rlineto\n"
    "\t\t-1 inch 0 inch rlineto\n"
    "\t\tclosepath\n"
    "\tstroke\n"
    "} def\n\n";

const char kTableProcedure[] =
    "/table {\n"
    "\tnewpath moveto\n"
    "\t\t-.17 inch .5 inch rmoveto\n"
    "\t\t0 inch -1 inch rlineto\n"
    "\t\t-.33 inch .17 inch rmoveto\n"
    "\t\t1 inch 0 inch rlineto\n"
    "\t\t-1 inch -.17 inch rmoveto\n"
    UNIT_BOX_FROM_LOWER_LEFT;

const char kScalarProcedure[] =
    "/scalar {\n"
    "\tnewpath moveto\n"
    "\t\t-.5 inch .375 inch rmoveto\n"
    "\t\t1 inch 0 inch rlineto\n"
    "\t\t0 inch -.75 inch rlineto\n"
    "\t\t-1 inch 0 inch rlineto\n"
    "\t\tclosepath\n"
    "\tstroke\n"
    "} def\n\n";

const char kFunctionProcedure[] =
    "/function {\n"
    "\tnewpath\n"
    "\t\t.5 inch 0 360 arc\n"
    "\tstroke\n"
    "} def\n\n";

const char kCriteriaProcedure[] =
    "/criteria {\n"
    "\tnewpath\n"
    "\t\t.5 inch 0 360 arc\n"
    "\t\t-.5 inch 0 inch rmoveto\n"
    "\t\t-.25 inch -.25 inch rmoveto\n"
    "\t\t0 .125 .25 {\n"
    "\t\t\t.125 inch .5 inch rmoveto\n"
    "\t\t\t0 inch -.5 inch rlineto\n"
    "\t\t} for\n"
    "\t\t.125 inch .5 inch rmoveto\n"
    "\t\t0 .125 .25 {\n"
    "\t\t\t-.5 inch -.125 inch rmoveto\n"
    "\t\t\t.5 inch 0 inch rlineto\n"
    "\t\t} for\n"
    "\t\t-.5 inch .375 inch rmoveto\n"
    "\t\t.5 inch 0 inch rlineto\n"
    "\t\t0 inch -.5 inch rlineto\n"
    "\t\t-.5 inch 0 inch rlineto\n"
    "\t\tclosepath\n"
    "\tstroke\n"
    "} def\n\n";

const char kArrowProcedure[] =
    "/arrowhead {\n"
    "\tgsave\n"
    "\t\tcurrentpoint\n"
    "\t\t4 2 roll exch 4 -1 roll exch\n"
    "\t\tsub 3 1 roll sub\n"
    "\t\texch atan rotate\n"
    "\t\t-15 -5 rlineto\n"
    "\t\t3 5 rlineto\n"
    "\t\t-3 5 rlineto\n"
    "\t\tclosepath fill\n"
    "\tgrestore\n"
    "} bind def\n"
    "/arrow {\n"
    "\tgsave\n"
    "\t\t4 2 roll\n"
    "\t\tmoveto\n"
    "\t\tcurrentpoint 4 2 roll\n"
    "\t\tlineto\n"
    "\t\tcurrentpoint stroke moveto\n"
    "\t\tarrowhead\n"
    "\tgrestore\n"
    "} bind def\n\n";

void WriteProcedure(Ofio_File *file, const char *text) {
    if (file) ofio_Fprintf(file, "%s", text);
}

} // namespace

extern "C" {

void vmod_RasterPrint(Ofio_File *file) { WriteProcedure(file, kRasterProcedure); }
void vmod_VectorPrint(Ofio_File *file) { WriteProcedure(file, kVectorProcedure); }
void vmod_MatrixPrint(Ofio_File *file) { WriteProcedure(file, kMatrixProcedure); }
void vmod_TablePrint(Ofio_File *file) { WriteProcedure(file, kTableProcedure); }
void vmod_ScalarPrint(Ofio_File *file) { WriteProcedure(file, kScalarProcedure); }
void vmod_FunctionPrint(Ofio_File *file) { WriteProcedure(file, kFunctionProcedure); }
void vmod_CriteriaPrint(Ofio_File *file) { WriteProcedure(file, kCriteriaProcedure); }
void vmod_ArrowPrint(Ofio_File *file) { WriteProcedure(file, kArrowProcedure); }

} // extern "C"

namespace vmod::print {

void WriteGlyphProcedures(Ofio_File *file) {
    vmod_RasterPrint(file);
    vmod_VectorPrint(file);
    vmod_MatrixPrint(file);
    vmod_TablePrint(file);
    vmod_ScalarPrint(file);
    vmod_FunctionPrint(file);
    vmod_CriteriaPrint(file);
    vmod_ArrowPrint(file);
}

} // namespace vmod::print
