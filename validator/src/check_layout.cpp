// check_layout.cpp - see checks.h.
#include "checks.h"

void check_Layout(const CheckContext &, ProblemList &, int32_t &pages) { pages = -1; }
