// check_names.cpp - see checks.h.
#include "checks.h"

void check_Names(const CheckContext &, ProblemList &) {}
