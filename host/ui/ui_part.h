// ui_part.h - the records behind the frame, part, menu and value-set handles.
//
// A frame part (such as the run button) and a file chooser are the same record: a part has
// a name, an enabled state, a title and a current value text, and the chooser settings.
#ifndef VMODHOST_UI_PART_H
#define VMODHOST_UI_PART_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "vmodhost/host_api.h"

struct Ooml_Part {
    std::string name;
    std::string title;
    std::string value;                 // the chosen file name, or the filter given by ooml_SetValue
    int32_t enabled = -1;              // 1 enabled, 0 disabled, -1 never set
    std::vector<std::string> typeDefs; // file types offered by the chooser
    std::string nameTemplate;          // file-name pattern offered by the chooser
    Ooml_Frame *owner = nullptr;       // the frame that owns the part; null for a free-standing chooser
};

struct Ooml_Frame {
    std::vector<std::unique_ptr<Ooml_Part>> parts;
};

struct Ooml_Menu {
    std::map<std::string, int32_t, std::less<>> items; // item name -> 1 enabled, 0 disabled
};

// Value sets hold texts only (kind 2), which is all a chooser filter needs.
enum { OOCI_KIND_TEXT = 2 };

struct Ooci_Member {
    std::string text;
};

struct Ooci_Set {
    std::vector<std::string> texts;
};

// How a part, a frame, a menu, a member and a set appear in the call log.
std::string LogPart(const Ooml_Part *part);
std::string LogFrame(const Ooml_Frame *frame);
std::string LogMenu(const Ooml_Menu *menu);
std::string LogMember(const Ooci_Member *member);
std::string LogSet(const Ooci_Set *set);

#endif
