// test_check_layout.cpp - the validator's layout checks.
#include "check_support.h"

using namespace checktest;
