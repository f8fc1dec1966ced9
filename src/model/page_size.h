// page_size.h - the model's page size in inches. The page size keeps the unit the file
// gave (PAGESIZE ... CENTIMETERS), so everything that lays the diagram out on paper
// converts it here; every other unit value counts as inches.
#ifndef VMOD_MODEL_PAGE_SIZE_H
#define VMOD_MODEL_PAGE_SIZE_H

#include "vmod/vmod_records.h"

namespace vmod {

inline constexpr double kCentimetresPerInch = 2.54;

inline double PageWidthInches(const Vmod_Model &model) {
    const double width = model.pageWidth;
    return model.pageUnits == VMOD_PAGE_CENTIMETERS ? width / kCentimetresPerInch : width;
}

inline double PageHeightInches(const Vmod_Model &model) {
    const double height = model.pageHeight;
    return model.pageUnits == VMOD_PAGE_CENTIMETERS ? height / kCentimetresPerInch : height;
}

} // namespace vmod

#endif
