// Files over stdio. Like every host call, a call that succeeds leaves the caller's report
// slot alone, and a failure chains any report already there as its cause.
// A file remembers whether any write failed, and why, so that closing it can
// report the failure even when the error came from an earlier write.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <sys/stat.h>

#include "support/c_locale.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/vmodhost.h"

struct Ofio_File {
    std::FILE *stream = nullptr;
    std::string path;
    bool failed = false;
    int cause = 0; // errno of the first failure
    // A file opened by ofio_SaveOpen: the path the caller named, which path replaces
    // when the save completes (path itself for a device or pipe).
    bool saving = false;
    std::string target;
};

namespace {

// Fault injection: the write numbered failFrom (counting from the call that armed it)
// and every later one fail, as on a full disk. 0 means off.
int32_t failFrom = 0;
int32_t writesSinceArmed = 0;

bool injectedFailure() {
    if (failFrom <= 0) {
        return false;
    }
    ++writesSinceArmed;
    return writesSinceArmed >= failFrom;
}

void noteFailure(Ofio_File *file, int cause) {
    if (!file->failed || file->cause == 0) file->cause = cause != 0 ? cause : EIO;
    file->failed = true;
}

// Writes size bytes; false (the file remembering why) when they are not all written.
bool put(Ofio_File *file, const void *data, size_t size) {
    if (injectedFailure()) {
        noteFailure(file, ENOSPC); // as on a full disk
        return false;
    }
    errno = 0;
    if (size != 0 && std::fwrite(data, 1, size, file->stream) != size) {
        noteFailure(file, errno);
        return false;
    }
    return true;
}

// Flushes and closes the stream; false (the file remembering why) when either fails.
bool closeStream(Ofio_File *file) {
    if (file->stream == nullptr) return !file->failed;
    errno = 0;
    if (std::fflush(file->stream) != 0 || std::ferror(file->stream)) noteFailure(file, errno);
    errno = 0;
    if (std::fclose(file->stream) != 0) noteFailure(file, errno);
    file->stream = nullptr;
    return !file->failed;
}

void writeFailure(Oerr_ErrorReport **err, const char *function, const std::string &path, int cause) {
    if (err == nullptr) return;
    vmodhost::CLocaleScope scope; // messages in the library's own language
    *err = oerr_CreateErrorReport(function, OERR_FAILED, OERR_SEVERITY_ERROR, *err, "cannot write %s: %s", path.c_str(), std::strerror(cause));
}

// Fills text from format; false when memory is exhausted (nothing may throw out of a
// host call).
bool formatInto(std::string &text, const char *format, va_list arguments) {
    try {
        text = vmodhost::formatV(format, arguments);
        return true;
    } catch (...) {
        return false;
    }
}

// Reports that path cannot be written for lack of memory, without needing any.
void memoryFailure(Oerr_ErrorReport **err, const char *function, const char *path) {
    if (err == nullptr) return;
    *err = oerr_CreateErrorReport(function, OERR_FAILED, OERR_SEVERITY_ERROR, *err, "cannot write %s: %s",
                                  path != nullptr ? path : "", "memory is exhausted");
}

// Formats into buffer, keeping at most size - 1 bytes and a terminator: the length of the
// whole text, or -1 (an empty buffer) when it cannot be formatted.
int32_t formatToBuffer(char *buffer, size_t size, const char *format, va_list arguments) {
    std::string text;
    if (!formatInto(text, format, arguments)) {
        buffer[0] = '\0';
        return -1;
    }
    const size_t length = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<int32_t>(text.size());
}

} // namespace

extern "C" {

Ofio_File *ofio_Open(const char *path, const char *mode, Oerr_ErrorReport **err) {
    if (path == nullptr || mode == nullptr) {
        if (err != nullptr) {
            *err = oerr_CreateErrorReport("ofio_Open", OERR_FAILED, OERR_SEVERITY_ERROR, *err, "Cannot open file: no file name");
        }
        return nullptr;
    }
    std::FILE *stream = std::fopen(path, mode);
    if (stream == nullptr) {
        int cause = errno;
        vmodhost::CLocaleScope scope; // messages in the library's own language
        errno = cause;
        if (err != nullptr) {
            *err = oerr_CreateErrorReport("ofio_Open", OERR_FAILED, OERR_SEVERITY_ERROR, *err, "Cannot open file %s: %s", path,
                                          std::strerror(errno));
        }
        return nullptr;
    }
    Ofio_File *file = new (std::nothrow) Ofio_File;
    try {
        if (file != nullptr) file->path = path;
    } catch (...) {
        delete file;
        file = nullptr;
    }
    if (file == nullptr) { // memory is exhausted
        std::fclose(stream);
        if (err != nullptr)
            *err = oerr_CreateErrorReport("ofio_Open", OERR_FAILED, OERR_SEVERITY_ERROR, *err, "Cannot open file %s: %s",
                                          path, "memory is exhausted");
        return nullptr;
    }
    file->stream = stream;
    return file;
}

int32_t ofio_Fprintf(Ofio_File *file, const char *format, ...) {
    if (file == nullptr || file->stream == nullptr) {
        return -1;
    }
    va_list arguments;
    va_start(arguments, format);
    std::string text;
    const bool formatted = formatInto(text, format, arguments);
    va_end(arguments);
    if (!formatted) { // no room for the text: a failed write, which closing reports
        noteFailure(file, ENOMEM);
        return -1;
    }
    if (!put(file, text.data(), text.size())) return -1;
    return static_cast<int32_t>(text.size());
}

int32_t ofio_Sprintf(char *buffer, const char *format, ...) {
    if (buffer == nullptr) {
        return -1;
    }
    va_list arguments;
    va_start(arguments, format);
    const int32_t length = formatToBuffer(buffer, SIZE_MAX, format, arguments);
    va_end(arguments);
    return length;
}

int32_t ofio_Snprintf(char *buffer, size_t size, const char *format, ...) {
    if (buffer == nullptr || size == 0) {
        return -1;
    }
    va_list arguments;
    va_start(arguments, format);
    const int32_t length = formatToBuffer(buffer, size, format, arguments);
    va_end(arguments);
    return length;
}

int32_t ofio_Close(Ofio_File *file, int32_t) {
    if (file == nullptr) {
        return -1;
    }
    if (file->saving) {
        // A save closed the plain way still completes or is abandoned as a whole.
        return ofio_SaveClose(file, nullptr);
    }
    bool failed = !closeStream(file);
    delete file;
    return failed ? -1 : 0;
}

int32_t ofio_Write(Ofio_File *file, const void *data, size_t size) {
    if (file == nullptr || file->stream == nullptr || (data == nullptr && size != 0)) return -1;
    return put(file, data, size) ? 0 : -1;
}

Ofio_File *ofio_SaveOpen(const char *path, Oerr_ErrorReport **err) {
    char *written = nullptr;
    try {
        written = ofio_SaveBegin(path, err);
    } catch (...) {
        memoryFailure(err, "ofio_SaveOpen", path);
        return nullptr;
    }
    if (written == nullptr) return nullptr;
    Ofio_File *file = new (std::nothrow) Ofio_File;
    try {
        if (file != nullptr) {
            file->path = written;
            file->target = path;
        }
    } catch (...) {
        delete file;
        file = nullptr;
    }
    if (file == nullptr) {
        ofio_SaveAbort(written, path);
        omsc_HeapFree(written);
        memoryFailure(err, "ofio_SaveOpen", path);
        return nullptr;
    }
    omsc_HeapFree(written);
    file->saving = true;
    file->stream = std::fopen(file->path.c_str(), "w");
    if (file->stream == nullptr) {
        int cause = errno;
        ofio_SaveAbort(file->path.c_str(), path);
        delete file;
        vmodhost::CLocaleScope scope; // messages in the library's own language
        if (err != nullptr)
            *err = oerr_CreateErrorReport("ofio_SaveOpen", OERR_FAILED, OERR_SEVERITY_ERROR, *err, "cannot write %s: %s",
                                          path, std::strerror(cause));
        return nullptr;
    }
    return file;
}

int32_t ofio_SaveClose(Ofio_File *file, Oerr_ErrorReport **err) {
    if (file == nullptr) return -1;
    int32_t result = 0;
    if (!closeStream(file)) {
        ofio_SaveAbort(file->path.c_str(), file->target.c_str());
        writeFailure(err, "ofio_SaveClose", file->target, file->cause);
        result = -1;
    } else {
        try {
            if (ofio_SaveCommit(file->path.c_str(), file->target.c_str(), err) != 0) result = -1;
        } catch (...) {
            ofio_SaveAbort(file->path.c_str(), file->target.c_str());
            memoryFailure(err, "ofio_SaveClose", file->target.c_str());
            result = -1;
        }
    }
    delete file;
    return result;
}

void ofio_SaveCancel(Ofio_File *file) {
    if (file == nullptr) return;
    if (file->stream != nullptr) std::fclose(file->stream);
    ofio_SaveAbort(file->path.c_str(), file->target.c_str());
    delete file;
}

int32_t ofio_HasError(Ofio_File *file) {
    if (file == nullptr) {
        return 1;
    }
    return (file->failed || (file->stream != nullptr && std::ferror(file->stream))) ? 1 : 0;
}

int32_t ofio_IsDirectory(const char *path, Oerr_ErrorReport **err) {
    struct stat info;
    if (path == nullptr || stat(path, &info) != 0) {
        return 0;
    }
    return S_ISDIR(info.st_mode) ? 1 : 0;
}

void vmodhost_FailWriteAfter(int32_t count) {
    failFrom = count;
    writesSinceArmed = 0;
}

}
