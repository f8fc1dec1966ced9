// node_fields.cpp - see node_fields.h. (A first version: titles only.)
#include "node_fields.h"

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"

nlohmann::json editor_NodeFields(const Vmod_Model *, const Vmod_Node *node) {
    return nlohmann::json::array(
        {{{"key", "title"}, {"label", "Title"}, {"type", "text"}, {"value", node->title ? node->title : ""}}});
}

nlohmann::json editor_HeaderFields(const Vmod_Model *model) {
    return nlohmann::json::array(
        {{{"key", "title"}, {"label", "Title"}, {"type", "text"}, {"value", model->title ? model->title : ""}}});
}

bool editor_SetNodeFields(Vmod_Model *, Vmod_Node *node, const nlohmann::json &values, std::string &why) {
    if (!values.is_object()) return why = "the values are not an object", false;
    for (auto &[key, value] : values.items())
        if (key != "title" || !value.is_string()) return why = "no field \"" + key + "\" of that type", false;
    if (values.contains("title")) {
        omsc_HeapFree(node->title);
        node->title = ostr_Duplicate(values["title"].get<std::string>().c_str());
    }
    return true;
}

bool editor_SetHeaderFields(Vmod_Model *model, const nlohmann::json &values, std::string &why) {
    if (!values.is_object()) return why = "the values are not an object", false;
    for (auto &[key, value] : values.items())
        if (key != "title" || !value.is_string()) return why = "no field \"" + key + "\" of that type", false;
    if (values.contains("title")) {
        omsc_HeapFree(model->title);
        model->title = ostr_Duplicate(values["title"].get<std::string>().c_str());
    }
    return true;
}
