// parse_action.cpp - parseAction: the work of each production of the model-file grammar,
// by its number (the numbering of model_grammar.y). The driver calls it for every
// production it recognises; it fills the temporary model of the parse.
//
// Cells: `top` is the cell of the production's last right-side symbol, so in
// "_ID numval ';'" the number is top[-1]. Numbers and word codes travel as doubles,
// strings as heap pointers that a `strval` hands to its statement.
//
// Beyond what the grammar checks, the reader rejects (through olex_Reject, so the report
// names the line and column) what would corrupt the model: a list longer than the array
// its sizing statement made or before that statement, a negative or oversized size, and
// a number that must be an integer but is not finite or lies outside 32 bits. Sizing
// statements together may ask for at most VMOD_MAX_LIST_ENTRIES entries, and every array
// they make is checked: memory exhaustion is a rejection at the statement, never a write
// through a null array.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "file/format_words.h"
#include "file/model_reader.h"
#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/text_font.h"

// The records are packed to 4 bytes, so their pointer and double fields may be
// misaligned: they are assigned through member expressions only, never through a
// pointer to the field. These store a statement's string or rectangle in a field and
// release what the field held.
#define KEEP_STRING(action, field, back)                                                                     \
    do {                                                                                                     \
        char *kept_ = (action).take(back);                                                                   \
        omsc_HeapFree(field);                                                                                \
        (field) = kept_;                                                                                     \
    } while (0)
#define REPLACE_RECT(ld, field, rect)                                                                        \
    do {                                                                                                     \
        Vmod_Rect *new_ = (rect);                                                                            \
        vmod_RectDelete(field, (ld)->report);                                                                \
        oerr_DeleteErrorReportEx((ld)->report);                                                              \
        (field) = new_;                                                                                      \
    } while (0)
#define PROMPT(action, record, withText)                                                                     \
    do {                                                                                                     \
        (record)->prompt = 1;                                                                                \
        if (withText)                                                                                        \
            KEEP_STRING(action, (record)->promptText, 1);                                                    \
    } while (0)

namespace {

// ---- values ----

// The integer a number stands for (truncated toward zero); false when there is none.
bool integerOf(double value, int32_t *out) {
    if (!std::isfinite(value))
        return false;
    double truncated = std::trunc(value);
    if (truncated < -2147483648.0 || truncated > 2147483647.0)
        return false;
    *out = static_cast<int32_t>(truncated);
    return true;
}

// A double narrowed to single precision the way the hardware does, without the
// undefined behaviour of converting an out-of-range value.
float singleOf(double value) {
    if (std::isfinite(value) && std::fabs(value) > FLT_MAX)
        return value > 0 ? HUGE_VALF : -HUGE_VALF;
    return static_cast<float>(value);
}

struct Action {
    Olex_Parser *parser;
    Local_Data *ld;
    Olex_Value *top;
    Olex_Value *result;
    bool ok = true;

    double number(int32_t back) const { return top[-back].number; }

    // The integer at `back`, or a rejection naming `what`.
    int32_t integer(int32_t back, const char *what) {
        int32_t value = 0;
        if (!integerOf(number(back), &value))
            reject(back, std::string(what) + " must be a whole number within 32 bits");
        return value;
    }

    // A count that sizes an array: a whole number from 0 to the list limit.
    int32_t size(int32_t back, const char *what) {
        int32_t value = integer(back, what);
        if (ok && value < 0)
            reject(back, std::string(what) + " must not be negative");
        else if (ok && value > VMOD_MAX_LIST_ENTRIES)
            reject(back, std::string(what) + " is larger than " + std::to_string(VMOD_MAX_LIST_ENTRIES));
        return ok ? value : 0;
    }

    // The string a `strval` left at `back`; it is the caller's from now on.
    char *take(int32_t back) {
        char *text = top[-back].text;
        for (int32_t i = ld->pendingCount - 1; i >= 0; --i) {
            if (ld->pending[i] == text) {
                ld->pending[i] = ld->pending[--ld->pendingCount];
                break;
            }
        }
        return text;
    }


    void reject(int32_t back, const std::string &message) {
        if (!ok)
            return;
        ok = false;
        olex_Reject(parser, back, message.c_str());
    }

    void setWord(double code) { result->number = code; }
};

Vmod_Rect *newRect(Action &a, double x1, double y1, double x2, double y2) {
    Vmod_Rect *rect = vmod_RectCreate(a.ld->report);
    oerr_DeleteErrorReportEx(a.ld->report);
    if (rect != nullptr)
        *rect = Vmod_Rect{x1, y1, x2, y2};
    else
        a.reject(0, "memory is exhausted");
    return rect;
}

template <typename T> T *newArray(int64_t count) {
    return count > 0 ? static_cast<T *>(omsc_HeapMalloc(static_cast<size_t>(count) * sizeof(T))) : nullptr;
}

// Counts the entries a sizing statement asks for against the file's total; false (with a
// rejection at the statement whose first number is at `back`) past the cap.
bool withinFileTotal(Action &a, int32_t back, int64_t entries) {
    if (entries > VMOD_MAX_LIST_ENTRIES - a.ld->entriesAsked) {
        a.reject(back, "the sized lists of the file ask for more than " + std::to_string(VMOD_MAX_LIST_ENTRIES) +
                           " entries in all");
        return false;
    }
    a.ld->entriesAsked += entries;
    return true;
}

// False (with a rejection at `back`) when an array of count entries was wanted but none
// was made.
bool allocated(Action &a, int32_t back, const void *array, int64_t count) {
    if (count > 0 && array == nullptr) {
        a.reject(back, "memory is exhausted");
        return false;
    }
    return true;
}

void releaseStrings(char **strings, int64_t count) {
    if (strings == nullptr)
        return;
    for (int64_t i = 0; i < count; ++i)
        omsc_HeapFree(strings[i]);
    omsc_HeapFree(strings);
}

// ---- statements every block has ----

void nodeId(Action &a) {
    int32_t id = a.integer(1, "ID");
    if (a.ok)
        a.ld->current->id = id;
}
void nodeTitle(Action &a) { KEEP_STRING(a, a.ld->current->title, 1); }
void nodePosition(Action &a) {
    a.ld->current->x = a.number(3);
    a.ld->current->y = a.number(1);
}
// Appends at the remembered tail: a block with many CHILD statements is read in time
// linear in their number.
void childId(Action &a, int32_t back) {
    int32_t id = a.integer(back, "CHILD");
    if (!a.ok)
        return;
    auto *link = static_cast<Vmod_Link *>(omsc_HeapMalloc(sizeof(Vmod_Link)));
    if (link == nullptr) {
        a.reject(back, "memory is exhausted");
        return;
    }
    link->id = id;
    link->node = nullptr;
    link->next = nullptr;
    Vmod_Node *node = a.ld->current;
    Vmod_Link *tail = a.ld->childTail;
    if (tail == nullptr) { // the block's first CHILD; a node read from a file starts without
        tail = node->children;
        while (tail != nullptr && tail->next != nullptr)
            tail = tail->next;
    }
    link->prev = tail;
    if (tail == nullptr)
        node->children = link;
    else
        tail->next = link;
    a.ld->childTail = link;
}

// ---- sized lists ----

// Checks that the list item at `back` has a slot; names the list and its sizing statement.
bool hasSlot(Action &a, int32_t index, int64_t slots, const char *list, const char *sizing, int32_t back = 0) {
    if (slots < 0) {
        a.reject(back, std::string(list) + " comes before the " + sizing + " statement of its block");
        return false;
    }
    if (index >= slots) {
        a.reject(back, std::string(list) + " holds more items than " + sizing + " made room for (" +
                        std::to_string(slots) + ")");
        return false;
    }
    return true;
}

// NUMCLASSES: a new array for its record and a restarted counter.
template <typename Record> void numClasses(Action &a, Record *record) {
    int32_t count = a.size(1, "NUMCLASSES");
    if (!a.ok || !withinFileTotal(a, 1, count))
        return;
    record->numClasses = count;
    omsc_HeapFree(record->newClasses);
    record->newClasses = newArray<int32_t>(count);
    a.ld->classIndex = 0;
    a.ld->classSlots = allocated(a, 1, record->newClasses, count) ? count : 0;
}

void classItem(Action &a, int32_t *classes) {
    if (!hasSlot(a, a.ld->classIndex, a.ld->classSlots, "NEWCLASSES", "NUMCLASSES"))
        return;
    int32_t value = a.integer(0, "a class value");
    if (a.ok)
        classes[a.ld->classIndex++] = value;
}

void matrixSize(Action &a, Vmod_MatrixData *m) {
    int32_t columns = a.size(3, "the number of columns");
    int32_t rows = a.size(1, "the number of rows");
    if (!a.ok)
        return;
    int64_t count = static_cast<int64_t>(columns) * rows;
    if (count > VMOD_MAX_LIST_ENTRIES) {
        a.reject(4, "SIZE " + std::to_string(columns) + ", " + std::to_string(rows) + " holds more than " +
                        std::to_string(VMOD_MAX_LIST_ENTRIES) + " values");
        return;
    }
    if (!withinFileTotal(a, 4, count))
        return;
    m->columns = columns;
    m->rows = rows;
    omsc_HeapFree(m->values);
    m->values = newArray<double>(count);
    a.ld->matrixIndex = 0;
    a.ld->matrixSlots = allocated(a, 4, m->values, count) ? count : 0;
}

void releaseTableArrays(Vmod_TableData *t) {
    omsc_HeapFree(t->values);
    releaseStrings(t->strings, t->size);
    if (t->colors != nullptr) {
        for (int32_t i = 0; i < t->size; ++i)
            omsc_HeapFree(t->colors[i]);
        omsc_HeapFree(t->colors);
    }
    t->values = nullptr;
    t->strings = nullptr;
    t->colors = nullptr;
}

void tableSize(Action &a, Vmod_TableData *t) {
    int32_t size = a.size(1, "SIZE");
    if (!a.ok || !withinFileTotal(a, 1, size))
        return;
    // The earlier arrays were sized for the earlier SIZE; they go in any case.
    releaseTableArrays(t);
    t->size = size;
    if (size > 0) {
        t->values = newArray<double>(size);
        t->strings = newArray<char *>(size);
        t->colors = newArray<Vmod_TableColor *>(size);
    }
    a.ld->tableIndex = 0;
    a.ld->tableSlots = 0;
    if (!allocated(a, 1, t->values, size) || !allocated(a, 1, t->strings, size) || !allocated(a, 1, t->colors, size)) {
        releaseTableArrays(t); // nothing half made stays behind
        t->size = 0;
        return;
    }
    a.ld->tableSlots = size;
}

void criteriaSize(Action &a, Vmod_CriteriaData *c) {
    int32_t columns = a.size(3, "the number of columns");
    int32_t rows = a.size(1, "the number of rows");
    if (!a.ok)
        return;
    int64_t count = static_cast<int64_t>(columns) * rows;
    if (count > VMOD_MAX_LIST_ENTRIES) {
        a.reject(4, "SIZE " + std::to_string(columns) + ", " + std::to_string(rows) + " holds more than " +
                        std::to_string(VMOD_MAX_LIST_ENTRIES) + " cells");
        return;
    }
    if (!withinFileTotal(a, 4, count))
        return;
    releaseStrings(c->columnTitles, c->columns);
    releaseStrings(c->cells, static_cast<int64_t>(c->columns) * c->rows);
    // Output values belong to the earlier rows: without this the array could be shorter
    // than the new row count.
    omsc_HeapFree(c->outputValues);
    c->outputValues = nullptr;
    c->columns = columns;
    c->rows = rows;
    c->columnTitles = newArray<char *>(columns);
    c->cells = newArray<char *>(count);
    a.ld->titleIndex = 0;
    a.ld->cellIndex = 0;
    a.ld->titleSlots = a.ld->cellSlots = 0;
    if (!allocated(a, 4, c->columnTitles, columns) || !allocated(a, 4, c->cells, count)) {
        omsc_HeapFree(c->columnTitles);
        omsc_HeapFree(c->cells);
        c->columnTitles = c->cells = nullptr;
        c->columns = c->rows = 0;
        return;
    }
    a.ld->titleSlots = columns;
    a.ld->cellSlots = count;
}

void stringItem(Action &a, char **array, int32_t *index, int64_t slots, const char *list, const char *sizing) {
    if (!hasSlot(a, *index, slots, list, sizing))
        return;
    array[(*index)++] = a.take(0);
}

// ---- per kind ----

template <typename T> T *payload(Local_Data *ld) { return static_cast<T *>(ld->current->data); }

void blockStart(Action &a, int32_t kind) {
    Local_Data *ld = a.ld;
    ld->current = vmod_NodeCreate(ld->model, kind, ld->report);
    oerr_DeleteErrorReportEx(ld->report);
    ld->currentInList = 0;
    ld->childTail = nullptr;
    ld->classSlots = ld->matrixSlots = ld->tableSlots = -1;
    ld->titleSlots = ld->cellSlots = ld->outputSlots = -1;
    if (ld->current == nullptr || ld->current->data == nullptr)
        a.reject(0, "cannot make a node: memory is exhausted");
}

void appendCurrent(Local_Data *ld, bool first) {
    if (first) {
        ld->model->nodes = ld->current;
    } else {
        ld->last->next = ld->current;
        ld->current->prev = ld->last;
    }
    ld->last = ld->current;
    ld->currentInList = 1;
}

// The codes of the kernel words in grammar order (LOWPASS, HIGHPASS, EDGEDETECT,
// EDGEENHANCE, HORIZONTAL, VERTICAL, SOBEL1, SOBEL2, SUMMARY).
const int32_t kKernelCodes[] = {2, 3, 0, 1, 4, 5, 7, 8, 6};
// The style bits of NORMAL, BOLD, ITALICS, UNDERLINED.
const int32_t kStyleBits[] = {0, 1, 2, 4};

void run(Action &a, int32_t production, void **parseResult) {
    Local_Data *ld = a.ld;
    Vmod_Model *m = ld->model;
    switch (production) {
    case 1: // guimodel: headerlist nodelist
        *parseResult = ld->failed ? nullptr : m;
        ld->delivered = ld->failed ? 0 : 1;
        return;

    // ---- header statements ----
    case 4: KEEP_STRING(a, m->title, 1); return;
    case 5:
        m->pageWidth = a.number(4);
        m->pageHeight = a.number(2);
        m->pageUnits = static_cast<int32_t>(a.number(1));
        return;
    case 6:
        m->printerPageWidth = a.number(3);
        m->printerPageHeight = a.number(1);
        return;
    case 7:
        for (int32_t i = 0; i < 4; ++i)
            m->margins[i] = a.number(7 - 2 * i);
        return;
    case 8: m->optimize = static_cast<int32_t>(a.number(1)); return;
    case 9: m->orientation = static_cast<int32_t>(a.number(1)); return;
    case 10: m->printScale = a.number(1); return;
    case 11: m->pageNumbers = 1; return;
    case 12:
        m->cellSizeSet = 1;
        m->cellSizeMode = 2;
        m->cellSizeX = singleOf(a.number(4));
        m->cellSizeY = singleOf(a.number(2));
        m->cellSizeUnits = static_cast<int32_t>(a.number(1));
        return;
    case 13: m->cellSizeSet = 1; m->cellSizeMode = 0; return;
    case 14: m->cellSizeSet = 1; m->cellSizeMode = 1; return;
    case 15: m->windowMode = 0; return;
    case 16: m->windowMode = 1; return;
    case 17:
        m->windowMode = 2;
        REPLACE_RECT(ld, m->window, newRect(a, a.number(8), a.number(6), a.number(4), a.number(2)));
        m->windowUnits = static_cast<int32_t>(a.number(1));
        return;
    case 18: m->projectionMode = 0; return;
    case 19: m->projectionMode = 1; KEEP_STRING(a, m->projectionSameAs, 1); return;
    case 20:
        m->projectionMode = 2;
        KEEP_STRING(a, m->projectionSpec1, 2);
        KEEP_STRING(a, m->projectionSpec2, 1);
        return;
    case 21: m->aoiMode = 0; return;
    case 22: m->aoiMode = 1; return;
    case 23: m->aoiMode = 2; KEEP_STRING(a, m->aoiFile, 1); return;

    // ---- the node list ----
    case 25: appendCurrent(ld, true); return;
    case 26: appendCurrent(ld, false); return;
    case 35: blockStart(a, VMOD_RASTER); return;
    case 37: blockStart(a, VMOD_VECTOR); return;
    case 39: blockStart(a, VMOD_MATRIX); return;
    case 41: blockStart(a, VMOD_TABLE); return;
    case 43: blockStart(a, VMOD_SCALAR); return;
    case 45: blockStart(a, VMOD_FUNCTION); return;
    case 47: blockStart(a, VMOD_CRITERIA); return;
    case 49: blockStart(a, VMOD_TEXT); return;

    // ---- ID, TITLE, POSITION of every kind ----
    case 68: case 97: case 119: case 138: case 168: case 183: case 191: case 203: nodeId(a); return;
    case 69: case 98: case 120: case 139: case 169: case 184: case 192: case 204: nodeTitle(a); return;
    case 70: case 99: case 121: case 140: case 170: case 185: case 193: case 205: nodePosition(a); return;

    // ---- raster ----
    case 71: KEEP_STRING(a, payload<Vmod_RasterData>(ld)->fileName, 1); return;
    case 72: case 73: {
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        PROMPT(a, r, production == 73);
        return;
    }
    case 74: {
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        r->tempFile = 1;
        if (r->declare == nullptr) {
            r->declare = ostr_Duplicate("Float");
            allocated(a, 0, r->declare, 1);
        }
        return;
    }
    case 75: payload<Vmod_RasterData>(ld)->newFile = 1; return;
    case 76: case 77: {
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        r->ignoreSet = 1;
        r->ignoreValue = production == 77 ? a.number(1) : 0.0;
        return;
    }
    case 78: {
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        r->newFile = 1;
        r->deleteFile = 1;
        return;
    }
    case 80: payload<Vmod_RasterData>(ld)->interpolation = static_cast<int32_t>(a.number(1)); return;
    case 81: payload<Vmod_RasterData>(ld)->thematic = 1; return;
    case 82: payload<Vmod_RasterData>(ld)->thematic = 0; return;
    case 83: payload<Vmod_RasterData>(ld)->dataType = static_cast<int32_t>(a.number(1)); return;
    case 84: KEEP_STRING(a, payload<Vmod_RasterData>(ld)->declare, 1); return;
    case 85: payload<Vmod_RasterData>(ld)->compression = static_cast<int32_t>(a.number(1)); return;
    case 86: payload<Vmod_RasterData>(ld)->coordinates = static_cast<int32_t>(a.number(1)); return;
    case 87: payload<Vmod_RasterData>(ld)->areaFlag = static_cast<int32_t>(a.number(1)); return;
    case 88: case 89: payload<Vmod_RasterData>(ld)->aoiMode = production - 88; return;
    case 90: {
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        r->aoiMode = 2;
        KEEP_STRING(a, r->aoiFile, 1);
        return;
    }
    case 91: payload<Vmod_RasterData>(ld)->recode = static_cast<int32_t>(a.number(1)); return;
    case 92: {
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        numClasses(a, r);
        return;
    }
    case 237: { // areaspec: RECT numval ',' numval ':' numval ',' numval
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        REPLACE_RECT(ld, r->areaRect, newRect(a, a.number(6), a.number(4), a.number(2), a.number(0)));
        a.setWord(0);
        return;
    }
    case 238: a.setWord(1); return;
    case 239: omsc_HeapFree(a.take(0)); a.setWord(2); return;
    case 242: case 243: classItem(a, payload<Vmod_RasterData>(ld)->newClasses); return;

    // ---- vector ----
    case 100: payload<Vmod_VectorData>(ld)->vectorType = static_cast<int32_t>(a.number(1)); return;
    case 101: KEEP_STRING(a, payload<Vmod_VectorData>(ld)->fileName, 1); return;
    case 102: case 103: {
        Vmod_VectorData *v = payload<Vmod_VectorData>(ld);
        PROMPT(a, v, production == 103);
        return;
    }
    case 104: KEEP_STRING(a, payload<Vmod_VectorData>(ld)->feature, 1); return;
    case 105: payload<Vmod_VectorData>(ld)->tempFile = 1; return;
    case 106: {
        Vmod_VectorData *v = payload<Vmod_VectorData>(ld);
        v->cellSizeSet = 1;
        v->cellSizeX = singleOf(a.number(4));
        v->cellSizeY = singleOf(a.number(2));
        v->cellSizeUnits = static_cast<int32_t>(a.number(1));
        return;
    }
    case 107: KEEP_STRING(a, payload<Vmod_VectorData>(ld)->declare, 1); return;
    case 108:
        REPLACE_RECT(ld, payload<Vmod_VectorData>(ld)->window,
                     newRect(a, a.number(7), a.number(5), a.number(3), a.number(1)));
        return;
    case 109: case 110: payload<Vmod_VectorData>(ld)->aoiMode = production - 109; return;
    case 111: {
        Vmod_VectorData *v = payload<Vmod_VectorData>(ld);
        v->aoiMode = 2;
        KEEP_STRING(a, v->aoiFile, 1);
        return;
    }
    case 112: KEEP_STRING(a, payload<Vmod_VectorData>(ld)->attribute, 1); return;
    case 113: payload<Vmod_VectorData>(ld)->recode = static_cast<int32_t>(a.number(1)); return;
    case 114: {
        Vmod_VectorData *v = payload<Vmod_VectorData>(ld);
        numClasses(a, v);
        return;
    }
    case 244: case 245: classItem(a, payload<Vmod_VectorData>(ld)->newClasses); return;

    // ---- matrix ----
    case 122: matrixSize(a, payload<Vmod_MatrixData>(ld)); return;
    case 123: payload<Vmod_MatrixData>(ld)->dataType = static_cast<int32_t>(a.number(1)); return;
    case 124: payload<Vmod_MatrixData>(ld)->source = 3; return;
    case 125: {
        Vmod_MatrixData *x = payload<Vmod_MatrixData>(ld);
        x->source = 0;
        x->builtin = static_cast<int32_t>(a.number(1));
        return;
    }
    case 127: payload<Vmod_MatrixData>(ld)->normalize = static_cast<int32_t>(a.number(1)); return;
    case 128: case 129: {
        Vmod_MatrixData *x = payload<Vmod_MatrixData>(ld);
        x->source = 2;
        x->read = 1;
        if (production == 129)
            KEEP_STRING(a, x->readFile, 1);
        return;
    }
    case 130: case 131: {
        Vmod_MatrixData *x = payload<Vmod_MatrixData>(ld);
        x->write = 1;
        if (production == 131)
            KEEP_STRING(a, x->writeFile, 1);
        return;
    }
    case 132: case 133: {
        Vmod_MatrixData *x = payload<Vmod_MatrixData>(ld);
        PROMPT(a, x, production == 133);
        return;
    }
    case 134: payload<Vmod_MatrixData>(ld)->show = 1; return;
    case 246: case 247:
        if (hasSlot(a, ld->matrixIndex, ld->matrixSlots, "VALUE", "SIZE"))
            payload<Vmod_MatrixData>(ld)->values[ld->matrixIndex++] = a.number(0);
        return;

    // ---- table ----
    case 141: tableSize(a, payload<Vmod_TableData>(ld)); return;
    case 142: payload<Vmod_TableData>(ld)->dataType = static_cast<int32_t>(a.number(1)); return;
    case 143: case 144: case 146: case 147: case 148: case 149: {
        Vmod_TableData *t = payload<Vmod_TableData>(ld);
        t->source = 1;
        t->layerKind = production <= 144 ? 0 : production <= 147 ? 2 : 3;
        if (production == 144 || production == 147 || production == 149)
            KEEP_STRING(a, t->layerFile, 1);
        return;
    }
    case 145: {
        Vmod_TableData *t = payload<Vmod_TableData>(ld);
        t->source = 3;
        t->layerKind = 1;
        t->outputToLayer = 1;
        KEEP_STRING(a, t->layerFile, 1);
        return;
    }
    case 150: case 151: {
        Vmod_TableData *t = payload<Vmod_TableData>(ld);
        t->promptLayerFile = 1;
        if (production == 151)
            KEEP_STRING(a, t->promptLayerText, 1);
        return;
    }
    case 152: KEEP_STRING(a, payload<Vmod_TableData>(ld)->layerName, 1); return;
    case 153: KEEP_STRING(a, payload<Vmod_TableData>(ld)->fieldName, 1); return;
    case 154: case 155: case 156: payload<Vmod_TableData>(ld)->source = 0; return;
    case 157: {
        Vmod_TableData *t = payload<Vmod_TableData>(ld);
        t->source = 3;
        if (t->fieldName != nullptr)
            t->outputToLayer = 1;
        return;
    }
    case 158: case 159: {
        Vmod_TableData *t = payload<Vmod_TableData>(ld);
        t->source = 2;
        t->read = 1;
        if (production == 159)
            KEEP_STRING(a, t->readFile, 1);
        return;
    }
    case 160: case 161: {
        Vmod_TableData *t = payload<Vmod_TableData>(ld);
        t->write = 1;
        if (production == 161)
            KEEP_STRING(a, t->writeFile, 1);
        return;
    }
    case 162: case 163: {
        Vmod_TableData *t = payload<Vmod_TableData>(ld);
        PROMPT(a, t, production == 163);
        return;
    }
    case 164: payload<Vmod_TableData>(ld)->show = 1; return;
    case 248: case 249:
        if (hasSlot(a, ld->tableIndex, ld->tableSlots, "VALUE", "SIZE"))
            payload<Vmod_TableData>(ld)->values[ld->tableIndex++] = a.number(0);
        return;
    case 250: case 251:
        stringItem(a, payload<Vmod_TableData>(ld)->strings, &ld->tableIndex, ld->tableSlots, "VALUE", "SIZE");
        return;
    case 252: case 253: { // a group "(n, n, n, n)"
        if (!hasSlot(a, ld->tableIndex, ld->tableSlots, "COLORVALUE", "SIZE", 8))
            return;
        auto *color = static_cast<Vmod_TableColor *>(omsc_HeapMalloc(sizeof(Vmod_TableColor)));
        if (color == nullptr) {
            a.reject(0, "memory is exhausted");
            return;
        }
        for (int32_t i = 0; i < 4; ++i)
            color->value[i] = a.number(7 - 2 * i);
        payload<Vmod_TableData>(ld)->colors[ld->tableIndex++] = color;
        return;
    }

    // ---- scalar ----
    case 171: payload<Vmod_ScalarData>(ld)->dataType = static_cast<int32_t>(a.number(1)); return;
    case 172: payload<Vmod_ScalarData>(ld)->value = a.number(1); return;
    case 173: case 174: {
        Vmod_ScalarData *s = payload<Vmod_ScalarData>(ld);
        s->read = 1;
        if (production == 174)
            KEEP_STRING(a, s->readFile, 1);
        return;
    }
    case 175: case 176: {
        Vmod_ScalarData *s = payload<Vmod_ScalarData>(ld);
        s->write = 1;
        if (production == 176)
            KEEP_STRING(a, s->writeFile, 1);
        return;
    }
    case 177: case 178: {
        Vmod_ScalarData *s = payload<Vmod_ScalarData>(ld);
        PROMPT(a, s, production == 178);
        return;
    }
    case 179: payload<Vmod_ScalarData>(ld)->show = 1; return;

    // ---- function ----
    case 186: KEEP_STRING(a, payload<Vmod_FunctionData>(ld)->expression, 1); return;
    case 187: payload<Vmod_FunctionData>(ld)->area = static_cast<int32_t>(a.number(1)); return;
    case 189: childId(a, 1); return;

    // ---- criteria ----
    case 194: criteriaSize(a, payload<Vmod_CriteriaData>(ld)); return;
    case 197: { // outputstart
        Vmod_CriteriaData *c = payload<Vmod_CriteriaData>(ld);
        omsc_HeapFree(c->outputValues);
        c->outputValues = newArray<double>(c->rows > 0 ? c->rows : 0);
        ld->outputIndex = 0;
        ld->outputSlots = allocated(a, 0, c->outputValues, c->rows > 0 ? c->rows : 0) && c->rows > 0 ? c->rows : 0;
        return;
    }
    case 199: payload<Vmod_CriteriaData>(ld)->defaultValue = a.number(1); return;
    case 201: childId(a, 1); return;
    case 254: case 255:
        stringItem(a, payload<Vmod_CriteriaData>(ld)->columnTitles, &ld->titleIndex, ld->titleSlots,
                   "COLUMNTITLES", "SIZE");
        return;
    case 256: case 257:
        stringItem(a, payload<Vmod_CriteriaData>(ld)->cells, &ld->cellIndex, ld->cellSlots, "VALUE", "SIZE");
        return;
    case 258: case 259:
        if (hasSlot(a, ld->outputIndex, ld->outputSlots, "OUTPUTVALUES", "SIZE"))
            payload<Vmod_CriteriaData>(ld)->outputValues[ld->outputIndex++] = a.number(0);
        return;

    // ---- text ----
    case 206: model_TextFontAdopt(payload<Vmod_TextData>(ld), a.take(1)); return;
    case 207: {
        int32_t size = a.integer(1, "SIZE");
        if (a.ok)
            payload<Vmod_TextData>(ld)->size = size;
        return;
    }
    case 208: {
        Vmod_TextData *t = payload<Vmod_TextData>(ld);
        int32_t bit = static_cast<int32_t>(a.number(1));
        t->style = bit == 0 ? 0 : (t->style | bit);
        return;
    }

    // ---- child lists of data blocks ----
    case 261: case 262: childId(a, 0); return;

    // ---- words: the value each stands for ----
    case 209: case 210: case 211: a.setWord(production - 209); return;
    case 212: case 213: case 214: case 215: case 216: case 217: case 218:
    case 219: case 220: case 221: case 222: case 223: case 224: case 225: a.setWord(production - 212); return;
    case 226: case 227: case 228: case 229: case 230: a.setWord(production - 226); return;
    case 231: case 232: a.setWord(production - 231); return;
    case 233: case 234: a.setWord(production - 233); return;
    case 235: case 236: a.setWord(production - 235); return;
    case 240: a.setWord(1); return;
    case 241: a.setWord(0); return;
    case 263: case 264: case 265: case 266: case 267: case 268: case 269: case 270: case 271:
        a.setWord(kKernelCodes[production - 263]);
        return;
    case 274: case 275: a.setWord(production - 274); return;
    case 276: case 277: case 278: case 279: a.setWord(kStyleBits[production - 276]); return;
    case 283: case 284: a.setWord(0); return; // no unit word, INCHES
    case 285: a.setWord(1); return;           // CENTIMETERS
    case 286: case 287: a.setWord(0); return; // no word, PORTRAIT
    case 288: a.setWord(1); return;           // LANDSCAPE
    case 289: case 290: a.setWord(0); return; // no word, METERS
    case 291: a.setWord(1); return;           // FEET

    // ---- strval and numval ----
    case 292: case 293: {
        char *text = a.top[0].text;
        if (ld->pendingCount < static_cast<int32_t>(sizeof ld->pending / sizeof ld->pending[0])) {
            ld->pending[ld->pendingCount++] = text;
        } else { // cannot happen: a statement takes at most two strings
            omsc_HeapFree(text);
            a.reject(0, "too many strings in one statement");
            return;
        }
        a.result->text = text;
        return;
    }
    case 294: case 296: a.result->number = a.number(0); return;
    case 295: case 297: a.result->number = -a.number(0); return;

    default: // lists, blocks, empty statements, VIEW, PARENT, and statements whose items act
        return;
    }
}

} // namespace

extern "C" int32_t parseAction(Olex_Parser *parser, void *localData, int32_t production, Olex_Value *top,
                               Olex_Value *result, void **parseResult, int32_t *flag) {
    *flag = 0;
    Action action{parser, static_cast<Local_Data *>(localData), top, result};
    if (action.ld == nullptr) {
        olex_Reject(parser, 0, "memory is exhausted");
        return 0;
    }
    try {
        run(action, production, parseResult);
    } catch (...) { // a std::string of a message could not be made
        olex_Reject(parser, 0, "memory is exhausted");
    }
    return production == 1 ? 2 : 0;
}
