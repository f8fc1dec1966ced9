// check_problems.cpp - the list the checks add to.
#include "check_problems.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kTextBlock = 64 * 1024;
}

void *ProblemText::room(size_t bytes, size_t alignment) {
    if (bytes > kTextBlock / 4) {
        // A long text gets a block of its own, so that little of a block is left unused.
        blocks_.emplace_back(new char[bytes]);
        return blocks_.back().get();
    }
    size_t at = (used_ + alignment - 1) / alignment * alignment;
    if (current_ == nullptr || at + bytes > kTextBlock) {
        blocks_.emplace_back(new char[kTextBlock]);
        current_ = blocks_.back().get();
        at = 0;
    }
    used_ = at + bytes;
    return current_ + at;
}

const char *ProblemText::keep(std::string_view text) {
    char *copy = static_cast<char *>(room(text.size() + 1, 1));
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

const int32_t *ProblemText::keep(const std::vector<int32_t> &ids) {
    if (ids.empty()) return nullptr;
    auto *copy = static_cast<int32_t *>(room(ids.size() * sizeof(int32_t), alignof(int32_t)));
    std::memcpy(copy, ids.data(), ids.size() * sizeof(int32_t));
    return copy;
}

Problem &ProblemList::add(const char *code, Vmodcheck_Severity severity, const std::vector<int32_t> &nodes,
                          std::string message, std::string hint) {
    // Every hint reads the same way: a short imperative in lower case, without a final
    // full stop ("rename it ...", "`vmod script` takes ...").
    if (hint.size() > 1 && hint[0] >= 'A' && hint[0] <= 'Z' && hint[1] >= 'a' && hint[1] <= 'z')
        hint[0] = static_cast<char>(hint[0] - 'A' + 'a');
    if (!hint.empty() && hint.back() == '.') hint.pop_back();
    Problem problem;
    problem.code = code;
    problem.severity = severity;
    problem.nodeCount = static_cast<uint32_t>(nodes.size());
    problem.nodeIds = text_.keep(nodes);
    problem.message = text_.keep(message);
    problem.hint = text_.keep(hint);
    problems_.push_back(problem);
    return problems_.back();
}

size_t ProblemList::errorCount() const {
    return static_cast<size_t>(std::count_if(problems_.begin(), problems_.end(),
                                             [](const Problem &p) { return p.severity == VMODCHECK_ERROR; }));
}

bool ProblemList::has(const std::string &code) const {
    return std::any_of(problems_.begin(), problems_.end(), [&](const Problem &p) { return p.code == code; });
}
