// oant_number.h - numbers of the annotation layer's SVG document as text, the same in
// every locale and exactly as printf's "%.10g" writes them.
#ifndef VMODHOST_OANT_NUMBER_H
#define VMODHOST_OANT_NUMBER_H

#include <string>

namespace anno {

// Appends value to out as "%.10g" would write it in the "C" locale ("-0", "inf" and
// "nan" included).
void appendNumber(std::string &out, double value);

} // namespace anno

#endif
