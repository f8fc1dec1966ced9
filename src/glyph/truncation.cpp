// Truncation of drawing coordinates to int32, defined for every double.
#include "glyph/truncation.h"

#include <cmath>
#include <limits>

namespace vmod {

std::int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

} // namespace vmod
