/* oerr.h - error reports of the host: a report holds the reporting function's name, a
   code, a severity and a formatted message, and owns the cause report it is chained to. */
#ifndef VMOD_HOST_OERR_H
#define VMOD_HOST_OERR_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The host's own reports: every one has severity OERR_SEVERITY_ERROR and code
   OERR_FAILED (the call could not do its work; the message says why). */
#define OERR_FAILED 1
#define OERR_SEVERITY_ERROR 2

/* A new report whose message is format filled with the arguments (callers end the
   argument list with a 0, which is ignored). The report takes ownership of cause; when
   memory is exhausted the result is cause itself (null when there was none). */
OHOST_API Oerr_ErrorReport *oerr_CreateErrorReport(const char *function, int32_t code, int32_t severity,
                                                   Oerr_ErrorReport *cause, const char *format, ...);
/* Shows the report chain to the user (the front end's sink; standard error by default). */
OHOST_API void oerr_PrintErrorReport(Oerr_ErrorReport *report, int32_t a, int32_t b);
/* Releases the report and its causes and clears the handle; a null handle is ignored.
   Every host function that takes `err` keeps a report already in *err below the one it
   makes, and leaves it alone when it succeeds (the rule is in vmodhost.h, "error
   reports"), so releasing a shared handle once releases every report it gathered. */
OHOST_API void oerr_DeleteErrorReportEx(Oerr_ErrorReport **report);

#ifdef __cplusplus
}
#endif

#endif
