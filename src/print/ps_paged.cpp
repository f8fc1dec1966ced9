// ps_paged.cpp - the prologue and page labels of a paged PostScript print, which a front
// end composes: vmod_HeaderPrint, the glyph procedures, a picture procedure drawing the
// model (with vmod_PrintPageNumbers inside it), then one "printpage" per page; the front
// end's document-structure comments close the prologue, mark each page and end the
// document (the kit's vmodkit_WritePostScript writes them all).
//
// Design of the paged PostScript. The header comments give the sheet (the printer page
// as it stands in portrait), its orientation and "%%Pages: (atend)"; the setup asks the
// device for that sheet. Each page is independent: "printpage" sets up its own
// coordinates inside gsave ... grestore (user space scaled by the print scale with y
// flipped, turned by -90 degrees in landscape), clips to the printable area of the paper
// and shifts the picture so that the page's column and row of the page grid show there,
// then removes whatever the picture left on the operand stack before "showpage", so a
// print of any length leaves the stack as it found it. Margins and printable sizes are
// divided by the scale, so they stay physical.
#include <cmath>

#include "vmodhost/ofio.h"
#include "print/page_grid.h"
#include "vmod/vmod.h"

namespace {

// "printpage": picture procedure, column and row in; one finished page out.
const char kPrintPage[] =
    "/printpage {\n"
    "\t/row exch def\n"
    "\t/column exch def\n"
    "\t/bigpictureproc exch def\n"
    "\t/rowcount row 1 sub def\n"
    "\t/colcount column 1 sub def\n"
    "\tcount /pagedepth exch def\n"
    "\tgsave\n"
    "\txoff yoff translate\n"
    "\txscale yscale scale\n"
    "\tangle rotate\n"
    "\t.01 inch setlinewidth\n"
    "\tangle 0 lt {\n"
    "\t\tnewpath\n"
    "\t\t\ttopmargin leftmargin moveto\n"
    "\t\t\t0 pagewidth rlineto\n"
    "\t\t\tpageheight 0 rlineto\n"
    "\t\t\t0 pagewidth neg rlineto\n"
    "\t\tclosepath clip\n"
    "\t\ttopmargin leftmargin translate\n"
    "\t\tgsave\n"
    "\t\t\tpageheight colcount mul neg\n"
    "\t\t\tpagewidth rowcount mul neg\n"
    "\t\t\ttranslate\n"
    "\t\t\tbigpictureproc\n"
    "\t\tgrestore\n"
    "\t} {\n"
    "\t\tnewpath\n"
    "\t\t\tleftmargin topmargin moveto\n"
    "\t\t\t0 pageheight rlineto\n"
    "\t\t\tpagewidth 0 rlineto\n"
    "\t\t\t0 pageheight neg rlineto\n"
    "\t\tclosepath clip\n"
    "\t\tleftmargin topmargin translate\n"
    "\t\tgsave\n"
    "\t\t\tpagewidth colcount mul neg\n"
    "\t\t\tpageheight rowcount mul neg\n"
    "\t\t\ttranslate\n"
    "\t\t\tbigpictureproc\n"
    "\t\tgrestore\n"
    "\t} ifelse\n"
    "\tgrestore\n"
    "\t{ count pagedepth le { exit } if pop } loop\n"
    "\tshowpage\n"
    "} def\n\n";

} // namespace

extern "C" {

void vmod_HeaderPrint(Ofio_File *file, Vmod_Model *model) {
    if (!file || !model) return;
    const double scale = vmod::print::EffectivePrintScale(*model);
    const double top = model->margins[0], bottom = model->margins[1], left = model->margins[2],
                 right = model->margins[3];
    ofio_Fprintf(file, "%%!PS-Adobe-3.0\n");
    if (vmod::print::UsableSheet(*model)) {
        const double width = model->printerPageWidth * 72, height = model->printerPageHeight * 72;
        ofio_Fprintf(file, "%%%%BoundingBox: 0 0 %.0f %.0f\n", std::ceil(width), std::ceil(height));
        ofio_Fprintf(file, "%%%%DocumentMedia: Plain %g %g 0 () ()\n", width, height);
    }
    ofio_Fprintf(file, "%%%%Orientation: %s\n", model->orientation != VMOD_PORTRAIT ? "Landscape" : "Portrait");
    ofio_Fprintf(file, "%%%%Pages: (atend)\n");
    ofio_Fprintf(file, "%%%%EndComments\n");
    ofio_Fprintf(file, "%%%%BeginProlog\n");
    ofio_Fprintf(file, "/inch {72 mul} def\n");
    ofio_Fprintf(file, "/xscale %g def\n", scale * 0.01);
    ofio_Fprintf(file, "/yscale %g def\n", -scale * 0.01);
    ofio_Fprintf(file, model->orientation != VMOD_PORTRAIT ? "/angle -90 def\n" : "/angle 0 def\n");
    ofio_Fprintf(file, "/xoff 0 inch def\n");
    ofio_Fprintf(file, "angle 0 lt {\n");
    ofio_Fprintf(file, "\t/yoff %g inch %g inch sub def\n", bottom, top);
    ofio_Fprintf(file, "} {\n");
    ofio_Fprintf(file, "\t/yoff %g inch def\n", model->printerPageHeight);
    ofio_Fprintf(file, "} ifelse\n");
    ofio_Fprintf(file, "/leftmargin %g inch xscale div def\n", left);
    ofio_Fprintf(file, "/topmargin %g inch yscale neg div def\n", top);
    ofio_Fprintf(file, "/pagewidth %g inch xscale div def\n", model->printerPageWidth - left - right);
    ofio_Fprintf(file, "/pageheight %g inch yscale neg div def\n", model->printerPageHeight - top - bottom);
    ofio_Fprintf(file, "%s", kPrintPage);
}

void vmod_PrintPageNumbers(Ofio_File *file, Vmod_Model *model, int32_t first, int32_t last) {
    if (!file || !model) return;
    const vmod::print::PageGrid grid = vmod::print::MakePageGrid(*model);
    ofio_Fprintf(file, "\n\t\t/Helvetica findfont\n");
    ofio_Fprintf(file, "\t\t7 %g mul scalefont\n", grid.k);
    ofio_Fprintf(file, "\t\tsetfont\n");
    // Every page asked for gets its label, up to the printed-page limit.
    if (!vmod::print::ClampPageRange(grid, first, last)) return;
    for (int64_t pageNumber = first; pageNumber <= last; ++pageNumber) {
        const int32_t page = static_cast<int32_t>(pageNumber);
        const vmod::print::PageCell cell = vmod::print::PageCellOf(grid, page);
        // Near the lower right corner of the page's printable area, in the picture's inches.
        ofio_Fprintf(file, "\n\t\t %g inch %g inch moveto\n", (grid.printableAcross * (cell.column0 + 1) - 0.5) * grid.k,
                     (grid.printableDown * (cell.row0 + 1) - 0.05) * grid.k);
        ofio_Fprintf(file, "\t\t1 -1 scale\n");
        ofio_Fprintf(file, "\t\t(Page %d) show\n", page);
        ofio_Fprintf(file, "\t\t1 -1 scale\n");
    }
}

} // extern "C"
