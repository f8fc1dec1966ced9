// check_graph.cpp - see checks.h.
#include "checks.h"

void check_Graph(const CheckContext &, ProblemList &) {}
