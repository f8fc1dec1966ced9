// Atomic saves: the new content goes to a file beside the target and is renamed over it
// only once it is complete and on disk, so a failed save leaves the earlier file as it
// was and leaves no stray file behind.
//
// Devices and pipes cannot be replaced by a rename; they are written in place (saving to
// /dev/stdout works, and /dev/full fails the way a full disk does).
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "support/c_locale.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/ostr.h"

namespace {

void setError(Oerr_ErrorReport **err, const char *function, const char *path, int cause) {
    if (err == nullptr) return;
    vmodhost::CLocaleScope scope; // messages in the library's own language
    *err = oerr_CreateErrorReport(function, OERR_FAILED, OERR_SEVERITY_ERROR, *err, "cannot write %s: %s", path, std::strerror(cause));
}

// The file a save of path replaces: a symbolic link is followed so that the link stays a
// link and its target gets the new content. A dangling link is replaced itself.
std::string saveTarget(const char *path) {
    struct stat info;
    if (lstat(path, &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char *resolved = realpath(path, nullptr)) {
            std::string target(resolved);
            free(resolved);
            return target;
        }
    }
    return path;
}

std::string directoryOf(const std::string &path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string &path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates a new empty file with a fresh name beside target; its descriptor, or -1 with
// errno set. The name starts with a dot and keeps part of the target's name, so that a
// file left by a crash is recognisable; only the first 64 bytes of it, so that the name
// stays far below the file-name limit however long the target's name is.
int createTemporary(const std::string &target, std::string &name) {
    static uint64_t counter = 0;
    std::string prefix = directoryOf(target) + "/." + baseNameOf(target).substr(0, 64) + ".tmp";
    uint64_t seed = static_cast<uint64_t>(getpid()) * 0x9E3779B97F4A7C15ull ^
                    static_cast<uint64_t>(std::time(nullptr)) ^ reinterpret_cast<uintptr_t>(&name);
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint64_t n = seed + 0x2545F4914F6CDD1Dull * ++counter;
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, "%012llx", static_cast<unsigned long long>(n & 0xFFFFFFFFFFFFull));
        name = prefix + suffix;
        // 0666 lets the process umask decide the bits of a new file, as a plain open would.
        int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

int syncPath(const char *path, int flags) {
    int fd = open(path, flags | O_CLOEXEC);
    if (fd < 0) return -1;
    int result = fsync(fd);
    int cause = errno;
    close(fd);
    errno = cause;
    return result;
}

} // namespace

extern "C" {

char *ofio_SaveBegin(const char *path, Oerr_ErrorReport **err) {
    if (path == nullptr || *path == '\0') {
        if (err != nullptr) *err = oerr_CreateErrorReport("ofio_SaveBegin", OERR_FAILED, OERR_SEVERITY_ERROR, *err, "cannot write: no file name");
        return nullptr;
    }
    std::string target = saveTarget(path);
    struct stat info;
    bool exists = stat(target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) {
        setError(err, "ofio_SaveBegin", path, errno);
        return nullptr;
    }
    if (exists && S_ISDIR(info.st_mode)) {
        setError(err, "ofio_SaveBegin", path, EISDIR);
        return nullptr;
    }
    if (exists && !S_ISREG(info.st_mode)) return ostr_Duplicate(path);
    if (baseNameOf(target).empty()) {
        setError(err, "ofio_SaveBegin", path, EISDIR);
        return nullptr;
    }
    // A file the user may not write is not replaced behind their back; nor is one that
    // nobody may write, even by a process that could (the bits are the owner's choice).
    if (exists && (info.st_mode & 0222) == 0) {
        setError(err, "ofio_SaveBegin", path, EACCES);
        return nullptr;
    }
    if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        setError(err, "ofio_SaveBegin", path, errno);
        return nullptr;
    }
    std::string temporary;
    int fd = createTemporary(target, temporary);
    if (fd < 0) {
        setError(err, "ofio_SaveBegin", path, errno);
        return nullptr;
    }
    if (exists) {
        // Keep the earlier file's owner where allowed, then its permission bits (changing
        // the owner may clear set-id bits, so the mode goes last).
        if (fchown(fd, info.st_uid, info.st_gid) != 0) {
            // Only a privileged process may give a file away; the bits still apply.
        }
        if (fchmod(fd, info.st_mode & 07777) != 0) {
            int cause = errno;
            close(fd);
            unlink(temporary.c_str());
            setError(err, "ofio_SaveBegin", path, cause);
            return nullptr;
        }
    }
    close(fd);
    return ostr_Duplicate(temporary.c_str());
}

int32_t ofio_SaveCommit(const char *written, const char *path, Oerr_ErrorReport **err) {
    if (written == nullptr || path == nullptr) {
        if (err != nullptr) *err = oerr_CreateErrorReport("ofio_SaveCommit", OERR_FAILED, OERR_SEVERITY_ERROR, *err, "cannot write: no file name");
        return -1;
    }
    if (std::strcmp(written, path) == 0) return 0;
    std::string target = saveTarget(path);
    if (syncPath(written, O_RDONLY) != 0 || rename(written, target.c_str()) != 0) {
        int cause = errno;
        unlink(written);
        setError(err, "ofio_SaveCommit", path, cause);
        return -1;
    }
    // The rename itself lasts only once the directory is on disk. The new content is in
    // place already, so a directory that cannot be synced (some file systems refuse) is
    // not a failed save.
    try {
        syncPath(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    } catch (...) { // no memory to name the directory: the save stands all the same
    }
    return 0;
}

void ofio_SaveAbort(const char *written, const char *path) {
    if (written == nullptr) return;
    if (path != nullptr && std::strcmp(written, path) == 0) return;
    unlink(written);
}

} // extern "C"
