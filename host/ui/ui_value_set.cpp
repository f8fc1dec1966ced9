// ui_value_set.cpp - one-member value sets of texts, which choosers take as their filter.
#include <memory>

#include "call_log.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ooml.h"
#include "ui_part.h"
#include "ui_report.h"

std::string LogMember(const Ooci_Member *member)
{
    return member ? LogText(member->text.c_str()) : std::string("NULL");
}

std::string LogSet(const Ooci_Set *set)
{
    if (!set)
        return "NULL";
    std::string out = "{";
    for (size_t i = 0; i < set->texts.size(); ++i) {
        if (i)
            out += ", ";
        out += LogText(set->texts[i].c_str());
    }
    out += '}';
    return out;
}

extern "C" {

// The member takes the heap string *value and clears the caller's pointer, so a caller that
// frees its copy afterwards (as the generator does) frees null instead of the member's text.
OHOST_API Ooci_Member *ooci_NewMember(int32_t kind, void *value)
{
    static const char *const function = "ooci_NewMember";
    return UiGuarded(nullptr, function, static_cast<Ooci_Member *>(nullptr), [&]() -> Ooci_Member * {
        char **text = static_cast<char **>(value);
        if (CallLogOn()) {
            std::string shown = kind != OOCI_KIND_TEXT ? std::string("?") : LogText(text ? *text : nullptr);
            CallLogAdd(function, {LogInt(kind), shown});
        }
        if (kind != OOCI_KIND_TEXT || !text || !*text)
            return nullptr;
        auto member = new Ooci_Member{std::string(*text)};
        omsc_HeapFree(*text);
        *text = nullptr;
        return member;
    });
}

OHOST_API Ooci_Set *ooci_NewSet(int32_t kind, Ooci_Member *member)
{
    static const char *const function = "ooci_NewSet";
    std::unique_ptr<Ooci_Member> owned(member);
    return UiGuarded(nullptr, function, static_cast<Ooci_Set *>(nullptr), [&]() -> Ooci_Set * {
        if (CallLogOn())
            CallLogAdd(function, {LogInt(kind), LogMember(member)});
        if (kind != OOCI_KIND_TEXT || !member)
            return nullptr;
        auto set = std::make_unique<Ooci_Set>();
        set->texts.push_back(std::move(owned->text));
        return set.release();
    });
}

} // extern "C"
