// The annotation package's call record and fault injection (vmodhost_anno.h).
#include <charconv>
#include <cstring>
#include <map>

#include "oant_internal.h"
#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost_anno.h"

namespace anno {
namespace {

struct Recorder {
    bool on = false;
    std::vector<std::string> lines;
    std::map<const void *, std::string> names;
    std::map<std::string, int> counters;
    std::string failCall;
    int failNth = 0;
    bool failEvery = false;
    int calls = 0;
};

Recorder &recorder() {
    static Recorder r;
    return r;
}

} // namespace

bool recording() { return recorder().on; }

void record(std::string line) {
    if (recorder().on)
        recorder().lines.push_back(std::move(line));
}

std::string freshName(const void *handle, const char *kind) {
    Recorder &r = recorder();
    if (!handle || !r.on)
        return handle ? "" : "null";
    std::string name = kind + std::to_string(++r.counters[kind]);
    r.names[handle] = name;
    return name;
}

std::string handleName(const void *handle, const char *kind) {
    Recorder &r = recorder();
    if (!handle || !r.on)
        return handle ? "" : "null";
    auto found = r.names.find(handle);
    if (found != r.names.end())
        return found->second;
    std::string name = kind + std::to_string(++r.counters[kind]);
    r.names[handle] = name;
    return name;
}

void nameHandle(const void *handle, const std::string &name) {
    if (handle && recorder().on)
        recorder().names[handle] = name;
}

void forgetHandle(const void *handle) { recorder().names.erase(handle); }

void recordRelease(const char *call, const void *handle, const char *kind) {
    if (recording())
        record(std::string(call) + "(" + handleName(handle, kind) + ")");
    forgetHandle(handle);
}

bool failNow(const char *call) {
    Recorder &r = recorder();
    if (r.failNth <= 0 || r.failCall != call)
        return false;
    ++r.calls;
    return r.calls == r.failNth || (r.failEvery && r.calls > r.failNth);
}

std::string formatDouble(double value) {
    char buffer[64];
    // %g, but the same in every locale.
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string quoted(const char *text) {
    if (!text)
        return "null";
    return std::string("\"") + text + "\"";
}

std::string reportName(Oerr_ErrorReport **err) { return err ? "report" : "null"; }

void setError(Oerr_ErrorReport **err, const char *function, int code, const std::string &message) {
    if (!err)
        return;
    // A report already in the slot becomes the cause, so nothing is lost or leaked.
    *err = oerr_CreateErrorReport(function, code, OERR_SEVERITY_ERROR, *err, "%s", message.c_str(), 0);
}

} // namespace anno

extern "C" {

VMODHOST_API void vmodhost_AnnoRecord(int32_t on) {
    anno::Recorder &r = anno::recorder();
    if (on) {
        r.lines.clear();
        r.names.clear();
        r.counters.clear();
    }
    r.on = on != 0;
}

VMODHOST_API size_t vmodhost_AnnoRecordCount(void) { return anno::recorder().lines.size(); }

VMODHOST_API const char *vmodhost_AnnoRecordLine(size_t index) {
    const auto &lines = anno::recorder().lines;
    return index < lines.size() ? lines[index].c_str() : nullptr;
}

VMODHOST_API void vmodhost_AnnoFailCall(const char *call, int32_t nth, int32_t every) {
    anno::Recorder &r = anno::recorder();
    r.failCall = call ? call : "";
    r.failNth = call ? nth : 0;
    r.failEvery = every != 0;
    r.calls = 0;
}
}
