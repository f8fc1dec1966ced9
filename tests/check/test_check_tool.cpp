// test_check_tool.cpp - the validator's tool checks.
#include "check_support.h"

using namespace checktest;
