// script_header.cpp - header settings. A mode or unit value that the language has no word
// for adds nothing after what is already written.
#include "script/script_header.h"

#include <cstring>
#include <string>

#include "vmodhost/ofio.h"
#include "script/script_clauses.h"

namespace {

// A note may hold several lines: each becomes a comment line of its own, so that no line
// of the note is read as a statement. A carriage return, alone or before a line feed,
// ends a line as well: a reader may take it for one.
void writeNote(Ofio_File *file, const char *text) {
    const char *line = script_Text(text);
    for (;;) {
        const char *end = std::strpbrk(line, "\r\n");
        if (end == nullptr) {
            ofio_Fprintf(file, "# %s\n", line);
            return;
        }
        std::string part(line, static_cast<size_t>(end - line));
        ofio_Fprintf(file, "# %s\n", part.c_str());
        line = end[0] == '\r' && end[1] == '\n' ? end + 2 : end + 1;
    }
}

void writeCellSize(Ofio_File *file, const Vmod_Model *model) {
    ofio_Fprintf(file, "SET CELLSIZE");
    switch (model->cellSizeMode) {
    case VMOD_CELLSIZE_MINIMUM:
        ofio_Fprintf(file, " MIN;\n");
        break;
    case VMOD_CELLSIZE_MAXIMUM:
        ofio_Fprintf(file, " MAX;\n");
        break;
    case VMOD_CELLSIZE_GIVEN:
        if (script_WriteCellSize(file, static_cast<double>(model->cellSizeX), static_cast<double>(model->cellSizeY),
                                 model->cellSizeUnits)) {
            ofio_Fprintf(file, ";\n");
        }
        break;
    default:
        break;
    }
}

void writeWindow(Ofio_File *file, const Vmod_Model *model) {
    ofio_Fprintf(file, "SET WINDOW");
    switch (model->windowMode) {
    case VMOD_WINDOW_UNION:
        ofio_Fprintf(file, " UNION;\n");
        break;
    case VMOD_WINDOW_INTERSECTION:
        ofio_Fprintf(file, " INTERSECTION;\n");
        break;
    case VMOD_WINDOW_GIVEN: {
        // A given window without its rectangle is the empty rectangle at the origin.
        const Vmod_Rect empty{};
        script_WriteRect(file, model->window != nullptr ? *model->window : empty);
        if (model->windowUnits == VMOD_COORDS_MAP) {
            ofio_Fprintf(file, " MAP;\n");
        } else if (model->windowUnits == VMOD_COORDS_PIXEL) {
            ofio_Fprintf(file, " PIXEL;\n");
        }
        break;
    }
    default:
        break;
    }
}

void writeAreaOfInterest(Ofio_File *file, const Vmod_Model *model) {
    ofio_Fprintf(file, "SET AOI");
    if (script_WriteAreaOfInterest(file, model->aoiMode, model->aoiFile)) {
        ofio_Fprintf(file, ";\n");
    }
}

} // namespace

void script_WriteHeader(ScriptContext &context) {
    Ofio_File *file = context.file;
    const Vmod_Model *model = context.model;
    ofio_Fprintf(file, "COMMENT \"Generated from graphical model: %s\";\n", script_Text(model->fileName));
    for (const Vmod_Node *node = model->nodes; node != nullptr; node = node->next) {
        if (node->type == VMOD_TEXT) {
            writeNote(file, node->title);
        }
    }
    script_Banner(context, "set cell size for the model");
    writeCellSize(file, model);
    script_Banner(context, "set window for the model");
    writeWindow(file, model);
    if (model->projectionMode == VMOD_PROJECTION_SPECIFIED) {
        script_Banner(context, "set output projection for the model");
        ofio_Fprintf(file, "SET PROJECTION");
        ofio_Fprintf(file, " \"%s\" \"%s\";\n", script_Text(model->projectionSpec1),
                     script_Text(model->projectionSpec2));
    }
    script_Banner(context, "set area of interest for the model");
    writeAreaOfInterest(file, model);
}

void script_WriteProjectionSameAs(ScriptContext &context) {
    if (context.model->projectionMode != VMOD_PROJECTION_SAME_AS) {
        return;
    }
    script_Banner(context, "set output projection for the model");
    ofio_Fprintf(context.file, "SET PROJECTION USING");
    ofio_Fprintf(context.file, " %s;\n", script_Text(context.model->projectionSameAs));
}
