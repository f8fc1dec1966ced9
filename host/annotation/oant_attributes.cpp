// Attribute lists of the annotation package: code-value pairs read from a call's
// variable arguments by the value types each code takes in that call.
#include <cstring>

#include "oant_internal.h"

namespace anno {

bool readAttributes(va_list args, const std::vector<AttrSpec> &specs, const Oant_Elements *store,
                    std::vector<Attr> &out, int *bad) {
    out.reserve(specs.size());
    // A list longer than any call needs is taken as unterminated.
    for (int guard = 0; guard < 64; ++guard) {
        int code = va_arg(args, int);
        if (code == OANT_END)
            return true;
        const AttrSpec *spec = nullptr;
        for (const AttrSpec &s : specs)
            if (s.code == code)
                spec = &s;
        if (!spec) {
            *bad = code;
            return false;
        }
        // No spec takes more values than an attribute keeps; one that did is refused.
        if (std::strlen(spec->types) > AttrValues::capacity) {
            *bad = code;
            return false;
        }
        Attr &attr = out.emplace_back();
        attr.code = code;
        for (const char *t = spec->types; *t; ++t) {
            AttrValue &value = attr.values[attr.values.count++];
            value.type = *t;
            switch (*t) {
            case 'i':
                value.i = va_arg(args, int);
                break;
            case 'd':
                value.d = va_arg(args, double);
                break;
            case 's': {
                const char *text = va_arg(args, const char *);
                value.nullString = text == nullptr;
                value.s = text ? text : "";
                break;
            }
            case 'b': {
                const Ofga_CoordBlock *block = va_arg(args, const Ofga_CoordBlock *);
                value.handle = block;
                if (block && block->coords && block->dimensions >= 2 && block->count > 0)
                    value.points.reserve(static_cast<size_t>(block->count));
                if (block && block->coords && block->dimensions >= 2)
                    for (int32_t k = 0; k < block->count; ++k)
                        value.points.emplace_back(block->coords[k * block->dimensions],
                                                  block->coords[k * block->dimensions + 1]);
                break;
            }
            case 'e': {
                Oant_Element *head = va_arg(args, Oant_Element *);
                value.handle = head;
                // Only elements of this layer are followed, each once, so a foreign
                // pointer or a damaged chain cannot lead the walk astray. A chain that
                // comes back to an element never ends, so one longer than the layer has
                // elements is the only kind that needs its elements remembered.
                for (Oant_Element *e = head; e && store && isElement(*store, e); e = e->next) {
                    if (value.members.size() == store->count) {
                        value.members.clear();
                        std::unordered_set<const Oant_Element *> seen;
                        for (e = head; e && isElement(*store, e) && seen.insert(e).second; e = e->next)
                            value.members.push_back(e);
                        break;
                    }
                    value.members.push_back(e);
                }
                break;
            }
            }
        }
    }
    *bad = -1;
    return false;
}

std::string formatAttributes(const std::vector<Attr> &attrs) {
    std::string text;
    for (const Attr &attr : attrs) {
        text += "; " + std::to_string(attr.code) + ":";
        bool first = true;
        for (const AttrValue &v : attr.values) {
            text += first ? " " : ", ";
            first = false;
            switch (v.type) {
            case 'i':
                text += std::to_string(v.i);
                break;
            case 'd':
                text += formatDouble(v.d);
                break;
            case 's':
                text += v.nullString ? "null" : quoted(v.s.c_str());
                break;
            case 'b':
            case 'e': {
                text += handleName(v.handle, v.type == 'b' ? "block" : "element") + " [";
                if (v.type == 'b') {
                    for (size_t k = 0; k < v.points.size(); ++k)
                        text += (k ? ", (" : "(") + formatDouble(v.points[k].first) + ", " +
                                formatDouble(v.points[k].second) + ")";
                } else {
                    for (size_t k = 0; k < v.members.size(); ++k)
                        text += (k ? ", " : "") + handleName(v.members[k], "element");
                }
                text += "]";
                break;
            }
            }
        }
    }
    return text;
}

} // namespace anno
