/* ofio.h - files and formatted output of the host.
   Numbers are always formatted with a "." decimal point, whatever the process locale. */
#ifndef VMOD_HOST_OFIO_H
#define VMOD_HOST_OFIO_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Opens path with a stdio mode ("w", "w+", "r"); a new handle owned by the caller, or
   null (with *err set) when it cannot be opened. */
OHOST_API Ofio_File *ofio_Open(const char *path, const char *mode, Oerr_ErrorReport **err);
/* printf into file; the number of bytes written, or -1 (the file remembers the failure). */
OHOST_API int32_t ofio_Fprintf(Ofio_File *file, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
/* sprintf into buffer, which the caller sizes for the result. */
OHOST_API int32_t ofio_Sprintf(char *buffer, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
/* snprintf into buffer of size bytes (the result is truncated to fit). */
OHOST_API int32_t ofio_Snprintf(char *buffer, size_t size, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
/* Flushes and closes file and releases the handle; -1 when any write, the flush or the
   close failed, else 0. A file of ofio_SaveOpen is finished as ofio_SaveClose does. */
OHOST_API int32_t ofio_Close(Ofio_File *file, int32_t flags);
/* Writes size bytes of data to file; 0, or -1 (the file remembers the failure). */
OHOST_API int32_t ofio_Write(Ofio_File *file, const void *data, size_t size);
/* Nonzero when the file layer has seen a write fail on file. */
OHOST_API int32_t ofio_HasError(Ofio_File *file);
/* Nonzero when path names a directory. */
OHOST_API int32_t ofio_IsDirectory(const char *path, Oerr_ErrorReport **err);

/* Saving a file atomically: the new content is written to a file beside the target and
   moved over it in one step, so that a failed save leaves the earlier file untouched.
   A save runs ofio_SaveBegin, then ofio_Open(written, "w"), the writes and ofio_Close,
   then ofio_SaveCommit, or ofio_SaveAbort after any failure. */

/* Prepares saving path. Returns a new heap string (release with omsc_HeapFree): the
   path to write instead of path, a new empty file beside the file path names (symbolic
   links followed) that already has the permission bits of that file, or a copy of path
   itself when path names a device or pipe, which is written in place. Null with *err
   set when path cannot be saved: no name, a directory, a missing or unwritable
   directory, or an existing file without write permission. Like every host call, a
   failure chains its report to what *err held; success leaves *err alone. */
OHOST_API char *ofio_SaveBegin(const char *path, Oerr_ErrorReport **err);
/* Completes saving path from the closed file written (the result of ofio_SaveBegin):
   syncs it to disk, renames it over the target and syncs the directory. 0 on success;
   -1 with *err set on failure, and written is then removed. Nothing to do when written
   is path itself. */
OHOST_API int32_t ofio_SaveCommit(const char *written, const char *path, Oerr_ErrorReport **err);
/* Abandons a save: removes written unless it is path itself. Null is ignored. */
OHOST_API void ofio_SaveAbort(const char *written, const char *path);

/* The same save through one handle, which is what every writer of a whole file uses.
   ofio_SaveOpen runs ofio_SaveBegin and opens the file to write: a new handle for
   ofio_Fprintf and ofio_Write, or null with *err set ("cannot write PATH: REASON").
   ofio_SaveClose flushes and closes it and, when every write succeeded, puts it in place
   (ofio_SaveCommit); 0, or -1 with *err set ("cannot write PATH: REASON", the system's
   reason for the first failure) and the earlier file untouched. ofio_SaveCancel drops
   what was written and leaves the earlier file as it was. Both release the handle; a
   device or pipe has been written as the writes went, and is never removed. */
OHOST_API Ofio_File *ofio_SaveOpen(const char *path, Oerr_ErrorReport **err);
OHOST_API int32_t ofio_SaveClose(Ofio_File *file, Oerr_ErrorReport **err);
OHOST_API void ofio_SaveCancel(Ofio_File *file);

#ifdef __cplusplus
}
#endif

#endif
