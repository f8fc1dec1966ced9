// check_data.cpp - see checks.h.
#include "checks.h"

void check_Data(const CheckContext &, ProblemList &) {}
