// check_problems.cpp - the list the checks add to.
#include "check_problems.h"

#include <algorithm>

Problem &ProblemList::add(const char *code, Vmodcheck_Severity severity, std::vector<int32_t> nodes,
                          std::string message, std::string hint) {
    Problem problem;
    problem.code = code;
    problem.severity = severity;
    problem.nodes = std::move(nodes);
    problem.message = std::move(message);
    problem.hint = std::move(hint);
    // Every hint reads the same way: a short imperative in lower case, without a final
    // full stop ("rename it ...", "`vmod script` takes ...").
    if (problem.hint.size() > 1 && problem.hint[0] >= 'A' && problem.hint[0] <= 'Z' && problem.hint[1] >= 'a' &&
        problem.hint[1] <= 'z')
        problem.hint[0] = static_cast<char>(problem.hint[0] - 'A' + 'a');
    if (!problem.hint.empty() && problem.hint.back() == '.') problem.hint.pop_back();
    // Texts built piece by piece keep up to twice their length; a large model's problems
    // are kept until the report goes, so each keeps only what it holds.
    problem.message.shrink_to_fit();
    problem.hint.shrink_to_fit();
    problems_.push_back(std::move(problem));
    return problems_.back();
}

size_t ProblemList::errorCount() const {
    return static_cast<size_t>(std::count_if(problems_.begin(), problems_.end(),
                                             [](const Problem &p) { return p.severity == VMODCHECK_ERROR; }));
}

bool ProblemList::has(const std::string &code) const {
    return std::any_of(problems_.begin(), problems_.end(), [&](const Problem &p) { return p.code == code; });
}
