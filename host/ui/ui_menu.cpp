// ui_menu.cpp - the editor's menu: items remember whether they are enabled.
#include "call_log.h"
#include "vmodhost/ooml.h"
#include "ui_part.h"
#include "ui_report.h"
#include "vmodhost/vmodhost.h"

std::string LogMenu(const Ooml_Menu *menu)
{
    return LogHandle(menu ? "menu" : nullptr);
}

namespace {

void SetItemEnabled(const char *function, Ooml_Menu *menu, const char *item, int32_t enabled,
                    Oerr_ErrorReport **err)
{
    UiGuardedVoid(err, function, [&] {
        if (CallLogOn())
            CallLogAdd(function, {LogMenu(menu), LogText(item)});
        if (!menu) {
            UiReportMissing(err, function, "menu");
            return;
        }
        if (!item) {
            UiReportMissing(err, function, "menu item");
            return;
        }
        menu->items.insert_or_assign(std::string(item), enabled);
    });
}

} // namespace

extern "C" {

OHOST_API void ooml_MenuItemEnable(Ooml_Menu *menu, const char *item, Oerr_ErrorReport **err)
{
    SetItemEnabled("ooml_MenuItemEnable", menu, item, 1, err);
}

OHOST_API void ooml_MenuItemDisable(Ooml_Menu *menu, const char *item, Oerr_ErrorReport **err)
{
    SetItemEnabled("ooml_MenuItemDisable", menu, item, 0, err);
}

VMODHOST_API Ooml_Menu *vmodhost_MenuCreate(void)
{
    return UiGuarded(nullptr, "vmodhost_MenuCreate", static_cast<Ooml_Menu *>(nullptr),
                     [] { return new Ooml_Menu(); });
}

VMODHOST_API void vmodhost_MenuDelete(Ooml_Menu *menu)
{
    delete menu;
}

VMODHOST_API int32_t vmodhost_MenuItemEnabled(const Ooml_Menu *menu, const char *item)
{
    if (!menu || !item)
        return -1;
    auto found = menu->items.find(std::string_view(item));
    return found == menu->items.end() ? -1 : found->second;
}

} // extern "C"
