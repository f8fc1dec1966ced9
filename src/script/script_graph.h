// script_graph.h - the model as the generator sees it: every node with its list position,
// the first node of each identifier, the resolved arrows, and the check that refuses a
// model the generator cannot translate soundly.
#ifndef VMOD_SCRIPT_GRAPH_H
#define VMOD_SCRIPT_GRAPH_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "vmod/vmod_records.h"

struct ScriptGraph {
    std::vector<Vmod_Node *> nodes;                       // list order
    std::unordered_map<const Vmod_Node *, int> position;  // index into nodes
    std::unordered_map<int32_t, int> firstWithId;         // what vmod_NodeFind would find
    std::vector<std::vector<int>> parents;                // resolved parent links, by position
    std::vector<int> upstreamFirst;                       // every position after all its parents
};

// Builds the graph of model and checks that it can be translated. On refusal returns false
// and sets why to one sentence per problem, naming the nodes. Refused: an operation without
// an output, whose first child names no node or names a node that holds no data; a
// criteria table without rows or columns; a data node without a title, or with an empty
// one; two nodes sharing an identifier; arrows that form a cycle.
bool script_BuildGraph(Vmod_Model *model, ScriptGraph &graph, std::string &why);

// "node ID \"TITLE\"" for messages, the title's quotes, backslashes and control characters
// escaped so that a message stays on one line and reads unambiguously.
std::string script_DescribeNode(const Vmod_Node *node);

// The first node of the list with identifier id, or null.
Vmod_Node *script_FindNode(const ScriptGraph &graph, int32_t id);

#endif
