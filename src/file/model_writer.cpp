// vmod_ModelWrite: saving a model as a model file.
//
// Design of the output. The file is the header statements, one per line, in a fixed
// order, then one block per node in list order (block_writers.cpp). Keywords are in
// capitals, every string is quoted with its double quotes escaped, and numbers go
// through the host's formatted output, which writes a "." decimal point in every
// locale: "%g" (six significant digits) for page geometry, positions, colours and
// criteria values, "%.16g" for cell sizes, windows, areas and data values.
//
// Design of the save. The model is first walked without a file, and one it cannot be
// read back from is refused with a report naming the node and the field; nothing is
// written then. Otherwise the text goes to a new file beside the target, which replaces
// the target only once it is complete and on disk. Any failure leaves the earlier file
// as it was and no temporary file behind.
#include <string>

#include "file/block_writers.h"
#include "file/format_words.h"
#include "file/model_output.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "model/c_boundary.h"
#include "vmod/vmod.h"

namespace {

void putHeader(Vmod_ModelOutput &out, const Vmod_Model *m) {
    out.node = nullptr;
    if (m->title != nullptr) VMOD_PUT(out, "TITLE \"%s\";\n", file_OutputString(out, m->title, "TITLE"));
    // The page size keeps the unit it was read in; any unit but centimetres is inches.
    const int32_t pageUnits = m->pageUnits == VMOD_PAGE_CENTIMETERS ? VMOD_PAGE_CENTIMETERS : VMOD_PAGE_INCHES;
    VMOD_PUT(out, "PAGESIZE %g, %g %s;\n", m->pageWidth, m->pageHeight, file_FormatWord(file_PageUnitWords, pageUnits));
    switch (m->cellSizeMode) {
    case VMOD_CELLSIZE_MINIMUM: VMOD_PUT(out, "CELLSIZE MINIMUM;\n"); break;
    case VMOD_CELLSIZE_MAXIMUM: VMOD_PUT(out, "CELLSIZE MAXIMUM;\n"); break;
    case VMOD_CELLSIZE_GIVEN:
        if (const char *unit = file_OutputWord(out, "CELLSIZE unit", file_CellUnitWords, m->cellSizeUnits)) {
            VMOD_PUT(out, "CELLSIZE");
            VMOD_PUT(out, " %.16g, %.16g", static_cast<double>(m->cellSizeX), static_cast<double>(m->cellSizeY));
            VMOD_PUT(out, " %s;\n", unit);
        }
        break;
    default: file_OutputRefuse(out, "CELLSIZE " + std::to_string(m->cellSizeMode) + " has no word in a model file");
    }
    VMOD_PUT(out, "PRINTERPAGESIZE %g, %g;\n", m->printerPageWidth, m->printerPageHeight);
    VMOD_PUT(out, "MARGINS %g, %g, %g, %g;\n", m->margins[0], m->margins[1], m->margins[2], m->margins[3]);
    if (const char *word = file_FormatWord(file_OrientationWords, m->orientation))
        VMOD_PUT(out, "ORIENTATION %s;\n", word);
    VMOD_PUT(out, "PRINTSCALE %g;\n", m->printScale);
    if (m->pageNumbers) VMOD_PUT(out, "PAGENUMBERS;\n");
    switch (m->windowMode) {
    case VMOD_WINDOW_UNION: VMOD_PUT(out, "WINDOW UNION;\n"); break;
    case VMOD_WINDOW_INTERSECTION: VMOD_PUT(out, "WINDOW INTERSECTION;\n"); break;
    case VMOD_WINDOW_GIVEN: {
        const char *unit = file_OutputWord(out, "WINDOW unit", file_CoordinateWords, m->windowUnits);
        if (m->window == nullptr) file_OutputRefuse(out, "WINDOW 2 has no rectangle");
        if (unit != nullptr && m->window != nullptr) {
            const Vmod_Rect *w = m->window;
            VMOD_PUT(out, "WINDOW %.16g, %.16g : %.16g, %.16g", w->x1, w->y1, w->x2, w->y2);
            VMOD_PUT(out, " %s;\n", unit);
        }
        break;
    }
    default: break;
    }
    switch (m->projectionMode) {
    case VMOD_PROJECTION_DEFAULT: VMOD_PUT(out, "PROJECTION DEFAULT;\n"); break;
    case VMOD_PROJECTION_SAME_AS:
        VMOD_PUT(out, "PROJECTION SAMEAS \"%s\";\n", file_OutputString(out, m->projectionSameAs, "PROJECTION"));
        break;
    case VMOD_PROJECTION_SPECIFIED: {
        const char *first = file_OutputString(out, m->projectionSpec1, "PROJECTION");
        const char *second = file_OutputString(out, m->projectionSpec2, "PROJECTION");
        VMOD_PUT(out, "PROJECTION SPECIFY \"%s\" \"%s\";\n", first, second);
        break;
    }
    default: break;
    }
    switch (m->aoiMode) {
    case VMOD_AOI_NONE: VMOD_PUT(out, "AOI NONE;\n"); break;
    case VMOD_AOI_DEFAULT: VMOD_PUT(out, "AOI DEFAULT;\n"); break;
    case VMOD_AOI_FILE: VMOD_PUT(out, "AOI \"%s\";\n", file_OutputString(out, m->aoiFile, "AOI")); break;
    default: file_OutputRefuse(out, "AOI " + std::to_string(m->aoiMode) + " has no word in a model file");
    }
    VMOD_PUT(out, m->optimize ? "OPTIMIZE YES;\n" : "OPTIMIZE NO;\n");
}

void putModel(Vmod_ModelOutput &out, const Vmod_Model *model) {
    putHeader(out, model);
    for (const Vmod_Node *node = model->nodes; node != nullptr; node = node->next)
        if (Vmod_BlockWriter put = file_BlockWriterOf(node->type)) put(out, node);
}

// Stores a report with message (which names the file) in the caller's slot and shows it.
void fail(Oerr_ErrorReport **err, const char *message, const char *path, Oerr_ErrorReport *cause) {
    Oerr_ErrorReport *report =
        oerr_CreateErrorReport("vmod_ModelWrite", VMOD_ERR_FAILED, VMOD_SEVERITY_ERROR, cause, message, path != nullptr ? path : "", 0);
    oerr_PrintErrorReport(report, 0, 0);
    if (err != nullptr)
        *err = report;
    else
        oerr_DeleteErrorReportEx(&report);
}

// The save; may throw std::bad_alloc, after which no file is left behind.
void writeModel(Vmod_Model *model, Oerr_ErrorReport **err) {
    const char *path = model->fileName;

    Vmod_ModelOutput check;
    putModel(check, model);
    if (!check.problem.empty()) {
        Oerr_ErrorReport *cause =
            oerr_CreateErrorReport("vmod_ModelWrite", VMOD_ERR_UNREPRESENTABLE, VMOD_SEVERITY_ERROR, nullptr, "%s", check.problem.c_str(), 0);
        fail(err, "Error Cannot Write Model: %s", path, cause);
        return;
    }

    Oerr_ErrorReport *cause = nullptr;
    Ofio_File *file = ofio_SaveOpen(path, &cause);
    if (file == nullptr) {
        fail(err, "Error Cannot Write Model: %s", path, cause);
        return;
    }
    try {
        Vmod_ModelOutput out;
        out.file = file;
        putModel(out, model);
    } catch (...) {
        ofio_SaveCancel(file); // the earlier file stays as it was
        throw;
    }
    // Writes are not checked one by one: the file remembers a failed write and why, and
    // closing reports it.
    if (ofio_SaveClose(file, &cause) != 0) fail(err, "Error Closing Model: %s", path, cause);
}

} // namespace

extern "C" VMOD_API void vmod_ModelWrite(Vmod_Model *model, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    if (model == nullptr) return;
    model_GuardedReport("vmod_ModelWrite", err, [model, err] { writeModel(model, err); });
}
