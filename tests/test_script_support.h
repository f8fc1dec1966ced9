// test_script_support.h - building models for the script generator tests, running the
// generator into a real file, and comparing with golden scripts.
#ifndef VMOD_TEST_SCRIPT_SUPPORT_H
#define VMOD_TEST_SCRIPT_SUPPORT_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "script/script_gen.h"
#include "vmod/vmod.h"

// A heap copy of text for a record field.
char *heapText(const char *text);

// A model record with its choosers and frame, released with everything it owns.
class ScriptModel {
public:
    ScriptModel();
    ~ScriptModel();
    ScriptModel(const ScriptModel &) = delete;
    ScriptModel &operator=(const ScriptModel &) = delete;

    // A node of kind made by vmod_NodeCreate, given id and title and appended to the list.
    Vmod_Node *add(int32_t kind, int32_t id, const char *title);
    // A function node with its expression, its title taken from it.
    Vmod_Node *function(int32_t id, const char *expression);
    // An arrow with its mirror.
    static void arrow(Vmod_Node *from, Vmod_Node *to);
    // Arrows with their mirrors, made in the order given.
    static void arrows(std::initializer_list<std::pair<Vmod_Node *, Vmod_Node *>> pairs);
    // A raster read from fileName, and one made new into fileName.
    Vmod_Node *raster(int32_t id, const char *title, const char *fileName);
    Vmod_Node *newRaster(int32_t id, const char *title, const char *fileName);
    // A vector of feature (unless null) read from fileName.
    Vmod_Node *vector(int32_t id, const char *title, const char *feature, const char *fileName);
    // A temporary raster, with its declare text unless that is null.
    Vmod_Node *tempRaster(int32_t id, const char *title, const char *declare = nullptr);
    // Raster 1 "in", function 2 "$in + 1" and output 3 "out" of outputKind, with the
    // arrows between them; returns the function.
    Vmod_Node *pipeline(int32_t outputKind);
    // Arrows from `from` to `count` new function nodes (numbered from firstId).
    void consumers(Vmod_Node *from, int32_t count, int32_t firstId);
    // A table of dataType whose values come from a column of a layer (source 1) or go to
    // one (source 3, with outputToLayer set); null texts are left unset.
    Vmod_Node *layerTable(int32_t id, const char *title, int32_t dataType, int32_t source, int32_t layerKind,
                          const char *layerFile, const char *layerName, const char *fieldName);

    // On the heap, as a front end allocates it.
    Vmod_Model *record;
    Vmod_Model &model;
};

template <class Payload> Payload *payload(Vmod_Node *node) { return static_cast<Payload *>(node->data); }

struct ScriptRun {
    int32_t result = -1;
    std::string text;
};

// Runs the generator into a fresh file and reads the file back.
ScriptRun runScript(Vmod_Model *model, const ScriptOptions &options = ScriptOptions{});

inline bool endsWith(const std::string &text, const std::string &tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The contents of tests/golden/<name>.
std::string golden(const char *name);

// Success when the generator returns 1 and writes exactly the golden script `name`.
::testing::AssertionResult writesGolden(Vmod_Model *model, const char *name,
                                        const ScriptOptions &options = ScriptOptions{});

// One host call log line per entry, from the last vmodhost_LogClear.
std::vector<std::string> callLog();

// A chooser handler for tests: answers queries in turn from a list (an empty answer
// cancels; queries beyond the list cancel) and records each title it was shown.
struct ChooserScript {
    std::vector<std::string> answers;
    std::vector<std::string> titles;
    size_t asked = 0;
    void install();
    ~ChooserScript();
};

#endif
