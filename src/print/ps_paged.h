// ps_paged.h - the document structure of a paged PostScript print around what
// vmod_HeaderPrint and the picture procedure write: the end of the prologue and the
// setup (the sheet the model's printer page names), one page, the trailer.
#ifndef VMOD_PRINT_PS_PAGED_H
#define VMOD_PRINT_PS_PAGED_H

#include <cstdint>

#include "vmodhost/ofio.h"
#include "vmod/vmod_records.h"

namespace vmod::print {

// After the procedures: ends the prologue and asks the device for the model's sheet.
void WritePagedSetup(Ofio_File *file, const Vmod_Model &model);
// One page: its grid number as its label, its place in the document (from 1), and the
// "printpage" of the procedure "picture" at column and row (from 1).
void WritePagedPage(Ofio_File *file, std::int32_t page, std::int32_t ordinal, std::int32_t column, std::int32_t row);
// The trailer with the number of pages written, and the end of the document.
void WritePagedTrailer(Ofio_File *file, std::int32_t pages);

} // namespace vmod::print

#endif
