/*
 * vmodcheck.h - the model validator: every problem that would stop a model's script or
 * make it compute something other than what the diagram shows, each named, located and
 * explained.
 *
 * The validator (libvmodcheck, prefix vmodcheck_) reads the model through the exported
 * vmod_ functions and the front-end kit; it never changes the model. The `vmod check`
 * command and the editor show the same list.
 *
 * Ownership: a report returned by vmodcheck_Validate belongs to the caller and is
 * released whole by vmodcheck_ReportFree; every string and array inside it lives as long
 * as the report. A string returned by vmodcheck_ReportJson is released by vmodcheck_Free.
 * No C++ exception leaves a function; failures are reported through `err` as the
 * library reports them (vmod.h).
 */
#ifndef VMODCHECK_H
#define VMODCHECK_H

#include <stddef.h>
#include <stdint.h>

#include "vmod/vmod.h"
#include "vmod/vmod_records.h"

#if defined(_WIN32)
#define VMODCHECK_API __declspec(dllexport)
#elif defined(__GNUC__)
#define VMODCHECK_API __attribute__((visibility("default")))
#else
#define VMODCHECK_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* How bad a problem is. */
typedef enum Vmodcheck_Severity {
    VMODCHECK_ERROR = 0,   /* the script generator refuses the model, or its script cannot
                              run as drawn */
    VMODCHECK_WARNING = 1, /* the script runs, but probably not as meant */
    VMODCHECK_INFO = 2     /* worth knowing; nothing is wrong */
} Vmodcheck_Severity;

/* The version of the JSON document vmodcheck_ReportJson writes (its "schema" member is
   "vmod-check/" followed by this number). Raised whenever a member changes meaning or
   goes away; adding a member keeps it. */
#define VMODCHECK_JSON_VERSION 1

/* One problem. */
typedef struct Vmodcheck_Problem {
    const char *code;      /* stable code, documented in docs/checks.md and never reused */
    int32_t severity;      /* a Vmodcheck_Severity */
    size_t nodeCount;      /* the identifiers of the nodes involved, in the order the */
    const int32_t *nodes;  /* message names them; null when nodeCount is 0 */
    const char *message;   /* one line in plain words */
    const char *hint;      /* how to fix it, one line */
    const char *file;      /* the model file the location is in, or null */
    int32_t line;          /* 1-based line and column of the node's block or of the */
    int32_t column;        /* offending statement in file; 0 when not known */
} Vmodcheck_Problem;

/* One file prompt of the script, in the order `vmod script --answer` answers them. */
typedef struct Vmodcheck_Prompt {
    int32_t node;          /* the identifier of the node that asks */
    const char *text;      /* the prompt as the user sees it, the node's title included */
} Vmodcheck_Prompt;

/* What to check beyond the model itself. A zeroed record asks for no file access and
   no locations. */
typedef struct Vmodcheck_Options {
    int32_t checkFiles;      /* nonzero: open the input files and check that they fit
                                their nodes (only where the validator was built with
                                GDAL; see vmodcheck_FilesSupported) */
    const char *sourcePath;  /* the model file the model was read from, for the line and
                                column of each problem; null for none */
} Vmodcheck_Options;

/* What the validator found. */
typedef struct Vmodcheck_Report {
    size_t count;                  /* the problems: errors first, then warnings, then */
    const Vmodcheck_Problem *problems; /* information, each group in the order found */
    size_t errors, warnings, infos;
    size_t promptCount;            /* the file prompts of the script */
    const Vmodcheck_Prompt *prompts;
    int32_t pages;                 /* the pages `vmod print` produces; -1 when unknown */
    int32_t filesChecked;          /* 1 when the input files were checked; 0 when not
                                      asked; -1 when asked but the validator has no GDAL */
    void *internal;                /* the report's own storage; not for the caller */
} Vmodcheck_Report;

/* Checks model (which is not changed) and returns a new report, or null with a report
   in *err when model is null or memory is exhausted. options may be null. */
VMODCHECK_API Vmodcheck_Report *vmodcheck_Validate(Vmod_Model *model, const Vmodcheck_Options *options,
                                                   Oerr_ErrorReport **err);

/* Releases a report and everything in it; null is ignored. */
VMODCHECK_API void vmodcheck_ReportFree(Vmodcheck_Report *report);

/* "error", "warning" or "info"; "unknown" for any other value. A static string. */
VMODCHECK_API const char *vmodcheck_SeverityName(int32_t severity);

/* 1 when the validator was built with GDAL and can check input files, else 0. */
VMODCHECK_API int32_t vmodcheck_FilesSupported(void);

/* The JSON document for report on model (docs/checks.md gives its schema): the summary
   of model, the problems, the prompts, the page count and the verdict; with strict
   nonzero, warnings count against the verdict as errors do. A new string ending in a
   zero byte, released by vmodcheck_Free; null with a report in *err on failure. */
VMODCHECK_API char *vmodcheck_ReportJson(const Vmodcheck_Report *report, Vmod_Model *model, int32_t strict,
                                         Oerr_ErrorReport **err);

/* Releases a string the validator returned; null is ignored. */
VMODCHECK_API void vmodcheck_Free(void *memory);

#ifdef __cplusplus
}
#endif

#endif
