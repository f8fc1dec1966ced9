// printer_model.h - the printer output for a chosen set of pages, which vmod_ModelPrint
// uses for a range and the vmod tool for the pages that hold something.
#ifndef VMOD_PRINT_PRINTER_MODEL_H
#define VMOD_PRINT_PRINTER_MODEL_H

#include <cstdint>
#include <vector>

#include "vmod/vmod_records.h"

namespace vmod::print {

// Prints pages (page numbers of the grid, in the order given) of model as one document on
// the printer the host hands out; with the model's page numbers on, each page is labelled
// "(Page p of labelLast)". Nothing happens without a printer.
void ModelPrintPages(Vmod_Model &model, const std::vector<std::int32_t> &pages, std::int32_t labelLast);

} // namespace vmod::print

#endif
