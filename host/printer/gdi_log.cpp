// gdi_log.cpp - the call log of the printer's device-context operations.
#include <cstdio>
#include <string>
#include <vector>

#include "gdi_device.h"
#include "vmodhost/vmodhost_printer.h"

namespace {

struct GdiCallLog {
    bool on = false;
    std::vector<std::string> lines;
    int32_t fonts = 0, regions = 0;
};

GdiCallLog &TheLog() {
    static GdiCallLog log;
    return log;
}

} // namespace

bool GdiLogOn() { return TheLog().on; }

void GdiLog(const std::string &line) {
    if (TheLog().on) TheLog().lines.push_back(line);
}

std::string GdiLogText(const char *text, int32_t length) {
    if (!text) return "NULL";
    std::string out = "\"";
    for (int32_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string GdiLogObject(const Ogdi_Object *object) { return object ? object->logName : "NULL"; }

int32_t GdiNextObjectNumber(Ogdi_Object::Kind kind) {
    GdiCallLog &log = TheLog();
    return kind == Ogdi_Object::Kind::Font ? ++log.fonts : ++log.regions;
}

extern "C" {

void vmodhost_PrinterLogEnable(int32_t on) { TheLog().on = on != 0; }

void vmodhost_PrinterLogClear(void) {
    GdiCallLog &log = TheLog();
    log.lines.clear();
    log.fonts = 0;
    log.regions = 0;
}

size_t vmodhost_PrinterLogCount(void) { return TheLog().lines.size(); }

const char *vmodhost_PrinterLogLine(size_t index) {
    const GdiCallLog &log = TheLog();
    return index < log.lines.size() ? log.lines[index].c_str() : nullptr;
}

} // extern "C"
