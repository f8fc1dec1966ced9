// parse_action.cpp - parseAction: the work of each production of the model-file grammar.
// The driver calls it with the number of every production it recognises; the switch
// names them (production_names.h, generated from model_grammar.y at build time). It fills
// the temporary model of the parse.
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
#include <type_traits>

#include "file/format_words.h"
#include "file/model_reader.h"
#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/text_font.h"
#include "production_names.h"

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

// SIZE columns, rows of a matrix or criteria, whose grid holds `entries`: false (after a
// rejection at the statement) when the numbers are no sizes or the grid is too large.
bool gridSize(Action &a, const char *entries, int32_t *columns, int32_t *rows, int64_t *count) {
    *columns = a.size(3, "the number of columns");
    *rows = a.size(1, "the number of rows");
    if (!a.ok)
        return false;
    *count = static_cast<int64_t>(*columns) * *rows;
    if (*count > VMOD_MAX_LIST_ENTRIES) {
        a.reject(4, "SIZE " + std::to_string(*columns) + ", " + std::to_string(*rows) + " holds more than " +
                        std::to_string(VMOD_MAX_LIST_ENTRIES) + " " + entries);
        return false;
    }
    return withinFileTotal(a, 4, *count);
}

void matrixSize(Action &a, Vmod_MatrixData *m) {
    int32_t columns = 0, rows = 0;
    int64_t count = 0;
    if (!gridSize(a, "values", &columns, &rows, &count))
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
    int32_t columns = 0, rows = 0;
    int64_t count = 0;
    if (!gridSize(a, "cells", &columns, &rows, &count))
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

// IMAGENAME, COVERAGENAME or ANNOTATIONNAME, with or without the layer file: the table
// reads a layer of that kind.
void layerFile(Action &a, Vmod_TableData *t, int32_t layerKind, bool withFile) {
    t->source = 1;
    t->layerKind = layerKind;
    if (withFile)
        KEEP_STRING(a, t->layerFile, 1);
}

// A group "(n, n, n, n)" of COLORVALUE: a new color at the next entry.
void colorItem(Action &a, Vmod_TableData *t) {
    if (!hasSlot(a, a.ld->tableIndex, a.ld->tableSlots, "COLORVALUE", "SIZE", 8))
        return;
    auto *color = static_cast<Vmod_TableColor *>(omsc_HeapMalloc(sizeof(Vmod_TableColor)));
    if (color == nullptr) {
        a.reject(0, "memory is exhausted");
        return;
    }
    for (int32_t i = 0; i < 4; ++i)
        color->value[i] = a.number(7 - 2 * i);
    t->colors[a.ld->tableIndex++] = color;
}

// ---- statements that several kinds share ----

// Kinds<Records...>::apply calls act with the current node's payload when the node is
// of the kind of one of Records: one action serves a statement that blocks of these
// kinds share.
template <typename Record> constexpr int32_t kindOf() {
    if constexpr (std::is_same_v<Record, Vmod_RasterData>) return VMOD_RASTER;
    else if constexpr (std::is_same_v<Record, Vmod_VectorData>) return VMOD_VECTOR;
    else if constexpr (std::is_same_v<Record, Vmod_MatrixData>) return VMOD_MATRIX;
    else if constexpr (std::is_same_v<Record, Vmod_TableData>) return VMOD_TABLE;
    else {
        static_assert(std::is_same_v<Record, Vmod_ScalarData>, "not the payload of a data kind");
        return VMOD_SCALAR;
    }
}
template <typename... Records> struct Kinds {
    template <typename Act> static void apply(Local_Data *ld, Act act) {
        ((ld->current->type == kindOf<Records>() ? act(payload<Records>(ld)) : void()), ...);
    }
};
using DataKinds = Kinds<Vmod_RasterData, Vmod_VectorData, Vmod_MatrixData, Vmod_TableData, Vmod_ScalarData>;
using LayerKinds = Kinds<Vmod_RasterData, Vmod_VectorData>; // raster and vector layers
using TypedKinds = Kinds<Vmod_RasterData, Vmod_MatrixData, Vmod_TableData, Vmod_ScalarData>; // DATATYPE
using StoredKinds = Kinds<Vmod_MatrixData, Vmod_TableData, Vmod_ScalarData>; // READ, WRITE, SHOW

// AOI NONE (0), AOI DEFAULT (1) or AOI with a file (2) of the header, a raster or a vector.
template <typename Record> void aoi(Action &a, Record *record, int32_t mode) {
    record->aoiMode = mode;
    if (mode == 2)
        KEEP_STRING(a, record->aoiFile, 1);
}

template <typename Record> void prompt(Action &a, Record *record, bool withText) {
    record->prompt = 1;
    if (withText)
        KEEP_STRING(a, record->promptText, 1);
}

// READ and WRITE, with or without a file. A matrix or table read from a file takes its
// values from there.
template <typename Record> void readFrom(Action &a, Record *record, bool withFile) {
    if constexpr (requires { record->source; })
        record->source = 2;
    record->read = 1;
    if (withFile)
        KEEP_STRING(a, record->readFile, 1);
}
template <typename Record> void writeTo(Action &a, Record *record, bool withFile) {
    record->write = 1;
    if (withFile)
        KEEP_STRING(a, record->writeFile, 1);
}

// CHILD in a function or criteria block: the operation's one output. A second CHILD
// would give it two, which the writer cannot save, so the reader refuses it here.
void outputChild(Action &a) {
    if (a.ld->current->children != nullptr) {
        a.reject(2, std::string("a second CHILD in a ") + file_FormatWord(file_BlockWords, a.ld->current->type) +
                        " block; a model file gives an operation one output at most");
        return;
    }
    childId(a, 1);
}

// ---- what productions stand for ----

using enum Production;

// A value that a production stands for.
struct ProductionValue {
    Production production;
    int32_t value;
};

template <size_t N> const ProductionValue *valueOf(const ProductionValue (&table)[N], Production production) {
    for (const ProductionValue &entry : table)
        if (entry.production == production)
            return &entry;
    return nullptr;
}

// The node kind of the block each start production opens.
constexpr ProductionValue kBlockKinds[] = {
    {rasterstart, VMOD_RASTER},     {vectorstart, VMOD_VECTOR}, {matrixstart, VMOD_MATRIX},
    {tablestart, VMOD_TABLE},       {scalarstart, VMOD_SCALAR}, {functionstart, VMOD_FUNCTION},
    {criteriastart, VMOD_CRITERIA}, {textstart, VMOD_TEXT}};

// The code each word production yields: the field value its word stands for. An empty
// alternative yields 0.
constexpr ProductionValue kWordCodes[] = {
    {interpword_NEAREST, 0}, {interpword_BILINEAR, 1}, {interpword_CUBIC, 2},
    {typeword_U1, VMOD_BINARY}, {typeword_U2, VMOD_UNSIGNED2}, {typeword_U4, VMOD_UNSIGNED4},
    {typeword_U8, VMOD_UNSIGNED8}, {typeword_S8, VMOD_SIGNED8}, {typeword_U16, VMOD_UNSIGNED16},
    {typeword_S16, VMOD_SIGNED16}, {typeword_U32, VMOD_UNSIGNED32}, {typeword_S32, VMOD_SIGNED32},
    {typeword_F32, VMOD_FLOAT}, {typeword_D64, VMOD_DOUBLE}, {typeword_C64, VMOD_COMPLEX},
    {typeword_C128, VMOD_DOUBLECOMPLEX}, {typeword_STR, VMOD_STRING},
    {tabletypeword_U1, VMOD_TABLE_BINARY}, {tabletypeword_S32, VMOD_TABLE_SIGNED32},
    {tabletypeword_D64, VMOD_TABLE_DOUBLE}, {tabletypeword_STR, VMOD_TABLE_STRING},
    {tabletypeword_COLOR, VMOD_TABLE_COLOR},
    {vectorkind_COVERAGE, 0}, {vectorkind_ANNOTATION, 1},
    {compressword_UNCOMPRESSED, 0}, {compressword_RLE, 1},
    {coordword_MAP, 0}, {coordword_PIXEL, 1},
    {areaspec_POLY_numval_polypoints, 1},
    {yesno_YES, 1}, {yesno_NO, 0},
    // the order of the kernel words the writer uses
    {kernelword_EDGEDETECT, 0}, {kernelword_EDGEENHANCE, 1}, {kernelword_LOWPASS, 2},
    {kernelword_HIGHPASS, 3}, {kernelword_HORIZONTAL, 4}, {kernelword_VERTICAL, 5},
    {kernelword_SUMMARY, 6}, {kernelword_SOBEL1, 7}, {kernelword_SOBEL2, 8},
    {areamode_UNION, 0}, {areamode_INTERSECTION, 1},
    {styleword_NORMAL, 0}, {styleword_BOLD, VMOD_STYLE_BOLD},
    {styleword_ITALICS, VMOD_STYLE_ITALIC}, {styleword_UNDERLINED, VMOD_STYLE_UNDERLINE},
    {pageunitword_empty, 0}, {pageunitword_INCHES, 0}, {pageunitword_CENTIMETERS, 1},
    {orientword_empty, 0}, {orientword_PORTRAIT, 0}, {orientword_LANDSCAPE, 1},
    {cellunitword_empty, 0}, {cellunitword_METERS, 0}, {cellunitword_FEET, 1},
};

// The forms of PROMPT, READ and WRITE that give their optional string.
bool withString(Production production) {
    constexpr Production withStrings[] = {
        rasterstmt_PROMPT_strval, vectorstmt_PROMPT_strval, matrixstmt_PROMPT_strval, tablestmt_PROMPT_strval,
        scalarstmt_PROMPT_strval, matrixstmt_READ_strval,   tablestmt_READ_strval,    scalarstmt_READ_strval,
        matrixstmt_WRITE_strval,  tablestmt_WRITE_strval,   scalarstmt_WRITE_strval};
    for (Production form : withStrings)
        if (form == production)
            return true;
    return false;
}

// ---- the productions ----

void run(Action &a, Production production, void **parseResult) {
    Local_Data *ld = a.ld;
    Vmod_Model *m = ld->model;
    switch (production) {
    case guimodel:
        *parseResult = ld->failed ? nullptr : m;
        ld->delivered = ld->failed ? 0 : 1;
        return;

    // ---- header statements ----
    case headerstmt_TITLE_strval: KEEP_STRING(a, m->title, 1); return;
    case headerstmt_PAGESIZE_numval_numval_pageunitword:
        m->pageWidth = a.number(4);
        m->pageHeight = a.number(2);
        m->pageUnits = static_cast<int32_t>(a.number(1));
        return;
    case headerstmt_PRINTERPAGESIZE_numval_numval:
        m->printerPageWidth = a.number(3);
        m->printerPageHeight = a.number(1);
        return;
    case headerstmt_MARGINS_numval_numval_numval_numval:
        for (int32_t i = 0; i < 4; ++i)
            m->margins[i] = a.number(7 - 2 * i);
        return;
    case headerstmt_OPTIMIZE_yesno: m->optimize = static_cast<int32_t>(a.number(1)); return;
    case headerstmt_ORIENTATION_orientword: m->orientation = static_cast<int32_t>(a.number(1)); return;
    case headerstmt_PRINTSCALE_numval: m->printScale = a.number(1); return;
    case headerstmt_PAGENUMBERS: m->pageNumbers = 1; return;
    case headerstmt_CELLSIZE_numval_numval_cellunitword:
        m->cellSizeSet = 1;
        m->cellSizeMode = 2;
        m->cellSizeX = singleOf(a.number(4));
        m->cellSizeY = singleOf(a.number(2));
        m->cellSizeUnits = static_cast<int32_t>(a.number(1));
        return;
    case headerstmt_CELLSIZE_MINIMUM: m->cellSizeSet = 1; m->cellSizeMode = 0; return;
    case headerstmt_CELLSIZE_MAXIMUM: m->cellSizeSet = 1; m->cellSizeMode = 1; return;
    case headerstmt_WINDOW_UNION: m->windowMode = 0; return;
    case headerstmt_WINDOW_INTERSECTION: m->windowMode = 1; return;
    case headerstmt_WINDOW_numval_numval_numval_numval_coordword:
        m->windowMode = 2;
        REPLACE_RECT(ld, m->window, newRect(a, a.number(8), a.number(6), a.number(4), a.number(2)));
        m->windowUnits = static_cast<int32_t>(a.number(1));
        return;
    case headerstmt_PROJECTION_DEFAULT: m->projectionMode = 0; return;
    case headerstmt_PROJECTION_SAMEAS_strval: m->projectionMode = 1; KEEP_STRING(a, m->projectionSameAs, 1); return;
    case headerstmt_PROJECTION_SPECIFY_strval_strval:
        m->projectionMode = 2;
        KEEP_STRING(a, m->projectionSpec1, 2);
        KEEP_STRING(a, m->projectionSpec2, 1);
        return;
    case headerstmt_AOI_NONE: aoi(a, m, 0); return;
    case headerstmt_AOI_DEFAULT: aoi(a, m, 1); return;
    case headerstmt_AOI_strval: aoi(a, m, 2); return;

    // ---- the node list ----
    case nodelist_nodeblock: appendCurrent(ld, true); return;
    case nodelist_nodelist_nodeblock: appendCurrent(ld, false); return;
    case rasterstart: case vectorstart: case matrixstart: case tablestart:
    case scalarstart: case functionstart: case criteriastart: case textstart:
        blockStart(a, valueOf(kBlockKinds, production)->value);
        return;

    // ---- ID, TITLE, POSITION of every kind ----
    case rasterstmt_ID_numval: case vectorstmt_ID_numval: case matrixstmt_ID_numval: case tablestmt_ID_numval:
    case scalarstmt_ID_numval: case functionstmt_ID_numval: case criteriastmt_ID_numval: case textstmt_ID_numval:
        nodeId(a);
        return;
    case rasterstmt_TITLE_strval: case vectorstmt_TITLE_strval: case matrixstmt_TITLE_strval:
    case tablestmt_TITLE_strval: case scalarstmt_TITLE_strval: case functionstmt_TITLE_strval:
    case criteriastmt_TITLE_strval: case textstmt_TITLE_strval:
        nodeTitle(a);
        return;
    case rasterstmt_POSITION_numval_numval: case vectorstmt_POSITION_numval_numval:
    case matrixstmt_POSITION_numval_numval: case tablestmt_POSITION_numval_numval:
    case scalarstmt_POSITION_numval_numval: case functionstmt_POSITION_numval_numval:
    case criteriastmt_POSITION_numval_numval: case textstmt_POSITION_numval_numval:
        nodePosition(a);
        return;

    // ---- statements of several data kinds ----
    case rasterstmt_PROMPT: case vectorstmt_PROMPT: case matrixstmt_PROMPT: case tablestmt_PROMPT:
    case scalarstmt_PROMPT: case rasterstmt_PROMPT_strval: case vectorstmt_PROMPT_strval:
    case matrixstmt_PROMPT_strval: case tablestmt_PROMPT_strval: case scalarstmt_PROMPT_strval:
        DataKinds::apply(ld, [&](auto *r) { prompt(a, r, withString(production)); });
        return;
    case rasterstmt_DATATYPE_typeword: case matrixstmt_DATATYPE_typeword: case tablestmt_DATATYPE_tabletypeword:
    case scalarstmt_DATATYPE_typeword:
        TypedKinds::apply(ld, [&](auto *r) { r->dataType = static_cast<int32_t>(a.number(1)); });
        return;
    case rasterstmt_FILENAME_strval: case vectorstmt_FILENAME_strval:
        LayerKinds::apply(ld, [&](auto *r) { KEEP_STRING(a, r->fileName, 1); });
        return;
    case rasterstmt_DECLARE_strval: case vectorstmt_DECLARE_strval:
        LayerKinds::apply(ld, [&](auto *r) { KEEP_STRING(a, r->declare, 1); });
        return;
    case rasterstmt_AOI_NONE: case vectorstmt_AOI_NONE: LayerKinds::apply(ld, [&](auto *r) { aoi(a, r, 0); }); return;
    case rasterstmt_AOI_DEFAULT: case vectorstmt_AOI_DEFAULT: LayerKinds::apply(ld, [&](auto *r) { aoi(a, r, 1); }); return;
    case rasterstmt_AOI_strval: case vectorstmt_AOI_strval: LayerKinds::apply(ld, [&](auto *r) { aoi(a, r, 2); }); return;
    case rasterstmt_RECODE_yesno: case vectorstmt_RECODE_yesno:
        LayerKinds::apply(ld, [&](auto *r) { r->recode = static_cast<int32_t>(a.number(1)); });
        return;
    case rasterstmt_NUMCLASSES_numval: case vectorstmt_NUMCLASSES_numval:
        LayerKinds::apply(ld, [&](auto *r) { numClasses(a, r); });
        return;
    case rasterclasses_numval: case rasterclasses_rasterclasses_numval: case vectorclasses_numval:
    case vectorclasses_vectorclasses_numval:
        LayerKinds::apply(ld, [&](auto *r) { classItem(a, r->newClasses); });
        return;
    case matrixstmt_READ: case tablestmt_READ: case scalarstmt_READ:
    case matrixstmt_READ_strval: case tablestmt_READ_strval: case scalarstmt_READ_strval:
        StoredKinds::apply(ld, [&](auto *r) { readFrom(a, r, withString(production)); });
        return;
    case matrixstmt_WRITE: case tablestmt_WRITE: case scalarstmt_WRITE:
    case matrixstmt_WRITE_strval: case tablestmt_WRITE_strval: case scalarstmt_WRITE_strval:
        StoredKinds::apply(ld, [&](auto *r) { writeTo(a, r, withString(production)); });
        return;
    case matrixstmt_SHOW: case tablestmt_SHOW: case scalarstmt_SHOW:
        StoredKinds::apply(ld, [&](auto *r) { r->show = 1; });
        return;

    // ---- raster ----
    case rasterstmt_TEMPFILE: {
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        r->tempFile = 1;
        if (r->declare == nullptr) {
            r->declare = ostr_Duplicate("Float");
            allocated(a, 0, r->declare, 1);
        }
        return;
    }
    case rasterstmt_NEWFILE: payload<Vmod_RasterData>(ld)->newFile = 1; return;
    case rasterstmt_IGNORE: case rasterstmt_IGNORE_numval: {
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        r->ignoreSet = 1;
        r->ignoreValue = production == rasterstmt_IGNORE_numval ? a.number(1) : 0.0;
        return;
    }
    case rasterstmt_DELETEFILE: {
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        r->newFile = 1;
        r->deleteFile = 1;
        return;
    }
    case rasterstmt_INTERPOLATION_interpword:
        payload<Vmod_RasterData>(ld)->interpolation = static_cast<int32_t>(a.number(1));
        return;
    case rasterstmt_THEMATIC: payload<Vmod_RasterData>(ld)->thematic = 1; return;
    case rasterstmt_ATHEMATIC: payload<Vmod_RasterData>(ld)->thematic = 0; return;
    case rasterstmt_COMPRESSION_compressword:
        payload<Vmod_RasterData>(ld)->compression = static_cast<int32_t>(a.number(1));
        return;
    case rasterstmt_COORDINATES_coordword:
        payload<Vmod_RasterData>(ld)->coordinates = static_cast<int32_t>(a.number(1));
        return;
    case rasterstmt_AREA_areaspec: payload<Vmod_RasterData>(ld)->areaFlag = static_cast<int32_t>(a.number(1)); return;
    case areaspec_RECT_numval_numval_numval_numval: {
        Vmod_RasterData *r = payload<Vmod_RasterData>(ld);
        REPLACE_RECT(ld, r->areaRect, newRect(a, a.number(6), a.number(4), a.number(2), a.number(0)));
        a.setWord(0);
        return;
    }
    case areaspec_MASK_strval: omsc_HeapFree(a.take(0)); a.setWord(2); return;

    // ---- vector ----
    case vectorstmt_VECTORTYPE_vectorkind:
        payload<Vmod_VectorData>(ld)->vectorType = static_cast<int32_t>(a.number(1));
        return;
    case vectorstmt_FEATURE_strval: KEEP_STRING(a, payload<Vmod_VectorData>(ld)->feature, 1); return;
    case vectorstmt_TEMPFILE: payload<Vmod_VectorData>(ld)->tempFile = 1; return;
    case vectorstmt_CELLSIZE_numval_numval_cellunitword: {
        Vmod_VectorData *v = payload<Vmod_VectorData>(ld);
        v->cellSizeSet = 1;
        v->cellSizeX = singleOf(a.number(4));
        v->cellSizeY = singleOf(a.number(2));
        v->cellSizeUnits = static_cast<int32_t>(a.number(1));
        return;
    }
    case vectorstmt_WINDOW_numval_numval_numval_numval:
        REPLACE_RECT(ld, payload<Vmod_VectorData>(ld)->window,
                     newRect(a, a.number(7), a.number(5), a.number(3), a.number(1)));
        return;
    case vectorstmt_ATTRIBUTE_strval: KEEP_STRING(a, payload<Vmod_VectorData>(ld)->attribute, 1); return;

    // ---- matrix ----
    case matrixstmt_SIZE_numval_numval: matrixSize(a, payload<Vmod_MatrixData>(ld)); return;
    case matrixstmt_OUTPUT: payload<Vmod_MatrixData>(ld)->source = 3; return;
    case matrixstmt_BUILTIN_kernelword: {
        Vmod_MatrixData *x = payload<Vmod_MatrixData>(ld);
        x->source = 0;
        x->builtin = static_cast<int32_t>(a.number(1));
        return;
    }
    case matrixstmt_NORMALIZE_yesno: payload<Vmod_MatrixData>(ld)->normalize = static_cast<int32_t>(a.number(1)); return;
    case matrixlist_numval: case matrixlist_matrixlist_numval:
        if (hasSlot(a, ld->matrixIndex, ld->matrixSlots, "VALUE", "SIZE"))
            payload<Vmod_MatrixData>(ld)->values[ld->matrixIndex++] = a.number(0);
        return;

    // ---- table ----
    case tablestmt_SIZE_numval: tableSize(a, payload<Vmod_TableData>(ld)); return;
    case tablestmt_IMAGENAME: layerFile(a, payload<Vmod_TableData>(ld), 0, false); return;
    case tablestmt_IMAGENAME_strval: layerFile(a, payload<Vmod_TableData>(ld), 0, true); return;
    case tablestmt_COVERAGENAME: layerFile(a, payload<Vmod_TableData>(ld), 2, false); return;
    case tablestmt_COVERAGENAME_strval: layerFile(a, payload<Vmod_TableData>(ld), 2, true); return;
    case tablestmt_ANNOTATIONNAME: layerFile(a, payload<Vmod_TableData>(ld), 3, false); return;
    case tablestmt_ANNOTATIONNAME_strval: layerFile(a, payload<Vmod_TableData>(ld), 3, true); return;
    case tablestmt_VARIABLENAME_strval: {
        Vmod_TableData *t = payload<Vmod_TableData>(ld);
        t->source = 3;
        t->layerKind = 1;
        t->outputToLayer = 1;
        KEEP_STRING(a, t->layerFile, 1);
        return;
    }
    case tablestmt_PROMPTLAYERFILE: case tablestmt_PROMPTLAYERFILE_strval: {
        Vmod_TableData *t = payload<Vmod_TableData>(ld);
        t->promptLayerFile = 1;
        if (production == tablestmt_PROMPTLAYERFILE_strval)
            KEEP_STRING(a, t->promptLayerText, 1);
        return;
    }
    case tablestmt_LAYERNAME_strval: KEEP_STRING(a, payload<Vmod_TableData>(ld)->layerName, 1); return;
    case tablestmt_FIELDNAME_strval: KEEP_STRING(a, payload<Vmod_TableData>(ld)->fieldName, 1); return;
    case tablestmt_VALUE_numberlist: case tablestmt_VALUE_stringlist: case tablestmt_COLORVALUE_colorlist:
        payload<Vmod_TableData>(ld)->source = 0;
        return;
    case tablestmt_OUTPUT: {
        Vmod_TableData *t = payload<Vmod_TableData>(ld);
        t->source = 3;
        if (t->fieldName != nullptr)
            t->outputToLayer = 1;
        return;
    }
    case numberlist_numval: case numberlist_numberlist_numval:
        if (hasSlot(a, ld->tableIndex, ld->tableSlots, "VALUE", "SIZE"))
            payload<Vmod_TableData>(ld)->values[ld->tableIndex++] = a.number(0);
        return;
    case stringlist_strval: case stringlist_stringlist_strval:
        stringItem(a, payload<Vmod_TableData>(ld)->strings, &ld->tableIndex, ld->tableSlots, "VALUE", "SIZE");
        return;
    case colorlist_numval_numval_numval_numval: case colorlist_colorlist_numval_numval_numval_numval:
        colorItem(a, payload<Vmod_TableData>(ld));
        return;

    // ---- scalar ----
    case scalarstmt_VALUE_numval: payload<Vmod_ScalarData>(ld)->value = a.number(1); return;

    // ---- function ----
    case functionstmt_VALUE_strval: KEEP_STRING(a, payload<Vmod_FunctionData>(ld)->expression, 1); return;
    case functionstmt_AREA_areamode: payload<Vmod_FunctionData>(ld)->area = static_cast<int32_t>(a.number(1)); return;
    case functionstmt_CHILD_numval: outputChild(a); return;

    // ---- criteria ----
    case criteriastmt_SIZE_numval_numval: criteriaSize(a, payload<Vmod_CriteriaData>(ld)); return;
    case outputstart: {
        Vmod_CriteriaData *c = payload<Vmod_CriteriaData>(ld);
        omsc_HeapFree(c->outputValues);
        c->outputValues = newArray<double>(c->rows > 0 ? c->rows : 0);
        ld->outputIndex = 0;
        ld->outputSlots = allocated(a, 0, c->outputValues, c->rows > 0 ? c->rows : 0) && c->rows > 0 ? c->rows : 0;
        return;
    }
    case criteriastmt_DEFAULT_numval: payload<Vmod_CriteriaData>(ld)->defaultValue = a.number(1); return;
    case criteriastmt_CHILD_numval: outputChild(a); return;
    case titlelist_strval: case titlelist_titlelist_strval:
        stringItem(a, payload<Vmod_CriteriaData>(ld)->columnTitles, &ld->titleIndex, ld->titleSlots,
                   "COLUMNTITLES", "SIZE");
        return;
    case celllist_strval: case celllist_celllist_strval:
        stringItem(a, payload<Vmod_CriteriaData>(ld)->cells, &ld->cellIndex, ld->cellSlots, "VALUE", "SIZE");
        return;
    case outputlist_numval: case outputlist_outputlist_numval:
        if (hasSlot(a, ld->outputIndex, ld->outputSlots, "OUTPUTVALUES", "SIZE"))
            payload<Vmod_CriteriaData>(ld)->outputValues[ld->outputIndex++] = a.number(0);
        return;

    // ---- text ----
    case textstmt_FONT_strval: model_TextFontAdopt(payload<Vmod_TextData>(ld), a.take(1)); return;
    case textstmt_SIZE_numval: {
        int32_t size = a.integer(1, "SIZE");
        if (a.ok)
            payload<Vmod_TextData>(ld)->size = size;
        return;
    }
    case textstmt_STYLE_styleword: {
        Vmod_TextData *t = payload<Vmod_TextData>(ld);
        int32_t bit = static_cast<int32_t>(a.number(1));
        t->style = bit == 0 ? 0 : (t->style | bit);
        return;
    }

    // ---- child lists of data blocks ----
    case childids_numval: case childids_childids_numval: childId(a, 0); return;

    // ---- strval and numval ----
    case strval_NAME: case strval_STRING: {
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
    case numval_FLOAT: case numval_INTEGER: a.result->number = a.number(0); return;
    case numval_minus_FLOAT: case numval_minus_INTEGER: a.result->number = -a.number(0); return;

    default: // the words; lists, blocks, empty statements, VIEW, PARENT, and statements whose items act
        if (const ProductionValue *word = valueOf(kWordCodes, production))
            a.setWord(word->value);
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
        run(action, static_cast<Production>(production), parseResult);
    } catch (...) { // a std::string of a message could not be made
        olex_Reject(parser, 0, "memory is exhausted");
    }
    return static_cast<Production>(production) == Production::guimodel ? 2 : 0;
}
