// frontend.cpp - a small model editor's session, built only against the installed kit,
// library and host: it creates a model, connects it (and is refused a cycle and a second
// output), draws it with a selection, hit-tests, copies it, saves it to memory and under a
// new name, prints a counted range of its pages and frees everything. docs/front-end.md
// walks through it.
//
//   frontend WORK_DIR
#include <cstdio>
#include <cstring>
#include <string>

#include "vmod/vmod.h"
#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost.h"
#include "vmodhost/vmodhost_printer.h"
#include "vmodkit/vmodkit.h"

namespace {

int failures = 0;

// Prints what failed and the report's messages, and releases the report.
void fail(const char *what, Oerr_ErrorReport **err) {
    ++failures;
    char *text = (err != nullptr && *err != nullptr) ? vmodhost_ErrorChainText(*err) : nullptr;
    std::printf("FAILED: %s%s%s\n", what, text != nullptr ? ": " : "", text != nullptr ? text : "");
    vmodkit_Free(text);
    if (err != nullptr) oerr_DeleteErrorReportEx(err);
}

const char *titleOf(const Vmod_Node *node) { return node != nullptr && node->title != nullptr ? node->title : "-"; }

// An arrow the editor asks for: allowed ones are drawn, refused ones say why.
void connect(Vmod_Model *model, Vmod_Node *from, Vmod_Node *to) {
    const char *reason = nullptr;
    if (vmodkit_CanConnect(model, from, to, &reason) != VMODKIT_CONNECT_OK) {
        std::printf("refused %s -> %s: %s\n", titleOf(from), titleOf(to), reason);
        return;
    }
    Oerr_ErrorReport *err = nullptr;
    if (vmodkit_Connect(model, from, to, &err) == nullptr)
        fail("connect", &err);
    else
        std::printf("connected %s -> %s\n", titleOf(from), titleOf(to));
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: frontend WORK_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    // The editor shows the reports it gets back through err, so the library's printed
    // copy of a file error is silenced.
    vmodhost_SetErrorSink(vmodhost_IgnoreErrorText, nullptr);
    Oerr_ErrorReport *err = nullptr;

    // Create: a model that saves as it is, and three nodes with the next identifiers.
    Vmod_Model *model = vmodkit_ModelNew(&err);
    if (model == nullptr) {
        fail("new model", &err);
        return 1;
    }
    Vmod_Node *elevation = vmodkit_NodeAdd(model, VMOD_RASTER, 1.0, 1.0, "elevation", &err);
    Vmod_Node *slope = vmodkit_NodeAdd(model, VMOD_FUNCTION, 3.0, 1.0, "SLOPE", &err);
    Vmod_Node *slopes = vmodkit_NodeAdd(model, VMOD_RASTER, 5.0, 1.0, "slopes", &err);
    Vmod_Node *aspect = vmodkit_NodeAdd(model, VMOD_RASTER, 5.0, 3.0, "aspect", &err);
    if (elevation == nullptr || slope == nullptr || slopes == nullptr || aspect == nullptr) {
        fail("add nodes", &err);
        vmodkit_ModelFree(model);
        return 1;
    }
    std::printf("nodes %d %d %d %d\n", elevation->id, slope->id, slopes->id, aspect->id);

    // Connect, and be refused a cycle and a second output.
    connect(model, elevation, slope);
    connect(model, slope, slopes);
    connect(model, slopes, slope);
    connect(model, slope, aspect);

    // Draw with a selection, on a canvas that records its calls. The model's own marks
    // are not touched: the selection is the editor's.
    Vmodkit_View view;
    vmodkit_ViewDefault(&view);
    Ooml_Canvas *canvas = vmodhost_RecordingCanvasCreate("frontend");
    Vmod_Node *selection[] = {slope};
    if (!vmodkit_DrawModel(model, canvas, &view, selection, 1, &err))
        fail("draw", &err);
    else
        std::printf("drawn; slope marked selected %d, highlighted %d\n", slope->selected, slope->highlighted);
    vmodhost_CanvasDelete(canvas);

    // Hit-test: a node, an arrow, nothing.
    Vmodkit_Hit hit;
    vmodkit_HitTest(model, &view, 3.0, 1.0, 0.05, &hit);
    std::printf("at (3, 1): node %s\n", titleOf(hit.node));
    Vmodkit_Box box;
    if (vmodkit_NodeBox(model, slope, &view, &box))
        std::printf("slope's box holds its glyph: %s\n",
                    box.left <= 2.5 && box.right >= 3.5 && box.top <= 0.5 && box.bottom >= 1.5 ? "yes" : "NO");
    vmodkit_HitTest(model, &view, 4.0, 1.0, 0.05, &hit);
    std::printf("at (4, 1): arrow %s -> %s\n", titleOf(hit.arrowFrom), titleOf(hit.arrowTo));
    std::printf("at (9, 9): %s\n", vmodkit_HitTest(model, &view, 9.0, 9.0, 0.05, &hit) ? "something" : "nothing");

    // Copy (the undo step), and compare the two in memory.
    Vmod_Model *copy = vmodkit_ModelCopy(model, &err);
    size_t modelLength = 0, copyLength = 0;
    char *modelText = vmodkit_ModelSaveMemory(model, &modelLength, &err);
    char *copyText = copy != nullptr ? vmodkit_ModelSaveMemory(copy, &copyLength, &err) : nullptr;
    if (modelText == nullptr || copyText == nullptr)
        fail("copy and save to memory", &err);
    else
        std::printf("copy saves the same %s\n",
                    modelLength == copyLength && std::memcmp(modelText, copyText, modelLength) == 0 ? "bytes"
                                                                                                  : "NOTHING");

    // Save as: the model takes the new name; the file holds what memory held.
    const std::string path = dir + "/frontend.vmf";
    if (!vmodkit_ModelSaveAs(model, path.c_str(), &err)) {
        fail("save as", &err);
    } else {
        std::FILE *file = std::fopen(path.c_str(), "rb");
        std::string saved;
        char chunk[4096];
        for (size_t got; file != nullptr && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            saved.append(chunk, got);
        if (file != nullptr) std::fclose(file);
        std::printf("saved as %s: %s\n", model->fileName != nullptr && path == model->fileName ? "renamed" : "NOT RENAMED",
                    modelText != nullptr && saved == std::string(modelText, modelLength) ? "same bytes" : "DIFFERENT");
    }
    // A save that cannot happen changes nothing.
    if (vmodkit_ModelSaveAs(model, (dir + "/missing/frontend.vmf").c_str(), &err)) {
        std::printf("FAILED: saved into a missing directory\n");
        ++failures;
    } else {
        std::printf("save into a missing directory refused; name kept: %s\n",
                    path == model->fileName ? "yes" : "NO");
        oerr_DeleteErrorReportEx(&err);
    }

    // Print: count the pages, then print those of the range 1..total that hold something,
    // labelled with the count.
    Vmodkit_Pages pages;
    if (!vmodkit_PageCount(model, &pages)) {
        fail("page count", nullptr);
    } else {
        int32_t *numbers = nullptr;
        size_t count = 0;
        if (!vmodkit_PagesHoldingSomething(model, VMODKIT_PRINTER, &numbers, &count, &err)) {
            fail("pages holding something", &err);
        } else {
            std::printf("pages: %d (%d x %d), %zu holding something\n", pages.total, pages.columns, pages.rows, count);
            Ogdi_DeviceContext *printer = vmodhost_RecordingPrinterCreate();
            vmodhost_PrinterSelect(printer);
            if (!vmodkit_PrintPages(model, numbers, count, pages.total, &err))
                fail("print", &err);
            else
                std::printf("printed %d of %zu pages\n", vmodhost_PrinterPageCount(printer), count);
            vmodhost_PrinterSelect(nullptr);
            vmodhost_PrinterDelete(printer);
        }
        vmodkit_Free(numbers);
    }

    // Free everything.
    vmodkit_Free(modelText);
    vmodkit_Free(copyText);
    vmodkit_ModelFree(copy);
    vmodkit_ModelFree(model);
    std::printf("%s\n", failures == 0 ? "done" : "done with failures");
    return failures == 0 ? 0 : 1;
}
