// format_words.h - the words and limits of the model file format, shared by its writer
// and its reader.
//
// Each enumeration of the records that the file carries as a word has one table here,
// indexed by the field's value. The writer writes the word in capitals; the reader
// matches words without regard to letter case. A value outside a table has no word.
#ifndef VMOD_FILE_FORMAT_WORDS_H
#define VMOD_FILE_FORMAT_WORDS_H

#include <stdint.h>

// A value-to-word table: words[value] for 0 <= value < count.
struct Vmod_FormatWords {
    const char *const *words;
    int32_t count;
};

// The word of value in table, or null when value has none.
const char *file_FormatWord(const Vmod_FormatWords &table, int32_t value);
// The value whose word is word (any letter case), or -1 when none is.
int32_t file_FormatWordValue(const Vmod_FormatWords &table, const char *word);

// Block keywords by node kind (Vmod_NodeType): RASTER .. TEXT.
extern const Vmod_FormatWords file_BlockWords;
// Vmod_DataType after DATATYPE in raster, matrix and scalar blocks.
extern const Vmod_FormatWords file_DataTypeWords;
// Vmod_TableDataType after DATATYPE in table blocks.
extern const Vmod_FormatWords file_TableDataTypeWords;
// Matrix `builtin` kernels after BUILTIN.
extern const Vmod_FormatWords file_KernelWords;
// Raster `interpolation`.
extern const Vmod_FormatWords file_InterpolationWords;
// Raster `compression`.
extern const Vmod_FormatWords file_CompressionWords;
// Raster `coordinates` and the header window units.
extern const Vmod_FormatWords file_CoordinateWords;
// Cell-size units of the header and of vectors.
extern const Vmod_FormatWords file_CellUnitWords;
// Vector `vectorType`.
extern const Vmod_FormatWords file_VectorTypeWords;
// Function `area` and the header window modes 0 and 1.
extern const Vmod_FormatWords file_AreaWords;
// Header `cellSizeMode` 0 and 1 (2 is written as numbers).
extern const Vmod_FormatWords file_CellSizeModeWords;
// Header `orientation`.
extern const Vmod_FormatWords file_OrientationWords;
// Header `pageUnits` on reading; the writer always writes INCHES.
extern const Vmod_FormatWords file_PageUnitWords;
// Flags written as YES or NO: index 0 "NO", 1 "YES".
extern const Vmod_FormatWords file_YesNoWords;
// Table `layerKind`: the statement naming the layer file.
extern const Vmod_FormatWords file_LayerKindWords;

// Text `style` bits and their words, in the order the writer writes them.
struct Vmod_StyleWord {
    int32_t bit;
    const char *word;
};
extern const Vmod_StyleWord file_StyleWords[3];
// The word that clears every style bit on reading.
extern const char *const file_StyleNormalWord;

// The keyword list, in lower case, in its canonical order (the token numbering of the
// grammar follows it). "centimeters" and "cm" are spellings of one keyword.
constexpr int32_t VMOD_KEYWORD_COUNT = 124;
extern const char *const file_Keywords[VMOD_KEYWORD_COUNT];

// Largest number of entries a sized list may have (NUMCLASSES, table SIZE, and columns
// times rows of matrix and criteria SIZE). The reader rejects larger sizes, so the
// writer refuses to save a model that has one.
constexpr int64_t VMOD_MAX_LIST_ENTRIES = 10000000;

#endif
