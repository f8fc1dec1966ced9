// canvas_font_spec.cpp - font specifications: a family name, style bits and a size.
#include <cmath>
#include <memory>

#include "ui/call_log.h"
#include "canvas.h"
#include "vmodhost/ooml.h"
#include "ui/ui_report.h"

extern "C" {

OHOST_API Ooml_FontSpec *ooml_CanvasFontSpecCreate(const char *name, int32_t style, double size,
                                                  Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_CanvasFontSpecCreate";
    return UiGuarded(err, function, static_cast<Ooml_FontSpec *>(nullptr), [&]() -> Ooml_FontSpec * {
        if (CallLogOn())
            CallLogAdd(function, {LogText(name), LogInt(style), LogReal(size)});
        if (!name) {
            UiReportMissing(err, function, "font name");
            return nullptr;
        }
        // No canvas can use a font without a size; saying so here lets the caller fall
        // back to another font.
        if (!std::isfinite(size) || size <= 0) {
            UiReport(err, function, UI_ERR_BAD_ARGUMENT, "Invalid Font Size for %s", name);
            return nullptr;
        }
        auto spec = std::make_unique<Ooml_FontSpec>();
        spec->family = name;
        spec->style = style;
        spec->size = size;
        return spec.release();
    });
}

OHOST_API void ooml_CanvasFontSpecFree(Ooml_FontSpec *spec)
{
    static const char *const function = "ooml_CanvasFontSpecFree";
    std::unique_ptr<Ooml_FontSpec> owned(spec);
    UiGuardedVoid(nullptr, function, [&] {
        if (CallLogOn())
            CallLogAdd(function, {LogFontSpec(spec)});
    });
}

} // extern "C"
