// The node blocks of the model file.
//
// Every block is the opening line, ID, TITLE (when titled), POSITION, the kind's own
// statements, CHILD (when the node has children; never for text) and "}". The kind's
// statements follow a fixed order, and most are written only under a condition on the
// payload, so that a field that does not apply is left out and reads back as the
// default a new node has.
//
// The file must read back. Wherever the format cannot carry a value - a string ending
// in a backslash, an enumeration value without a word where the statement needs one to
// end, a list size the reader rejects, a second output of an operation - the checking
// walk records a problem and the model is refused before anything is written.
// Empty lists have no written form: their statement is left out, which reads back the
// same. A missing array of a positive size is written as zeros or empty strings, which
// is what the reader gives for the sized array.
#include "file/block_writers.h"

#include <string>

#include "file/format_words.h"

namespace {

void openBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    out.node = node;
    VMOD_PUT(out, "%s {\n\tID %d;\n", file_FormatWord(file_BlockWords, node->type), node->id);
    if (node->title != nullptr) VMOD_PUT(out, "\tTITLE \"%s\";\n", file_OutputString(out, node->title, "TITLE"));
    VMOD_PUT(out, "\tPOSITION %g, %g;\n", node->x, node->y);
}

void putChildLine(Vmod_ModelOutput &out, const Vmod_Node *node) {
    if (node->children == nullptr) return;
    VMOD_PUT(out, "\tCHILD ");
    for (const Vmod_Link *link = node->children; link != nullptr; link = link->next)
        VMOD_PUT(out, link->next != nullptr ? "%d, " : "%d;\n", link->id);
}

void closeBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    putChildLine(out, node);
    VMOD_PUT(out, "}\n");
}

// An operation's block carries one CHILD identifier at most: its output.
void closeOperationBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    int32_t children = 0;
    for (const Vmod_Link *link = node->children; link != nullptr; link = link->next) ++children;
    if (children > 1)
        file_OutputRefuse(out, std::to_string(children) +
                                   " children, but a model file gives an operation one output at most");
    closeBlock(out, node);
}

// "\tKEYWORD WORD;\n" with the word of value; nothing when value has no word.
void putWordStatement(Vmod_ModelOutput &out, const char *keyword, const Vmod_FormatWords &words,
                      int32_t value) {
    if (const char *word = file_FormatWord(words, value)) VMOD_PUT(out, "\t%s %s;\n", keyword, word);
}

// Items of a number list that are not its last, each followed by ", ". Several go
// through one formatted write: lists are most of a large file.
void putDoubleItems(Vmod_ModelOutput &out, const double *values, int64_t count) {
    int64_t i = 0;
    if (values == nullptr) {
        for (; i < count; ++i) VMOD_PUT(out, "0, ");
        return;
    }
    for (; i + 4 <= count; i += 4)
        VMOD_PUT(out, "%.16g, %.16g, %.16g, %.16g, ", values[i], values[i + 1], values[i + 2], values[i + 3]);
    for (; i < count; ++i) VMOD_PUT(out, "%.16g, ", values[i]);
}

void putPromptLine(Vmod_ModelOutput &out, const char *promptText) {
    if (promptText != nullptr)
        VMOD_PUT(out, "\tPROMPT \"%s\";\n", file_OutputString(out, promptText, "PROMPT"));
    else
        VMOD_PUT(out, "\tPROMPT;\n");
}

// READ or WRITE: a prompted file is named at run time, so its name is not written. A
// missing name is written as the bare statement, which reads back without one.
void putFileStatement(Vmod_ModelOutput &out, const char *keyword, int32_t prompt, const char *promptText,
                      const char *fileName) {
    if (prompt) {
        VMOD_PUT(out, "\t%s;\n", keyword);
        putPromptLine(out, promptText);
    } else if (fileName != nullptr) {
        VMOD_PUT(out, "\t%s \"%s\";\n", keyword, file_OutputString(out, fileName, keyword));
    } else {
        VMOD_PUT(out, "\t%s;\n", keyword);
    }
}

void putAoiStatement(Vmod_ModelOutput &out, int32_t aoiMode, const char *aoiFile) {
    switch (aoiMode) {
    case VMOD_AOI_NONE: VMOD_PUT(out, "\tAOI NONE;\n"); break;
    case VMOD_AOI_DEFAULT: VMOD_PUT(out, "\tAOI DEFAULT;\n"); break;
    case VMOD_AOI_FILE: VMOD_PUT(out, "\tAOI \"%s\";\n", file_OutputString(out, aoiFile, "AOI")); break;
    default: file_OutputRefuse(out, "AOI " + std::to_string(aoiMode) + " has no word in a model file");
    }
}

void putRecodeStatements(Vmod_ModelOutput &out, int32_t recode, int32_t numClasses, const int32_t *newClasses) {
    if (!recode) {
        VMOD_PUT(out, "\tRECODE NO;\n");
        return;
    }
    if (!file_OutputCheckSize(out, "NUMCLASSES", numClasses)) return;
    VMOD_PUT(out, "\tRECODE YES;\n");
    VMOD_PUT(out, "\tNUMCLASSES %ld;\n", static_cast<long>(numClasses));
    if (numClasses == 0) return;
    VMOD_PUT(out, "\tNEWCLASSES");
    auto classAt = [newClasses](int32_t i) { return static_cast<long>(newClasses != nullptr ? newClasses[i] : 0); };
    int32_t i = 0;
    for (; i + 4 < numClasses; i += 4)
        VMOD_PUT(out, " %ld, %ld, %ld, %ld,", classAt(i), classAt(i + 1), classAt(i + 2), classAt(i + 3));
    for (; i < numClasses; ++i) VMOD_PUT(out, i < numClasses - 1 ? " %ld," : " %ld;\n", classAt(i));
}

void putRectNumbers(Vmod_ModelOutput &out, const Vmod_Rect *rect) {
    VMOD_PUT(out, " %.16g,", rect->x1);
    VMOD_PUT(out, " %.16g :", rect->y1);
    VMOD_PUT(out, " %.16g,", rect->x2);
}

} // namespace

void putRasterBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    openBlock(out, node);
    if (const auto *r = static_cast<const Vmod_RasterData *>(node->data)) {
        if (r->prompt) putPromptLine(out, r->promptText);
        if (!r->prompt && r->tempFile) VMOD_PUT(out, "\tTEMPFILE;\n");
        if (!r->prompt && !r->tempFile && r->fileName != nullptr)
            VMOD_PUT(out, "\tFILENAME \"%s\";\n", file_OutputString(out, r->fileName, "FILENAME"));
        if (r->newFile && r->deleteFile) VMOD_PUT(out, "\tDELETEFILE;\n");
        if (r->newFile && !r->deleteFile) VMOD_PUT(out, "\tNEWFILE;\n");
        if (r->ignoreSet) VMOD_PUT(out, "\tIGNORE %.16g;\n", r->ignoreValue);
        putWordStatement(out, "INTERPOLATION", file_InterpolationWords, r->interpolation);
        VMOD_PUT(out, r->thematic ? "\tTHEMATIC;\n" : "\tATHEMATIC;\n");
        putWordStatement(out, "DATATYPE", file_DataTypeWords, r->dataType);
        if (r->declare != nullptr) VMOD_PUT(out, "\tDECLARE \"%s\";\n", file_OutputString(out, r->declare, "DECLARE"));
        putWordStatement(out, "COMPRESSION", file_CompressionWords, r->compression);
        putWordStatement(out, "COORDINATES", file_CoordinateWords, r->coordinates);
        if (r->areaRect != nullptr && r->areaFlag == VMOD_RASTER_AREA_RECTANGLE) {
            VMOD_PUT(out, "\tAREA RECT");
            putRectNumbers(out, r->areaRect);
            VMOD_PUT(out, " %.16g;\n", r->areaRect->y2);
        }
        if (!r->newFile && !r->tempFile) putAoiStatement(out, r->aoiMode, r->aoiFile);
        putRecodeStatements(out, r->recode, r->numClasses, r->newClasses);
    }
    closeBlock(out, node);
}

void putVectorBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    openBlock(out, node);
    if (const auto *v = static_cast<const Vmod_VectorData *>(node->data)) {
        if (const char *word = file_OutputWord(out, "VECTORTYPE", file_VectorTypeWords, v->vectorType))
            VMOD_PUT(out, "\tVECTORTYPE %s;\n", word);
        if (v->prompt) putPromptLine(out, v->promptText);
        if (!v->prompt && v->fileName != nullptr)
            VMOD_PUT(out, "\tFILENAME \"%s\";\n", file_OutputString(out, v->fileName, "FILENAME"));
        if (v->vectorType == VMOD_VECTOR_COVERAGE && v->feature != nullptr)
            VMOD_PUT(out, "\tFEATURE \"%s\";\n", file_OutputString(out, v->feature, "FEATURE"));
        if (v->tempFile) VMOD_PUT(out, "\tTEMPFILE;\n");
        if (v->cellSizeSet) {
            if (const char *unit = file_OutputWord(out, "CELLSIZE unit", file_CellUnitWords, v->cellSizeUnits)) {
                VMOD_PUT(out, "\tCELLSIZE");
                VMOD_PUT(out, " %.16g,", static_cast<double>(v->cellSizeX));
                VMOD_PUT(out, " %.16g", static_cast<double>(v->cellSizeY));
                VMOD_PUT(out, " %s;\n", unit);
            }
        }
        if (v->declare != nullptr) VMOD_PUT(out, "\tDECLARE \"%s\";\n", file_OutputString(out, v->declare, "DECLARE"));
        if (v->window != nullptr) {
            VMOD_PUT(out, "\tWINDOW");
            putRectNumbers(out, v->window);
            VMOD_PUT(out, " %.16g;\n", v->window->y2);
        }
        putAoiStatement(out, v->aoiMode, v->aoiFile);
        if (!v->recode && v->attribute != nullptr)
            VMOD_PUT(out, "\tATTRIBUTE \"%s\";\n", file_OutputString(out, v->attribute, "ATTRIBUTE"));
        putRecodeStatements(out, v->recode, v->numClasses, v->newClasses);
    }
    closeBlock(out, node);
}

void putMatrixBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    openBlock(out, node);
    if (const auto *m = static_cast<const Vmod_MatrixData *>(node->data)) {
        bool sized = m->columns >= 0 && m->rows >= 0 &&
                     file_OutputCheckSize(out, "SIZE", static_cast<int64_t>(m->columns) * m->rows);
        if (m->columns < 0 || m->rows < 0)
            file_OutputRefuse(out, "SIZE " + std::to_string(m->columns) + ", " + std::to_string(m->rows) +
                                       " is negative");
        VMOD_PUT(out, "\tSIZE %ld, %ld;\n", static_cast<long>(m->columns), static_cast<long>(m->rows));
        putWordStatement(out, "DATATYPE", file_DataTypeWords, m->dataType);
        if (m->source == VMOD_MATRIX_KERNEL) {
            if (const char *kernel = file_OutputWord(out, "BUILTIN", file_KernelWords, m->builtin))
                VMOD_PUT(out, "\tBUILTIN\t%s;\n", kernel);
        }
        int64_t count = sized ? static_cast<int64_t>(m->columns) * m->rows : 0;
        const bool literal = m->source == VMOD_MATRIX_KERNEL || m->source == VMOD_MATRIX_LITERAL;
        if (literal && m->values != nullptr && node->title != nullptr && count > 0) {
            VMOD_PUT(out, "\tVALUE   ");
            for (int64_t row = 0; row < m->rows; ++row) {
                const double *values = m->values + row * m->columns;
                if (row > 0) VMOD_PUT(out, "\n\t\t");
                if (row < m->rows - 1) {
                    putDoubleItems(out, values, m->columns);
                } else {
                    putDoubleItems(out, values, m->columns - 1);
                    VMOD_PUT(out, "%.16g;\n", values[m->columns - 1]);
                }
            }
        }
        if (m->source == VMOD_MATRIX_READ) putFileStatement(out, "READ", m->prompt, m->promptText, m->readFile);
        if (m->source == VMOD_MATRIX_OUTPUT) VMOD_PUT(out, "\tOUTPUT;\n");
        if (m->source == VMOD_MATRIX_OUTPUT && m->write)
            putFileStatement(out, "WRITE", m->prompt, m->promptText, m->writeFile);
        if (m->source == VMOD_MATRIX_OUTPUT && m->show) VMOD_PUT(out, "\tSHOW;\n");
        VMOD_PUT(out, m->normalize ? "\tNORMALIZE YES;\n" : "\tNORMALIZE NO;\n");
    }
    closeBlock(out, node);
}

namespace {

// The lines naming the layer a table is a column of. Variable tables are named only as
// outputs (a variable input is given by its arrow).
void putLayerLines(Vmod_ModelOutput &out, const Vmod_TableData *t, bool output) {
    if (t->layerKind == VMOD_LAYER_VARIABLE) {
        if (!output) return;
        VMOD_PUT(out, "\tVARIABLENAME \"%s\";\n", file_OutputString(out, t->layerFile, "VARIABLENAME"));
        VMOD_PUT(out, "\tFIELDNAME \"%s\";\n", file_OutputString(out, t->fieldName, "FIELDNAME"));
        return;
    }
    const char *keyword = file_FormatWord(file_LayerKindWords, t->layerKind);
    if (keyword == nullptr) return;
    if (t->promptLayerFile) {
        VMOD_PUT(out, "\t%s;\n", keyword);
        if (t->promptLayerText != nullptr)
            VMOD_PUT(out, "\tPROMPTLAYERFILE \"%s\";\n",
                     file_OutputString(out, t->promptLayerText, "PROMPTLAYERFILE"));
        else
            VMOD_PUT(out, "\tPROMPTLAYERFILE;\n");
    } else if (t->layerFile != nullptr) {
        VMOD_PUT(out, "\t%s \"%s\";\n", keyword, file_OutputString(out, t->layerFile, keyword));
    } else {
        VMOD_PUT(out, "\t%s;\n", keyword);
    }
    if (t->layerKind != VMOD_LAYER_ANNOTATION)
        VMOD_PUT(out, "\tLAYERNAME \"%s\";\n", file_OutputString(out, t->layerName, "LAYERNAME"));
    VMOD_PUT(out, "\tFIELDNAME \"%s\";\n", file_OutputString(out, t->fieldName, "FIELDNAME"));
}

void putTableValues(Vmod_ModelOutput &out, const Vmod_TableData *t) {
    const int32_t n = t->size;
    if (t->dataType == VMOD_TABLE_STRING) {
        VMOD_PUT(out, "\tVALUE ");
        for (int32_t i = 0; i < n; ++i) {
            const char *text = file_OutputString(out, t->strings != nullptr ? t->strings[i] : nullptr, "VALUE");
            VMOD_PUT(out, i < n - 1 ? "\"%s\", " : "\"%s\";\n", text);
        }
    } else if (t->dataType == VMOD_TABLE_COLOR) {
        VMOD_PUT(out, "\tCOLORVALUE (\n");
        static const Vmod_TableColor black = {};
        for (int32_t i = 0; i < n; ++i) {
            const Vmod_TableColor *c = t->colors != nullptr && t->colors[i] != nullptr ? t->colors[i] : &black;
            VMOD_PUT(out, i < n - 1 ? "\t\t(%g, %g, %g, %g),\n" : "\t\t(%g, %g, %g, %g) );\n", c->value[0],
                     c->value[1], c->value[2], c->value[3]);
        }
    } else {
        VMOD_PUT(out, "\tVALUE ");
        putDoubleItems(out, t->values, n - 1);
        VMOD_PUT(out, "%.16g;\n", t->values != nullptr ? t->values[n - 1] : 0.0);
    }
}

} // namespace

void putTableBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    openBlock(out, node);
    if (const auto *t = static_cast<const Vmod_TableData *>(node->data)) {
        bool sized = file_OutputCheckSize(out, "SIZE", t->size);
        VMOD_PUT(out, "\tSIZE %ld;\n", static_cast<long>(t->size));
        putWordStatement(out, "DATATYPE", file_TableDataTypeWords, t->dataType);
        if (t->source == VMOD_TABLE_LITERAL && sized && t->size > 0) putTableValues(out, t);
        if (t->source == VMOD_TABLE_LAYER) putLayerLines(out, t, false);
        if (t->source == VMOD_TABLE_OUTPUT && t->outputToLayer) putLayerLines(out, t, true);
        if (t->source == VMOD_TABLE_READ) putFileStatement(out, "READ", t->prompt, t->promptText, t->readFile);
        if (t->source == VMOD_TABLE_OUTPUT) VMOD_PUT(out, "\tOUTPUT;\n");
        if (t->source == VMOD_TABLE_OUTPUT && t->write)
            putFileStatement(out, "WRITE", t->prompt, t->promptText, t->writeFile);
        if (t->source == VMOD_TABLE_OUTPUT && t->show) VMOD_PUT(out, "\tSHOW;\n");
    }
    closeBlock(out, node);
}

void putScalarBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    openBlock(out, node);
    if (const auto *s = static_cast<const Vmod_ScalarData *>(node->data)) {
        putWordStatement(out, "DATATYPE", file_DataTypeWords, s->dataType);
        VMOD_PUT(out, "\tVALUE %.16g;\n", s->value);
        if (s->read) putFileStatement(out, "READ", s->prompt, s->promptText, s->readFile);
        if (s->write) putFileStatement(out, "WRITE", s->prompt, s->promptText, s->writeFile);
        if (s->show) VMOD_PUT(out, "\tSHOW;\n");
    }
    closeBlock(out, node);
}

void putFunctionBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    openBlock(out, node);
    if (const auto *f = static_cast<const Vmod_FunctionData *>(node->data)) {
        if (f->expression != nullptr)
            VMOD_PUT(out, "\tVALUE \"%s\";\n", file_OutputString(out, f->expression, "VALUE"));
        putWordStatement(out, "AREA", file_AreaWords, f->area);
    }
    closeOperationBlock(out, node);
}

void putCriteriaBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    openBlock(out, node);
    if (const auto *c = static_cast<const Vmod_CriteriaData *>(node->data)) {
        // The titles, the output values and the cells are three lists of their own.
        bool sized = c->columns >= 0 && c->rows >= 0 && file_OutputCheckSize(out, "SIZE", c->columns) &&
                     file_OutputCheckSize(out, "SIZE", c->rows) &&
                     file_OutputCheckSize(out, "SIZE", static_cast<int64_t>(c->columns) * c->rows);
        if (c->columns < 0 || c->rows < 0)
            file_OutputRefuse(out, "SIZE " + std::to_string(c->columns) + ", " + std::to_string(c->rows) +
                                       " is negative");
        VMOD_PUT(out, "\tSIZE %ld, %ld;\n", static_cast<long>(c->columns), static_cast<long>(c->rows));
        const int32_t columns = sized ? c->columns : 0;
        const int32_t rows = sized ? c->rows : 0;
        if (columns > 0) {
            VMOD_PUT(out, "\tCOLUMNTITLES ");
            for (int32_t i = 0; i < columns; ++i) {
                const char *title = c->columnTitles != nullptr ? c->columnTitles[i] : nullptr;
                VMOD_PUT(out, i < columns - 1 ? "\"%s\", " : "\"%s\";\n",
                         file_OutputString(out, title, "COLUMNTITLES"));
            }
        }
        const int64_t cells = static_cast<int64_t>(columns) * rows;
        if (cells > 0) {
            VMOD_PUT(out, "\tVALUE   ");
            for (int64_t i = 0; i < cells; ++i) {
                if (i > 0 && i % columns == 0) VMOD_PUT(out, "\n\t\t");
                const char *cell = c->cells != nullptr ? c->cells[i] : nullptr;
                VMOD_PUT(out, i < cells - 1 ? "\"%s\", " : "\"%s\";\n", file_OutputString(out, cell, "VALUE"));
            }
        }
        if (rows > 0) {
            VMOD_PUT(out, "\tOUTPUTVALUES ");
            for (int32_t i = 0; i < rows; ++i) {
                if (c->outputValues != nullptr)
                    VMOD_PUT(out, i < rows - 1 ? "%g, " : "%g;\n", c->outputValues[i]);
                else
                    VMOD_PUT(out, i < rows - 1 ? "%d, " : "%d;\n", i + 1);
            }
        }
        VMOD_PUT(out, "\tDEFAULT %g;\n", c->defaultValue);
    }
    closeOperationBlock(out, node);
}

void putTextBlock(Vmod_ModelOutput &out, const Vmod_Node *node) {
    openBlock(out, node);
    if (const auto *t = static_cast<const Vmod_TextData *>(node->data)) {
        VMOD_PUT(out, "\tFONT \"%s\";\n", file_OutputString(out, t->font, "FONT"));
        VMOD_PUT(out, "\tSIZE %d;\n", t->size);
        if (t->style >= 1 && t->style <= 7)
            for (const Vmod_StyleWord &style : file_StyleWords)
                if (t->style & style.bit) VMOD_PUT(out, "\tSTYLE %s;\n", style.word);
    }
    // A note is not part of the data flow: its arrows, if any, are not saved.
    VMOD_PUT(out, "}\n");
}

Vmod_BlockWriter file_BlockWriterOf(int32_t type) {
    switch (type) {
    case VMOD_RASTER: return putRasterBlock;
    case VMOD_VECTOR: return putVectorBlock;
    case VMOD_MATRIX: return putMatrixBlock;
    case VMOD_TABLE: return putTableBlock;
    case VMOD_SCALAR: return putScalarBlock;
    case VMOD_FUNCTION: return putFunctionBlock;
    case VMOD_CRITERIA: return putCriteriaBlock;
    case VMOD_TEXT: return putTextBlock;
    default: return nullptr;
    }
}
