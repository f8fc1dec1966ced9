// kit_model_files.cpp - saving a model to memory and reading one from memory, and
// save-as without swapping the model's file name.
//
// The library writes and reads model files by path only. The kit keeps it that way,
// rather than carrying a second writer or reader that could drift from the library's:
// the text goes through a file in a private directory made for the one call and removed
// before it returns. The writer is given a shallow copy of the model record naming that
// file, so the caller's record, its file name included, is never touched. Reports that
// name the private file are rebuilt to name what the caller knows instead.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "kit_guard.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_model.h"

namespace {

// A file in a directory of its own (mode 0700), both removed when it goes.
class PrivateFile {
public:
    PrivateFile() {
        const char *base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/vmodkit-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()) == nullptr)
            throw std::runtime_error(std::string("cannot make a private directory: ") + std::strerror(errno));
        directory_ = name.data();
        path_ = directory_ + "/model.vmf";
    }
    ~PrivateFile() {
        std::remove(path_.c_str());
        rmdir(directory_.c_str());
    }
    PrivateFile(const PrivateFile &) = delete;
    PrivateFile &operator=(const PrivateFile &) = delete;
    const std::string &path() const { return path_; }

private:
    std::string directory_, path_;
};

std::string replaced(std::string text, const std::string &from, const std::string &to) {
    if (from.empty()) return text;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Chains a copy of report onto *err with every `from` in its messages read as `to`, the
// outermost report made in function's name; report is released.
void chainRenamed(Oerr_ErrorReport **err, const char *function, Oerr_ErrorReport *report, const std::string &from,
                  const std::string &to) {
    std::vector<const Oerr_ErrorReport *> chain;
    for (const Oerr_ErrorReport *each = report; each != nullptr; each = vmodhost_ErrorCause(each)) chain.push_back(each);
    Oerr_ErrorReport *made = err != nullptr ? *err : nullptr;
    for (size_t i = chain.size(); i-- > 0;) {
        const char *message = vmodhost_ErrorMessage(chain[i]);
        const std::string text = replaced(message != nullptr ? message : "", from, to);
        const char *maker = vmodhost_ErrorFunction(chain[i]);
        made = oerr_CreateErrorReport(i == 0 || maker == nullptr ? function : maker, vmodhost_ErrorCode(chain[i]),
                                      vmodhost_ErrorSeverity(chain[i]), made, "%s", text.c_str(), 0);
    }
    if (err != nullptr)
        *err = made;
    else
        oerr_DeleteErrorReportEx(&made);
    oerr_DeleteErrorReportEx(&report);
}

// The whole content of the file at path.
std::string readAll(const std::string &path) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) throw std::runtime_error(std::string("cannot read the saved model back: ") + std::strerror(errno));
    std::string text;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) throw std::runtime_error("cannot read the saved model back");
    return text;
}

void writeAll(const std::string &path, const char *text, size_t length) {
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error(std::string("cannot hold the model text: ") + std::strerror(errno));
    const bool written = std::fwrite(text, 1, length, file) == length;
    if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot hold the model text");
}

// vmod_ModelWrite of model to path, the caller's record unchanged. Null on success,
// otherwise the writer's report.
Oerr_ErrorReport *writeTo(const Vmod_Model *model, char *path) {
    Vmod_Model named = *model;
    named.fileName = path;
    Oerr_ErrorReport *report = nullptr;
    vmod_ModelWrite(&named, &report);
    return report;
}

char *saveMemory(const Vmod_Model *model, size_t *length, Oerr_ErrorReport **err) {
    PrivateFile file;
    std::vector<char> path(file.path().begin(), file.path().end());
    path.push_back('\0');
    if (Oerr_ErrorReport *report = writeTo(model, path.data())) {
        chainRenamed(err, "vmodkit_ModelSaveMemory", report, file.path(), "memory");
        return nullptr;
    }
    const std::string text = readAll(file.path());
    auto *copy = static_cast<char *>(omsc_HeapMalloc(text.size() + 1));
    if (copy == nullptr) throw std::bad_alloc();
    std::memcpy(copy, text.data(), text.size());
    if (length != nullptr) *length = text.size();
    return copy;
}

Vmod_Model *readMemory(const char *text, size_t length, const char *name, Oerr_ErrorReport **err) {
    PrivateFile file;
    writeAll(file.path(), text, length);
    Vmod_Model *model = vmodkit_ModelNew(err);
    if (model == nullptr) return nullptr;
    Oerr_ErrorReport *report = nullptr;
    vmod_ModelRead(model, file.path().c_str(), &report);
    omsc_HeapFree(model->fileName);
    model->fileName = nullptr;
    if (report != nullptr) {
        vmodkit_ModelFree(model);
        chainRenamed(err, "vmodkit_ModelReadMemory", report, file.path(), name != nullptr ? name : "model text");
        return nullptr;
    }
    return model;
}

// Runs body inside the kit's boundary; a file the kit could not make or read for the
// call is a failure of its own (VMOD_ERR_FAILED), not memory exhaustion.
template <typename Result, typename Body>
Result guardedFiles(const char *function, Oerr_ErrorReport **err, Body &&body) noexcept {
    return kit_Guarded<Result>(function, err, nullptr, [&]() -> Result {
        try {
            return body();
        } catch (const std::runtime_error &failure) {
            kit_Report(err, function, VMOD_ERR_FAILED, failure.what());
            return nullptr;
        }
    });
}

} // namespace

extern "C" {

char *vmodkit_ModelSaveMemory(const Vmod_Model *model, size_t *length, Oerr_ErrorReport **err) {
    if (length != nullptr) *length = 0;
    if (model == nullptr) {
        kit_Report(err, "vmodkit_ModelSaveMemory", VMOD_ERR_FAILED, "no model to save");
        return nullptr;
    }
    return guardedFiles<char *>("vmodkit_ModelSaveMemory", err,
                                [model, length, err] { return saveMemory(model, length, err); });
}

Vmod_Model *vmodkit_ModelReadMemory(const char *text, size_t length, const char *name, Oerr_ErrorReport **err) {
    if (text == nullptr && length != 0) {
        kit_Report(err, "vmodkit_ModelReadMemory", VMOD_ERR_FAILED, "no model text to read");
        return nullptr;
    }
    return guardedFiles<Vmod_Model *>("vmodkit_ModelReadMemory", err, [text, length, name, err] {
        return readMemory(text != nullptr ? text : "", length, name, err);
    });
}

int32_t vmodkit_ModelSaveAs(Vmod_Model *model, const char *path, Oerr_ErrorReport **err) {
    const char *const function = "vmodkit_ModelSaveAs";
    if (model == nullptr || path == nullptr) {
        kit_Report(err, function, VMOD_ERR_FAILED, model == nullptr ? "no model to save" : "no file name to save to");
        return 0;
    }
    return kit_Guarded<int32_t>(function, err, 0, [model, path, err, function]() -> int32_t {
        // The new name is made first, so that nothing can fail once the file is in place.
        char *name = ostr_Duplicate(path);
        if (name == nullptr) throw std::bad_alloc();
        if (Oerr_ErrorReport *report = writeTo(model, name)) {
            omsc_HeapFree(name);
            chainRenamed(err, function, report, std::string(), std::string());
            return 0;
        }
        omsc_HeapFree(model->fileName);
        model->fileName = name;
        return 1;
    });
}

} // extern "C"
