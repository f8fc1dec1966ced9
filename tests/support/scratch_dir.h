// scratch_dir.h - a private directory for one test, removed with everything in it.
#ifndef VMOD_TESTS_SUPPORT_SCRATCH_DIR_H
#define VMOD_TESTS_SUPPORT_SCRATCH_DIR_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace vmodtest {

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vmodtest-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }
    // The names of the entries of the directory, hidden ones included.
    std::set<std::string> entries(const std::string &sub = "") const {
        std::set<std::string> names;
        std::error_code ignored;
        for (const auto &entry : std::filesystem::directory_iterator(sub.empty() ? path_ : file(sub), ignored))
            names.insert(entry.path().filename().string());
        return names;
    }

private:
    std::string path_;
};

inline bool readWholeFile(const std::string &path, std::string &text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

inline std::string wholeFile(const std::string &path) {
    std::string text;
    readWholeFile(path, text);
    return text;
}

inline void writeWholeFile(const std::string &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

} // namespace vmodtest

#endif
