// check_prompts.cpp - see checks.h. The prompts are found by letting the script generator
// itself write the script into a throw-away file, with a chooser handler that notes each
// chooser's title and answers with a plain name; so they come in the order `vmod script
// --answer` answers them, with the very text the user is shown.
//
// Two prompts ask for the same file when their texts are equal: the same request
// ("Enter New File for Matrix:   ") for a node of the same title. The user, or a list of
// --answer values, cannot tell them apart; it is one node asked twice (two operations
// write it) or two nodes that share a title.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "checks.h"
#include "vmod/vmod.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_checks.h"

namespace {

// Every prompt's request ends in these three blanks; the node's title follows them.
constexpr char kRequestEnd[] = ":   ";
// What each prompt is answered with: a name any script can quote.
constexpr char kAnswer[] = "file";

struct Asked {
    std::string text;
    std::string chooser;
};

int32_t Record(Ooml_Part *part, const char *title, void *user, char **answer) {
    auto *asked = static_cast<std::vector<Asked> *>(user);
    try {
        const char *name = vmodhost_PartName(part);
        asked->push_back({title != nullptr ? title : "", name != nullptr ? name : ""});
    } catch (...) {
        return 0; // out of memory: the generation stops as if cancelled
    }
    *answer = ostr_Duplicate(kAnswer);
    return *answer != nullptr ? 1 : 0;
}

// Private choosers and the recording handler stand in for the model's own while the
// script is written; whatever was there before is put back, also on an exception.
class Choosers {
public:
    Choosers(Vmod_Model &model, std::vector<Asked> &asked) {
        Ooml_Part **fields[] = {&model.rasterChooser, &model.vectorChooser, &model.coverageChooser,
                                &model.annotationChooser, &model.matrixChooser, &model.tableChooser,
                                &model.scalarChooser};
        const char *names[] = {"raster", "vector", "coverage", "annotation", "matrix", "table", "scalar"};
        for (size_t i = 0; i < 7; ++i) {
            fields_[i] = fields[i];
            before_[i] = *fields[i];
            ours_[i] = vmodhost_ChooserCreate(names[i]);
            *fields[i] = ours_[i];
        }
        vmodhost_GetChooserHandler(&handler_, &user_);
        vmodhost_SetChooserHandler(Record, &asked);
    }
    ~Choosers() {
        vmodhost_SetChooserHandler(handler_, user_);
        for (size_t i = 0; i < 7; ++i) {
            *fields_[i] = before_[i];
            vmodhost_ChooserDelete(ours_[i]);
        }
    }
    Choosers(const Choosers &) = delete;
    Choosers &operator=(const Choosers &) = delete;

private:
    Ooml_Part **fields_[7]{};
    Ooml_Part *before_[7]{};
    Ooml_Part *ours_[7]{};
    Vmodhost_ChooserHandler handler_ = nullptr;
    void *user_ = nullptr;
};

// Where the script goes: the null device, else a file in a private temporary directory;
// either is gone when this is.
class ThrowAway {
public:
    ThrowAway() {
        Oerr_ErrorReport *err = nullptr;
        file_ = ofio_Open("/dev/null", "w", &err);
        oerr_DeleteErrorReportEx(&err);
        if (file_ != nullptr) return;
        const char *tmp = std::getenv("TMPDIR");
        std::string dir = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/vmodcheck-XXXXXX";
        if (mkdtemp(dir.data()) == nullptr) return;
        dir_ = dir;
        path_ = dir + "/script";
        file_ = ofio_Open(path_.c_str(), "w", &err);
        oerr_DeleteErrorReportEx(&err);
    }
    ~ThrowAway() {
        if (file_ != nullptr) ofio_Close(file_, 0);
        if (!path_.empty()) std::remove(path_.c_str());
        if (!dir_.empty()) rmdir(dir_.c_str());
    }
    ThrowAway(const ThrowAway &) = delete;
    ThrowAway &operator=(const ThrowAway &) = delete;

    Ofio_File *file() const { return file_; }

private:
    Ofio_File *file_ = nullptr;
    std::string dir_, path_;
};

// Whether a node of kind can be asked through the chooser named chooser.
bool Serves(const std::string &chooser, int32_t kind) {
    static const char *const names[] = {"raster", "vector", "matrix", "table", "scalar"};
    if (kind >= VMOD_RASTER && kind <= VMOD_SCALAR && chooser == names[kind]) return true;
    // A table's values may come from a layer of an image, a coverage or an annotation.
    return kind == VMOD_TABLE && (chooser == "raster" || chooser == "coverage" || chooser == "annotation");
}

// Whether the generator may ask node for a file: only data nodes whose prompt is on are.
bool MayAsk(const Vmod_Node *node) {
    if (node->data == nullptr) return false;
    switch (node->type) {
    case VMOD_RASTER: return static_cast<const Vmod_RasterData *>(node->data)->prompt != 0;
    case VMOD_VECTOR: return static_cast<const Vmod_VectorData *>(node->data)->prompt != 0;
    case VMOD_MATRIX: return static_cast<const Vmod_MatrixData *>(node->data)->prompt != 0;
    case VMOD_TABLE: {
        const auto *table = static_cast<const Vmod_TableData *>(node->data);
        return table->prompt != 0 || table->promptLayerFile != 0;
    }
    case VMOD_SCALAR: return static_cast<const Vmod_ScalarData *>(node->data)->prompt != 0;
    default: return false;
    }
}

// The statement of node's block that sets the prompt up: a table asked for the layer its
// values come from has its own.
const char *StatementOf(const Asked &prompt, const Vmod_Node *node) {
    const bool layer = node->type == VMOD_TABLE && prompt.chooser != "table";
    return layer ? "PROMPTLAYERFILE" : "PROMPT";
}

// A text as a message quotes it: control characters as escapes.
std::string Shown(const std::string &text) {
    std::string shown;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\n') shown += "\\n";
        else if (byte == '\t') shown += "\\t";
        else if (byte < 0x20 || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            shown += code;
        } else shown += c;
    }
    return shown;
}

std::string Ordinal(size_t n) {
    const size_t lastTwo = n % 100, last = n % 10;
    const char *suffix = (lastTwo >= 11 && lastTwo <= 13) ? "th"
                         : last == 1                      ? "st"
                         : last == 2                      ? "nd"
                         : last == 3                      ? "rd"
                                                          : "th";
    return std::to_string(n) + suffix;
}

// The nodes that asked: by the title after the request, among the data nodes the chooser
// serves. Of several nodes with that title, the k-th time a text is asked goes to the
// k-th of them in list order (the last one when they run out: one node asked again).
std::vector<const Vmod_Node *> AskingNodes(const CheckContext &context, const std::vector<Asked> &asked) {
    std::unordered_map<std::string, std::vector<const Vmod_Node *>> byTitle;
    for (const Vmod_Node *node : context.nodes)
        if (check_IsData(node) && node->title != nullptr) byTitle[node->title].push_back(node);
    // The nodes that fit a chooser and a title, found once for each pair.
    std::unordered_map<std::string, std::vector<const Vmod_Node *>> fittingOf;
    std::unordered_map<std::string, size_t> timesAsked;
    std::vector<const Vmod_Node *> nodes;
    for (const Asked &prompt : asked) {
        const size_t end = prompt.text.find(kRequestEnd);
        const std::string title = end == std::string::npos ? "" : prompt.text.substr(end + sizeof kRequestEnd - 1);
        auto [fitting, fresh] = fittingOf.try_emplace(prompt.chooser + '\n' + title);
        if (fresh) {
            auto found = byTitle.find(title);
            if (found != byTitle.end())
                for (const Vmod_Node *node : found->second)
                    if (Serves(prompt.chooser, node->type)) fitting->second.push_back(node);
        }
        const std::vector<const Vmod_Node *> &candidates = fitting->second;
        const size_t time = timesAsked[prompt.text]++;
        nodes.push_back(candidates.empty() ? nullptr : candidates[std::min(time, candidates.size() - 1)]);
    }
    return nodes;
}

} // namespace

void check_Prompts(const CheckContext &context, ProblemList &problems, std::vector<PromptRecord> &prompts) {
    // The generator walks the model's own list: a list that loops back on itself is left alone.
    if (!context.nodes.empty() && context.nodes.back()->next != nullptr) return;
    // Writing the script costs as much as `vmod script`: not worth it when nothing can be asked.
    if (std::none_of(context.nodes.begin(), context.nodes.end(), MayAsk)) return;
    Vmod_Model &model = *context.model;
    std::vector<Asked> asked;
    Oerr_ErrorReport *err = nullptr;
    Vmodkit_ScriptEnd end = VMODKIT_SCRIPT_FAILED;
    {
        ThrowAway output;
        if (output.file() == nullptr) return;
        Choosers choosers(model, asked);
        // A model the generator refuses is not written, so nothing is asked. The generator
        // clears the marks it sets on the operations: the model is left as it was.
        end = vmodkit_ScriptWrite(&model, output.file(), &err);
    }
    const bool memory = vmodhost_ErrorCode(err) == VMOD_ERR_MEMORY;
    oerr_DeleteErrorReportEx(&err);
    if (memory || end == VMODKIT_SCRIPT_CANCELLED) throw std::bad_alloc(); // nothing else cancels
    if (end != VMODKIT_SCRIPT_COMPLETE) return;

    const std::vector<const Vmod_Node *> nodes = AskingNodes(context, asked);
    std::unordered_map<std::string, std::vector<size_t>> sameText;
    std::vector<std::string> duplicated; // texts asked more than once, in the order first asked
    for (size_t i = 0; i < asked.size(); ++i) {
        const Vmod_Node *node = nodes[i];
        prompts.push_back({node != nullptr ? node->id : 0, asked[i].text});
        std::vector<size_t> &same = sameText[asked[i].text];
        same.push_back(i);
        if (same.size() == 2) duplicated.push_back(asked[i].text);
        std::string message = "the script asks \"" + Shown(asked[i].text) + "\"";
        if (node != nullptr) message = check_NodeName(node) + " asks for a file: \"" + Shown(asked[i].text) + "\"";
        Problem &problem = problems.info(
            "P001", node != nullptr ? std::vector<int32_t>{node->id} : std::vector<int32_t>{},
            message + " (prompt " + std::to_string(i + 1) + ")",
            "`vmod script` takes the " + Ordinal(i + 1) + " --answer for it.");
        if (node != nullptr) problem.place = context.placeOf(node, StatementOf(asked[i], node));
    }

    for (const std::string &text : duplicated) {
        const std::vector<size_t> &same = sameText[text];
        std::vector<int32_t> ids;
        std::vector<const Vmod_Node *> distinct;
        std::unordered_set<const Vmod_Node *> known;
        for (size_t i : same) {
            const Vmod_Node *node = nodes[i];
            if (node == nullptr || !known.insert(node).second) continue;
            distinct.push_back(node);
            ids.push_back(node->id);
        }
        std::string by;
        for (size_t k = 0; k < distinct.size(); ++k)
            by += (k == 0 ? "" : k + 1 == distinct.size() ? " and " : ", ") + check_NodeName(distinct[k]);
        const bool oneNode = distinct.size() == 1;
        Problem &problem = problems.warning(
            "P002", ids,
            "the script asks \"" + Shown(text) + "\" " + std::to_string(same.size()) + " times" +
                (by.empty() ? "" : ", for " + by) + ", and nothing tells the answers apart",
            oneNode ? "Let one operation write the node, or give its file in the model instead of a prompt."
                    : "Give the nodes different titles, or give their files in the model instead of prompts.");
        if (!distinct.empty())
            problem.place = context.placeOf(distinct.back(), StatementOf(asked[same.back()], distinct.back()));
    }
}
