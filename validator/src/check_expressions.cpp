// check_expressions.cpp - see checks.h.
#include "checks.h"

void check_Expressions(const CheckContext &, ProblemList &) {}
