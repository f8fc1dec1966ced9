// check_prompts.cpp - see checks.h.
#include "checks.h"

void check_Prompts(const CheckContext &, ProblemList &, std::vector<PromptRecord> &) {}
