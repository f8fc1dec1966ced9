// canvas.cpp - the ooml_Canvas... entry points: check, log, then hand the call to the canvas.
#include "canvas.h"

#include "ui/call_log.h"
#include "vmodhost/ooml.h"
#include "ui/ui_report.h"
#include "vmodhost/vmodhost.h"

namespace {

// Runs draw on canvas after logging the call with the canvas's name and what args formats.
template <class Args, class Draw>
void OnCanvas(const char *function, Ooml_Canvas *canvas, Oerr_ErrorReport **err, Args &&args, Draw &&draw)
{
    UiGuardedVoid(err, function, [&] {
        if (!canvas) {
            UiReportMissing(err, function, "canvas");
            return;
        }
        if (canvas->logName() && CallLogOn()) {
            LogArgs all{LogHandle(canvas->logName())};
            for (std::string &arg : args())
                all.push_back(std::move(arg));
            CallLogAdd(function, all);
        }
        draw();
    });
}

// "[x y, x y, ...]" for count points; "[]" when there are none to show.
std::string LogPoints(const int32_t *points, int32_t count)
{
    std::string out = "[";
    for (size_t i = 0; points && count > 0 && i < static_cast<size_t>(count); ++i) {
        if (i)
            out += ", ";
        out += LogInt(points[2 * i]);
        out += ' ';
        out += LogInt(points[2 * i + 1]);
    }
    out += ']';
    return out;
}

} // namespace

std::string LogFontSpec(const Ooml_FontSpec *spec)
{
    if (!spec)
        return "NULL";
    return "{" + LogText(spec->family.c_str()) + ", " + LogInt(spec->style) + ", " + LogReal(spec->size) + "}";
}

extern "C" {

OHOST_API void ooml_CanvasContextSetForeground(Ooml_Canvas *canvas, uint32_t colour, Oerr_ErrorReport **err)
{
    OnCanvas("ooml_CanvasContextSetForeground", canvas, err, [&] { return LogArgs{LogColour(colour)}; },
             [&] { canvas->setForeground(colour, err); });
}

OHOST_API void ooml_CanvasContextSetDrawMode(Ooml_Canvas *canvas, int32_t mode, Oerr_ErrorReport **err)
{
    OnCanvas("ooml_CanvasContextSetDrawMode", canvas, err, [&] { return LogArgs{LogInt(mode)}; },
             [&] { canvas->setDrawMode(mode, err); });
}

OHOST_API void ooml_CanvasContextSetFont(Ooml_Canvas *canvas, const char *name, Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_CanvasContextSetFont";
    OnCanvas(function, canvas, err, [&] { return LogArgs{LogText(name)}; }, [&] {
        if (!name)
            UiReportMissing(err, function, "font name");
        else
            canvas->setFont(name, err);
    });
}

OHOST_API void ooml_CanvasContextSetFontSpec(Ooml_Canvas *canvas, Ooml_FontSpec *spec, Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_CanvasContextSetFontSpec";
    OnCanvas(function, canvas, err, [&] { return LogArgs{LogFontSpec(spec)}; }, [&] {
        if (!spec)
            UiReportMissing(err, function, "font specification");
        else
            canvas->setFontSpec(*spec, err);
    });
}

OHOST_API void ooml_CanvasContextSetJustification(Ooml_Canvas *canvas, int32_t justification, Oerr_ErrorReport **err)
{
    OnCanvas("ooml_CanvasContextSetJustification", canvas, err, [&] { return LogArgs{LogInt(justification)}; },
             [&] { canvas->setJustification(justification, err); });
}

OHOST_API void ooml_CanvasContextGetStringExtents(Ooml_Canvas *canvas, const char *text, int32_t *x1, int32_t *x2,
                                                  int32_t *y1, int32_t *y2, Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_CanvasContextGetStringExtents";
    // A failed measurement reads as an empty extent rather than leaving the caller's
    // variables unset.
    CanvasExtents extents;
    OnCanvas(function, canvas, err, [&] { return LogArgs{LogText(text)}; }, [&] {
        if (!text)
            UiReportMissing(err, function, "text");
        else
            canvas->getStringExtents(text, extents, err);
    });
    if (x1)
        *x1 = extents.x1;
    if (x2)
        *x2 = extents.x2;
    if (y1)
        *y1 = extents.y1;
    if (y2)
        *y2 = extents.y2;
}

OHOST_API void ooml_CanvasFillRectangle(Ooml_Canvas *canvas, int32_t a, int32_t b, int32_t left, int32_t top,
                                        int32_t width, int32_t height, Oerr_ErrorReport **err)
{
    OnCanvas(
        "ooml_CanvasFillRectangle", canvas, err,
        [&] { return LogArgs{LogInt(a), LogInt(b), LogInt(left), LogInt(top), LogInt(width), LogInt(height)}; },
        [&] { canvas->fillRectangle(left, top, width, height, err); });
}

OHOST_API void ooml_CanvasDrawRectangle(Ooml_Canvas *canvas, int32_t a, int32_t b, int32_t left, int32_t top,
                                        int32_t width, int32_t height, Oerr_ErrorReport **err)
{
    OnCanvas(
        "ooml_CanvasDrawRectangle", canvas, err,
        [&] { return LogArgs{LogInt(a), LogInt(b), LogInt(left), LogInt(top), LogInt(width), LogInt(height)}; },
        [&] { canvas->drawRectangle(left, top, width, height, err); });
}

OHOST_API void ooml_CanvasDrawLine(Ooml_Canvas *canvas, int32_t a, int32_t b, int32_t x1, int32_t y1, int32_t x2,
                                   int32_t y2, Oerr_ErrorReport **err)
{
    OnCanvas(
        "ooml_CanvasDrawLine", canvas, err,
        [&] { return LogArgs{LogInt(a), LogInt(b), LogInt(x1), LogInt(y1), LogInt(x2), LogInt(y2)}; },
        [&] { canvas->drawLine(x1, y1, x2, y2, err); });
}

OHOST_API void ooml_CanvasDrawArc(Ooml_Canvas *canvas, int32_t a, int32_t b, int32_t left, int32_t top,
                                  int32_t width, int32_t height, int32_t start, int32_t extent,
                                  Oerr_ErrorReport **err)
{
    OnCanvas(
        "ooml_CanvasDrawArc", canvas, err,
        [&] {
            return LogArgs{LogInt(a),     LogInt(b),      LogInt(left),  LogInt(top),
                           LogInt(width), LogInt(height), LogInt(start), LogInt(extent)};
        },
        [&] { canvas->drawArc(left, top, width, height, start, extent, err); });
}

OHOST_API void ooml_CanvasDrawPolyline(Ooml_Canvas *canvas, int32_t a, int32_t b, const int32_t *points,
                                       int32_t count, Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_CanvasDrawPolyline";
    OnCanvas(
        function, canvas, err,
        [&] { return LogArgs{LogInt(a), LogInt(b), LogPoints(points, count), LogInt(count)}; },
        [&] {
            if (count < 0)
                UiReport(err, function, UI_ERR_BAD_ARGUMENT, "Negative Point Count%s", "");
            else if (!points && count > 0)
                UiReportMissing(err, function, "points");
            else
                canvas->drawPolyline(points, count, err);
        });
}

OHOST_API void ooml_CanvasDrawText(Ooml_Canvas *canvas, const char *text, int32_t x, int32_t y,
                                   Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_CanvasDrawText";
    OnCanvas(function, canvas, err, [&] { return LogArgs{LogText(text), LogInt(x), LogInt(y)}; }, [&] {
        if (!text)
            UiReportMissing(err, function, "text");
        else
            canvas->drawText(text, x, y, err);
    });
}

VMODHOST_API void vmodhost_CanvasDelete(Ooml_Canvas *canvas)
{
    delete canvas;
}

} // extern "C"
