// Models shared by the printing tests, each built the way the front end would.
#ifndef VMOD_TEST_PRINT_MODELS_H
#define VMOD_TEST_PRINT_MODELS_H

#include "test_print_support.h"

namespace print_models {

inline char kTimes[] = "times";
inline char kHelvetica[] = "helvetica";
inline char kSymbol[] = "symbol";
inline char kCharter[] = "charter";
inline char kSchoolbook[] = "new century schoolbook";
inline char kOther[] = "palatino";

// Every kind, titled and untitled, with arrows, an escaped title and text nodes in each
// family and style.
inline void BuildAllKinds(PrintModel &m) {
    m.model.fileName = ostr_Duplicate("models/all_kinds.gmd");
    Vmod_Node *raster = m.at(VMOD_RASTER, 1, 1.5, 1.5, "Input");
    Vmod_Node *vector = m.at(VMOD_VECTOR, 2, 1.5, 3.5, "Roads");
    Vmod_Node *matrix = m.at(VMOD_MATRIX, 3, 1.5, 5.5);
    Vmod_Node *function = m.at(VMOD_FUNCTION, 4, 4, 2.5, "a(b)\\c");
    Vmod_Node *criteria = m.at(VMOD_CRITERIA, 5, 4, 5.5, "Suitable");
    Vmod_Node *table = m.at(VMOD_TABLE, 6, 6.5, 1.5, "Lookup");
    Vmod_Node *scalar = m.at(VMOD_SCALAR, 7, 6.5, 3.5);
    Vmod_Node *output = m.at(VMOD_RASTER, 8, 6.5, 5.5, "Output 0.25");
    m.arrow(raster, function);
    m.arrow(vector, function);
    m.arrow(matrix, criteria);
    m.arrow(function, criteria);
    m.arrow(table, function);
    m.arrow(scalar, function);
    m.arrow(criteria, output);
    m.text(9, 2, 7.25, "Times bold", kTimes, 14, 1);
    m.text(10, 4.25, 7.25, "Helvetica (italic)", kHelvetica, 12, 2);
    m.text(11, 6.5, 7.25, "Symbol abc", kSymbol, 16, 3);
    m.text(12, 2, 8.25, "Charter underlined", kCharter, 10, 4);
    m.text(13, 4.25, 8.25, "Schoolbook all", kSchoolbook, 12, 7);
    m.text(14, 6.5, 8.25, "Courier fallback", kOther, 12, 6);
    m.text(15, 4.25, 9, nullptr, nullptr, 18, 0);
}

inline void BuildOneRaster(PrintModel &m) {
    m.model.fileName = ostr_Duplicate("models/one_raster.gmd");
    m.at(VMOD_RASTER, 1, 3, 2);
}

inline void BuildEmpty(PrintModel &m) { m.model.fileName = ostr_Duplicate("models/empty.gmd"); }

// A chain far from the page's origin, with nodes beyond the model page.
inline void BuildWide(PrintModel &m) {
    m.model.fileName = ostr_Duplicate("models/wide.gmd");
    m.model.pageWidth = 15;
    m.chain({m.at(VMOD_SCALAR, 1, 9.25, 12.5, "Rate"), m.at(VMOD_FUNCTION, 2, 12.75, 12.5, "$n1 * 2"),
             m.at(VMOD_SCALAR, 3, 12.75, 14.75, "Doubled")});
}

} // namespace print_models

#endif
