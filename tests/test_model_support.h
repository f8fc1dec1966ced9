// Shared by the model-graph tests: a model record that releases itself, and helpers that
// build nodes and arrows the way the front end does.
#ifndef VMOD_TEST_MODEL_SUPPORT_H
#define VMOD_TEST_MODEL_SUPPORT_H

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "vmodhost/ollm.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmod/vmod.h"

// A front-end model record; its nodes go with it, so a failing assertion leaks nothing.
struct TestModel {
    Vmod_Model model{};

    TestModel() {
        model.nodeWidth = 0.75;
        model.nodeHeight = 0.5;
    }
    ~TestModel() { vmod_ModelDelete(&model, nullptr); }
    TestModel(const TestModel &) = delete;
    TestModel &operator=(const TestModel &) = delete;

    // Appends a new node of kind with identifier id (and a title when given).
    Vmod_Node *add(int32_t kind, int32_t id, const char *title = nullptr) {
        Vmod_Node *node = vmod_NodeCreate(&model, kind, nullptr);
        node->id = id;
        if (title != nullptr) node->title = ostr_Duplicate(title);
        append(node);
        return node;
    }
    void append(Vmod_Node *node) { model.nodes = static_cast<Vmod_Node *>(ollm_Add(model.nodes, OLLM_APPEND, node)); }
    Vmod_Node *find(int32_t id) { return vmod_IdToNode(&model, id, nullptr); }
    void arrow(Vmod_Node *from, Vmod_Node *to) { vmod_ChildAddByNode(from, to, nullptr); }

    // Appends one new node of each kind given, numbered 1, 2, ... in order.
    template <size_t N>
    std::array<Vmod_Node *, N> nodes(const int32_t (&kinds)[N]) {
        std::array<Vmod_Node *, N> made{};
        for (size_t i = 0; i < N; ++i) made[i] = add(kinds[i], static_cast<int32_t>(i + 1));
        return made;
    }
    // Arrows from one node to each of the others, in order.
    void fan(Vmod_Node *from, std::initializer_list<Vmod_Node *> to) {
        for (Vmod_Node *node : to) arrow(from, node);
    }
    // Arrows from each node to the next.
    void chain(std::initializer_list<Vmod_Node *> path) {
        for (auto it = path.begin(); it != path.end() && it + 1 != path.end(); ++it) arrow(*it, *(it + 1));
    }
};

// A heap string the test releases at scope end.
struct HeapText {
    char *text;
    explicit HeapText(char *t) : text(t) {}
    ~HeapText() { omsc_HeapFree(text); }
    HeapText(const HeapText &) = delete;
    HeapText &operator=(const HeapText &) = delete;
    std::string str() const { return text ? std::string(text) : std::string("(null)"); }
};

// The records are packed on 4-byte boundaries, so a pointer or double field may sit off its
// natural alignment; assertions take such fields through this copy instead of binding a
// reference to them.
template <typename T>
T fieldValue(T value) {
    return value;
}

// The identifiers of a link list, in order.
inline std::vector<int32_t> linkIds(const Vmod_Link *head) {
    std::vector<int32_t> ids;
    for (; head != nullptr; head = head->next) ids.push_back(head->id);
    return ids;
}

inline Vmod_FunctionData *functionData(Vmod_Node *node) { return static_cast<Vmod_FunctionData *>(node->data); }

#endif
