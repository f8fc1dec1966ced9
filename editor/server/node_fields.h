// node_fields.h - every property the model file can hold, for each node kind and for the
// model's header, as the editor's field descriptors (editor/API.md, "State"), and setting
// them from the values the page sends. The one place where the editor knows the records.
#ifndef VMODEDIT_NODE_FIELDS_H
#define VMODEDIT_NODE_FIELDS_H

#include <string>

#include <nlohmann/json.hpp>

#include "vmod/vmod_records.h"

// The fields of node, as an array of FIELD objects.
nlohmann::json editor_NodeFields(const Vmod_Model *model, const Vmod_Node *node);
// The fields of the model's header.
nlohmann::json editor_HeaderFields(const Vmod_Model *model);

// Sets the fields of node named by the keys of values (an object). Every value is checked
// first: on any invalid key or value returns false with why (one sentence) and changes
// nothing. Strings are copied into the host's heap as the model's other strings are.
bool editor_SetNodeFields(Vmod_Model *model, Vmod_Node *node, const nlohmann::json &values, std::string &why);
// The same for the model's header.
bool editor_SetHeaderFields(Vmod_Model *model, const nlohmann::json &values, std::string &why);

#endif
