// check_context.h - the model as every check sees it: the node list as an array, the
// node each identifier names, the resolved arrows both ways, and where each node stands
// in the file. Built once per validation, in time linear in the model.
#ifndef VMODCHECK_CHECK_CONTEXT_H
#define VMODCHECK_CHECK_CONTEXT_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "check_problems.h"
#include "source_map.h"
#include "vmod/vmod_records.h"
#include "vmodcheck/vmodcheck.h"

struct CheckContext {
    Vmod_Model *model = nullptr;
    Vmodcheck_Options options{};
    std::vector<Vmod_Node *> nodes;                           // list order
    std::unordered_map<const Vmod_Node *, size_t> position;   // index into nodes
    std::unordered_map<int32_t, size_t> firstWithId;          // what vmod_NodeFind finds
    // Arrows by position: children[i] are the nodes node i's CHILD links name (first node
    // of that identifier; links naming no node are left out), parents[i] the nodes whose
    // links name node i. An arrow given twice counts twice.
    std::vector<std::vector<size_t>> children;
    std::vector<std::vector<size_t>> parents;
    SourceMap source;
    std::vector<long> blockOf;                                // source block of each node, or -1

    // The node of an identifier (the first in the list), or null.
    Vmod_Node *find(int32_t id) const;
    // The place of node's block, or of its first statement with keyword (capitals) when
    // there is one; {0, 0} when the model has no file.
    SourcePlace placeOf(const Vmod_Node *node, const char *keyword = nullptr) const;
    // The output of an operation: the node its first child link names, or null.
    Vmod_Node *outputOf(const Vmod_Node *operation) const;
};

// Builds the context. Throws std::bad_alloc when memory is exhausted.
void check_BuildContext(Vmod_Model *model, const Vmodcheck_Options &options, CheckContext &context);

bool check_IsData(const Vmod_Node *node);
bool check_IsOperation(const Vmod_Node *node);
// How messages name a node: its kind, "node", its identifier and its title in quotes
// (`function node 4 "slope"`), control characters shown as escapes.
std::string check_NodeName(const Vmod_Node *node);

#endif
