// check_names.cpp - see checks.h. A data node's title is its variable's name in the
// script, written bare; the script also makes names of its own: n<id>_recode for the
// recode table of a recoded raster or vector, n<id>_layer for the layer a table reads or
// writes a column of, and <title>_Org for the data behind a recoded raster or vector or
// behind a vector seen through an attribute.
#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "checks.h"

namespace {

constexpr size_t kEnd = static_cast<size_t>(-1);

bool present(const char *text) { return text != nullptr && text[0] != '\0'; }

bool startsName(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool inName(char c) { return startsName(c) || (c >= '0' && c <= '9'); }

// Why title cannot be a variable's name, or null when it can.
std::string whyNotName(const char *title) {
    if (title[0] == '$') return "starts with \"$\", so the script would declare the variable as " + std::string(title);
    if (title[0] >= '0' && title[0] <= '9') return "starts with a digit";
    for (const char *at = title; *at != '\0'; ++at) {
        const auto byte = static_cast<unsigned char>(*at);
        if (inName(*at)) continue;
        if (byte == ' ') return "holds a blank";
        if (byte == '"' || byte == '\'') return "holds a quote";
        if (byte < 0x20 || byte == 0x7F) return "holds a control character";
        if (byte >= 0x80) return "holds a character that is not ASCII";
        return std::string("holds \"") + *at + "\"";
    }
    return {};
}

// The title made into a name: every other character an underscore, a leading "$"
// dropped, an underscore before a leading digit.
std::string suggestedName(const char *title) {
    std::string name;
    for (const char *at = title[0] == '$' ? title + 1 : title; *at != '\0'; ++at) {
        // The bytes of one character that is not ASCII become one underscore.
        if ((static_cast<unsigned char>(*at) & 0xC0) == 0x80) continue;
        name += inName(*at) ? *at : '_';
    }
    if (name.empty() || !startsName(name[0])) name.insert(0, "_");
    return name;
}

// A name in the script: a node's title, or one the script makes for a node.
struct ScriptName {
    size_t node;         // position in the list
    const char *made;    // null for a title; else what the name is for
};

std::string describe(const CheckContext &context, std::string_view name, const ScriptName &entry) {
    const std::string node = check_NodeName(context.nodes[entry.node]);
    if (entry.made == nullptr) return node;
    return "the name " + std::string(name) + " that the script makes for " + entry.made + " of " + node;
}

// Up to three of the entries, then how many more.
std::string listed(const CheckContext &context, std::string_view name, const std::vector<ScriptName> &entries) {
    std::string text;
    const size_t shown = entries.size() > 3 ? 3 : entries.size();
    for (size_t i = 0; i < shown; ++i) {
        if (i > 0) text += i + 1 == shown && entries.size() == shown ? " and " : ", ";
        text += describe(context, name, entries[i]);
    }
    if (entries.size() > shown) text += " and " + std::to_string(entries.size() - shown) + " more";
    return text;
}

std::vector<int32_t> idsOf(const CheckContext &context, const std::vector<ScriptName> &entries) {
    std::vector<int32_t> ids;
    for (const ScriptName &entry : entries) ids.push_back(context.nodes[entry.node]->id);
    return ids;
}

// The names the script makes for node, with what each is for.
void madeNames(const Vmod_Node *node, std::vector<std::pair<std::string, const char *>> &names) {
    names.clear();
    if (node->data == nullptr) return;
    const auto id = [node] { return std::to_string(node->id); };
    bool recode = false, viaSource = false;
    if (node->type == VMOD_RASTER) {
        recode = static_cast<const Vmod_RasterData *>(node->data)->recode != 0;
        viaSource = recode;
    } else if (node->type == VMOD_VECTOR) {
        const auto *vector = static_cast<const Vmod_VectorData *>(node->data);
        recode = vector->recode != 0;
        viaSource = recode || (present(vector->attribute) && std::string(vector->attribute) != "Record Number");
    } else if (node->type == VMOD_TABLE) {
        const auto *table = static_cast<const Vmod_TableData *>(node->data);
        const bool layer = table->source == VMOD_TABLE_LAYER || table->outputToLayer;
        if (layer && (table->layerKind == VMOD_LAYER_IMAGE || table->layerKind == VMOD_LAYER_COVERAGE ||
                      table->layerKind == VMOD_LAYER_ANNOTATION))
            names.emplace_back("n" + id() + "_layer", "the layer");
    }
    if (recode) names.emplace_back("n" + id() + "_recode", "the recode table");
    if (viaSource && present(node->title)) names.emplace_back(std::string(node->title) + "_Org", "the source data");
}

void checkTitles(const CheckContext &context, ProblemList &problems) {
    for (const Vmod_Node *node : context.nodes) {
        if (!check_IsData(node)) continue;
        if (!present(node->title)) {
            problems.error("N001", {node->id},
                           check_NodeName(node) + " has no title, and the script names its data by the title",
                           "give the node a title made of letters, digits and underscores")
                .place = context.placeOf(node, "TITLE");
            continue;
        }
        const std::string why = whyNotName(node->title);
        if (why.empty()) continue;
        problems.error("N002", {node->id},
                       "the title of " + check_NodeName(node) + " is not a name the script can use: it " + why,
                       "rename it, e.g. to " + suggestedName(node->title) +
                           ": a letter or underscore, then letters, digits and underscores")
            .place = context.placeOf(node, "TITLE");
    }
}

// Every name of the script with the entries spelled that way, chained in list order, in
// flat arrays so that a model of 200,000 nodes costs no allocation per name.
struct Spelling {
    std::string_view name;
    size_t first = 0, last = 0;  // entries
    size_t nextSameFold = kEnd;  // the next spelling that folds to the same lower case
};

void checkClashes(const CheckContext &context, ProblemList &problems) {
    std::deque<std::string> madeStore;  // the names the script makes; stable addresses
    std::vector<ScriptName> entries;
    std::vector<size_t> nextEntry;      // the next entry of the same spelling
    std::vector<Spelling> spellings;    // in the order they first appear
    std::unordered_map<std::string_view, size_t> bySpelling;
    bySpelling.reserve(context.nodes.size());
    auto add = [&](std::string_view name, ScriptName entry) {
        const size_t index = entries.size();
        entries.push_back(entry);
        nextEntry.push_back(kEnd);
        auto [found, added] = bySpelling.emplace(name, spellings.size());
        if (added) {
            spellings.push_back({name, index, index});
        } else {
            Spelling &spelling = spellings[found->second];
            nextEntry[spelling.last] = index;
            spelling.last = index;
        }
    };
    std::vector<std::pair<std::string, const char *>> made;
    for (size_t at = 0; at < context.nodes.size(); ++at) {
        const Vmod_Node *node = context.nodes[at];
        if (!check_IsData(node)) continue;
        if (present(node->title)) add(node->title, {at, nullptr});
        madeNames(node, made);
        for (auto &[name, what] : made) add(madeStore.emplace_back(std::move(name)), {at, what});
    }

    std::deque<std::string> foldedStore;
    std::unordered_map<std::string_view, std::pair<size_t, size_t>> byFold;  // first and last spelling
    byFold.reserve(spellings.size());
    std::vector<size_t> foldOrder;
    std::vector<ScriptName> titled, generated;
    for (size_t index = 0; index < spellings.size(); ++index) {
        const Spelling &spelling = spellings[index];
        const std::string_view name = spelling.name;
        titled.clear();
        generated.clear();
        for (size_t at = spelling.first; at != kEnd; at = nextEntry[at])
            (entries[at].made == nullptr ? titled : generated).push_back(entries[at]);
        if (titled.size() > 1) {
            problems.error("N003", idsOf(context, titled),
                           listed(context, name, titled) + " have the same title, so the script would declare " +
                               std::string(name) + " more than once",
                           "give each data node a title of its own")
                .place = context.placeOf(context.nodes[titled[1].node], "TITLE");
        }
        if (!titled.empty() && !generated.empty()) {
            std::vector<ScriptName> both = titled;
            both.insert(both.end(), generated.begin(), generated.end());
            problems.error("N005", idsOf(context, both),
                           "the title of " + listed(context, name, titled) + " is " + listed(context, name, generated),
                           "rename the node so that its title differs from the names the script makes")
                .place = context.placeOf(context.nodes[titled[0].node], "TITLE");
        }
        std::string_view folded = spelling.name;
        if (std::any_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
            std::string lower(name);
            for (char &c : lower)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            folded = foldedStore.emplace_back(std::move(lower));
        }
        auto [found, added] = byFold.emplace(folded, std::make_pair(index, index));
        if (added) {
            foldOrder.push_back(index);
        } else {
            spellings[found->second.second].nextSameFold = index;
            found->second.second = index;
        }
    }

    // The language's rules on letter case are not known: names that differ only in case
    // are one variable if it ignores case, so they are worth a warning, not an error.
    for (size_t head : foldOrder) {
        if (spellings[head].nextSameFold == kEnd) continue;
        std::vector<size_t> group;
        for (size_t at = head; at != kEnd; at = spellings[at].nextSameFold) group.push_back(at);
        std::vector<ScriptName> firsts;  // the first entry of each spelling
        bool anyTitle = false;
        std::string text;
        const size_t shown = group.size() > 3 ? 3 : group.size();
        for (size_t at : group) {
            const ScriptName &entry = entries[spellings[at].first];
            anyTitle = anyTitle || entry.made == nullptr;
            if (firsts.size() < shown) {
                if (!firsts.empty()) text += firsts.size() + 1 == group.size() ? " and " : ", ";
                text += describe(context, spellings[at].name, entry);
            }
            firsts.push_back(entry);
        }
        if (!anyTitle) continue;
        if (group.size() > shown) text += " and " + std::to_string(group.size() - shown) + " more";
        problems.warning("N004", idsOf(context, firsts),
                         text + " differ only in letter case; a script that ignores case takes them for one variable",
                         "make the names differ in more than letter case")
            .place = context.placeOf(context.nodes[firsts[1].node], "TITLE");
    }
}

} // namespace

void check_Names(const CheckContext &context, ProblemList &problems) {
    checkTitles(context, problems);
    checkClashes(context, problems);
}
