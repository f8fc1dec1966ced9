// render_test_support.h - a recording canvas with the call log switched on, and helpers
// to read the log as lines.
#ifndef VMOD_TESTS_RENDER_TEST_SUPPORT_H
#define VMOD_TESTS_RENDER_TEST_SUPPORT_H

#include <initializer_list>
#include <string>
#include <vector>

#include "vmodhost/vmodhost.h"

namespace render_test {

using Lines = std::vector<std::string>;

struct CanvasKeeper {
    Ooml_Canvas *canvas = vmodhost_RecordingCanvasCreate("canvas");
    CanvasKeeper() {
        vmodhost_LogEnable(1);
        vmodhost_LogClear();
    }
    ~CanvasKeeper() {
        vmodhost_LogEnable(0);
        vmodhost_LogClear();
        vmodhost_CanvasDelete(canvas);
        vmodhost_ClearPreferences();
    }
};

inline Lines TakeLog() {
    Lines lines;
    for (size_t i = 0; i < vmodhost_LogCount(); ++i) lines.emplace_back(vmodhost_LogLine(i));
    vmodhost_LogClear();
    return lines;
}

inline Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines &part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace render_test

#endif
