// print_support.cpp - model reading and page options of the printing commands.
#include "print_support.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "representable_model.h"
#include "vmod/vmod.h"
#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_print.h"

namespace {

// A whole decimal number in 1..INT32_MAX, or 0.
int32_t PositiveNumber(const std::string &text) {
    if (text.empty() || text.size() > 10) return 0;
    for (char c : text)
        if (c < '0' || c > '9') return 0;
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    return value >= 1 && value <= INT32_MAX ? static_cast<int32_t>(value) : 0;
}

} // namespace

bool PrintedModel::Read(const std::string &path) { return tool_ReadModel(path, &model); }

int tool_ReadPagedModel(const ToolCommand &command, const PrintArguments &arguments,
                        Vmodkit_Printout printout, PrintedModel &printed, ChosenPages &chosen) {
    const std::string &path = arguments.positional[0];
    if (!printed.Read(path) || !tool_CheckRepresentable(command, path, printed.model, true)) return TOOL_FAILED;
    return tool_ChoosePages(command, printed.model, arguments, printout, chosen);
}

bool tool_ParsePrintArguments(const ToolCommand &command, const std::vector<std::string> &args, bool allowDpi,
                              PrintArguments &out, bool allowAsSaved) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        std::string option, value;
        if (allowAsSaved && arg == "--as-saved") {
            out.asSaved = true;
            continue;
        }
        if (arg == "--pages" || (allowDpi && arg == "--dpi")) {
            if (i + 1 >= args.size()) {
                tool_UsageError(command, arg + " needs a value");
                return false;
            }
            option = arg;
            value = args[++i];
        } else if (arg.rfind("--pages=", 0) == 0 || (allowDpi && arg.rfind("--dpi=", 0) == 0)) {
            option = arg.substr(0, arg.find('='));
            value = arg.substr(arg.find('=') + 1);
        } else if (arg.size() > 1 && arg[0] == '-') {
            tool_UsageError(command, "unknown option '" + arg + "'");
            return false;
        } else {
            out.positional.push_back(arg);
            continue;
        }
        if (option == "--pages") {
            size_t dash = value.find('-');
            int32_t first = PositiveNumber(value.substr(0, dash));
            int32_t last = dash == std::string::npos ? first : PositiveNumber(value.substr(dash + 1));
            if (first == 0 || last == 0 || last < first) {
                tool_UsageError(command, "--pages takes FIRST-LAST, pages counted from 1, not '" + value + "'");
                return false;
            }
            out.pagesGiven = true;
            out.first = first;
            out.last = last;
        } else {
            int32_t dpi = PositiveNumber(value);
            if (dpi < 10 || dpi > 4800) {
                tool_UsageError(command, "--dpi takes a resolution from 10 to 4800, not '" + value + "'");
                return false;
            }
            out.dpi = dpi;
        }
    }
    if (out.positional.size() != 2) {
        tool_UsageError(command, out.positional.size() < 2 ? "missing argument" : "too many arguments");
        return false;
    }
    return true;
}

namespace {

void WarnLandscapeTurnsBack(const ToolCommand &command, const Vmod_Model &model) {
    const double width = model.printerPageWidth, height = model.printerPageHeight;
    if (model.orientation == VMOD_PORTRAIT || !(width > height)) return;
    std::fprintf(stderr,
                 "vmod %s: warning: the printer page %g by %g is already wider than tall, and ORIENTATION "
                 "LANDSCAPE turns it back to portrait; give the printer page as the sheet stands upright "
                 "(PRINTERPAGESIZE %g, %g;)\n",
                 command.name, width, height, height, width);
}

std::string Pages(int64_t count) { return std::to_string(count) + (count == 1 ? " page" : " pages"); }

} // namespace

int tool_ChoosePages(const ToolCommand &command, Vmod_Model &model, const PrintArguments &arguments,
                     Vmodkit_Printout printout, ChosenPages &chosen) {
    WarnLandscapeTurnsBack(command, model);
    Oerr_ErrorReport *err = nullptr;
    if (!arguments.asSaved) {
        Vmodkit_Widening widening{};
        if (!vmodkit_CoverEveryNode(&model, printout, &widening, &err) && !widening.tooLarge) {
            tool_PrintAndDeleteReport(&err);
            return TOOL_FAILED;
        }
        if (widening.tooLarge) {
            std::fprintf(stderr,
                         "vmod %s: covering every node takes %.0f pages across and %.0f down, more than the %d "
                         "columns or rows a print may have; nothing was written (--as-saved prints the "
                         "model's own grid)\n",
                         command.name, widening.columnsNeeded, widening.rowsNeeded, VMODKIT_MAX_GRID_SIDE);
            return TOOL_FAILED;
        }
        if (widening.widened) {
            std::string moved;
            if (widening.columnsShifted > 0 || widening.rowsShifted > 0)
                moved = ", moved " + Pages(widening.columnsShifted) + " right and " + Pages(widening.rowsShifted) +
                        " down for what reaches left of or above the first page";
            std::fprintf(stderr,
                         "vmod %s: the model's page grid of %s across and %d down leaves part of the diagram "
                         "off; printing %d across and %d down%s, to cover every node and note (the file is "
                         "unchanged; --as-saved prints the model's own grid)\n",
                         command.name, Pages(widening.columnsBefore).c_str(), widening.rowsBefore,
                         widening.columns, widening.rows, moved.c_str());
        }
    }
    Vmodkit_Pages grid{};
    vmodkit_PageCount(&model, &grid);
    const int32_t count = grid.total;
    chosen.pages.clear();
    if (arguments.pagesGiven) {
        if (arguments.last > count) {
            tool_UsageError(command, "the diagram has " + Pages(count) + ", so --pages " +
                                         std::to_string(arguments.first) + "-" + std::to_string(arguments.last) +
                                         " is outside it");
            return TOOL_USAGE;
        }
        const int64_t asked = static_cast<int64_t>(arguments.last) - arguments.first + 1;
        if (asked > VMODKIT_MAX_PAGES) {
            tool_UsageError(command, "--pages " + std::to_string(arguments.first) + "-" +
                                         std::to_string(arguments.last) + " asks for " + Pages(asked) +
                                         ", more than the " + std::to_string(VMODKIT_MAX_PAGES) +
                                         " one print may hold");
            return TOOL_USAGE;
        }
        for (int32_t page = arguments.first; page <= arguments.last; ++page) chosen.pages.push_back(page);
        chosen.labelLast = arguments.last;
        return TOOL_OK;
    }
    int32_t *numbers = nullptr;
    size_t holding = 0;
    if (!vmodkit_PagesHoldingSomething(&model, printout, &numbers, &holding, &err)) {
        if (vmodhost_ErrorCode(err) == VMOD_ERR_MEMORY) {
            tool_PrintAndDeleteReport(&err);
            return TOOL_FAILED;
        }
        oerr_DeleteErrorReportEx(&err);
        std::fprintf(stderr,
                     "vmod %s: the diagram needs more than %d of its %s, more than one print may hold; "
                     "nothing was written (choose some with --pages)\n",
                     command.name, VMODKIT_MAX_PAGES, Pages(count).c_str());
        return TOOL_FAILED;
    }
    chosen.pages.assign(numbers, numbers + holding);
    vmodkit_Free(numbers);
    // A model with nothing on paper still prints its first page.
    if (chosen.pages.empty()) chosen.pages.push_back(1);
    chosen.labelLast = count;
    return TOOL_OK;
}
