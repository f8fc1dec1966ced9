// eps_model.cpp - vmod_ModelEPS: the whole diagram as one Encapsulated PostScript file.
//
// Design of the EPS output. The file is framed by the host's EPS package (header with
// the bounding box, set-up, trailer). Between the header and the set-up stand the
// prologue: "inch", the scales and offsets, every glyph procedure and the arrows, and one
// procedure "model" that draws every node. The set-up is followed by the four lines that
// place and scale the picture and call "model". User space is in points with y flipped
// (yscale -1), so model y grows downward as on the canvas; the bounding box spans the
// node centres with one inch of border (and one more inch of room on the right and
// below for glyphs and titles), grown where a note's text reaches further.
#include <algorithm>
#include <memory>
#include <new>

#include "vmodhost/oeps.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/ovec.h"
#include "model/c_boundary.h"
#include "model/page_size.h"
#include "print/eps_node.h"
#include "print/eps_text.h"
#include "vmod/vmod.h"

namespace {

constexpr const char kCreator[] = "VISTARA Modelwright";
constexpr int32_t kFramingVersion = 14;

// Room left around a note's text where it reaches beyond the border, inches.
constexpr double kTextPadding = 0.1;

struct Extent {
    double minX, maxX, minY, maxY;
};

// The node centres' extent as the offsets use it: minX one inch further left and maxY
// one inch further down, and further where a note's text reaches; an empty model gives
// the box around (0, 0).
Extent CentreExtent(const Vmod_Model &model) {
    Extent e{vmod::PageWidthInches(model), 0, vmod::PageHeightInches(model), 0};
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        // Copies: the record's doubles may sit unaligned, so no reference may bind to them.
        const double x = node->x, y = node->y;
        e.maxX = std::max(e.maxX, x);
        e.minX = std::min(e.minX, x);
        e.maxY = std::max(e.maxY, y);
        e.minY = std::min(e.minY, y);
    }
    if (e.minX > e.maxX) e.minX = e.maxX;
    if (e.minY > e.maxY) e.minY = e.maxY;
    e.minX -= 1;
    e.maxY += 1;
    // A note's text may reach beyond the border: the picture holds it whole.
    for (const Vmod_Node *node = model.nodes; node; node = node->next) {
        if (node->type != VMOD_TEXT) continue;
        const vmod::print::TextBox text = vmod::print::NoteTextBox(*node);
        e.minX = std::min(e.minX, text.left - kTextPadding);
        e.maxX = std::max(e.maxX, text.right + kTextPadding - 1);
        e.minY = std::min(e.minY, text.top - kTextPadding + 1);
        e.maxY = std::max(e.maxY, text.bottom + kTextPadding);
    }
    return e;
}

// The report carries the host's reason (which names the file and the system's error) as
// its cause.
void Report(const char *format, const char *fileName, Oerr_ErrorReport *cause, Oerr_ErrorReport **err) {
    Oerr_ErrorReport *report = oerr_CreateErrorReport("vmod_ModelEPS", VMOD_ERR_FAILED, VMOD_SEVERITY_ERROR, cause, format, fileName, 0);
    oerr_PrintErrorReport(report, 0, 0);
    if (err) *err = report;
    else oerr_DeleteErrorReportEx(&report);
}

void WriteHeader(Ofio_File *file, const Vmod_Model &model, const Extent &e) {
    Oerr_ErrorReport *ignored = nullptr;
    const std::unique_ptr<Ovec_Bbox, void (*)(Ovec_Bbox *)> box(
        ovec_BboxCreate(0, 0, (e.maxX + 1 - e.minX) * 72 + 0.5, (e.maxY - (e.minY - 1)) * 72 + 0.5, &ignored),
        ovec_BboxDelete);
    oerr_DeleteErrorReportEx(&ignored);
    // The host makes no box only when memory is exhausted; a file framed without one
    // would claim an empty picture.
    if (box == nullptr) throw std::bad_alloc();
    oeps_Header(file, kCreator, model.fileName, box.get(), kFramingVersion);
}

void WriteProlog(Ofio_File *file, const Extent &e) {
    ofio_Fprintf(file, "/inch {72 mul} def\n");
    ofio_Fprintf(file, "/xscale 1.0 def\n");
    ofio_Fprintf(file, "/yscale -1.0 def\n");
    ofio_Fprintf(file, "/xoff %g inch def\n", -e.minX);
    ofio_Fprintf(file, "/yoff %g inch def\n", e.maxY);
    vmod::print::WriteGlyphProcedures(file);
}

void WriteModelProcedure(Ofio_File *file, Vmod_Model &model) {
    ofio_Fprintf(file, "/model {\n");
    ofio_Fprintf(file, "\tgsave\n");
    vmod::print::WriteNodes(file, model);
    ofio_Fprintf(file, "\tgrestore\n} def\n\n");
}

// The export; may throw std::bad_alloc, after which no file is left behind. The file is
// saved whole or not at all: a failed write leaves the earlier file.
void WriteEps(const char *fileName, Vmod_Model &model, Oerr_ErrorReport **err) {
    Oerr_ErrorReport *cause = nullptr;
    Ofio_File *file = ofio_SaveOpen(fileName, &cause);
    if (!file) {
        Report("Error Creating Print File: %s", fileName, cause, err);
        return;
    }
    try {
        const Extent extent = CentreExtent(model);
        WriteHeader(file, model, extent);
        WriteProlog(file, extent);
        WriteModelProcedure(file, model);
        oeps_Setup(file);
        ofio_Fprintf(file, "xoff yoff translate\n");
        ofio_Fprintf(file, "xscale yscale scale\n");
        ofio_Fprintf(file, ".01 inch setlinewidth\n");
        ofio_Fprintf(file, "model\n");
        oeps_Trailer(file);
    } catch (...) {
        ofio_SaveCancel(file); // the earlier file stays as it was
        throw;
    }
    if (ofio_SaveClose(file, &cause) == -1) Report("Error Closing EPS File: %s", fileName, cause, err);
}

} // namespace

extern "C" {

void vmod_ModelEPS(const char *fileName, Vmod_Model *model, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    if (!fileName || !model) return;
    model_GuardedReport("vmod_ModelEPS", err, [fileName, model, err] { WriteEps(fileName, *model, err); });
}

} // extern "C"
