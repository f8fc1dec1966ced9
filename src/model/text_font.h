/* text_font.h - who owns a text node's font name.

   A text node made by vmod_NodeCreate shares the model's textFont pointer: the model's
   owner keeps that string, and releasing the node must not touch it. A duplicated text
   node, or one whose FONT the file reader sets, owns its own copy. The payload record is
   shared with the front end and has no room for an ownership mark, and a font pointer
   alone cannot tell whose it is, so the library keeps a private table from each text
   payload to the font string that payload owns. A text node's font is released only
   when its payload is in the table with that very font pointer; a node whose font the
   front end has since replaced keeps the front end's string untouched.

   Why a process-wide table behind a lock, and not a mark in the node: the records'
   layout is fixed, the model is not reachable from a node (vmod_NodesDelete and
   vmod_NodesSelDel release nodes without it), and hidden bytes after the payload record
   would be read out of bounds in a payload the front end built itself. Models may live
   on different threads, so the table takes a lock; vmod.h says so. */
#ifndef VMOD_MODEL_TEXT_FONT_H
#define VMOD_MODEL_TEXT_FONT_H

#include "vmod/vmod.h"

/* Gives the text payload `text` the heap string `font` as its own font, releasing the
   font it owned before. The reader calls this for a FONT statement. */
void model_TextFontAdopt(Vmod_TextData *text, char *font);
/* Nonzero when text owns its current font. */
int model_TextFontOwned(const Vmod_TextData *text);
/* Releases the font that text owns (if it owns its current one) and forgets the payload;
   called when the payload is released. */
void model_TextFontRelease(Vmod_TextData *text);
/* Forgets whatever was recorded for this payload address without releasing anything;
   used when a new payload is made at an address that may have been used before. */
void model_TextFontForget(const Vmod_TextData *text);

#endif
