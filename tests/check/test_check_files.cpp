// test_check_files.cpp - the validator's files checks.
#include "check_support.h"

using namespace checktest;
