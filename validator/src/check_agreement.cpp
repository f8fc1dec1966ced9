// check_agreement.cpp - the script generator has the last word: whatever it refuses is an
// error here, so that `vmod check` never calls ready a model that `vmod script` refuses.
//
// The generator's refusals come as sentences (vmodkit_ScriptRefusals). Those about a text
// the script cannot hold are each reported as S002, located at the statement the sentence
// names, unless the names or data checks already report them with a code of their own. What it refuses about the graph (S001) is reported only when no
// other check found an error: the areas before this one name those problems one by one.
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "checks.h"
#include "vmodhost/oerr.h"
#include "vmodkit/vmodkit_checks.h"

namespace {

bool Contains(const std::string &text, const char *part) { return text.find(part) != std::string::npos; }

// A refusal of one text (its wording is the generator's: "... cannot be written between
// quotes", "... is not a plain name (...)").
bool AboutAText(const std::string &refusal) {
    return Contains(refusal, " and cannot be written between quotes") || Contains(refusal, " is not a plain name (");
}

// Whether an error of the names or data checks already reports this refusal: a title
// that is not a plain name (an N code on the node) or a string table entry (D010).
bool ReportedElsewhere(const std::string &refusal, const Vmod_Node *node, const ProblemList &problems) {
    const bool title = Contains(refusal, ": the title is the script's name of its data");
    const bool entry = Contains(refusal, " of the table (VALUE)");
    if (node == nullptr || (!title && !entry)) return false;
    for (const Problem &problem : problems.all()) {
        if (problem.severity != VMODCHECK_ERROR) continue;
        if (!(title ? problem.code[0] == 'N' : problem.code == "D010")) continue;
        for (int32_t id : problem.nodes())
            if (id == node->id) return true;
    }
    return false;
}

// The statement keyword a refusal names in parentheses: "the file name (FILENAME) holds
// ..." gives FILENAME; "(PROJECTION SPECIFY)" gives PROJECTION.
std::string KeywordOf(const std::string &refusal) {
    const size_t open = refusal.find(" (");
    if (open == std::string::npos) return {};
    std::string keyword;
    for (size_t at = open + 2; at < refusal.size() && refusal[at] >= 'A' && refusal[at] <= 'Z'; ++at) keyword += refusal[at];
    return keyword;
}

// The node a refusal starts with ("node 4 ..." or `raster node 4 ...`), or null.
Vmod_Node *NodeOf(const CheckContext &context, const std::string &refusal) {
    const size_t at = refusal.find("node ");
    if (at == std::string::npos || at > 10) return nullptr;
    char *end = nullptr;
    const long id = std::strtol(refusal.c_str() + at + 5, &end, 10);
    if (end == refusal.c_str() + at + 5) return nullptr;
    return context.find(static_cast<int32_t>(id));
}

} // namespace

void check_Agreement(const CheckContext &context, ProblemList &problems) {
    Vmodkit_Texts refusals{};
    Oerr_ErrorReport *err = nullptr;
    if (!vmodkit_ScriptRefusals(context.model, &refusals, &err)) {
        oerr_DeleteErrorReportEx(&err);
        throw std::bad_alloc();
    }
    const bool othersFoundErrors = problems.errorCount() > 0;
    for (size_t i = 0; i < refusals.count; ++i) {
        const std::string refusal = refusals.texts[i];
        if (AboutAText(refusal)) {
            Vmod_Node *node = NodeOf(context, refusal);
            if (ReportedElsewhere(refusal, node, problems)) continue;
            const std::string keyword = KeywordOf(refusal);
            Problem &problem = problems.error(
                "S002", node != nullptr ? std::vector<int32_t>{node->id} : std::vector<int32_t>{},
                "the script cannot hold this text: " + refusal,
                "remove the double quote, line break or control character (or the final backslash), or use a "
                "plain name");
            if (node != nullptr) {
                problem.place = context.placeOf(node, keyword.empty() ? nullptr : keyword.c_str());
            } else if (auto header = context.source.header.find(keyword); header != context.source.header.end()) {
                problem.place = header->second;
            }
        } else if (!othersFoundErrors) {
            problems.error("S001", {}, "the script generator refuses the model: " + refusal,
                           "fix what the generator names; `vmod script` gives the same reason");
        }
    }
    vmodkit_FreeTexts(&refusals);
}
