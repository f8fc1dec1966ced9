// model_generator.h - building models in tests and benchmarks without the front end.
//
// Header-only. Models are plain records on the host heap, built here field by field:
//   - newModel: a model record with the header values a freshly read file has;
//   - addNode: appends a node whose payload has the defaults a new node of its kind has
//     (the library's kind table, without preferences), with its own copies of every string;
//   - addChild: an arrow with its mirror link;
//   - generateModel: a deterministic pseudo-random model with nodes of every kind in
//     every variant the model file distinguishes;
//   - freeModel / ModelPtr: releases a model built here with everything it owns (text
//     fonts included, which a node built here owns even when they were set directly). A
//     model read from a file, or whose nodes vmod_NodeCreate made, is released with
//     vmod_ModelDelete instead, which knows who owns each font.
//
// Generated numbers survive the file's conversions exactly: "%g" values (positions,
// page geometry, colours, criteria values) have at most six significant digits and
// "%.16g" values at most fifteen, so a model read back from its file holds the same
// numbers. Generated strings never end in a backslash and every operation has one
// output, so every generated model can be saved.
#ifndef VMOD_TESTS_SUPPORT_MODEL_GENERATOR_H
#define VMOD_TESTS_SUPPORT_MODEL_GENERATOR_H

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/node_kinds.h"
#include "model/node_release.h"
#include "model/text_font.h"
#include "vmod/vmod_records.h"

namespace vmodtest {

template <typename T>
T *heapArray(int64_t count) {
    if (count <= 0) return nullptr;
    return static_cast<T *>(omsc_HeapMalloc(sizeof(T) * static_cast<size_t>(count)));
}

template <typename T>
T *heapRecord() {
    return static_cast<T *>(omsc_HeapMalloc(sizeof(T)));
}

inline char *heapString(const char *text) { return text != nullptr ? ostr_Duplicate(text) : nullptr; }

// A heap array holding the values given, for a record field.
template <typename T>
T *heapValues(std::initializer_list<T> values) {
    T *array = heapArray<T>(static_cast<int64_t>(values.size()));
    int64_t i = 0;
    for (const T &value : values) array[i++] = value;
    return array;
}

// A heap array of heap copies of the texts (a null text stays null).
inline char **heapStrings(std::initializer_list<const char *> texts) {
    char **strings = heapArray<char *>(static_cast<int64_t>(texts.size()));
    int64_t i = 0;
    for (const char *text : texts) strings[i++] = heapString(text);
    return strings;
}

inline Vmod_Rect *newRect(double x1, double y1, double x2, double y2) {
    Vmod_Rect *rect = heapRecord<Vmod_Rect>();
    *rect = Vmod_Rect{x1, y1, x2, y2};
    return rect;
}

// A model as a file without any header statement but PAGESIZE reads: printer page
// 8.5 x 11, margins 0.5, print scale 100, window union, default projection, no AOI,
// optimisation on, cell size minimum.
inline Vmod_Model *newModel(const char *fileName = nullptr) {
    Vmod_Model *model = heapRecord<Vmod_Model>();
    model->fileName = heapString(fileName);
    model->pageWidth = 8.5;
    model->pageHeight = 11.0;
    model->printerPageWidth = 8.5;
    model->printerPageHeight = 11.0;
    // Records are packed: their doubles are set by index, never bound to references.
    for (int32_t i = 0; i < 4; ++i) model->margins[i] = 0.5;
    model->printScale = 100.0;
    model->optimize = 1;
    model->zoom = 1.0;
    model->readerWord1 = 1;
    model->nextId = 1;
    return model;
}

// A payload with the defaults a new node of its kind has under the default preferences
// and without the model's text settings.
inline void *newPayload(int32_t type) { return model_PayloadNew(type); }

// Appends a new node to model's list and returns it; the model owns it. after, when
// given, is the list's last node (it saves walking the list).
inline Vmod_Node *addNode(Vmod_Model *model, int32_t type, int32_t id, const char *title = nullptr,
                          double x = 0.0, double y = 0.0, Vmod_Node *after = nullptr) {
    Vmod_Node *node = heapRecord<Vmod_Node>();
    node->type = type;
    node->id = id;
    node->title = heapString(title);
    node->x = x;
    node->y = y;
    node->data = newPayload(type);
    if (model->nodes == nullptr) {
        model->nodes = node;
    } else {
        Vmod_Node *last = after != nullptr ? after : model->nodes;
        while (last->next != nullptr) last = last->next;
        last->next = node;
        node->prev = last;
    }
    if (id >= model->nextId) model->nextId = id + 1;
    return node;
}

template <typename T>
T *payload(Vmod_Node *node) {
    return static_cast<T *>(node->data);
}

inline void appendLink(Vmod_Link **head, int32_t id, Vmod_Node *node) {
    Vmod_Link *link = heapRecord<Vmod_Link>();
    link->id = id;
    link->node = node;
    if (*head == nullptr) {
        *head = link;
        return;
    }
    Vmod_Link *last = *head;
    while (last->next != nullptr) last = last->next;
    last->next = link;
    link->prev = last;
}

// An arrow from parent to child, with its mirror in child's parents.
inline void addChild(Vmod_Node *parent, Vmod_Node *child) {
    appendLink(&parent->children, child->id, child);
    appendLink(&child->parents, parent->id, parent);
}

// A child link naming an identifier only, as the reader makes it before resolving.
// Arrows (parent, child) with their mirrors, added in the order given.
inline void addArrows(std::initializer_list<std::pair<Vmod_Node *, Vmod_Node *>> arrows) {
    for (const auto &[parent, child] : arrows) addChild(parent, child);
}

inline void addChildId(Vmod_Node *parent, int32_t childId) { appendLink(&parent->children, childId, nullptr); }

// Releases a payload made here with everything it owns, its font included.
inline void freePayload(int32_t type, void *data) {
    auto *text = static_cast<Vmod_TextData *>(data);
    if (type == VMOD_TEXT && text != nullptr && !model_TextFontOwned(text)) model_TextFontAdopt(text, text->font);
    model_PayloadRelease(type, data);
}

// Releases model, its nodes and everything they own. Null is ignored.
inline void freeModel(Vmod_Model *model) {
    if (model == nullptr) return;
    Vmod_Node *node = model->nodes;
    while (node != nullptr) {
        Vmod_Node *next = node->next;
        freePayload(node->type, node->data);
        node->data = nullptr;
        model_NodeRelease(node);
        node = next;
    }
    model_HeaderRelease(model);
    omsc_HeapFree(model);
}

struct ModelDeleter {
    void operator()(Vmod_Model *model) const { freeModel(model); }
};
using ModelPtr = std::unique_ptr<Vmod_Model, ModelDeleter>;

// A small deterministic generator (xorshift64*), the same on every platform.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {
        if (state_ == 0) state_ = 1;
    }
    uint64_t next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Dull;
    }
    // 0 .. bound - 1 (bound > 0).
    int32_t below(int32_t bound) { return static_cast<int32_t>(next() % static_cast<uint64_t>(bound)); }
    bool chance(int32_t percent) { return below(100) < percent; }
    // A multiple of 1/8 within +-1000: exact in "%g".
    double position() { return (below(16000) - 8000) / 8.0; }
    // A number with at most twelve significant digits: exact in "%.16g".
    double value() {
        int64_t units = static_cast<int64_t>(next() % 2000000000001ull) - 1000000000000ll;
        switch (below(4)) {
        case 0: return static_cast<double>(units % 1000);
        case 1: return static_cast<double>(units) / 1000.0;
        case 2: return static_cast<double>(units) * 1e-9;
        default: return static_cast<double>(units) * 1e7;
        }
    }
    // A number with at most five significant digits: exact in "%g".
    double shortValue() { return (below(200001) - 100000) / (below(2) ? 1.0 : 100.0); }

private:
    uint64_t state_;
};

// A text of printable characters, sometimes with double quotes, line ends and inner
// backslashes, never ending in a backslash.
inline std::string randomText(Random &random, int32_t length, bool withQuotes) {
    static const char plain[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_ .,:;-+*/()[]{}$<>=";
    std::string text;
    for (int32_t i = 0; i < length; ++i) {
        int32_t pick = random.below(100);
        if (withQuotes && pick < 4)
            text += '"';
        else if (withQuotes && pick < 5)
            text += '\n';
        else if (withQuotes && pick < 6 && i + 1 < length)
            text += '\\';
        else
            text += plain[random.below(static_cast<int32_t>(sizeof plain - 1))];
    }
    return text;
}

inline char *randomString(Random &random, int32_t length, bool withQuotes = false) {
    return heapString(randomText(random, length, withQuotes).c_str());
}

inline std::string dataTitle(int32_t id) { return "$n" + std::to_string(id) + "_data"; }

// Fills the payload of a node of every kind with a variant chosen by random. listScale
// bounds the lengths of lists (matrix sides, table sizes, recode tables, criteria).
// The prompt, read, write and show fields of a matrix or table (given its source): read
// from a file only when the source is a file, written and shown only as an output.
template <typename Data>
void fillRandomFileFields(Random &random, Data *d, int promptChance) {
    d->prompt = random.chance(promptChance);
    if (d->prompt && random.chance(50)) d->promptText = randomString(random, 20, true);
    d->read = d->source == 2;
    if (d->source == 2 && random.chance(90)) d->readFile = randomString(random, 25);
    d->write = d->source == 3 && random.chance(60);
    if (d->write && random.chance(90)) d->writeFile = randomString(random, 25);
    d->show = d->source == 3 && random.chance(50);
}

inline void fillRandomPayload(Random &random, Vmod_Node *node, int32_t listScale) {
    const int32_t scale = listScale > 0 ? listScale : 1;
    switch (node->type) {
    case VMOD_RASTER: {
        auto *r = payload<Vmod_RasterData>(node);
        r->prompt = random.chance(20);
        if (r->prompt && random.chance(50)) r->promptText = randomString(random, 24, true);
        r->tempFile = random.chance(20);
        if (random.chance(80)) r->fileName = randomString(random, 30);
        r->newFile = random.chance(30);
        r->deleteFile = r->newFile && random.chance(50);
        r->ignoreSet = random.chance(30);
        if (r->ignoreSet) r->ignoreValue = random.value();
        r->interpolation = random.below(3);
        r->thematic = random.chance(50);
        r->dataType = random.below(14);
        if (random.chance(40)) r->declare = heapString(random.chance(50) ? "Float" : "Integer");
        r->compression = random.below(2);
        r->coordinates = random.below(2);
        if (random.chance(30)) r->areaRect = newRect(random.value(), random.value(), random.value(), random.value());
        r->aoiMode = random.below(3);
        if (r->aoiMode == 2) r->aoiFile = randomString(random, 20);
        r->recode = random.chance(30);
        if (r->recode) {
            r->numClasses = 1 + random.below(scale * 4);
            r->newClasses = heapArray<int32_t>(r->numClasses);
            for (int32_t i = 0; i < r->numClasses; ++i) r->newClasses[i] = random.below(2000) - 1000;
        }
        break;
    }
    case VMOD_VECTOR: {
        auto *v = payload<Vmod_VectorData>(node);
        v->vectorType = random.below(2);
        v->prompt = random.chance(20);
        if (v->prompt && random.chance(50)) v->promptText = randomString(random, 24, true);
        if (random.chance(80)) v->fileName = randomString(random, 30);
        if (random.chance(50)) v->feature = heapString(random.chance(50) ? "polygon" : "line");
        v->tempFile = random.chance(20);
        v->cellSizeSet = random.chance(40);
        if (v->cellSizeSet) {
            v->cellSizeX = static_cast<float>(random.below(1000)) / 10.0f;
            v->cellSizeY = static_cast<float>(random.below(1000)) / 10.0f;
            v->cellSizeUnits = random.below(2);
        }
        if (random.chance(30)) v->window = newRect(random.value(), random.value(), random.value(), random.value());
        v->aoiMode = random.below(3);
        if (v->aoiMode == 2) v->aoiFile = randomString(random, 20);
        v->recode = random.chance(30);
        if (random.chance(50)) v->attribute = heapString("AREA_CODE");
        if (v->recode) {
            v->numClasses = 1 + random.below(scale * 4);
            v->newClasses = heapArray<int32_t>(v->numClasses);
            for (int32_t i = 0; i < v->numClasses; ++i) v->newClasses[i] = random.below(100);
        }
        break;
    }
    case VMOD_MATRIX: {
        auto *m = payload<Vmod_MatrixData>(node);
        m->columns = 1 + random.below(scale * 2);
        m->rows = 1 + random.below(scale * 2);
        m->dataType = random.below(14);
        m->source = random.below(4);
        m->builtin = random.below(9);
        if (m->source <= 1 || random.chance(10)) {
            m->values = heapArray<double>(static_cast<int64_t>(m->columns) * m->rows);
            for (int64_t i = 0; i < static_cast<int64_t>(m->columns) * m->rows; ++i) m->values[i] = random.value();
        }
        m->normalize = random.chance(50);
        fillRandomFileFields(random, m, 30);
        break;
    }
    case VMOD_TABLE: {
        auto *t = payload<Vmod_TableData>(node);
        t->dataType = random.below(5);
        t->source = random.below(4);
        t->size = random.below(scale * 4 + 1);
        if (t->source == 0 && t->size > 0) {
            if (t->dataType == VMOD_TABLE_STRING) {
                t->strings = heapArray<char *>(t->size);
                for (int32_t i = 0; i < t->size; ++i) t->strings[i] = randomString(random, 12, true);
            } else if (t->dataType == VMOD_TABLE_COLOR) {
                t->colors = heapArray<Vmod_TableColor *>(t->size);
                for (int32_t i = 0; i < t->size; ++i) {
                    t->colors[i] = heapRecord<Vmod_TableColor>();
                    for (int32_t k = 0; k < 4; ++k) t->colors[i]->value[k] = random.below(256) / 4.0;
                }
            } else {
                t->values = heapArray<double>(t->size);
                for (int32_t i = 0; i < t->size; ++i) t->values[i] = random.value();
            }
        }
        t->layerKind = random.below(4);
        // A variable is named only as an output; an input variable table is not saved as one.
        if (t->source == 1 && t->layerKind == 1) t->layerKind = 0;
        t->promptLayerFile = random.chance(25);
        if (t->promptLayerFile && random.chance(50)) t->promptLayerText = randomString(random, 18, true);
        if (!t->promptLayerFile || random.chance(30)) t->layerFile = randomString(random, 22);
        t->layerName = heapString("layer_1");
        t->fieldName = heapString("Histogram");
        t->outputToLayer = t->source == 3 && random.chance(50);
        fillRandomFileFields(random, t, 25);
        break;
    }
    case VMOD_SCALAR: {
        auto *s = payload<Vmod_ScalarData>(node);
        s->dataType = random.below(14);
        s->value = random.value();
        s->read = random.chance(30);
        if (s->read && random.chance(90)) s->readFile = randomString(random, 25);
        s->write = random.chance(30);
        if (s->write && random.chance(90)) s->writeFile = randomString(random, 25);
        s->prompt = (s->read || s->write) && random.chance(40);
        if (s->prompt && random.chance(50)) s->promptText = randomString(random, 20, true);
        s->show = random.chance(30);
        break;
    }
    case VMOD_FUNCTION: {
        auto *f = payload<Vmod_FunctionData>(node);
        if (random.chance(95)) f->expression = randomString(random, 10 + random.below(scale * 20), true);
        f->area = random.below(2);
        break;
    }
    case VMOD_CRITERIA: {
        auto *c = payload<Vmod_CriteriaData>(node);
        c->columns = 1 + random.below(scale);
        c->rows = 1 + random.below(scale * 2);
        if (random.chance(90)) {
            c->columnTitles = heapArray<char *>(c->columns);
            for (int32_t i = 0; i < c->columns; ++i)
                if (random.chance(95)) c->columnTitles[i] = heapString(dataTitle(random.below(1000) + 1).c_str());
        }
        if (random.chance(90)) {
            int64_t cells = static_cast<int64_t>(c->columns) * c->rows;
            c->cells = heapArray<char *>(cells);
            for (int64_t i = 0; i < cells; ++i)
                if (random.chance(85)) c->cells[i] = randomString(random, 1 + random.below(8), true);
        }
        if (random.chance(70)) {
            c->outputValues = heapArray<double>(c->rows);
            for (int32_t i = 0; i < c->rows; ++i) c->outputValues[i] = random.shortValue();
        }
        c->defaultValue = random.shortValue();
        break;
    }
    case VMOD_TEXT: {
        auto *t = payload<Vmod_TextData>(node);
        t->font = heapString(random.chance(50) ? "Helvetica" : "Times-Roman");
        t->size = 6 + random.below(30);
        t->style = random.below(8);
        break;
    }
    default: break;
    }
}

// A model of nodeCount nodes (identifiers 1 to nodeCount) cycling through the eight
// kinds, with random variants of every kind and header. Arrows run from data nodes to
// the next operation and from every operation to one data node after it.
inline Vmod_Model *generateModel(uint64_t seed, int32_t nodeCount, int32_t listScale = 3,
                                 const char *fileName = nullptr) {
    Random random(seed);
    Vmod_Model *model = newModel(fileName);
    if (random.chance(80)) model->title = randomString(random, 30);
    model->pageWidth = random.below(100) / 4.0 + 1.0;
    model->pageHeight = random.below(100) / 4.0 + 1.0;
    model->cellSizeMode = random.below(3);
    model->cellSizeSet = 1;
    model->cellSizeX = static_cast<float>(random.below(10000)) / 100.0f;
    model->cellSizeY = static_cast<float>(random.below(10000)) / 100.0f;
    model->cellSizeUnits = random.below(2);
    model->orientation = random.below(2);
    model->printScale = 25 + random.below(300);
    model->pageNumbers = random.chance(50);
    model->windowMode = random.below(3);
    if (model->windowMode == 2) {
        model->window = newRect(random.value(), random.value(), random.value(), random.value());
        model->windowUnits = random.below(2);
    }
    model->projectionMode = random.below(3);
    if (model->projectionMode == 1) model->projectionSameAs = randomString(random, 20);
    if (model->projectionMode == 2) {
        model->projectionSpec1 = heapString("UTM Zone 11");
        model->projectionSpec2 = heapString("NAD83");
    }
    model->aoiMode = random.below(3);
    if (model->aoiMode == 2) model->aoiFile = randomString(random, 20);
    model->optimize = random.chance(50);

    static const int32_t kinds[] = {VMOD_RASTER, VMOD_VECTOR, VMOD_MATRIX, VMOD_TABLE,
                                    VMOD_SCALAR, VMOD_FUNCTION, VMOD_CRITERIA, VMOD_TEXT};
    Vmod_Node *last = nullptr;
    Vmod_Node *pendingOperation = nullptr;
    Vmod_Node *inputs[8] = {};
    int32_t inputCount = 0;
    for (int32_t id = 1; id <= nodeCount; ++id) {
        int32_t type = kinds[(id - 1) % 8];
        std::string title;
        if (type <= VMOD_SCALAR) title = dataTitle(id);
        else if (type == VMOD_FUNCTION) title = "F" + std::to_string(id) + " \"op\"";
        else if (type == VMOD_CRITERIA) title = "Criteria " + std::to_string(id);
        else title = randomText(random, 5 + random.below(40), true);
        bool titled = type == VMOD_TEXT || random.chance(95);
        double x = random.position();
        double y = random.position();
        Vmod_Node *node = addNode(model, type, id, titled ? title.c_str() : nullptr, x, y, last);
        last = node;
        fillRandomPayload(random, node, listScale);
        if (type <= VMOD_SCALAR) {
            if (pendingOperation != nullptr && pendingOperation->children == nullptr) {
                addChild(pendingOperation, node);
                pendingOperation = nullptr;
            } else if (inputCount < 8) {
                inputs[inputCount++] = node;
            }
        } else if (type == VMOD_FUNCTION || type == VMOD_CRITERIA) {
            for (int32_t i = 0; i < inputCount; ++i) addChild(inputs[i], node);
            inputCount = 0;
            pendingOperation = node;
        }
    }
    return model;
}

} // namespace vmodtest

#endif
