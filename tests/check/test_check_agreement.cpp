// test_check_agreement.cpp - the validator's agreement checks.
#include "check_support.h"

using namespace checktest;
