// ui_chooser.cpp - file choosers: title, offered types and pattern, value, and the query,
// which asks the handler the front end (or a test) installed.
#include <memory>

#include "call_log.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ooml.h"
#include "ui_part.h"
#include "ui_report.h"
#include "vmodhost/vmodhost.h"

namespace {

int32_t CancelEveryQuery(Ooml_Part *, const char *, void *, char **)
{
    return 0;
}

struct ChooserHandler {
    Vmodhost_ChooserHandler handler = CancelEveryQuery;
    void *user = nullptr;
};

ChooserHandler &Handler()
{
    static ChooserHandler installed;
    return installed;
}

LogArgs NoMoreArgs()
{
    return {};
}

// Logs the call (the part, then what moreArgs formats), then runs body on the part; a null
// part is reported instead.
template <class MoreArgs, class Body>
void WithPart(const char *function, Ooml_Part *part, Oerr_ErrorReport **err, MoreArgs &&moreArgs, Body &&body)
{
    UiGuardedVoid(err, function, [&] {
        if (CallLogOn()) {
            LogArgs args{LogPart(part)};
            for (std::string &arg : moreArgs())
                args.push_back(std::move(arg));
            CallLogAdd(function, args);
        }
        if (!part) {
            UiReportMissing(err, function, "part");
            return;
        }
        body();
    });
}

} // namespace

extern "C" {

OHOST_API void ooml_PartTitleSet(Ooml_Part *part, const char *title)
{
    WithPart("ooml_PartTitleSet", part, nullptr, [&] { return LogArgs{LogText(title)}; }, [&] { part->title = title ? title : ""; });
}

OHOST_API int32_t ooml_FileNameListQuery(Ooml_Part *part, Ooml_Frame *frame, Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_FileNameListQuery";
    return UiGuarded(err, function, 0, [&]() -> int32_t {
        if (CallLogOn())
            CallLogAdd(function, {LogPart(part), LogFrame(frame)});
        if (!part) {
            UiReportMissing(err, function, "part");
            return 0;
        }
        // The title is copied so that a handler which retitles the part cannot pull the
        // string from under itself.
        const std::string title = part->title;
        const ChooserHandler asked = Handler();
        char *answer = nullptr;
        int32_t confirmed = asked.handler(part, title.c_str(), asked.user, &answer);
        std::unique_ptr<char, void (*)(void *)> owned(answer, omsc_HeapFree);
        // A confirmation without a name is no choice at all: the caller would go on with an
        // empty file name.
        if (!confirmed || !answer)
            return 0;
        part->value = answer;
        return 1;
    });
}

OHOST_API const char *ooml_PartValueText(Ooml_Part *part)
{
    static const char *const function = "ooml_PartValueText";
    const char *text = "";
    WithPart(function, part, nullptr, NoMoreArgs, [&] { text = part->value.c_str(); });
    return text;
}

OHOST_API void ooml_FileNameListTypeDefsClear(Ooml_Part *part, Oerr_ErrorReport **err)
{
    WithPart("ooml_FileNameListTypeDefsClear", part, err, NoMoreArgs, [&] { part->typeDefs.clear(); });
}

OHOST_API void ooml_FileNameListTypeDefAdd(Ooml_Part *part, const char *type, int32_t zero, Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_FileNameListTypeDefAdd";
    WithPart(function, part, err, [&] { return LogArgs{LogText(type), LogInt(zero)}; }, [&] {
        if (!type)
            UiReportMissing(err, function, "file type");
        else
            part->typeDefs.emplace_back(type);
    });
}

OHOST_API void ooml_FileNameListTypeDefAddEx(Ooml_Part *part, const char *type, int32_t zero, int32_t a, int32_t b,
                                             int32_t c, Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_FileNameListTypeDefAddEx";
    WithPart(function, part, err, [&] { return LogArgs{LogText(type), LogInt(zero), LogInt(a), LogInt(b), LogInt(c)}; }, [&] {
        if (!type)
            UiReportMissing(err, function, "file type");
        else
            part->typeDefs.emplace_back(type);
    });
}

OHOST_API void ooml_FileNameListTemplateSet(Ooml_Part *part, const char *pattern, Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_FileNameListTemplateSet";
    WithPart(function, part, err, [&] { return LogArgs{LogText(pattern)}; }, [&] { part->nameTemplate = pattern ? pattern : ""; });
}

OHOST_API void ooml_SetValue(Ooml_Part *part, Ooci_Set *set, Oerr_ErrorReport **err)
{
    static const char *const function = "ooml_SetValue";
    // The part takes the set whatever happens, so nothing leaks on a failed call.
    std::unique_ptr<Ooci_Set> owned(set);
    WithPart(function, part, err, [&] { return LogArgs{LogSet(set)}; }, [&] {
        // A null set clears the value.
        part->value = set && !set->texts.empty() ? set->texts.front() : std::string();
    });
}

VMODHOST_API Ooml_Part *vmodhost_ChooserCreate(const char *name)
{
    return UiGuarded(nullptr, "vmodhost_ChooserCreate", static_cast<Ooml_Part *>(nullptr), [&]() -> Ooml_Part * {
        if (!name)
            return nullptr;
        auto part = std::make_unique<Ooml_Part>();
        part->name = name;
        return part.release();
    });
}

VMODHOST_API void vmodhost_ChooserDelete(Ooml_Part *part)
{
    // A frame's part is released with its frame, never on its own.
    if (part && !part->owner)
        delete part;
}

VMODHOST_API void vmodhost_SetChooserHandler(Vmodhost_ChooserHandler handler, void *user)
{
    Handler().handler = handler ? handler : CancelEveryQuery;
    Handler().user = handler ? user : nullptr;
}

VMODHOST_API void vmodhost_GetChooserHandler(Vmodhost_ChooserHandler *handler, void **user)
{
    const ChooserHandler &installed = Handler();
    const bool isDefault = installed.handler == CancelEveryQuery;
    if (handler)
        *handler = isDefault ? nullptr : installed.handler;
    if (user)
        *user = isDefault ? nullptr : installed.user;
}

VMODHOST_API const char *vmodhost_PartName(const Ooml_Part *part)
{
    return part ? part->name.c_str() : nullptr;
}

VMODHOST_API const char *vmodhost_PartTitle(const Ooml_Part *part)
{
    return part ? part->title.c_str() : nullptr;
}

} // extern "C"
