// print_support.h - what the printing commands (eps, ps, print) share: reading the model
// and the --pages option.
#ifndef VMOD_TOOLS_PRINT_SUPPORT_H
#define VMOD_TOOLS_PRINT_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "commands.h"

// A model read for printing; released with the object.
struct PrintedModel {
    Vmod_Model model{};
    PrintedModel() = default;
    ~PrintedModel() { tool_ModelRelease(&model); }
    PrintedModel(const PrintedModel &) = delete;
    PrintedModel &operator=(const PrintedModel &) = delete;
    // Reads path; prints the report and returns false when it cannot be read.
    bool Read(const std::string &path);
};

// The command line of a printing command: positional arguments, --pages FIRST-LAST and,
// where allowed, --dpi N.
struct PrintArguments {
    std::vector<std::string> positional;
    bool pagesGiven = false;
    int32_t first = 1, last = 1;
    int32_t dpi = 600;
};

// Parses args; on a bad command line reports a usage error and returns false.
bool tool_ParsePrintArguments(const ToolCommand &command, const std::vector<std::string> &args, bool allowDpi,
                              PrintArguments &out);

// The pages of the model's page grid (at least 1), and the column and row (from 1) of one.
int32_t tool_PageCount(const Vmod_Model &model);
void tool_PageCell(const Vmod_Model &model, int32_t page, int32_t &column, int32_t &row);

// Narrows the arguments' page range to the diagram (all pages when none was given);
// reports a usage error and returns false when the asked pages are not in it.
bool tool_ChoosePages(const ToolCommand &command, const Vmod_Model &model, PrintArguments &arguments);

#endif
