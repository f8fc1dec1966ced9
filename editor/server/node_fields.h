// node_fields.h - every property the model file can hold, for each node kind and for the
// model's header, as the editor's field descriptors (editor/API.md, "State"), and setting
// them from the values the page sends. The one place where the editor knows the records.
#ifndef VMODEDIT_NODE_FIELDS_H
#define VMODEDIT_NODE_FIELDS_H

#include <string>

#include <nlohmann/json.hpp>

#include "vmod/vmod_records.h"

// The keys are the record fields' names (editor/API.md lists them per kind). Only the fields
// the model file carries in the node's present state are given: a prompted raster shows
// its prompt text and not its file name, a matrix read from a file no kernel; the record
// keeps the others, so switching back shows them again. Strings are given as they are
// (a model read from a file may hold bytes that are not UTF-8: dump the state with
// nlohmann::json::error_handler_t::replace).

// The fields of node, as an array of FIELD objects. A node of no known kind, or without
// its payload, has its title only.
nlohmann::json editor_NodeFields(const Vmod_Model *model, const Vmod_Node *node);
// The same in two parts, as the state of a large model gives them: the FIELD objects of
// each kind without their values, in order ({"raster": [...], ...}; a choice names its
// list, "choices": "dataTypes", instead of holding it), made once; and for each node the
// values of the fields it shows ({"title": "dem", ...}). A kind's fields that a node's
// values name, in the kind's order with those values, are editor_NodeFields.
nlohmann::json editor_KindFields();
nlohmann::json editor_NodeValues(const Vmod_Model *model, const Vmod_Node *node);
// Every list of choices a field can name: {"dataTypes": [{"value": 0, "label": "Binary"},
// ...], ...}.
nlohmann::json editor_Choices();
// The fields of the model's header.
nlohmann::json editor_HeaderFields(const Vmod_Model *model);

// Sets the fields of node named by the keys of values (an object); the keys need not be
// among the fields shown. Every value is checked first - its type, its range, a choice's
// values, a list's items and length, that the lists agree with their sizes - and on any
// fault returns false with why (one sentence, no line end) and changes nothing. A size
// sent alone resizes its list (kept entries stay, new ones are zero or empty); a list sent
// alone gives the size. Numbers are kept as the file gives them back (six significant
// digits where the file writes "%g", single precision for cell sizes). Strings are copied
// into the host's heap as the model's other strings are; empty text leaves a string field
// unset. A note's font goes through vmodkit_TextSetFont, which replaces the note's payload
// record: pointers to it taken before the call are stale. The model argument is unused.
bool editor_SetNodeFields(Vmod_Model *model, Vmod_Node *node, const nlohmann::json &values, std::string &why);
// The same for the model's header; a null model is refused.
bool editor_SetHeaderFields(Vmod_Model *model, const nlohmann::json &values, std::string &why);

#endif
