// ui_frame.cpp - editor frames and their parts: finding a part by name and enabling it.
#include <cstring>

#include "call_log.h"
#include "vmodhost/ooml.h"
#include "ui_part.h"
#include "ui_report.h"
#include "vmodhost/vmodhost.h"

std::string LogPart(const Ooml_Part *part)
{
    return LogHandle(part ? part->name.c_str() : nullptr);
}

std::string LogFrame(const Ooml_Frame *frame)
{
    return LogHandle(frame ? "frame" : nullptr);
}

namespace {

Ooml_Part *FindPart(Ooml_Frame *frame, std::string_view name)
{
    for (auto &part : frame->parts)
        if (part->name == name)
            return part.get();
    return nullptr;
}

void SetPartEnabled(const char *function, Ooml_Part *part, int32_t enabled, Oerr_ErrorReport **err)
{
    UiGuardedVoid(err, function, [&] {
        if (CallLogOn())
            CallLogAdd(function, {LogPart(part)});
        if (!part) {
            UiReportMissing(err, function, "part");
            return;
        }
        part->enabled = enabled;
    });
}

} // namespace

extern "C" {

OHOST_API Ooml_Part *ooml_FrameFindPart(Ooml_Frame *frame, const char *name, Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_FrameFindPart";
    return UiGuarded(err, function, static_cast<Ooml_Part *>(nullptr), [&]() -> Ooml_Part * {
        if (CallLogOn())
            CallLogAdd(function, {LogFrame(frame), LogText(name)});
        if (!frame) {
            UiReportMissing(err, function, "frame");
            return nullptr;
        }
        if (!name) {
            UiReportMissing(err, function, "part name");
            return nullptr;
        }
        Ooml_Part *part = FindPart(frame, name);
        if (!part)
            UiReport(err, function, UI_ERR_NOT_FOUND, "No Such Part: %s", name);
        return part;
    });
}

OHOST_API void ooml_PartEnable(Ooml_Part *part, Oerr_ErrorReport **err)
{
    SetPartEnabled("ooml_PartEnable", part, 1, err);
}

OHOST_API void ooml_PartDisable(Ooml_Part *part, Oerr_ErrorReport **err)
{
    SetPartEnabled("ooml_PartDisable", part, 0, err);
}

VMODHOST_API Ooml_Frame *vmodhost_FrameCreate(void)
{
    return UiGuarded(nullptr, "vmodhost_FrameCreate", static_cast<Ooml_Frame *>(nullptr),
                     [] { return new Ooml_Frame(); });
}

VMODHOST_API void vmodhost_FrameDelete(Ooml_Frame *frame)
{
    delete frame;
}

VMODHOST_API Ooml_Part *vmodhost_FrameAddPart(Ooml_Frame *frame, const char *name)
{
    return UiGuarded(nullptr, "vmodhost_FrameAddPart", static_cast<Ooml_Part *>(nullptr), [&]() -> Ooml_Part * {
        if (!frame || !name)
            return nullptr;
        // Names are unique within a frame: adding a name again gives the existing part.
        if (Ooml_Part *existing = FindPart(frame, name))
            return existing;
        auto part = std::make_unique<Ooml_Part>();
        part->name = name;
        part->owner = frame;
        frame->parts.push_back(std::move(part));
        return frame->parts.back().get();
    });
}

VMODHOST_API int32_t vmodhost_PartEnabled(const Ooml_Part *part)
{
    return part ? part->enabled : -1;
}

} // extern "C"
