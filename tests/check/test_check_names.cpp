// test_check_names.cpp - the validator's names checks.
#include "check_support.h"

using namespace checktest;
