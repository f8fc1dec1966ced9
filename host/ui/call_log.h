// call_log.h - the host's record of frame, menu, chooser and recording-canvas calls.
//
// Callers format a line only when the log is on (CallLogOn), so a host with the log off
// pays one test per call. The line format is described in vmodhost.h.
#ifndef VMODHOST_CALL_LOG_H
#define VMODHOST_CALL_LOG_H

#include <cstdint>
#include <string>
#include <vector>

bool CallLogOn();
using LogArgs = std::vector<std::string>;
// Appends "function(arg, arg, ...)" built from already formatted arguments.
void CallLogAdd(const char *function, const LogArgs &args);

// Argument formatting, the same for every logged call.
std::string LogText(const char *text);     // "text" with \" \\ \n \t \r \xHH escapes; NULL for null
std::string LogHandle(const char *name);   // the name bare; NULL for null
std::string LogInt(int64_t value);         // decimal
std::string LogReal(double value);         // %g with a '.' in every locale
std::string LogColour(uint32_t colour);    // 0x%06X

#endif
