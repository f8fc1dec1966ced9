// outputs.cpp - see outputs.h.
#include "outputs.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unordered_map>

#include "vmod/vmod.h"
#include "vmodcheck/vmodcheck.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"
#include "vmodhost/vmodhost_printer.h"
#include "vmodkit/vmodkit.h"

namespace {

std::string takeMessage(Oerr_ErrorReport **err, const char *fallback) {
    const char *message = *err != nullptr ? vmodhost_ErrorMessage(*err) : nullptr;
    std::string text = message != nullptr && *message ? message : fallback;
    oerr_DeleteErrorReportEx(err);
    return text;
}

EditorOutput failure(int status, const std::string &why) {
    EditorOutput out;
    out.status = status;
    out.error = why;
    return out;
}

// A directory only this process uses, removed with everything in it at the end of scope.
struct PrivateDir {
    std::string path;
    PrivateDir() {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vmod-edit-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) path = pattern;
    }
    ~PrivateDir() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    std::string file(const char *name) const { return path + "/" + name; }
};

bool readFile(const std::string &path, std::string &bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    bytes = buffer.str();
    return !in.bad();
}

struct ModelFree {
    void operator()(Vmod_Model *model) const { vmodkit_ModelFree(model); }
};
using ModelPtr = std::unique_ptr<Vmod_Model, ModelFree>;

ModelPtr copyOf(const Vmod_Model *model) {
    Oerr_ErrorReport *err = nullptr;
    ModelPtr copy(vmodkit_ModelCopy(model, &err));
    oerr_DeleteErrorReportEx(&err);
    return copy;
}

// The output a library writer left in file, or why there is none.
EditorOutput fromFile(const std::string &file, Oerr_ErrorReport **err, const char *what) {
    EditorOutput out;
    if (*err != nullptr) return failure(500, takeMessage(err, what));
    if (!readFile(file, out.bytes)) return failure(500, what);
    out.ok = true;
    out.status = 200;
    return out;
}

// The choosers and frame a front end gives the model while its script is written.
struct Choosers {
    Vmod_Model *model;
    Ooml_Frame *frame = vmodhost_FrameCreate();
    std::vector<Ooml_Part *> parts;
    explicit Choosers(Vmod_Model *m) : model(m) {
        Ooml_Part **fields[] = {&m->rasterChooser, &m->vectorChooser, &m->coverageChooser, &m->annotationChooser,
                                &m->matrixChooser, &m->tableChooser, &m->scalarChooser};
        const char *names[] = {"raster", "vector", "coverage", "annotation", "matrix", "table", "scalar"};
        m->frame = frame;
        for (size_t i = 0; i < 7; ++i) *fields[i] = parts.emplace_back(vmodhost_ChooserCreate(names[i]));
    }
    ~Choosers() {
        model->rasterChooser = model->vectorChooser = model->coverageChooser = model->annotationChooser = nullptr;
        model->matrixChooser = model->tableChooser = model->scalarChooser = nullptr;
        model->frame = nullptr;
        for (Ooml_Part *part : parts) vmodhost_ChooserDelete(part);
        vmodhost_FrameDelete(frame);
    }
};

struct Prompts {
    const std::vector<std::string> *answers = nullptr;
    size_t next = 0;
    std::vector<std::string> asked;
    bool cancelled = false;
};

// Answers each prompt with the next answer; none left (or an empty one) cancels.
int32_t answerPrompt(Ooml_Part *, const char *title, void *user, char **answer) {
    auto *prompts = static_cast<Prompts *>(user);
    prompts->asked.push_back(title ? title : "");
    if (prompts->next >= prompts->answers->size() || (*prompts->answers)[prompts->next].empty()) {
        prompts->cancelled = true;
        return 0;
    }
    *answer = ostr_Duplicate((*prompts->answers)[prompts->next++].c_str());
    return 1;
}

} // namespace

EditorOutput editor_Picture(Vmod_Model *model, double zoom, int32_t pixelsPerInch, const std::vector<int32_t> &select,
                            const EditorClip *clip) {
    std::unordered_map<int32_t, Vmod_Node *> byId;
    for (Vmod_Node *node = model->nodes; node; node = node->next) byId[node->id] = node; // the last one, as drawn
    std::vector<Vmod_Node *> selection;
    for (int32_t id : select) {
        auto found = byId.find(id);
        if (found == byId.end()) return failure(400, "there is no node " + std::to_string(id));
        selection.push_back(found->second);
    }
    Vmodkit_View view;
    vmodkit_ViewDefault(&view);
    view.zoom = zoom;
    view.pixelsPerInch = pixelsPerInch;
    int32_t width = 0, height = 0;
    Oerr_ErrorReport *err = nullptr;
    if (!vmodkit_PictureFrame(model, &view, &width, &height, &err))
        return failure(409, takeMessage(&err, "the picture cannot be drawn"));
    const std::string frame = std::to_string(view.scrollX) + "," + std::to_string(view.scrollY) + "," +
                              std::to_string(width) + "," + std::to_string(height);
    // The part to send, in canvas pixels once drawn; the canvas reaches kClipMargin pixels
    // past it (within the frame), since Cairo can stroke a shape cut by the canvas's edge
    // a pixel differently from the whole shape.
    constexpr int64_t kClipMargin = 8;
    int64_t sendX = 0, sendY = 0, sendWidth = width, sendHeight = height;
    if (clip != nullptr) {
        // The frame's rectangle cut to the clip; nothing in common leaves its first pixel.
        const int64_t frameX = view.scrollX, frameY = view.scrollY;
        int64_t left = std::max(frameX, clip->x), top = std::max(frameY, clip->y);
        int64_t right = std::min(frameX + width, clip->x + clip->width);
        int64_t bottom = std::min(frameY + height, clip->y + clip->height);
        if (right <= left || bottom <= top) left = frameX, top = frameY, right = left + 1, bottom = top + 1;
        const int64_t drawLeft = std::max(frameX, left - kClipMargin), drawTop = std::max(frameY, top - kClipMargin);
        const int64_t drawRight = std::min(frameX + width, right + kClipMargin);
        const int64_t drawBottom = std::min(frameY + height, bottom + kClipMargin);
        view.scrollX = int32_t(drawLeft);
        view.scrollY = int32_t(drawTop);
        width = int32_t(drawRight - drawLeft);
        height = int32_t(drawBottom - drawTop);
        sendX = left - drawLeft, sendY = top - drawTop, sendWidth = right - left, sendHeight = bottom - top;
    }
    Ooml_Canvas *canvas = vmodhost_CairoCanvasCreate(width, height, view.background);
    if (canvas == nullptr) return failure(500, "cannot make a canvas of that size");
    EditorOutput out;
    unsigned char *png = nullptr;
    size_t size = 0;
    if (!vmodkit_DrawModel(model, canvas, &view, selection.data(), selection.size(), &err)) {
        out = failure(500, takeMessage(&err, "the picture cannot be drawn"));
    } else if (!vmodhost_CairoCanvasPngPart(canvas, int32_t(sendX), int32_t(sendY), int32_t(sendWidth),
                                            int32_t(sendHeight), clip != nullptr, &png, &size)) {
        out = failure(500, "cannot write the picture");
    } else {
        out.ok = true;
        out.status = 200;
        out.bytes.assign(reinterpret_cast<const char *>(png), size);
        out.frame = frame;
        out.clip = std::to_string(view.scrollX + sendX) + "," + std::to_string(view.scrollY + sendY) + "," +
                   std::to_string(sendWidth) + "," + std::to_string(sendHeight);
    }
    omsc_HeapFree(png);
    vmodhost_CanvasDelete(canvas);
    return out;
}

EditorOutput editor_Problems(Vmod_Model *model) {
    Vmodcheck_Options options{};
    options.checkFiles = 0;
    Oerr_ErrorReport *err = nullptr;
    Vmodcheck_Report *report = vmodcheck_Validate(model, &options, &err);
    if (report == nullptr) return failure(500, takeMessage(&err, "the model cannot be checked"));
    char *json = vmodcheck_ReportJson(report, model, 0, &err);
    vmodcheck_ReportFree(report);
    if (json == nullptr) return failure(500, takeMessage(&err, "the model cannot be checked"));
    EditorOutput out;
    out.ok = true;
    out.status = 200;
    out.bytes = json;
    vmodcheck_Free(json);
    return out;
}

nlohmann::json editor_Script(Vmod_Model *model, const std::vector<std::string> &answers) {
    nlohmann::json result = {{"ok", true}, {"script", ""}, {"complete", false}, {"prompts", nlohmann::json::array()},
                             {"reason", ""}};
    Oerr_ErrorReport *err = nullptr;
    Choosers choosers(model);
    if (!vmodkit_ScriptCheck(model, &err)) {
        result["reason"] = takeMessage(&err, "the script cannot be written");
        return result;
    }
    PrivateDir dir;
    const std::string path = dir.file("script");
    Ofio_File *file = dir.path.empty() ? nullptr : ofio_Open(path.c_str(), "w", &err);
    if (file == nullptr) {
        result["reason"] = takeMessage(&err, "cannot make a scratch file");
        return result;
    }
    Prompts prompts;
    prompts.answers = &answers;
    vmodhost_SetChooserHandler(answerPrompt, &prompts);
    const Vmodkit_ScriptEnd end = vmodkit_ScriptWrite(model, file, &err);
    vmodhost_SetChooserHandler(nullptr, nullptr);
    std::string stop = err != nullptr ? takeMessage(&err, "") : "";
    std::string text;
    if (ofio_Close(file, 0) != 0 || !readFile(path, text)) stop = "cannot read the scratch file";
    result["script"] = text;
    result["prompts"] = prompts.asked;
    result["complete"] = end == VMODKIT_SCRIPT_COMPLETE && stop.empty();
    if (end != VMODKIT_SCRIPT_COMPLETE && prompts.cancelled)
        result["reason"] = "the prompt \"" + prompts.asked.back() + "\" has no answer";
    else if (end != VMODKIT_SCRIPT_COMPLETE || !stop.empty())
        result["reason"] = stop.empty() ? "the script is incomplete" : stop;
    return result;
}

EditorOutput editor_ExportEps(const Vmod_Model *model) {
    ModelPtr copy = copyOf(model);
    PrivateDir dir;
    if (!copy || dir.path.empty()) return failure(500, "cannot make the EPS file");
    const std::string file = dir.file("model.eps");
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelEPS(file.c_str(), copy.get(), &err);
    return fromFile(file, &err, "cannot make the EPS file");
}

EditorOutput editor_ExportSvg(const Vmod_Model *model) {
    ModelPtr copy = copyOf(model);
    PrivateDir dir;
    if (!copy || dir.path.empty()) return failure(500, "cannot make the SVG file");
    const std::string file = dir.file("model.svg");
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelAnno(copy.get(), file.c_str(), &err);
    return fromFile(file, &err, "cannot make the SVG file");
}

EditorOutput editor_ExportPdf(const Vmod_Model *model, const std::string &pages) {
    ModelPtr copy = copyOf(model);
    PrivateDir dir;
    if (!copy || dir.path.empty()) return failure(500, "cannot make the PDF file");
    Oerr_ErrorReport *err = nullptr;
    // The grid is widened (in the copy only) to cover every node, as `vmod print` does.
    Vmodkit_Widening widening{};
    vmodkit_CoverEveryNode(copy.get(), VMODKIT_PRINTER, &widening, &err);
    oerr_DeleteErrorReportEx(&err);
    Vmodkit_Pages grid{};
    vmodkit_PageCount(copy.get(), &grid);
    std::vector<int32_t> numbers;
    int32_t labelLast = grid.total;
    if (!pages.empty()) {
        long first = 0, last = 0;
        char dash = 0, extra = 0;
        int read = std::sscanf(pages.c_str(), "%ld%c%ld%c", &first, &dash, &last, &extra);
        if (read == 1) last = first;
        else if (read != 3 || dash != '-') return failure(400, "pages are FIRST-LAST or one page number");
        if (first < 1 || last < first || last > grid.total)
            return failure(400, "the diagram has " + std::to_string(grid.total) + " pages; " + pages + " is outside");
        if (last - first + 1 > VMODKIT_MAX_PAGES) return failure(400, "more pages than one print may hold");
        for (long page = first; page <= last; ++page) numbers.push_back(static_cast<int32_t>(page));
        labelLast = static_cast<int32_t>(last);
    } else {
        int32_t *holding = nullptr;
        size_t count = 0;
        if (!vmodkit_PagesHoldingSomething(copy.get(), VMODKIT_PRINTER, &holding, &count, &err))
            return failure(409, takeMessage(&err, "the diagram needs more pages than one print may hold"));
        numbers.assign(holding, holding + count);
        vmodkit_Free(holding);
        if (numbers.empty()) numbers.push_back(1);
    }
    const std::string file = dir.file("model.pdf");
    Ogdi_DeviceContext *printer = vmodhost_PdfPrinterCreate(file.c_str());
    if (printer == nullptr) return failure(500, "this vmod has no PDF printer");
    vmodhost_PrinterSetResolution(printer, 600);
    vmodhost_PrinterSetPaper(printer, copy->printerPageWidth, copy->printerPageHeight);
    vmodhost_PrinterSetOrientation(printer, copy->orientation != VMOD_PORTRAIT ? 1 : 0);
    vmodhost_PrinterSelect(printer);
    const bool failed = !vmodkit_PrintPages(copy.get(), numbers.data(), numbers.size(), labelLast, &err);
    oerr_DeleteErrorReportEx(&err);
    const char *why = vmodhost_PrinterFailure(printer);
    const std::string reason = why ? why : "cannot make the PDF file";
    vmodhost_PrinterDelete(printer);
    if (failed) return failure(500, reason);
    return fromFile(file, &err, "cannot make the PDF file");
}
