// model_reader.h - the state of one model-file parse and the callbacks that the
// parser tables hand to the host's driver.
#ifndef VMOD_FILE_MODEL_READER_H
#define VMOD_FILE_MODEL_READER_H

#include <cstddef>
#include <cstdint>

#include "vmodhost/olex.h"
#include "vmod/vmod.h"

// The state of one parse. The first fields are those every parse keeps; the rest let the
// reader check lists against their sizes and release everything after a failure.
struct Local_Data {
    int32_t failed;            // never set by the reader: a nonzero value yields no model
    Oerr_ErrorReport **report; // slot for the reports of node and rectangle constructors
    Vmod_Model *model;         // the temporary model the parse fills
    Vmod_Node *current;        // the node of the block being read
    Vmod_Node *last;           // the last node appended to the temporary model
    int32_t classIndex;        // next slot of newClasses
    int32_t matrixIndex;       // next slot of a matrix's values
    int32_t tableIndex;        // next entry of a table's values, strings or colors
    int32_t titleIndex;        // next slot of a criteria's columnTitles
    int32_t cellIndex;         // next slot of a criteria's cells
    int32_t outputIndex;       // next slot of a criteria's outputValues

    // Slots of the arrays the counters walk, as their sizing statements made them;
    // -1 while the current block has had no sizing statement.
    int64_t classSlots;
    int64_t matrixSlots;
    int64_t tableSlots;
    int64_t titleSlots;
    int64_t cellSlots;
    int64_t outputSlots;

    int64_t entriesAsked;      // list entries all sizing statements so far asked for
    Vmod_Link *childTail;      // the last CHILD link of `current`, so appends need no walk

    Oerr_ErrorReport *constructorReport; // what `report` points to
    int32_t delivered;      // the start production handed the model over
    int32_t currentInList;  // `current` has been appended to the list
    // Strings that reached a `strval` but not yet the statement that keeps or drops them.
    char *pending[4];
    int32_t pendingCount;
};

extern "C" {
// A new Local_Data with its temporary model (null when memory is exhausted).
void *alloc_Local_Data(void);
// Releases the Local_Data; after a failed parse also the temporary model and everything
// the parse made. Null is ignored.
void free_Local_Data(void *localData);
// Does the work of one production of the model-file grammar (parse_action.cpp).
int32_t parseAction(Olex_Parser *parser, void *localData, int32_t production, Olex_Value *top,
                    Olex_Value *result, void **parseResult, int32_t *flag);
}

// Parses `length` bytes of model-file text; `name` stands for the path in reports.
// The same result and reports as vmod_ModelParse.
Vmod_Model *file_ModelParseText(const char *name, const char *bytes, size_t length, Oerr_ErrorReport **err);

// Releases a model that vmod_ModelParse returned: its nodes, header strings, window and
// the record itself. Null is ignored.
void file_ParsedModelRelease(Vmod_Model *model);

#endif
