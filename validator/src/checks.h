// checks.h - the areas of checks. Each adds what it finds to the list, in time linear in
// the model, and never changes the model.
#ifndef VMODCHECK_CHECKS_H
#define VMODCHECK_CHECKS_H

#include "check_context.h"
#include "check_problems.h"

// Cycles, arrows naming no node, operations without a data output, data read but never
// made, unconnected nodes.
void check_Graph(const CheckContext &context, ProblemList &problems);
// Titles the script cannot use as names, or that two nodes or a generated name share.
void check_Names(const CheckContext &context, ProblemList &problems);
// Function expressions and criteria tables against the arrows into their operation.
void check_Expressions(const CheckContext &context, ProblemList &problems);
// Data nodes: inputs without a file, matrices without values, numbers out of reason,
// table entries the script cannot quote, a projection that names nothing.
void check_Data(const CheckContext &context, ProblemList &problems);
// Whatever the script generator refuses and no check above has reported as an error.
void check_Agreement(const CheckContext &context, ProblemList &problems);
// Overlapping boxes, nodes outside the printed area, blank pages, the page count.
void check_Layout(const CheckContext &context, ProblemList &problems, int32_t &pages);
// The file prompts of the script, in the order they are asked, and duplicate prompts.
struct PromptRecord {
    int32_t node = 0;
    std::string text;
};
void check_Prompts(const CheckContext &context, ProblemList &problems, std::vector<PromptRecord> &prompts);
// Input files opened through GDAL (when built with it): they exist, open, and fit their
// nodes; output folders exist and are writable. Returns 1 when it checked, -1 when the
// validator has no GDAL.
int32_t check_Files(const CheckContext &context, ProblemList &problems);

#endif
