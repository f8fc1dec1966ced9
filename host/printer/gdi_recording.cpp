// gdi_recording.cpp - the back end of a recording printer: it keeps no document and
// draws nothing, so only the device context's state and call log show what was printed.
#include "gdi_back_end.h"

namespace {

class GdiRecording final : public GdiBackEnd {
public:
    void Open(Ogdi_DeviceContext *, const std::string &, const char *) override {}
    void ShowPage(Ogdi_DeviceContext *) override {}
    void Finish(Ogdi_DeviceContext *) override {}
    void Drop(Ogdi_DeviceContext *) override {}
    void Line(Ogdi_DeviceContext *, Ogdi_Point, Ogdi_Point) override {}
    void Polyline(Ogdi_DeviceContext *, const Ogdi_Point *, int32_t) override {}
    void Polygon(Ogdi_DeviceContext *, const Ogdi_Point *, int32_t) override {}
    void Arc(Ogdi_DeviceContext *, int32_t, int32_t, int32_t, int32_t, Ogdi_Point, Ogdi_Point) override {}
    void Text(Ogdi_DeviceContext *, int32_t, int32_t, const char *, int32_t) override {}
};

} // namespace

std::unique_ptr<GdiBackEnd> GdiMakeRecordingBackEnd() { return std::make_unique<GdiRecording>(); }
