// test_check_data.cpp - the validator's data checks.
#include "check_support.h"

using namespace checktest;
