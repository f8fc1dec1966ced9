/* oerr.h - error reports of the host: a report holds the reporting function's name, a
   code, a severity and a formatted message, and owns the cause report it is chained to. */
#ifndef VMOD_HOST_OERR_H
#define VMOD_HOST_OERR_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A new report whose message is format filled with the arguments (callers end the
   argument list with a 0, which is ignored). The report takes ownership of cause. */
OHOST_API Oerr_ErrorReport *oerr_CreateErrorReport(const char *function, int32_t code, int32_t severity,
                                                   Oerr_ErrorReport *cause, const char *format, ...);
/* Shows the report chain to the user (the front end's sink; standard error by default). */
OHOST_API void oerr_PrintErrorReport(Oerr_ErrorReport *report, int32_t a, int32_t b);
/* Releases the report and its causes and clears the handle; a null handle is ignored. */
OHOST_API void oerr_DeleteErrorReportEx(Oerr_ErrorReport **report);

#ifdef __cplusplus
}
#endif

#endif
