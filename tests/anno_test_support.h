// Shared by the annotation tests: a scratch directory, the export run with the host's
// call record on, and a small reader for the SVG documents the host writes.
#ifndef VMOD_TEST_ANNO_SUPPORT_H
#define VMOD_TEST_ANNO_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "vmodhost/oerr.h"
#include "test_model_support.h"
#include "vmodhost/vmodhost_anno.h"

// A fresh directory under the system's temporary one, removed with everything in it.
struct ScratchDir {
    std::filesystem::path path;
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vmod_anno_XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        path = mkdtemp(buffer.data());
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const char *name) const { return (path / name).string(); }
    size_t entries() const {
        size_t n = 0;
        for ([[maybe_unused]] auto &e : std::filesystem::directory_iterator(path)) ++n;
        return n;
    }
};

// A report slot that releases what it holds.
struct ReportSlot {
    Oerr_ErrorReport *report = nullptr;
    ~ReportSlot() { oerr_DeleteErrorReportEx(&report); }
};

// Runs the export of model into path with the call record on; the record's lines.
inline std::vector<std::string> recordExport(Vmod_Model *model, const std::string &path, Oerr_ErrorReport **report) {
    vmodhost_AnnoRecord(1);
    vmod_ModelAnno(model, path.c_str(), report);
    vmodhost_AnnoRecord(0);
    std::vector<std::string> lines;
    for (size_t i = 0; i < vmodhost_AnnoRecordCount(); ++i) lines.push_back(vmodhost_AnnoRecordLine(i));
    return lines;
}

// The lines of record that start with prefix, in order.
inline std::vector<std::string> linesStarting(const std::vector<std::string> &record, const std::string &prefix) {
    std::vector<std::string> found;
    for (const std::string &line : record)
        if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    return found;
}

inline std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// True when xmllint finds path well-formed, or when xmllint is not installed.
inline bool wellFormed(const std::string &path) {
    if (std::system("command -v xmllint >/dev/null 2>&1") != 0) return true;
    std::string command = "xmllint --noout '" + path + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

// ---- a small XML reader: elements, attributes, character data, the five entities and
// numeric references; enough for the documents the host writes. ----

struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
    std::vector<std::unique_ptr<XmlElement>> children;

    std::string attr(const std::string &key) const {
        auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
    double number(const std::string &key) const { return std::stod(attr(key)); }
    // Every element below this one (depth first) named `tag`.
    void collect(const std::string &tag, std::vector<const XmlElement *> &out) const {
        for (const auto &child : children) {
            if (child->name == tag) out.push_back(child.get());
            child->collect(tag, out);
        }
    }
    std::vector<const XmlElement *> all(const std::string &tag) const {
        std::vector<const XmlElement *> out;
        collect(tag, out);
        return out;
    }
};

class XmlReader {
public:
    explicit XmlReader(std::string text) : s_(std::move(text)) {}

    std::unique_ptr<XmlElement> document() {
        skipProlog();
        return element();
    }

private:
    std::string s_;
    size_t p_ = 0;

    void skipSpace() {
        while (p_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[p_]))) ++p_;
    }
    void skipProlog() {
        for (;;) {
            skipSpace();
            if (s_.compare(p_, 2, "<?") == 0) p_ = s_.find("?>", p_) + 2;
            else if (s_.compare(p_, 4, "<!--") == 0) p_ = s_.find("-->", p_) + 3;
            else return;
        }
    }
    static void appendUtf8(std::string &out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    std::string decode(const std::string &raw) {
        std::string out;
        for (size_t k = 0; k < raw.size(); ++k) {
            if (raw[k] != '&') {
                out += raw[k];
                continue;
            }
            size_t end = raw.find(';', k);
            std::string name = raw.substr(k + 1, end - k - 1);
            if (name == "amp") out += '&';
            else if (name == "lt") out += '<';
            else if (name == "gt") out += '>';
            else if (name == "quot") out += '"';
            else if (name == "apos") out += '\'';
            else if (name[0] == '#')
                appendUtf8(out, name[1] == 'x' ? std::stoul(name.substr(2), nullptr, 16) : std::stoul(name.substr(1)));
            k = end;
        }
        return out;
    }
    std::unique_ptr<XmlElement> element() {
        auto e = std::make_unique<XmlElement>();
        ++p_; // '<'
        size_t start = p_;
        while (p_ < s_.size() && !std::isspace(static_cast<unsigned char>(s_[p_])) && s_[p_] != '>' && s_[p_] != '/')
            ++p_;
        e->name = s_.substr(start, p_ - start);
        for (;;) {
            skipSpace();
            if (s_.compare(p_, 2, "/>") == 0) {
                p_ += 2;
                return e;
            }
            if (s_[p_] == '>') {
                ++p_;
                break;
            }
            size_t eq = s_.find('=', p_);
            std::string key = s_.substr(p_, eq - p_);
            char quote = s_[eq + 1];
            size_t close = s_.find(quote, eq + 2);
            e->attributes[key] = decode(s_.substr(eq + 2, close - eq - 2));
            p_ = close + 1;
        }
        for (;;) {
            size_t lt = s_.find('<', p_);
            e->text += decode(s_.substr(p_, lt - p_));
            p_ = lt;
            if (s_.compare(p_, 2, "</") == 0) {
                p_ = s_.find('>', p_) + 1;
                return e;
            }
            if (s_.compare(p_, 4, "<!--") == 0) {
                p_ = s_.find("-->", p_) + 3;
                continue;
            }
            e->children.push_back(element());
        }
    }
};

inline std::unique_ptr<XmlElement> readSvg(const std::string &path) { return XmlReader(readFile(path)).document(); }

// The points of every polyline in the document, in document order.
inline std::vector<std::string> polylinePoints(const XmlElement &svg) {
    std::vector<std::string> points;
    for (const XmlElement *line : svg.all("polyline")) points.push_back(line->attr("points"));
    return points;
}

#endif
