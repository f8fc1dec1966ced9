// cairo_support.h - tests that draw real pixels or PDF pages need a host with Cairo; in a
// build without it (VMOD_CAIRO off, e.g. the 32-bit one) they skip and say why.
#ifndef VMOD_TESTS_SUPPORT_CAIRO_SUPPORT_H
#define VMOD_TESTS_SUPPORT_CAIRO_SUPPORT_H

#include <gtest/gtest.h>

#include "vmodhost/vmodhost.h"

#define VMOD_SKIP_WITHOUT_CAIRO()                                                                          \
    if (!vmodhost_HasCairo()) GTEST_SKIP() << "the host was built without Cairo"

#endif
