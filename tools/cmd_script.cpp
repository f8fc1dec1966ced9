// cmd_script.cpp - `vmod script MODEL [-o OUT] [--answer FILE]...`: write the modelling-
// language script of a model, answering its file prompts from the command line or, on a
// terminal, from the user.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/ostr.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_checks.h"

namespace {

struct Prompts {
    const Vmod_Model *model = nullptr;
    std::vector<std::string> answers;
    size_t next = 0;
    bool interactive = false;
    std::string cancelled; // title of the prompt that was cancelled
};

// The PROMPT text a node gives the chooser part is asking for: a chooser's title is a
// fixed request followed by the node's title, so the node is one of the kinds the
// chooser serves whose title ends the chooser's (the longest such). "" when there is
// none, or when nodes that fit equally well give different texts.
std::string nodePromptText(const Vmod_Model &model, Ooml_Part *part, const std::string &title) {
    const std::string chooser = vmodhost_PartName(part) != nullptr ? vmodhost_PartName(part) : "";
    bool matched = false, ambiguous = false;
    size_t matchedLength = 0;
    std::string found;
    for (const Vmod_Node *node = model.nodes; node != nullptr; node = node->next) {
        if (node->title == nullptr || node->title[0] == '\0' || node->data == nullptr)
            continue;
        const std::string nodeTitle = node->title;
        if (nodeTitle.size() > title.size() || title.compare(title.size() - nodeTitle.size(), nodeTitle.size(), nodeTitle) != 0)
            continue;
        const char *text = nullptr;
        if (node->type == VMOD_RASTER && chooser == "raster")
            text = static_cast<const Vmod_RasterData *>(node->data)->promptText;
        else if (node->type == VMOD_VECTOR && chooser == "vector")
            text = static_cast<const Vmod_VectorData *>(node->data)->promptText;
        else if (node->type == VMOD_MATRIX && chooser == "matrix")
            text = static_cast<const Vmod_MatrixData *>(node->data)->promptText;
        else if (node->type == VMOD_SCALAR && chooser == "scalar")
            text = static_cast<const Vmod_ScalarData *>(node->data)->promptText;
        else if (node->type == VMOD_TABLE && chooser == "table")
            text = static_cast<const Vmod_TableData *>(node->data)->promptText;
        else if (node->type == VMOD_TABLE && (chooser == "raster" || chooser == "coverage" || chooser == "annotation"))
            text = static_cast<const Vmod_TableData *>(node->data)->promptLayerText;
        else
            continue;
        const std::string candidate = text != nullptr ? text : "";
        if (!matched || nodeTitle.size() > matchedLength) {
            matched = true;
            matchedLength = nodeTitle.size();
            found = candidate;
            ambiguous = false;
        } else if (nodeTitle.size() == matchedLength && candidate != found) {
            ambiguous = true;
        }
    }
    return ambiguous ? "" : found;
}

// Answers a chooser: the next --answer, else a line typed on the terminal; an empty line,
// the end of input or no terminal cancels.
int32_t answerPrompt(Ooml_Part *part, const char *title, void *user, char **answer) {
    auto *prompts = static_cast<Prompts *>(user);
    std::string name;
    if (prompts->next < prompts->answers.size()) {
        name = prompts->answers[prompts->next++];
    } else if (prompts->interactive) {
        // The node's own PROMPT text says what the file is for; the title says which node.
        const std::string text = nodePromptText(*prompts->model, part, title);
        if (!text.empty())
            std::fprintf(stderr, "%s\n", tool_PrintableText(text.c_str()).c_str());
        std::fprintf(stderr, "%s", tool_PrintableText(title).c_str());
        std::fflush(stderr);
        if (!std::getline(std::cin, name)) {
            name.clear();
            std::fprintf(stderr, "\n");
        }
    }
    if (name.empty()) {
        prompts->cancelled = title;
        return 0;
    }
    *answer = ostr_Duplicate(name.c_str());
    return 1;
}

// A new empty file in the temporary directory, or "" when none can be made.
std::string scratchPath() {
    std::string path = (std::filesystem::temp_directory_path() / "vmod-script-XXXXXX").string();
    const int descriptor = mkstemp(path.data());
    if (descriptor < 0)
        return "";
    close(descriptor);
    return path;
}

// 0, or the errno value of the first failure.
int copyToStdout(const std::string &path) {
    std::FILE *in = std::fopen(path.c_str(), "rb");
    if (in == nullptr)
        return errno != 0 ? errno : EIO;
    char buffer[65536];
    size_t count;
    int cause = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        errno = 0;
        if (std::fwrite(buffer, 1, count, stdout) != count && cause == 0)
            cause = errno != 0 ? errno : EIO;
    }
    std::fclose(in);
    errno = 0;
    if (std::fflush(stdout) != 0 && cause == 0)
        cause = errno != 0 ? errno : EIO;
    // Reported here; the check of standard output at exit need not say it again.
    std::clearerr(stdout);
    return cause;
}

// The seven file choosers and the frame a front end would give the model.
struct Choosers {
    Ooml_Frame *frame = vmodhost_FrameCreate();
    std::vector<Ooml_Part *> parts;
    explicit Choosers(Vmod_Model &model) {
        Ooml_Part **fields[] = {&model.rasterChooser, &model.vectorChooser, &model.coverageChooser,
                                &model.annotationChooser, &model.matrixChooser, &model.tableChooser,
                                &model.scalarChooser};
        const char *names[] = {"raster", "vector", "coverage", "annotation", "matrix", "table", "scalar"};
        model.frame = frame;
        for (size_t i = 0; i < 7; ++i) {
            Ooml_Part *part = vmodhost_ChooserCreate(names[i]);
            parts.push_back(part);
            *fields[i] = part;
        }
    }
    ~Choosers() {
        for (Ooml_Part *part : parts)
            vmodhost_ChooserDelete(part);
        vmodhost_FrameDelete(frame);
    }
};

int runScript(const ToolCommand &self, const std::vector<std::string> &args) {
    std::string modelPath;
    std::string outPath;
    Prompts prompts;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "-o" || arg == "--answer") {
            if (i + 1 >= args.size())
                return tool_UsageError(self, arg + " needs a value");
            (arg == "-o" ? outPath : prompts.answers.emplace_back()) = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return tool_UsageError(self, "unknown option '" + arg + "'");
        } else if (modelPath.empty()) {
            modelPath = arg;
        } else {
            return tool_UsageError(self, "too many arguments");
        }
    }
    if (modelPath.empty())
        return tool_UsageError(self, "missing argument");
    prompts.interactive = isatty(STDIN_FILENO) != 0;

    Vmod_Model model;
    if (!tool_ReadModel(modelPath, &model))
        return TOOL_FAILED;
    Oerr_ErrorReport *err = nullptr;
    int status = TOOL_OK;
    prompts.model = &model;
    {
        Choosers choosers(model);
        if (!vmodkit_ScriptCheck(&model, &err)) {
            tool_PrintAndDeleteReport(&err);
            status = TOOL_FAILED;
        } else {
            // Standard output is reached through a scratch file: opening /dev/stdout anew
            // would rewind and truncate a redirected file. A file named with -o is saved
            // whole or not at all.
            const bool toStdout = outPath.empty();
            const std::string target = toStdout ? scratchPath() : outPath;
            Ofio_File *file = nullptr;
            if (toStdout)
                file = target.empty() ? nullptr : ofio_Open(target.c_str(), "w", &err);
            else
                file = ofio_SaveOpen(target.c_str(), &err);
            if (file == nullptr) {
                if (err != nullptr)
                    tool_PrintWriteFailure(self, &err);
                else
                    std::fprintf(stderr, "vmod script: cannot make a scratch file\n");
                status = TOOL_FAILED;
            } else {
                vmodhost_SetChooserHandler(answerPrompt, &prompts);
                const Vmodkit_ScriptEnd end = vmodkit_ScriptWrite(&model, file, &err);
                vmodhost_SetChooserHandler(nullptr, nullptr);
                const bool complete = end == VMODKIT_SCRIPT_COMPLETE;
                // Why the generation stopped, when it says (a name chosen at a prompt that
                // the script cannot hold, memory exhaustion).
                std::string stopReason;
                if (err != nullptr) {
                    const char *message = vmodhost_ErrorMessage(err);
                    stopReason = message != nullptr ? message : "";
                    oerr_DeleteErrorReportEx(&err);
                }
                bool writeFailed = false;
                if (toStdout) {
                    if (ofio_Close(file, 0) != 0) {
                        std::fprintf(stderr, "vmod script: cannot write the scratch file %s\n", target.c_str());
                        writeFailed = true;
                    } else if (int cause = copyToStdout(target)) {
                        std::fprintf(stderr, "vmod script: cannot write standard output: %s\n", std::strerror(cause));
                        writeFailed = true;
                    }
                    std::remove(target.c_str());
                } else if (!complete && !ofio_HasError(file)) {
                    // An incomplete script never replaces a file.
                    ofio_SaveCancel(file);
                } else if (ofio_SaveClose(file, &err) != 0) {
                    tool_PrintWriteFailure(self, &err);
                    writeFailed = true;
                }
                if (writeFailed) {
                    status = TOOL_FAILED;
                } else if (!complete && !prompts.cancelled.empty()) {
                    std::fprintf(stderr, "vmod script: the prompt \"%s\" was cancelled; the script is incomplete\n",
                                 prompts.cancelled.c_str());
                    status = TOOL_NOT_READY;
                } else if (!complete && !stopReason.empty()) {
                    std::fprintf(stderr, "vmod script: %s; the script is incomplete\n", stopReason.c_str());
                    status = TOOL_FAILED;
                } else if (!complete) {
                    std::fprintf(stderr, "vmod script: the script is incomplete\n");
                    status = TOOL_FAILED;
                } else if (prompts.next < prompts.answers.size()) {
                    // More answers than prompts usually means they were meant for another
                    // model, or are out of step with this one's prompts.
                    const size_t left = prompts.answers.size() - prompts.next;
                    std::string unused;
                    for (size_t i = prompts.next; i < prompts.answers.size(); ++i)
                        unused += (i > prompts.next ? ", '" : "'") + tool_PrintableText(prompts.answers[i].c_str()) + "'";
                    std::fprintf(stderr, "vmod script: warning: the model asked %zu %s; %zu --answer %s left over: %s\n",
                                 prompts.next, prompts.next == 1 ? "question" : "questions", left,
                                 left == 1 ? "value was" : "values were", unused.c_str());
                }
            }
        }
        model.frame = nullptr;
    }
    tool_ModelRelease(&model);
    return status;
}

} // namespace

extern const ToolCommand tool_command_script = {
    "script", "MODEL [-o OUT] [--answer FILE]...", "write the modelling-language script of MODEL",
    "Writes the script to OUT, or to standard output. Each file prompt of the model is\n"
    "answered by the next --answer, in prompt order; when none is left and standard input\n"
    "is a terminal, the node's PROMPT text and the prompt's title are shown and a file name\n"
    "is read (an empty line or the end of input cancels); otherwise the prompt is\n"
    "cancelled. --answer values left over after the last prompt are named in a warning.\n"
    "OUT is replaced only by a complete script: when a prompt is cancelled or a write fails\n"
    "it is left as it was (standard output gets the script as far as it was written).\n"
    "Exit status 0 when the script is complete, 3 when a prompt was cancelled, 1 when the\n"
    "model cannot be read or translated or the script cannot be written.\n",
    runScript};
