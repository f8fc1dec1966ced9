// cmd_script.cpp - `vmod script MODEL [-o OUT] [--answer FILE]...`: write the modelling-
// language script of a model, answering its file prompts from the command line or, on a
// terminal, from the user.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "host/oerr.h"
#include "host/ofio.h"
#include "host/ostr.h"
#include "script/script_gen.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

namespace {

struct Prompts {
    std::vector<std::string> answers;
    size_t next = 0;
    bool interactive = false;
    std::string cancelled; // title of the prompt that was cancelled
};

// Answers a chooser: the next --answer, else a line typed on the terminal; an empty line,
// the end of input or no terminal cancels.
int32_t answerPrompt(Ooml_Part *, const char *title, void *user, char **answer) {
    auto *prompts = static_cast<Prompts *>(user);
    std::string name;
    if (prompts->next < prompts->answers.size()) {
        name = prompts->answers[prompts->next++];
    } else if (prompts->interactive) {
        std::fprintf(stderr, "%s", title);
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

bool copyToStdout(const std::string &path) {
    std::FILE *in = std::fopen(path.c_str(), "rb");
    if (in == nullptr)
        return false;
    char buffer[65536];
    size_t count;
    bool written = true;
    while ((count = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        written = std::fwrite(buffer, 1, count, stdout) == count && written;
    std::fclose(in);
    return std::fflush(stdout) == 0 && written;
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

    Vmod_Model model{};
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelRead(&model, modelPath.c_str(), &err);
    if (err != nullptr) {
        tool_PrintAndDeleteReport(&err);
        return TOOL_FAILED;
    }
    int status = TOOL_OK;
    {
        Choosers choosers(model);
        if (!script_Check(&model, &err)) {
            tool_PrintAndDeleteReport(&err);
            status = TOOL_FAILED;
        } else {
            // Standard output is reached through a scratch file: opening /dev/stdout anew
            // would rewind and truncate a redirected file.
            const bool toStdout = outPath.empty();
            const std::string target = toStdout ? scratchPath() : outPath;
            Ofio_File *file = target.empty() ? nullptr : ofio_Open(target.c_str(), "w", &err);
            if (file == nullptr) {
                if (err != nullptr)
                    tool_PrintAndDeleteReport(&err);
                else
                    std::fprintf(stderr, "vmod script: cannot make a scratch file\n");
                status = TOOL_FAILED;
            } else {
                vmodhost_SetChooserHandler(answerPrompt, &prompts);
                ScriptOptions options;
                std::string stopReason;
                options.stopReason = &stopReason;
                const int32_t complete = script_Generate(&model, file, options);
                vmodhost_SetChooserHandler(nullptr, nullptr);
                bool writeFailed = ofio_Close(file, 0) != 0;
                if (toStdout) {
                    writeFailed = !copyToStdout(target) || writeFailed;
                    std::remove(target.c_str());
                }
                if (writeFailed) {
                    std::fprintf(stderr, "vmod script: cannot write the script to %s\n",
                                 toStdout ? "standard output" : target.c_str());
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
    "is a terminal, the prompt's title is shown and a file name is read (an empty line or\n"
    "the end of input cancels); otherwise the prompt is cancelled.\n"
    "Exit status 0 when the script is complete, 3 when a prompt was cancelled (the script\n"
    "is left as far as it was written), 1 when the model cannot be read or translated or\n"
    "the script cannot be written.\n",
    runScript};
