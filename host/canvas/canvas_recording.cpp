// canvas_recording.cpp - a canvas that draws nothing: its calls go to the call log and its
// text metrics are fixed, so renderer output can be compared line by line.
#include <algorithm>
#include <climits>
#include <cstring>
#include <set>

#include "canvas.h"
#include "ui/ui_report.h"
#include "vmodhost/vmodhost.h"

namespace {

class RecordingCanvas final : public Ooml_Canvas {
public:
    explicit RecordingCanvas(const char *name) : name_(name) {}

    void setMetrics(int32_t charWidth, int32_t lineHeight)
    {
        charWidth_ = charWidth < 0 ? 0 : charWidth;
        lineHeight_ = lineHeight < 0 ? 0 : lineHeight;
    }
    void rejectFont(const char *family) { rejected_.insert(family); }

    const char *logName() const override { return name_.c_str(); }

    void setForeground(uint32_t, Oerr_ErrorReport **) override {}
    void setDrawMode(int32_t, Oerr_ErrorReport **) override {}
    void setFont(const char *, Oerr_ErrorReport **) override {}
    void setFontSpec(const Ooml_FontSpec &spec, Oerr_ErrorReport **err) override
    {
        if (rejected_.count(spec.family))
            UiReport(err, "ooml_CanvasContextSetFontSpec", UI_ERR_FONT, "Cannot Use Font: %s", spec.family.c_str());
    }
    void setJustification(int32_t, Oerr_ErrorReport **) override {}
    void getStringExtents(const char *text, CanvasExtents &extents, Oerr_ErrorReport **) override
    {
        // As the drawing canvas measures: the widest line, and a line height for each line
        // (lines end at line feeds, a carriage return before one not counted). Saturates
        // rather than wrapping for absurdly long strings.
        long long widest = 0, lines = 1, length = 0;
        for (const char *c = text;; ++c) {
            if (*c == '\n' || *c == '\0') {
                if (*c == '\n' && c > text && c[-1] == '\r') --length;
                widest = std::max(widest, length);
                if (*c == '\0') break;
                ++lines;
                length = 0;
            } else {
                ++length;
            }
        }
        long long width = widest * charWidth_, height = lines * lineHeight_;
        extents.x1 = 0;
        extents.x2 = width > INT32_MAX ? INT32_MAX : static_cast<int32_t>(width);
        extents.y1 = 0;
        extents.y2 = height > INT32_MAX ? INT32_MAX : static_cast<int32_t>(height);
    }
    void fillRectangle(int32_t, int32_t, int32_t, int32_t, Oerr_ErrorReport **) override {}
    void drawRectangle(int32_t, int32_t, int32_t, int32_t, Oerr_ErrorReport **) override {}
    void drawLine(int32_t, int32_t, int32_t, int32_t, Oerr_ErrorReport **) override {}
    void drawArc(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, Oerr_ErrorReport **) override {}
    void drawPolyline(const int32_t *, int32_t, Oerr_ErrorReport **) override {}
    void drawText(const char *, int32_t, int32_t, Oerr_ErrorReport **) override {}

private:
    std::string name_;
    int32_t charWidth_ = 7;
    int32_t lineHeight_ = 13;
    std::set<std::string, std::less<>> rejected_;
};

RecordingCanvas *AsRecording(Ooml_Canvas *canvas)
{
    return dynamic_cast<RecordingCanvas *>(canvas);
}

} // namespace

extern "C" {

VMODHOST_API Ooml_Canvas *vmodhost_RecordingCanvasCreate(const char *name)
{
    if (!name)
        return nullptr;
    return UiGuarded(nullptr, "vmodhost_RecordingCanvasCreate", static_cast<Ooml_Canvas *>(nullptr),
                     [&]() -> Ooml_Canvas * { return new RecordingCanvas(name); });
}

VMODHOST_API void vmodhost_RecordingCanvasSetMetrics(Ooml_Canvas *canvas, int32_t charWidth, int32_t lineHeight)
{
    if (RecordingCanvas *recording = AsRecording(canvas))
        recording->setMetrics(charWidth, lineHeight);
}

VMODHOST_API void vmodhost_RecordingCanvasRejectFont(Ooml_Canvas *canvas, const char *name)
{
    RecordingCanvas *recording = AsRecording(canvas);
    if (recording && name)
        UiGuardedVoid(nullptr, "vmodhost_RecordingCanvasRejectFont", [&] { recording->rejectFont(name); });
}

} // extern "C"
