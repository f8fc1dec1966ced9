// printer_model.h - the printer output for a chosen set of pages, which vmod_ModelPrint
// uses for a range and the front-end kit for chosen pages (those that hold something).
#ifndef VMOD_PRINT_PRINTER_MODEL_H
#define VMOD_PRINT_PRINTER_MODEL_H

#include <cstdint>
#include <vector>

#include "vmod/vmod_records.h"

namespace vmod::print {

// Prints pages (page numbers of the grid, in the order given) of model as one document on
// the printer the host hands out; with the model's page numbers on, each page is labelled
// "(Page p of labelLast)". Nothing happens without a printer. True when the printer
// started and finished the document and every page; false without a printer, or when it
// refused or failed one of them (vmod_ModelPrint keeps quiet about it; a front end that
// prints through the kit is told).
bool ModelPrintPages(Vmod_Model &model, const std::vector<std::int32_t> &pages, std::int32_t labelLast);

} // namespace vmod::print

#endif
