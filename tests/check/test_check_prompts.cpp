// test_check_prompts.cpp - the validator's prompts checks.
#include "check_support.h"

using namespace checktest;
