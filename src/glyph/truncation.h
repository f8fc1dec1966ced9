// truncation.h - drawing coordinates as int32, the arithmetic every back end shares.
#ifndef VMOD_GLYPH_TRUNCATION_H
#define VMOD_GLYPH_TRUNCATION_H

#include <cstdint>

namespace vmod {

// Truncation toward zero to int32, as a C cast does, but defined everywhere: values
// beyond the int32 range saturate and NaN gives 0, so absurd coordinates draw off the
// canvas instead of invoking undefined behaviour.
std::int32_t TruncateToInt32(double value);

} // namespace vmod

#endif
