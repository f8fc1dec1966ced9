// check_problems.h - a problem as the checks record it, and the list they add to. Each
// area of checks adds its problems through ProblemList; the severity goes with the code.
#ifndef VMODCHECK_CHECK_PROBLEMS_H
#define VMODCHECK_CHECK_PROBLEMS_H

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "vmodcheck/vmodcheck.h"

struct SourcePlace {
    int32_t line = 0;  // 1-based; 0 when not known
    int32_t column = 0;
};

struct Problem {
    std::string code;
    Vmodcheck_Severity severity = VMODCHECK_ERROR;
    std::vector<int32_t> nodes;
    std::string message;
    std::string hint;
    SourcePlace place;
};

class ProblemList {
public:
    // Adds a problem; returns it so that a check can set its place.
    Problem &add(const char *code, Vmodcheck_Severity severity, std::vector<int32_t> nodes, std::string message,
                 std::string hint);
    Problem &error(const char *code, std::vector<int32_t> nodes, std::string message, std::string hint) {
        return add(code, VMODCHECK_ERROR, std::move(nodes), std::move(message), std::move(hint));
    }
    Problem &warning(const char *code, std::vector<int32_t> nodes, std::string message, std::string hint) {
        return add(code, VMODCHECK_WARNING, std::move(nodes), std::move(message), std::move(hint));
    }
    Problem &info(const char *code, std::vector<int32_t> nodes, std::string message, std::string hint) {
        return add(code, VMODCHECK_INFO, std::move(nodes), std::move(message), std::move(hint));
    }

    const std::deque<Problem> &all() const { return problems_; }
    // Hands the problems over, leaving the list empty.
    std::deque<Problem> take() { return std::move(problems_); }
    size_t errorCount() const;
    bool has(const std::string &code) const;

private:
    // A deque grows a block at a time: a large model's hundreds of thousands of problems
    // are never copied into a buffer twice their size.
    std::deque<Problem> problems_;
};

#endif
