// test_check_expressions.cpp - the validator's expressions checks.
#include "check_support.h"

using namespace checktest;
