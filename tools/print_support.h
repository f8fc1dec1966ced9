// print_support.h - what the printing commands (eps, ps, print) share: reading the model
// and the --pages option.
#ifndef VMOD_TOOLS_PRINT_SUPPORT_H
#define VMOD_TOOLS_PRINT_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "commands.h"
#include "vmodkit/vmodkit_print.h"

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
// where allowed, --dpi N and --as-saved.
struct PrintArguments {
    std::vector<std::string> positional;
    bool asSaved = false; // print the model's own page grid, not one covering every node
    bool pagesGiven = false;
    int32_t first = 1, last = 1;
    int32_t dpi = 600;
};

// Parses args; on a bad command line reports a usage error and returns false.
// allowDpi admits --dpi N, allowAsSaved --as-saved.
bool tool_ParsePrintArguments(const ToolCommand &command, const std::vector<std::string> &args, bool allowDpi,
                              PrintArguments &out, bool allowAsSaved = false);

// The pages a paged print writes, page numbers of the grid in order, and the last page
// number its labels count to.
struct ChosenPages {
    std::vector<int32_t> pages;
    int32_t labelLast = 1;
};

// Gets model ready for a paged print and chooses its pages, saying on stderr what it
// changed: warns when a landscape printer page is already wider than tall; unless
// --as-saved, widens the page grid of model (in memory) to cover the ink printout draws
// for every node and note; then takes the pages asked with --pages, or else every page
// that printout puts ink on
// (at least the first). Returns TOOL_OK, or the status of a refusal already reported
// (a range outside the grid, or more pages than one print may hold).
int tool_ChoosePages(const ToolCommand &command, Vmod_Model &model, const PrintArguments &arguments,
                     Vmodkit_Printout printout, ChosenPages &chosen);

// What a paged print does first: reads the model the arguments name into printed, checks
// that it can be printed and chooses its pages (tool_ChoosePages). TOOL_OK, or the status
// of a failure already reported.
int tool_ReadPagedModel(const ToolCommand &command, const PrintArguments &arguments,
                        Vmodkit_Printout printout, PrintedModel &printed, ChosenPages &chosen);

#endif
