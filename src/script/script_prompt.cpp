// script_prompt.cpp - the run-time file prompt shared by declarations, literal data and
// operation outputs. The host calls and their order are what the front end's chooser
// expects: preparation, title, (template), query, then the chosen value.
#include "script/script_prompt.h"

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ooml.h"
#include "vmodhost/ostr.h"
#include "script/script_quoting.h"

namespace {

// The local report every chooser call is given; the generator never reads it, but each
// report the host stores is released so that none leaks.
struct LocalReport {
    Oerr_ErrorReport *report = nullptr;
    Oerr_ErrorReport **slot() {
        oerr_DeleteErrorReportEx(&report);
        return &report;
    }
    ~LocalReport() { oerr_DeleteErrorReportEx(&report); }
};

constexpr int32_t kTextKind = 2;

void setFilterValue(Ooml_Part *chooser, const char *pattern, LocalReport &report) {
    char *copy = ostr_Duplicate(pattern);
    Ooci_Member *member = ooci_NewMember(kTextKind, &copy);
    Ooci_Set *set = ooci_NewSet(kTextKind, member);
    ooml_SetValue(chooser, set, report.slot());
    omsc_HeapFree(copy); // the member may have taken the string and cleared the pointer
}

void setRasterTypes(Ooml_Part *chooser, bool newFile, LocalReport &report) {
    ooml_FileNameListTypeDefsClear(chooser, report.slot());
    if (newFile) {
        ooml_FileNameListTypeDefAddEx(chooser, "raster", 0, 2, 2, 3, report.slot());
    } else {
        ooml_FileNameListTypeDefAdd(chooser, "raster", 0, report.slot());
    }
}

} // namespace

std::optional<std::string> script_PromptFile(ScriptContext &context, Ooml_Part *chooser, const char *prompt,
                                             const Vmod_Node *node, ScriptPromptSetup setup) {
    if (ofio_HasError(context.file)) {
        return std::nullopt;
    }
    LocalReport report;
    switch (setup) {
    case ScriptPromptSetup::NewRaster:
    case ScriptPromptSetup::ExistingRaster:
        setRasterTypes(chooser, setup == ScriptPromptSetup::NewRaster, report);
        break;
    case ScriptPromptSetup::CoverageFilter:
        setFilterValue(chooser, "*.arcinfo", report);
        break;
    case ScriptPromptSetup::AnnotationFilter:
        setFilterValue(chooser, "*.ovr", report);
        break;
    case ScriptPromptSetup::None:
    case ScriptPromptSetup::ImageLayer:
        break;
    }

    context.promptTitle = ostr_StringCat(context.promptTitle, prompt, node->title);
    ooml_PartTitleSet(chooser, context.promptTitle);

    switch (setup) {
    case ScriptPromptSetup::NewRaster:
    case ScriptPromptSetup::ExistingRaster:
        ooml_FileNameListTemplateSet(chooser, "*.img", report.slot());
        break;
    case ScriptPromptSetup::ImageLayer:
        setRasterTypes(chooser, false, report);
        ooml_FileNameListTemplateSet(chooser, "*.img", report.slot());
        break;
    default:
        break;
    }

    if (ooml_FileNameListQuery(chooser, context.model->frame, report.slot()) == 0) {
        return std::nullopt;
    }
    std::string chosen = script_Text(ooml_PartValueText(chooser));
    // The name goes between quotes like the model's own file names; one that cannot stops
    // the script here, as a cancel would, rather than break the statement.
    if (const char *why = script_WhyNotQuotable(chosen.c_str())) {
        context.stopReason = "the file name chosen at the prompt \"" + std::string(script_Text(context.promptTitle)) + "\" " +
                             why + " and cannot be written between quotes";
        return std::nullopt;
    }
    return chosen;
}

bool script_FileName(ScriptContext &context, bool ask, const char *stored, Ooml_Part *chooser, const char *prompt,
                     const Vmod_Node *node, ScriptPromptSetup setup, std::string &name) {
    name = script_Text(stored);
    if (!ask) {
        return true;
    }
    auto chosen = script_PromptFile(context, chooser, prompt, node, setup);
    if (!chosen) {
        return false;
    }
    name = *chosen;
    return true;
}
