// The words of the model file format (see format_words.h).
#include "file/format_words.h"


namespace {

template <int32_t N>
constexpr Vmod_FormatWords table(const char *const (&words)[N]) {
    return Vmod_FormatWords{words, N};
}

const char *const blockWords[] = {"RASTER", "VECTOR", "MATRIX", "TABLE",
                                  "SCALAR", "FUNCTION", "CRITERIA", "TEXT"};
const char *const dataTypeWords[] = {"BINARY",     "UNSIGNED2", "UNSIGNED4",  "UNSIGNED8", "SIGNED8",
                                     "UNSIGNED16", "SIGNED16",  "UNSIGNED32", "SIGNED32",  "FLOAT",
                                     "DOUBLE",     "COMPLEX",   "DOUBLECOMPLEX", "STRING"};
const char *const tableDataTypeWords[] = {"BINARY", "SIGNED32", "DOUBLE", "STRING", "COLOR"};
const char *const kernelWords[] = {"EDGEDETECT", "EDGEENHANCE", "LOWPASS", "HIGHPASS", "HORIZONTAL",
                                   "VERTICAL",   "SUMMARY",     "SOBEL1",  "SOBEL2"};
const char *const interpolationWords[] = {"NEAREST", "BILINEAR", "CUBIC"};
const char *const compressionWords[] = {"UNCOMPRESSED", "RLE"};
const char *const coordinateWords[] = {"MAP", "PIXEL"};
const char *const cellUnitWords[] = {"METERS", "FEET"};
const char *const vectorTypeWords[] = {"COVERAGE", "ANNOTATION"};
const char *const areaWords[] = {"UNION", "INTERSECTION"};
const char *const cellSizeModeWords[] = {"MINIMUM", "MAXIMUM"};
const char *const orientationWords[] = {"PORTRAIT", "LANDSCAPE"};
const char *const pageUnitWords[] = {"INCHES", "CENTIMETERS"};
const char *const yesNoWords[] = {"NO", "YES"};
const char *const layerKindWords[] = {"IMAGENAME", "VARIABLENAME", "COVERAGENAME", "ANNOTATIONNAME"};

// Keywords are ASCII; the process locale must not change how they match.
bool equalIgnoringAsciiCase(const char *a, const char *b) {
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(*a), cb = static_cast<unsigned char>(*b);
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb) return false;
        if (ca == 0) return true;
    }
}

} // namespace

const Vmod_FormatWords file_BlockWords = table(blockWords);
const Vmod_FormatWords file_DataTypeWords = table(dataTypeWords);
const Vmod_FormatWords file_TableDataTypeWords = table(tableDataTypeWords);
const Vmod_FormatWords file_KernelWords = table(kernelWords);
const Vmod_FormatWords file_InterpolationWords = table(interpolationWords);
const Vmod_FormatWords file_CompressionWords = table(compressionWords);
const Vmod_FormatWords file_CoordinateWords = table(coordinateWords);
const Vmod_FormatWords file_CellUnitWords = table(cellUnitWords);
const Vmod_FormatWords file_VectorTypeWords = table(vectorTypeWords);
const Vmod_FormatWords file_AreaWords = table(areaWords);
const Vmod_FormatWords file_CellSizeModeWords = table(cellSizeModeWords);
const Vmod_FormatWords file_OrientationWords = table(orientationWords);
const Vmod_FormatWords file_PageUnitWords = table(pageUnitWords);
const Vmod_FormatWords file_YesNoWords = table(yesNoWords);
const Vmod_FormatWords file_LayerKindWords = table(layerKindWords);

const Vmod_StyleWord file_StyleWords[3] = {{1, "BOLD"}, {2, "ITALICS"}, {4, "UNDERLINED"}};
const char *const file_StyleNormalWord = "NORMAL";

const char *const file_Keywords[VMOD_KEYWORD_COUNT] = {
    "annotation", "annotationname", "aoi", "area", "athematic", "attribute", "bilinear", "bold",
    "builtin", "complex", "doublecomplex", "cellsize", "centimeters", "cm", "child", "circle",
    "color", "colorvalue", "columntitles", "compression", "coordinates", "coverage",
    "coveragename", "criteria", "cubic", "double", "datatype", "declare", "default",
    "deletefile", "edgedetect", "edgeenhance", "feet", "float", "feature", "fieldname",
    "filename", "font", "function", "highpass", "horizontal", "id", "ignore", "imagename",
    "inches", "interpolation", "intersection", "italics", "landscape", "layername", "lowpass",
    "map", "margins", "mask", "matrix", "maximum", "meters", "minimum", "nearest", "newclasses",
    "newfile", "no", "none", "normal", "normalize", "numclasses", "optimize", "orientation",
    "output", "outputvalues", "pagesize", "pagenumbers", "parent", "pixel", "poly", "portrait",
    "position", "printerpagesize", "printscale", "projection", "prompt", "promptlayerfile",
    "raster", "read", "recode", "rect", "rectangle", "rle", "signed8", "signed16", "signed32",
    "sameas", "scalar", "show", "size", "sobel1", "sobel2", "specify", "string", "style",
    "summary", "table", "tempfile", "text", "thematic", "title", "binary", "unsigned2",
    "unsigned4", "unsigned8", "unsigned16", "unsigned32", "uncompressed", "underlined", "union",
    "value", "variablename", "vector", "vectortype", "vertical", "view", "window", "write", "yes",
};

const char *file_FormatWord(const Vmod_FormatWords &table, int32_t value) {
    if (value < 0 || value >= table.count) return nullptr;
    return table.words[value];
}

int32_t file_FormatWordValue(const Vmod_FormatWords &table, const char *word) {
    if (word == nullptr) return -1;
    for (int32_t i = 0; i < table.count; ++i)
        if (equalIgnoringAsciiCase(table.words[i], word)) return i;
    return -1;
}
