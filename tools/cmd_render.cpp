// cmd_render.cpp - `vmod render MODEL OUT.png`: draw a model as the editor does and
// save the picture.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "commands.h"
#include "representable_model.h"
#include "vmodhost/oerr.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_view.h"

namespace {

struct RenderArgs {
    std::string model, out;
    double zoom = 1.0;
    int32_t pixelsPerInch = 96;
    std::set<int32_t> selected;
};

bool parseInt(const std::string &text, long min, long max, long *value) {
    if (text.empty()) return false;
    errno = 0;
    char *end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < min || v > max) return false;
    *value = v;
    return true;
}

// A decimal zoom the picture can be drawn at: 0.01 to 100.
bool parseZoom(const std::string &text, double *zoom) {
    if (text.empty() || text.find_first_of("xXnN") != std::string::npos) return false; // no hex, inf or nan
    char *end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(v >= 0.01 && v <= 100)) return false;
    *zoom = v;
    return true;
}

bool parseSelection(const std::string &text, std::set<int32_t> *ids) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        long id = 0;
        if (!parseInt(text.substr(start, comma - start), INT32_MIN, INT32_MAX, &id)) return false;
        ids->insert(static_cast<int32_t>(id));
        start = comma + 1;
    }
    return true;
}

// Splits "--name=value" and "--name value"; false with a usage error already reported.
int parseArgs(const ToolCommand &self, const std::vector<std::string> &args, RenderArgs *out) {
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i], value;
        bool isOption = arg.size() > 2 && arg.compare(0, 2, "--") == 0;
        if (!isOption) {
            if (arg.size() > 1 && arg[0] == '-') return tool_UsageError(self, "unknown option '" + arg + "'");
            positional.push_back(arg);
            continue;
        }
        size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        if (name != "--zoom" && name != "--ppi" && name != "--select")
            return tool_UsageError(self, "unknown option '" + name + "'");
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return tool_UsageError(self, name + " needs a value");
        }
        long ppi = 0;
        if (name == "--zoom" && !parseZoom(value, &out->zoom))
            return tool_UsageError(self, "--zoom takes a number from 0.01 to 100, not '" + value + "'");
        if (name == "--ppi") {
            if (!parseInt(value, 1, 2400, &ppi))
                return tool_UsageError(self, "--ppi takes a whole number from 1 to 2400, not '" + value + "'");
            out->pixelsPerInch = static_cast<int32_t>(ppi);
        }
        if (name == "--select" && !parseSelection(value, &out->selected))
            return tool_UsageError(self, "--select takes node identifiers separated by commas, not '" + value + "'");
    }
    if (positional.size() != 2)
        return tool_UsageError(self, positional.size() < 2 ? "missing argument" : "too many arguments");
    out->model = positional[0];
    out->out = positional[1];
    return TOOL_OK;
}

// The kit's report (one, with no cause) as a message; the report is released.
std::string reportMessage(Oerr_ErrorReport **err) {
    const char *message = *err != nullptr ? vmodhost_ErrorMessage(*err) : nullptr;
    std::string text = message != nullptr ? message : "the picture cannot be drawn";
    oerr_DeleteErrorReportEx(err);
    return text;
}

int renderModel(const ToolCommand &self, const RenderArgs &args, Vmod_Model *model) {
    std::vector<Vmod_Node *> selection;
    for (int32_t id : args.selected) {
        bool found = false;
        for (Vmod_Node *node = model->nodes; node; node = node->next)
            if (node->id == id) {
                selection.push_back(node);
                found = true;
            }
        if (!found) {
            std::fprintf(stderr, "vmod render: %s has no node %d\n", args.model.c_str(), id);
            return TOOL_FAILED;
        }
    }
    Vmodkit_View view;
    vmodkit_ViewDefault(&view);
    view.zoom = args.zoom;
    view.pixelsPerInch = args.pixelsPerInch;
    int32_t width = 0, height = 0;
    Oerr_ErrorReport *err = nullptr;
    if (!vmodkit_PictureFrame(model, &view, &width, &height, &err)) {
        std::fprintf(stderr, "vmod render: %s: %s\n", args.model.c_str(), reportMessage(&err).c_str());
        return TOOL_FAILED;
    }
    Ooml_Canvas *canvas = vmodhost_CairoCanvasCreate(width, height, view.background);
    if (!canvas) {
        std::fprintf(stderr, "vmod render: cannot make a canvas of %d x %d pixels\n", width, height);
        return TOOL_FAILED;
    }
    int status = TOOL_OK;
    if (!vmodkit_DrawModel(model, canvas, &view, selection.data(), selection.size(), &err)) {
        std::fprintf(stderr, "vmod render: %s: %s\n", args.model.c_str(), reportMessage(&err).c_str());
        status = TOOL_FAILED;
    } else if (!vmodhost_CairoCanvasSavePng(canvas, args.out.c_str(), &err)) {
        // The picture is saved whole or not at all; the path is never removed.
        tool_PrintWriteFailure(self, &err);
        status = TOOL_FAILED;
    }
    vmodhost_CanvasDelete(canvas);
    return status;
}

int runRender(const ToolCommand &self, const std::vector<std::string> &args) {
    RenderArgs parsed;
    if (int usage = parseArgs(self, args, &parsed); usage != TOOL_OK) return usage;
    if (!vmodhost_HasCairo()) {
        std::fprintf(stderr, "vmod render: this vmod was built without Cairo and cannot draw pictures\n");
        return TOOL_FAILED;
    }
    Vmod_Model model;
    if (!tool_ReadModel(parsed.model, &model)) return TOOL_FAILED;
    int status = tool_CheckRepresentable(self, parsed.model, model) ? renderModel(self, parsed, &model) : TOOL_FAILED;
    tool_ModelRelease(&model);
    return status;
}

} // namespace

extern const ToolCommand tool_command_render = {
    "render", "MODEL OUT.png [--zoom Z] [--ppi N] [--select ID,...]", "draw MODEL as the editor shows it and save the picture as a PNG file",
    "Options:\n"
    "  --zoom Z        view zoom factor (default 1; titles and text only at 1 or more)\n"
    "  --ppi N         pixels per inch at zoom 1, also the glyph box size (default 96)\n"
    "  --select ID,... draw these nodes selected (highlighted)\n"
    "The canvas is white and covers the node centres with a one-inch margin on every side,\n"
    "and every note's text whole.\n",
    runRender};
