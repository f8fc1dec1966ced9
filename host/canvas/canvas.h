// canvas.h - the drawing canvas behind an Ooml_Canvas handle.
//
// Every ooml_Canvas... entry point checks its arguments, logs the call when the canvas
// wants it (see logName) and then calls one virtual method, so a canvas kind is a subclass
// that fills in these methods: the recording canvas of the tests is one, a canvas drawing
// into an image can be another. Methods receive valid arguments only: a non-null canvas,
// non-null strings, a polyline of count >= 0 points. A method that fails reports into err
// with UiReport (ui_report.h).
#ifndef VMODHOST_CANVAS_H
#define VMODHOST_CANVAS_H

#include <cstdint>
#include <string>

#include "vmodhost/host_api.h"

struct Ooml_FontSpec {
    std::string family;
    int32_t style = 0; // bit 1 bold, bit 2 italics
    double size = 0;   // finite and positive
};

struct CanvasExtents {
    int32_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

struct Ooml_Canvas {
    Ooml_Canvas() = default;
    Ooml_Canvas(const Ooml_Canvas &) = delete;
    Ooml_Canvas &operator=(const Ooml_Canvas &) = delete;
    virtual ~Ooml_Canvas() = default;

    // The name under which the call log shows this canvas, or null when its calls are not
    // logged.
    virtual const char *logName() const { return nullptr; }

    virtual void setForeground(uint32_t colour, Oerr_ErrorReport **err) = 0;
    virtual void setDrawMode(int32_t mode, Oerr_ErrorReport **err) = 0; // 1 copy, 3 exclusive-or
    virtual void setFont(const char *name, Oerr_ErrorReport **err) = 0;
    virtual void setFontSpec(const Ooml_FontSpec &spec, Oerr_ErrorReport **err) = 0;
    virtual void setJustification(int32_t justification, Oerr_ErrorReport **err) = 0; // 1 centred
    virtual void getStringExtents(const char *text, CanvasExtents &extents, Oerr_ErrorReport **err) = 0;
    virtual void fillRectangle(int32_t left, int32_t top, int32_t width, int32_t height, Oerr_ErrorReport **err) = 0;
    virtual void drawRectangle(int32_t left, int32_t top, int32_t width, int32_t height, Oerr_ErrorReport **err) = 0;
    virtual void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Oerr_ErrorReport **err) = 0;
    // Angles in 1/64 degree.
    virtual void drawArc(int32_t left, int32_t top, int32_t width, int32_t height, int32_t start, int32_t extent,
                         Oerr_ErrorReport **err) = 0;
    // points holds count (x, y) pairs.
    virtual void drawPolyline(const int32_t *points, int32_t count, Oerr_ErrorReport **err) = 0;
    virtual void drawText(const char *text, int32_t x, int32_t y, Oerr_ErrorReport **err) = 0;
};

// How a font specification appears in the call log: {"family", style, size}.
std::string LogFontSpec(const Ooml_FontSpec *spec);

#endif
