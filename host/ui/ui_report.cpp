// ui_report.cpp - failure reports of the frame, chooser and canvas calls.
#include "ui_report.h"

void UiReport(Oerr_ErrorReport **err, const char *function, UiErrorCode code, const char *format,
              const char *detail)
{
    if (!err)
        return;
    Oerr_ErrorReport *report = oerr_CreateErrorReport(function, code, OERR_SEVERITY_ERROR, *err, format, detail ? detail : "", 0);
    if (report)
        *err = report;
}

void UiReportMissing(Oerr_ErrorReport **err, const char *function, const char *what)
{
    UiReport(err, function, UI_ERR_MISSING_ARGUMENT, "Missing %s", what);
}
