// render_test_support.h - a recording canvas with the call log switched on, and helpers
// to read the log as lines.
#ifndef VMOD_TESTS_RENDER_TEST_SUPPORT_H
#define VMOD_TESTS_RENDER_TEST_SUPPORT_H

#include <initializer_list>
#include <string>
#include <vector>

#include "vmod/vmod_records.h"
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

// The view both golden suites were worked out for: 96 x 90 pixels per inch, scroll
// (10, 20), zoom 1.25, black on white with a blue highlight, 14-point untitled font,
// drawing onto canvas.
inline Vmod_Model GoldenView(Ooml_Canvas *canvas) {
    static char untitledFont[] = "DejaVu Sans:size=14";
    Vmod_Model model{};
    model.untitledFont = untitledFont;
    model.canvas = canvas;
    model.backgroundColor = 0xFFFFFF;
    model.foregroundColor = 0x000000;
    model.highlightColor = 0x3366CC;
    model.scrollX = 10;
    model.scrollY = 20;
    model.zoom = 1.25;
    model.pixelsPerInchX = 96;
    model.pixelsPerInchY = 90;
    return model;
}

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
