// coordinates.h - conversions between paper inches and canvas pixels.
#ifndef VMOD_RENDER_COORDINATES_H
#define VMOD_RENDER_COORDINATES_H

#include <cstdint>

namespace vmod {

// Truncation toward zero to int32, as a C cast does, but defined everywhere: values
// beyond the int32 range saturate and NaN gives 0, so absurd coordinates draw off the
// canvas instead of invoking undefined behaviour.
std::int32_t TruncateToInt32(double value);

} // namespace vmod

#endif
