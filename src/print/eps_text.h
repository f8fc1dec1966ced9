// eps_text.h - where the PostScript drawing of a text node puts its text.
#ifndef VMOD_PRINT_EPS_TEXT_H
#define VMOD_PRINT_EPS_TEXT_H

#include "vmod/vmod.h"

namespace vmod::print {

// Paper inches, y downward.
struct TextBox {
    double left, right, top, bottom;
};

// The area a text node's text may cover as vmod_TextPrint draws it: its lines hanging
// from the node, their width estimated generously (the printer chooses the glyphs).
TextBox NoteTextBox(const Vmod_Node &node);

// What vmod_TextPrint writes for a text node; may throw std::bad_alloc, which the
// exported function stops and a whole export reports.
void WriteNoteText(Ofio_File *file, const Vmod_Node *node);

} // namespace vmod::print

#endif
