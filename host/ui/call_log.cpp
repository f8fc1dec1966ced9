// call_log.cpp - the global call log that tests and the vmod tool read back.
#include "call_log.h"

#include <charconv>
#include <deque>
#include <cstdio>
#include <mutex>

#include "vmodhost/vmodhost.h"

namespace {

struct CallLog {
    std::mutex lock;
    std::deque<std::string> lines; // a deque keeps earlier lines in place as it grows
    bool on = false;
};

CallLog &Log()
{
    static CallLog log;
    return log;
}

} // namespace

bool CallLogOn()
{
    CallLog &log = Log();
    std::lock_guard<std::mutex> hold(log.lock);
    return log.on;
}

void CallLogAdd(const char *function, const LogArgs &args)
{
    std::string line = function;
    line += '(';
    bool first = true;
    for (const std::string &arg : args) {
        if (!first)
            line += ", ";
        line += arg;
        first = false;
    }
    line += ')';
    CallLog &log = Log();
    std::lock_guard<std::mutex> hold(log.lock);
    if (log.on)
        log.lines.push_back(std::move(line));
}

std::string LogText(const char *text)
{
    if (!text)
        return "NULL";
    std::string out = "\"";
    for (const char *p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

std::string LogHandle(const char *name)
{
    return name ? std::string(name) : std::string("NULL");
}

std::string LogInt(int64_t value)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string LogReal(double value)
{
    // to_chars formats as printf does in the "C" locale, whatever the process locale.
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string LogColour(uint32_t colour)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%06X", static_cast<unsigned>(colour));
    return buffer;
}

extern "C" {

VMODHOST_API void vmodhost_LogClear(void)
{
    CallLog &log = Log();
    std::lock_guard<std::mutex> hold(log.lock);
    log.lines.clear();
}

VMODHOST_API size_t vmodhost_LogCount(void)
{
    CallLog &log = Log();
    std::lock_guard<std::mutex> hold(log.lock);
    return log.lines.size();
}

VMODHOST_API const char *vmodhost_LogLine(size_t index)
{
    CallLog &log = Log();
    std::lock_guard<std::mutex> hold(log.lock);
    return index < log.lines.size() ? log.lines[index].c_str() : nullptr;
}

VMODHOST_API void vmodhost_LogEnable(int32_t on)
{
    CallLog &log = Log();
    std::lock_guard<std::mutex> hold(log.lock);
    log.on = on != 0;
}

} // extern "C"
