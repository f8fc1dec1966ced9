// check_graph.cpp - see checks.h. The arrows as the script generator reads them: an
// operation writes into the node its first arrow names, and reads the nodes whose arrows
// point at it; every other arrow is ignored by the script, and a cycle refuses the model.
#include <algorithm>
#include <utility>

#include "checks.h"

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

// The strongly connected components of the arrows (Tarjan's, without recursion so that a
// chain of 200,000 nodes cannot overflow the stack). component[i] numbers node i's
// component; returns the number of components.
size_t findComponents(const CheckContext &context, std::vector<size_t> &component) {
    const size_t count = context.nodes.size();
    std::vector<size_t> index(count, kNone), low(count, 0);
    std::vector<char> onStack(count, 0);
    std::vector<size_t> stack;
    std::vector<std::pair<size_t, size_t>> calls;  // node and its next arrow to follow
    component.assign(count, kNone);
    size_t next = 0, components = 0;
    for (size_t root = 0; root < count; ++root) {
        if (index[root] != kNone) continue;
        calls.emplace_back(root, 0);
        index[root] = low[root] = next++;
        stack.push_back(root);
        onStack[root] = 1;
        while (!calls.empty()) {
            auto &[at, arrow] = calls.back();
            const auto &children = context.children[at];
            if (arrow < children.size()) {
                const size_t child = children[arrow++];
                if (index[child] == kNone) {
                    index[child] = low[child] = next++;
                    stack.push_back(child);
                    onStack[child] = 1;
                    calls.emplace_back(child, 0);
                } else if (onStack[child]) {
                    low[at] = std::min(low[at], index[child]);
                }
                continue;
            }
            const size_t done = at;
            calls.pop_back();
            if (!calls.empty()) low[calls.back().first] = std::min(low[calls.back().first], low[done]);
            if (low[done] == index[done]) {
                size_t member;
                do {
                    member = stack.back();
                    stack.pop_back();
                    onStack[member] = 0;
                    component[member] = components;
                } while (member != done);
                ++components;
            }
        }
    }
    return components;
}

// One shortest cycle through start inside its component, in the direction of the arrows,
// starting and ending at start (breadth first, each arrow of the component once).
std::vector<size_t> cycleThrough(const CheckContext &context, const std::vector<size_t> &component, size_t start,
                                 std::vector<size_t> &from) {
    std::vector<size_t> queue{start};
    std::vector<size_t> reached{start};
    from[start] = start;
    size_t last = kNone;
    for (size_t head = 0; head < queue.size() && last == kNone; ++head) {
        const size_t at = queue[head];
        for (size_t child : context.children[at]) {
            if (component[child] != component[start]) continue;
            if (child == start) {
                last = at;
                break;
            }
            if (from[child] != kNone) continue;
            from[child] = at;
            reached.push_back(child);
            queue.push_back(child);
        }
    }
    std::vector<size_t> cycle;
    for (size_t at = last; at != start; at = from[at]) cycle.push_back(at);
    cycle.push_back(start);
    std::reverse(cycle.begin(), cycle.end());
    for (size_t at : reached) from[at] = kNone;  // ready for the next component
    return cycle;
}

void checkCycles(const CheckContext &context, ProblemList &problems) {
    std::vector<size_t> component;
    const size_t components = findComponents(context, component);
    if (components == context.nodes.size()) {
        // Every component is one node: only an arrow from a node to itself is a cycle.
        bool selfArrow = false;
        for (size_t at = 0; at < context.nodes.size() && !selfArrow; ++at)
            for (size_t child : context.children[at]) selfArrow = selfArrow || child == at;
        if (!selfArrow) return;
    }
    std::vector<size_t> size(components, 0);
    for (size_t c : component) ++size[c];
    std::vector<char> reported(components, 0);
    std::vector<size_t> from(context.nodes.size(), kNone);
    // The first member in list order starts each account, as the generator's does.
    for (size_t at = 0; at < context.nodes.size(); ++at) {
        const size_t c = component[at];
        if (reported[c]) continue;
        const auto &children = context.children[at];
        const bool selfArrow = std::find(children.begin(), children.end(), at) != children.end();
        if (size[c] < 2 && !selfArrow) continue;
        reported[c] = 1;
        const std::vector<size_t> cycle = cycleThrough(context, component, at, from);
        std::string path;
        std::vector<int32_t> ids;
        for (size_t member : cycle) {
            path += check_NodeName(context.nodes[member]) + " -> ";
            ids.push_back(context.nodes[member]->id);
        }
        path += check_NodeName(context.nodes[at]);
        std::string message = "arrows form a cycle: " + path;
        if (size[c] > cycle.size())
            message += " (one of the cycles that join " + std::to_string(size[c]) + " nodes)";
        problems.error("G001", std::move(ids), message, "remove one of the arrows of the cycle")
            .place = context.placeOf(context.nodes[at], "CHILD");
    }
}

// Arrows that name no node, operations without a data output, arrows the script ignores.
void checkArrows(const CheckContext &context, ProblemList &problems) {
    for (size_t at = 0; at < context.nodes.size(); ++at) {
        const Vmod_Node *node = context.nodes[at];
        const bool operation = check_IsOperation(node);
        const auto name = [node] { return check_NodeName(node); };
        if (operation && node->children == nullptr) {
            problems.error("G004", {node->id}, name() + " has no output: no arrow leaves it",
                           "draw an arrow from the operation to the data node it makes")
                .place = context.placeOf(node);
        }
        bool first = true;
        for (const Vmod_Link *link = node->children; link != nullptr; link = link->next, first = false) {
            const int32_t id = link->id;
            const Vmod_Node *child = context.find(id);
            if (child == nullptr) {
                if (operation && first) {
                    problems.error("G002", {node->id},
                                   "the output of " + name() + " is node " + std::to_string(id) +
                                       ", which is no node of the model",
                                   "point the operation's arrow at the data node it makes")
                        .place = context.placeOf(node, "CHILD");
                } else {
                    problems.warning("G003", {node->id},
                                     "an arrow of " + name() + " names node " + std::to_string(id) +
                                         ", which is no node of the model; the script ignores it",
                                     "remove the arrow or add the node it names")
                        .place = context.placeOf(node, "CHILD");
                }
                continue;
            }
            if (child == node) continue;  // a cycle of its own
            if (operation && first) {
                if (!check_IsData(child)) {
                    problems.error("G005", {node->id, child->id},
                                   "the output of " + name() + " is " + check_NodeName(child) + ", which holds no data",
                                   "make the operation's first arrow point at a data node")
                        .place = context.placeOf(node, "CHILD");
                }
                continue;
            }
            const char *why = nullptr;
            if (operation) why = "an operation writes only into the node its first arrow names";
            else if (node->type == VMOD_TEXT || child->type == VMOD_TEXT) why = "a text note takes no part in the script";
            else if (check_IsData(node) && check_IsData(child)) why = "an operation must stand between two data nodes";
            if (why != nullptr) {
                problems.warning("G008", {node->id, child->id},
                                 "the arrow from " + name() + " to " + check_NodeName(child) + " means nothing to the script: " + why,
                                 "remove the arrow, or put an operation between the nodes")
                    .place = context.placeOf(node, "CHILD");
            }
        }
    }
}

// Whether a data node has a value without an operation making it: an input file, a
// value typed into the model, a file read. Rasters that are temporary or new, and
// matrices and tables that are an operation's output, have none. A table written into a
// layer's column is bound to that column, which holds values already. An input raster
// without a file is left to the data checks.
bool filledWithoutProducer(const Vmod_Node *node) {
    if (node->data == nullptr) return true;
    switch (node->type) {
    case VMOD_RASTER: {
        const auto *raster = static_cast<const Vmod_RasterData *>(node->data);
        return !raster->tempFile && !raster->newFile;
    }
    case VMOD_MATRIX:
        return static_cast<const Vmod_MatrixData *>(node->data)->source != VMOD_MATRIX_OUTPUT;
    case VMOD_TABLE: {
        const auto *table = static_cast<const Vmod_TableData *>(node->data);
        return table->source != VMOD_TABLE_OUTPUT || table->outputToLayer;
    }
    default:
        return true;  // vectors always name a file; scalars are read or hold their VALUE
    }
}

const char *whyEmpty(const Vmod_Node *node) {
    if (node->type == VMOD_RASTER) {
        const auto *raster = static_cast<const Vmod_RasterData *>(node->data);
        return raster->tempFile ? "it is a temporary raster" : "it is a new file (NEWFILE)";
    }
    return "it is an operation's output (OUTPUT)";
}

void checkUnfilled(const CheckContext &context, ProblemList &problems) {
    for (size_t at = 0; at < context.nodes.size(); ++at) {
        const Vmod_Node *node = context.nodes[at];
        if (!check_IsData(node) || filledWithoutProducer(node)) continue;
        const Vmod_Node *reader = nullptr;
        for (size_t child : context.children[at]) {
            if (check_IsOperation(context.nodes[child])) {
                reader = context.nodes[child];
                break;
            }
        }
        if (reader == nullptr) continue;
        bool produced = false;
        for (size_t parent : context.parents[at])
            produced = produced || (check_IsOperation(context.nodes[parent]) && context.outputOf(context.nodes[parent]) == node);
        if (produced) continue;
        problems.error("G006", {node->id, reader->id},
                       check_NodeName(node) + " is read by " + check_NodeName(reader) +
                           " but nothing fills it: " + whyEmpty(node) + " and no operation makes it",
                       "draw the operation that makes it, or give it an input file")
            .place = context.placeOf(node);
    }
}

void checkUnconnected(const CheckContext &context, ProblemList &problems) {
    for (size_t at = 0; at < context.nodes.size(); ++at) {
        const Vmod_Node *node = context.nodes[at];
        // An operation without arrows has no output, an error of its own.
        if (node->type == VMOD_TEXT || check_IsOperation(node)) continue;
        if (node->children != nullptr || !context.parents[at].empty()) continue;
        problems.info("G007", {node->id}, check_NodeName(node) + " has no arrows: the model neither makes nor uses it",
                      "connect it to an operation, or delete it")
            .place = context.placeOf(node);
    }
}

} // namespace

void check_Graph(const CheckContext &context, ProblemList &problems) {
    checkCycles(context, problems);
    checkArrows(context, problems);
    checkUnfilled(context, problems);
    checkUnconnected(context, problems);
}
