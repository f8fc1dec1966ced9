// check_context.cpp - the model as the checks see it, built in one pass over the list and
// one over the arrows.
#include "check_context.h"

#include <cstdio>
#include <unordered_set>

bool check_IsData(const Vmod_Node *node) { return node->type >= VMOD_RASTER && node->type <= VMOD_SCALAR; }

bool check_IsOperation(const Vmod_Node *node) { return node->type == VMOD_FUNCTION || node->type == VMOD_CRITERIA; }

std::string check_NodeName(const Vmod_Node *node) {
    static const char *const kinds[] = {"raster", "vector", "matrix", "table", "scalar", "function", "criteria", "text"};
    std::string text = std::string(node->type >= 0 && node->type < 8 ? kinds[node->type] : "unknown") + " node " +
                       std::to_string(node->id);
    if (node->title == nullptr) return text;
    text += " \"";
    for (const char *at = node->title; *at != '\0'; ++at) {
        const auto byte = static_cast<unsigned char>(*at);
        if (byte == '\n') text += "\\n";
        else if (byte == '\t') text += "\\t";
        else if (byte < 0x20 || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            text += code;
        } else text += *at;
    }
    return text + "\"";
}

Vmod_Node *CheckContext::find(int32_t id) const {
    auto found = firstWithId.find(id);
    return found == firstWithId.end() ? nullptr : nodes[found->second];
}

Vmod_Node *CheckContext::outputOf(const Vmod_Node *operation) const {
    return operation->children == nullptr ? nullptr : find(operation->children->id);
}

SourcePlace CheckContext::placeOf(const Vmod_Node *node, const char *keyword) const {
    auto at = position.find(node);
    if (at == position.end() || blockOf[at->second] < 0) return {};
    const SourceBlock &block = source.blocks[static_cast<size_t>(blockOf[at->second])];
    if (keyword != nullptr) {
        if (const SourcePlace *statement = source.find(block, keyword)) return *statement;
    }
    return block.start;
}

void check_BuildContext(Vmod_Model *model, const Vmodcheck_Options &options, CheckContext &context) {
    context.model = model;
    context.options = options;
    // Counted first, so that the maps are made once at their size instead of growing (up
    // to a bound: a list that loops back on itself is cut below).
    size_t listed = 0;
    for (const Vmod_Node *node = model->nodes; node != nullptr && listed < 10000000; node = node->next) ++listed;
    context.nodes.reserve(listed);
    context.position.reserve(listed);
    context.firstWithId.reserve(listed);
    for (Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
        // A list that loops back on itself ends where it meets a node again.
        if (!context.position.emplace(node, context.nodes.size()).second) break;
        context.firstWithId.emplace(node->id, context.nodes.size());
        context.nodes.push_back(node);
    }
    const size_t count = context.nodes.size();
    context.children.assign(count, {});
    context.parents.assign(count, {});
    for (size_t at = 0; at < count; ++at) {
        for (const Vmod_Link *link = context.nodes[at]->children; link != nullptr; link = link->next) {
            auto child = context.firstWithId.find(link->id);
            if (child == context.firstWithId.end()) continue;
            context.children[at].push_back(child->second);
            context.parents[child->second].push_back(at);
        }
    }

    context.blockOf.assign(count, -1);
    if (options.sourcePath != nullptr) {
        context.source = source_Scan(options.sourcePath);
        const auto &blocks = context.source.blocks;
        if (blocks.size() == count) {
            // The file holds the blocks in list order.
            for (size_t at = 0; at < count; ++at) context.blockOf[at] = static_cast<long>(at);
        } else {
            // The file changed since it was read: match what still matches by identifier.
            std::unordered_map<int32_t, long> byId;
            for (size_t b = 0; b < blocks.size(); ++b)
                if (blocks[b].hasId && blocks[b].id >= -2147483648.0 && blocks[b].id < 2147483648.0)
                    byId.emplace(static_cast<int32_t>(blocks[b].id), static_cast<long>(b));
            for (size_t at = 0; at < count; ++at) {
                auto found = byId.find(context.nodes[at]->id);
                if (found != byId.end()) context.blockOf[at] = found->second;
            }
        }
    }
}
