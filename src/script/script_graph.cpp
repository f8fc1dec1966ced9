// script_graph.cpp - the generator's view of the model and its refusal rules. The order
// of operations is the model's (model/operation_order.h).
#include "script/script_graph.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "model/model_internal.h"
#include "script/script_context.h"
#include "vmod/vmod.h"

namespace {

void addProblem(std::string &why, const std::string &problem) {
    if (!why.empty()) {
        why += "; ";
    }
    why += problem;
}

bool isData(const Vmod_Node *node) { return node->type >= VMOD_RASTER && node->type <= VMOD_SCALAR; }

// Kahn's order over the union of the child arrows (resolved by identifier) and the parent
// arrows (resolved by pointer); returns the positions left on a cycle.
std::vector<int> orderUpstreamFirst(const ScriptGraph &graph, std::vector<int> &order,
                                    std::vector<std::vector<int>> &upstream) {
    const size_t count = graph.nodes.size();
    std::vector<std::vector<int>> downstream(count);
    upstream.assign(count, {});
    for (size_t at = 0; at < count; ++at) {
        for (int parent : graph.parents[at]) {
            downstream[parent].push_back(static_cast<int>(at));
            upstream[at].push_back(parent);
        }
        for (const Vmod_Link *link = graph.nodes[at]->children; link != nullptr; link = link->next) {
            auto child = graph.firstWithId.find(link->id);
            if (child != graph.firstWithId.end()) {
                downstream[at].push_back(child->second);
                upstream[child->second].push_back(static_cast<int>(at));
            }
        }
    }
    std::vector<int> waiting(count);
    for (size_t at = 0; at < count; ++at) {
        waiting[at] = static_cast<int>(upstream[at].size());
    }
    order.clear();
    for (size_t at = 0; at < count; ++at) {
        if (waiting[at] == 0) {
            order.push_back(static_cast<int>(at));
        }
    }
    for (size_t next = 0; next < order.size(); ++next) {
        for (int child : downstream[order[next]]) {
            if (--waiting[child] == 0) {
                order.push_back(child);
            }
        }
    }
    std::vector<int> onCycle;
    for (size_t at = 0; at < count; ++at) {
        if (waiting[at] > 0) {
            onCycle.push_back(static_cast<int>(at));
        }
    }
    return onCycle;
}

// One cycle among the nodes Kahn's order could not place, in the direction of the arrows.
std::string describeCycle(const ScriptGraph &graph, const std::vector<int> &onCycle,
                          const std::vector<std::vector<int>> &upstream) {
    std::vector<char> left(graph.nodes.size(), 0);
    for (int at : onCycle) {
        left[at] = 1;
    }
    // Every node left has an upstream neighbour that is also left: walk upstream until a
    // node repeats.
    std::vector<int> seenAt(graph.nodes.size(), -1);
    std::vector<int> walk;
    int at = onCycle.front();
    while (seenAt[at] < 0) {
        seenAt[at] = static_cast<int>(walk.size());
        walk.push_back(at);
        for (int up : upstream[at]) {
            if (left[up]) {
                at = up;
                break;
            }
        }
    }
    std::vector<int> cycle(walk.begin() + seenAt[at], walk.end());
    std::reverse(cycle.begin(), cycle.end());
    // Start at the member that comes first in the list, so the account does not depend on
    // where the walk entered the cycle.
    std::rotate(cycle.begin(), std::min_element(cycle.begin(), cycle.end()), cycle.end());
    std::string text = "arrows form a cycle: ";
    for (int member : cycle) {
        text += script_DescribeNode(graph.nodes[member]) + " -> ";
    }
    text += script_DescribeNode(graph.nodes[cycle.front()]);
    return text;
}

} // namespace

std::string script_DescribeNode(const Vmod_Node *node) {
    std::string text = "node " + std::to_string(node->id);
    if (node->title == nullptr) {
        return text;
    }
    text += " \"";
    for (const char *at = node->title; *at != '\0'; ++at) {
        const auto byte = static_cast<unsigned char>(*at);
        if (byte == '"' || byte == '\\') {
            text += '\\';
            text += *at;
        } else if (byte == '\n') {
            text += "\\n";
        } else if (byte == '\r') {
            text += "\\r";
        } else if (byte == '\t') {
            text += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            text += code;
        } else {
            text += *at;
        }
    }
    text += "\"";
    return text;
}

Vmod_Node *script_FindNode(const ScriptGraph &graph, int32_t id) {
    auto found = graph.firstWithId.find(id);
    return found == graph.firstWithId.end() ? nullptr : graph.nodes[found->second];
}

bool script_BuildGraph(Vmod_Model *model, ScriptGraph &graph, std::string &why) {
    graph = ScriptGraph{};
    why.clear();
    if (model == nullptr) {
        why = "no model";
        return false;
    }
    for (Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
        const int at = static_cast<int>(graph.nodes.size());
        if (!graph.position.emplace(node, at).second) {
            why = "the node list loops back on itself";
            return false;
        }
        graph.nodes.push_back(node);
        if (!graph.firstWithId.emplace(node->id, at).second) {
            addProblem(why, "identifier " + std::to_string(node->id) + " is used by more than one node");
        }
    }

    graph.parents.assign(graph.nodes.size(), {});
    for (size_t at = 0; at < graph.nodes.size(); ++at) {
        Vmod_Node *node = graph.nodes[at];
        for (const Vmod_Link *link = node->parents; link != nullptr; link = link->next) {
            // Copied out: the records are packed, so the field itself may be misaligned.
            const Vmod_Node *parentNode = link->node;
            auto parent = graph.position.find(parentNode);
            if (parentNode != nullptr && parent != graph.position.end()) {
                graph.parents[at].push_back(parent->second);
            }
        }
        // An empty title would leave the declaration without its name.
        if (isData(node) && !script_Present(node->title)) {
            addProblem(why, script_DescribeNode(node) + " holds data but has no title");
        }
        if (model_IsOperation(node)) {
            if (node->children == nullptr) {
                addProblem(why, "operation " + script_DescribeNode(node) + " has no output");
            } else {
                const Vmod_Node *output = script_FindNode(graph, node->children->id);
                if (output == nullptr) {
                    addProblem(why, "the output of operation " + script_DescribeNode(node) + " names node " +
                                        std::to_string(node->children->id) + ", which does not exist");
                } else if (!isData(output)) {
                    addProblem(why, "the output of operation " + script_DescribeNode(node) + " is " + script_DescribeNode(output) +
                                        ", which holds no data");
                }
            }
            if (node->type == VMOD_CRITERIA) {
                const auto *criteria = static_cast<const Vmod_CriteriaData *>(node->data);
                if (criteria->rows < 1 || criteria->columns < 1) {
                    addProblem(why, "criteria " + script_DescribeNode(node) + " has no rows or no columns");
                }
            }
        }
    }

    std::vector<std::vector<int>> upstream;
    std::vector<int> onCycle = orderUpstreamFirst(graph, graph.upstreamFirst, upstream);
    if (!onCycle.empty()) {
        addProblem(why, describeCycle(graph, onCycle, upstream));
    }
    return why.empty();
}
