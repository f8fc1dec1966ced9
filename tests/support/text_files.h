// text_files.h - reading and writing a whole file as text in tests.
#ifndef VMOD_TESTS_SUPPORT_TEXT_FILES_H
#define VMOD_TESTS_SUPPORT_TEXT_FILES_H

#include <fstream>
#include <sstream>
#include <string>

inline std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::string &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

#endif
