// Files over stdio. Like every host call, a call that succeeds leaves the caller's report
// slot alone, and a failure chains any report already there as its cause.
// A file remembers whether any write failed, so that closing it can
// report the failure even when the error came from an earlier write.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

#include "c_locale.h"
#include "host/oerr.h"
#include "host/ofio.h"
#include "vmodhost/vmodhost.h"

struct Ofio_File {
    std::FILE *stream = nullptr;
    std::string path;
    bool failed = false;
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

} // namespace

extern "C" {

Ofio_File *ofio_Open(const char *path, const char *mode, Oerr_ErrorReport **err) {
    if (path == nullptr || mode == nullptr) {
        if (err != nullptr) {
            *err = oerr_CreateErrorReport("ofio_Open", 1, 2, *err, "Cannot open file: no file name");
        }
        return nullptr;
    }
    std::FILE *stream = std::fopen(path, mode);
    if (stream == nullptr) {
        int cause = errno;
        vmodhost::CLocaleScope scope; // messages in the library's own language
        errno = cause;
        if (err != nullptr) {
            *err = oerr_CreateErrorReport("ofio_Open", 1, 2, *err, "Cannot open file %s: %s", path,
                                          std::strerror(errno));
        }
        return nullptr;
    }
    Ofio_File *file = new Ofio_File;
    file->stream = stream;
    file->path = path;
    return file;
}

int32_t ofio_Fprintf(Ofio_File *file, const char *format, ...) {
    if (file == nullptr || file->stream == nullptr) {
        return -1;
    }
    va_list arguments;
    va_start(arguments, format);
    std::string text = vmodhost::formatV(format, arguments);
    va_end(arguments);
    if (injectedFailure()) {
        file->failed = true;
        return -1;
    }
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file->stream) != text.size()) {
        file->failed = true;
        return -1;
    }
    return static_cast<int32_t>(text.size());
}

int32_t ofio_Sprintf(char *buffer, const char *format, ...) {
    if (buffer == nullptr) {
        return -1;
    }
    va_list arguments;
    va_start(arguments, format);
    std::string text = vmodhost::formatV(format, arguments);
    va_end(arguments);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<int32_t>(text.size());
}

int32_t ofio_Snprintf(char *buffer, size_t size, const char *format, ...) {
    if (buffer == nullptr || size == 0) {
        return -1;
    }
    va_list arguments;
    va_start(arguments, format);
    std::string text = vmodhost::formatV(format, arguments);
    va_end(arguments);
    size_t length = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<int32_t>(text.size());
}

int32_t ofio_Close(Ofio_File *file, int32_t) {
    if (file == nullptr) {
        return -1;
    }
    bool failed = file->failed;
    if (file->stream != nullptr) {
        if (std::fflush(file->stream) != 0 || std::ferror(file->stream)) {
            failed = true;
        }
        if (std::fclose(file->stream) != 0) {
            failed = true;
        }
    }
    delete file;
    return failed ? -1 : 0;
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
