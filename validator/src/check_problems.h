// check_problems.h - a problem as the checks record it, and the list they add to. Each
// area of checks adds its problems through ProblemList; the severity goes with the code.
#ifndef VMODCHECK_CHECK_PROBLEMS_H
#define VMODCHECK_CHECK_PROBLEMS_H

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "vmodcheck/vmodcheck.h"

struct SourcePlace {
    int32_t line = 0;  // 1-based; 0 when not known
    int32_t column = 0;
};

// The texts and node lists of problems, kept in large blocks: a large model's hundreds
// of thousands of problems cost their bytes, not two or three allocations each. What
// keep returns stays where it is until the store goes.
class ProblemText {
public:
    ProblemText() = default;
    ProblemText(ProblemText &&other) noexcept { *this = std::move(other); }
    ProblemText &operator=(ProblemText &&other) noexcept {
        blocks_ = std::move(other.blocks_);
        current_ = std::exchange(other.current_, nullptr);
        used_ = std::exchange(other.used_, 0);
        return *this;
    }

    const char *keep(std::string_view text);              // with a final NUL
    const int32_t *keep(const std::vector<int32_t> &ids); // null for none

private:
    void *room(size_t bytes, size_t alignment);
    std::vector<std::unique_ptr<char[]>> blocks_;
    char *current_ = nullptr; // the block being filled, used_ bytes of it
    size_t used_ = 0;
};

struct Problem {
    std::string_view code; // a literal
    Vmodcheck_Severity severity = VMODCHECK_ERROR;
    uint32_t nodeCount = 0;
    const int32_t *nodeIds = nullptr; // in the list's ProblemText
    const char *message = "";
    const char *hint = "";
    SourcePlace place;

    // The nodes it concerns.
    struct Ids {
        const int32_t *first, *last;
        const int32_t *begin() const { return first; }
        const int32_t *end() const { return last; }
    };
    Ids nodes() const { return {nodeIds, nodeIds + nodeCount}; }
};

class ProblemList {
public:
    // Adds a problem; returns it so that a check can set its place.
    Problem &add(const char *code, Vmodcheck_Severity severity, const std::vector<int32_t> &nodes,
                 std::string message, std::string hint);
    Problem &error(const char *code, const std::vector<int32_t> &nodes, std::string message, std::string hint) {
        return add(code, VMODCHECK_ERROR, nodes, std::move(message), std::move(hint));
    }
    Problem &warning(const char *code, const std::vector<int32_t> &nodes, std::string message, std::string hint) {
        return add(code, VMODCHECK_WARNING, nodes, std::move(message), std::move(hint));
    }
    Problem &info(const char *code, const std::vector<int32_t> &nodes, std::string message, std::string hint) {
        return add(code, VMODCHECK_INFO, nodes, std::move(message), std::move(hint));
    }

    // In the order added; a deque grows a block at a time, so a large model's problems
    // are never copied into a buffer twice their size, and each stays where it is.
    const std::deque<Problem> &all() const { return problems_; }
    size_t errorCount() const;
    bool has(const std::string &code) const;

private:
    std::deque<Problem> problems_;
    ProblemText text_;
};

#endif
