// script_quoting.h - the texts of a model that the script holds between double quotes or
// bare as names, and the rules that keep each of them from ending a statement early or
// starting one of its own.
#ifndef VMOD_SCRIPT_QUOTING_H
#define VMOD_SCRIPT_QUOTING_H

#include <string>
#include <vector>

#include "vmod/vmod_records.h"

struct ScriptGraph;

// Why text cannot stand between the script's double quotes ("holds a double quote", ...),
// or null when it can. The language has no escape that is known to work, so a quote, a
// line break or any other control character is refused outright; so is a backslash at
// the end, which a reader that takes backslashes as escapes would join to the closing
// quote. A backslash anywhere else stays: it is the separator of paths on some systems.
// A null text is written as nothing and is quotable.
const char *script_WhyNotQuotable(const char *text);

// True for a name the script can hold bare: a letter or underscore, then letters, digits
// and underscores (ASCII only). One leading "$" is allowed: front ends title nodes that
// way, and a dollar sign can neither end a statement nor start one.
bool script_PlainName(const char *text);

// Adds one sentence per text of model that the generator would write between quotes but
// cannot, or bare as a name that is not a plain name, naming the node (or the model) and
// the field. Only texts that the script would hold are looked at: a file name that is
// asked for at run time, or an area of interest that is not used, may hold anything.
// Untitled data nodes are left to the graph's own check; operation expressions and
// criteria cells are the user's own code and are written as typed.
void script_FindTextProblems(const Vmod_Model *model, const ScriptGraph &graph, std::vector<std::string> &problems);

#endif
