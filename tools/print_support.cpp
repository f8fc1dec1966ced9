// print_support.cpp - model reading and page options of the printing commands.
#include "print_support.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "print/page_grid.h"
#include "vmod/vmod.h"

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

bool PrintedModel::Read(const std::string &path) {
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelRead(&model, path.c_str(), &err);
    if (err == nullptr) return true;
    tool_PrintAndDeleteReport(&err);
    return false;
}

bool tool_ParsePrintArguments(const ToolCommand &command, const std::vector<std::string> &args, bool allowDpi,
                              PrintArguments &out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        std::string option, value;
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

int32_t tool_PageCount(const Vmod_Model &model) {
    return vmod::print::PageCount(vmod::print::MakePageGrid(model));
}

void tool_PageCell(const Vmod_Model &model, int32_t page, int32_t &column, int32_t &row) {
    vmod::print::PageCell cell = vmod::print::PageCellOf(vmod::print::MakePageGrid(model), page);
    column = cell.column0 + 1;
    row = cell.row0 + 1;
}

bool tool_ChoosePages(const ToolCommand &command, const Vmod_Model &model, PrintArguments &arguments) {
    const int32_t count = tool_PageCount(model);
    if (!arguments.pagesGiven) {
        arguments.first = 1;
        arguments.last = count;
        return true;
    }
    if (arguments.last > count) {
        tool_UsageError(command, "the diagram has " + std::to_string(count) + (count == 1 ? " page" : " pages") +
                                     ", so --pages " + std::to_string(arguments.first) + "-" +
                                     std::to_string(arguments.last) + " is outside it");
        return false;
    }
    return true;
}
