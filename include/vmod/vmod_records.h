/*
 * vmod_records.h - the records shared between the model library and its front end.
 *
 * The front end reads and writes these fields directly, so field order, widths and
 * signedness are part of the interface. Words that only the front end uses are present
 * as `reserved` fields so that every named field keeps its offset.
 *
 * Packing. In a 32-bit build (4-byte pointers) the records are packed on 4-byte
 * boundaries: a double that follows a 32-bit field starts right after it (the raster
 * `ignoreValue` and the scalar `value` are such fields). That is the exact layout the
 * 32-bit front end was built against, and on that target every field still sits on an
 * address its type may be read from. In a 64-bit build the records have the compiler's
 * natural alignment instead: packed there, a pointer or double after a 32-bit field would
 * sit 4 bytes off, and ordinary code such as `&node->x` handed to vmod_ScreenToPaper or
 * a range-for over `model->margins` would read through a misaligned pointer, which is
 * undefined behaviour that no compiler warns about. No 64-bit program shares these
 * records' bytes with a 32-bit one, so nothing relies on a packed 64-bit layout. Code
 * that needs the byte layout takes it from offsetof and sizeof, never from the offsets
 * of the 32-bit build.
 *
 * Ownership, once for all records: every string, array and sub-record a field points
 * to is owned by the record holding the field and lives on the host heap
 * (omsc_HeapMalloc / omsc_HeapFree), unless the field's comment says otherwise.
 * "flag" fields are int32: 0 off, anything else on.
 */
#ifndef VMOD_RECORDS_H
#define VMOD_RECORDS_H

#include <stdint.h>

#include "vmodhost/vmodhost_handles.h" /* Oerr_ErrorReport, Ofio_File and the frame/canvas handles */

#if defined(_WIN32)
#define VMOD_API __declspec(dllexport)
#elif defined(__GNUC__)
#define VMOD_API __attribute__((visibility("default")))
#else
#define VMOD_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Node kinds (Vmod_Node.type). 0..4 data, 5..6 operations, 7 free text. */
typedef enum Vmod_NodeType {
    VMOD_RASTER = 0,
    VMOD_VECTOR = 1,
    VMOD_MATRIX = 2,
    VMOD_TABLE = 3,
    VMOD_SCALAR = 4,
    VMOD_FUNCTION = 5,
    VMOD_CRITERIA = 6,
    VMOD_TEXT = 7
} Vmod_NodeType;

/* Value type of raster, matrix and scalar nodes. */
typedef enum Vmod_DataType {
    VMOD_BINARY = 0,
    VMOD_UNSIGNED2 = 1,
    VMOD_UNSIGNED4 = 2,
    VMOD_UNSIGNED8 = 3,
    VMOD_SIGNED8 = 4,
    VMOD_UNSIGNED16 = 5,
    VMOD_SIGNED16 = 6,
    VMOD_UNSIGNED32 = 7,
    VMOD_SIGNED32 = 8,
    VMOD_FLOAT = 9,
    VMOD_DOUBLE = 10,
    VMOD_COMPLEX = 11,
    VMOD_DOUBLECOMPLEX = 12,
    VMOD_STRING = 13
} Vmod_DataType;

/* Value type of table nodes; numbered differently from Vmod_DataType. */
typedef enum Vmod_TableDataType {
    VMOD_TABLE_BINARY = 0,
    VMOD_TABLE_SIGNED32 = 1,
    VMOD_TABLE_DOUBLE = 2,
    VMOD_TABLE_STRING = 3,
    VMOD_TABLE_COLOR = 4
} Vmod_TableDataType;

/* The values of the mode fields. The fields stay int32_t (their width is part of the
   record layout); these name what each value means. */

/* Raster interpolation (Vmod_RasterData.interpolation). */
typedef enum Vmod_Interpolation {
    VMOD_INTERP_NEAREST = 0, VMOD_INTERP_BILINEAR = 1, VMOD_INTERP_CUBIC = 2
} Vmod_Interpolation;

/* Raster compression (Vmod_RasterData.compression): none or run-length. */
typedef enum Vmod_Compression { VMOD_COMPRESS_NONE = 0, VMOD_COMPRESS_RLE = 1 } Vmod_Compression;

/* Map or pixel coordinates (Vmod_RasterData.coordinates, Vmod_Model.windowUnits). */
typedef enum Vmod_Coordinates { VMOD_COORDS_MAP = 0, VMOD_COORDS_PIXEL = 1 } Vmod_Coordinates;

/* The shape of a raster's area (Vmod_RasterData.areaFlag). */
typedef enum Vmod_RasterArea {
    VMOD_RASTER_AREA_RECTANGLE = 0, VMOD_RASTER_AREA_POLYGON = 1, VMOD_RASTER_AREA_MASK = 2
} Vmod_RasterArea;

/* Area of interest (aoiMode of Vmod_RasterData, Vmod_VectorData and Vmod_Model): none,
   the default one, or the area the file aoiFile holds. */
typedef enum Vmod_AoiMode { VMOD_AOI_NONE = 0, VMOD_AOI_DEFAULT = 1, VMOD_AOI_FILE = 2 } Vmod_AoiMode;

/* Vector layers (Vmod_VectorData.vectorType). */
typedef enum Vmod_VectorType { VMOD_VECTOR_COVERAGE = 0, VMOD_VECTOR_ANNOTATION = 1 } Vmod_VectorType;

/* Ground units of a cell size (cellSizeUnits of Vmod_VectorData and Vmod_Model). */
typedef enum Vmod_GroundUnits { VMOD_UNITS_METERS = 0, VMOD_UNITS_FEET = 1 } Vmod_GroundUnits;

/* Where a matrix's values come from (Vmod_MatrixData.source): the built-in kernel
   `builtin`, the values in the model, a file it reads, or the output of an operation. */
typedef enum Vmod_MatrixSource {
    VMOD_MATRIX_KERNEL = 0, VMOD_MATRIX_LITERAL = 1, VMOD_MATRIX_READ = 2, VMOD_MATRIX_OUTPUT = 3
} Vmod_MatrixSource;

/* Built-in kernels (Vmod_MatrixData.builtin). */
typedef enum Vmod_Kernel {
    VMOD_KERNEL_EDGEDETECT = 0, VMOD_KERNEL_EDGEENHANCE = 1, VMOD_KERNEL_LOWPASS = 2,
    VMOD_KERNEL_HIGHPASS = 3, VMOD_KERNEL_HORIZONTAL = 4, VMOD_KERNEL_VERTICAL = 5,
    VMOD_KERNEL_SUMMARY = 6, VMOD_KERNEL_SOBEL1 = 7, VMOD_KERNEL_SOBEL2 = 8
} Vmod_Kernel;

/* Where a table's values come from (Vmod_TableData.source): the values in the model, a
   column of a layer, a file it reads, or the output of an operation. */
typedef enum Vmod_TableSource {
    VMOD_TABLE_LITERAL = 0, VMOD_TABLE_LAYER = 1, VMOD_TABLE_READ = 2, VMOD_TABLE_OUTPUT = 3
} Vmod_TableSource;

/* The layer a table names (Vmod_TableData.layerKind). */
typedef enum Vmod_LayerKind {
    VMOD_LAYER_IMAGE = 0, VMOD_LAYER_VARIABLE = 1, VMOD_LAYER_COVERAGE = 2, VMOD_LAYER_ANNOTATION = 3
} Vmod_LayerKind;

/* The area an operation's output covers (Vmod_FunctionData.area). */
typedef enum Vmod_FunctionArea { VMOD_AREA_UNION = 0, VMOD_AREA_INTERSECTION = 1 } Vmod_FunctionArea;

/* Units of the model's page size (Vmod_Model.pageUnits). */
typedef enum Vmod_PageUnits { VMOD_PAGE_INCHES = 0, VMOD_PAGE_CENTIMETERS = 1 } Vmod_PageUnits;

/* Page orientation (Vmod_Model.orientation). */
typedef enum Vmod_Orientation { VMOD_PORTRAIT = 0, VMOD_LANDSCAPE = 1 } Vmod_Orientation;

/* The model's output cell size (Vmod_Model.cellSizeMode); a given one is cellSizeX,
   cellSizeY in cellSizeUnits. */
typedef enum Vmod_CellSizeMode {
    VMOD_CELLSIZE_MINIMUM = 0, VMOD_CELLSIZE_MAXIMUM = 1, VMOD_CELLSIZE_GIVEN = 2
} Vmod_CellSizeMode;

/* The model's processing window (Vmod_Model.windowMode); a given one is the rectangle
   `window` in windowUnits. */
typedef enum Vmod_WindowMode {
    VMOD_WINDOW_UNION = 0, VMOD_WINDOW_INTERSECTION = 1, VMOD_WINDOW_GIVEN = 2
} Vmod_WindowMode;

/* The model's output projection (Vmod_Model.projectionMode): the default, that of the file
   projectionSameAs, or the one projectionSpec1 and projectionSpec2 specify. */
typedef enum Vmod_ProjectionMode {
    VMOD_PROJECTION_DEFAULT = 0, VMOD_PROJECTION_SAME_AS = 1, VMOD_PROJECTION_SPECIFIED = 2
} Vmod_ProjectionMode;

/* Render modes passed to the node renderers; other values draw without highlight. */
#define VMOD_RENDER_DRAW 0
#define VMOD_RENDER_ERASE 1

/* Slots of Vmod_RenderTable. Function and criteria are not in kind order. */
#define VMOD_SLOT_RASTER 0
#define VMOD_SLOT_VECTOR 1
#define VMOD_SLOT_MATRIX 2
#define VMOD_SLOT_TABLE 3
#define VMOD_SLOT_SCALAR 4
#define VMOD_SLOT_CRITERIA 5
#define VMOD_SLOT_FUNCTION 6
#define VMOD_SLOT_TEXT 7
#define VMOD_RENDER_SLOTS 8

/* Text styles (Vmod_TextData.style and Vmod_Model.textStyle): a sum of these bits. */
#define VMOD_STYLE_BOLD 1
#define VMOD_STYLE_ITALIC 2
#define VMOD_STYLE_UNDERLINE 4

/* Packed only where pointers are 4 bytes wide: see "Packing" above. */
#if UINTPTR_MAX <= 0xFFFFFFFFu
#define VMOD_RECORDS_PACKED 1
#pragma pack(push, 4)
#else
#define VMOD_RECORDS_PACKED 0
#endif

typedef struct Vmod_Node Vmod_Node;
typedef struct Vmod_Model Vmod_Model;

typedef void (*Vmod_RenderFunction)(Vmod_Node *node, Vmod_Model *model, int32_t mode);

/* The constant table of the eight renderers, in slot order raster, vector, matrix, table,
   scalar, criteria, function, text. A node's `render` points at its own slot. */
extern VMOD_API const Vmod_RenderFunction Vmod_RenderTable[VMOD_RENDER_SLOTS];

/* Two corners of a rectangle, in the order the model file writes them. */
typedef struct Vmod_Rect {
    double x1, y1, x2, y2;
} Vmod_Rect;

/* One arrow end. A child link of P names C; its mirror in C's parents names P.
   `node` is null while the link is unresolved (made from an identifier alone). */
typedef struct Vmod_Link {
    struct Vmod_Link *next;
    struct Vmod_Link *prev;
    int32_t id;
    Vmod_Node *node; /* not owned */
} Vmod_Link;

struct Vmod_Node {
    Vmod_Node *next; /* model list; the model owns every node of its list */
    Vmod_Node *prev;
    int32_t id;
    char *title;     /* owned, may be null (untitled) */
    double x, y;     /* glyph centre, paper inches from the left and top edges */
    double width, height;
    int32_t selected;
    int32_t highlighted;
    int32_t userData; /* the front end's; copied by duplication, otherwise untouched */
    Vmod_Link *children; /* owned; one link per arrow leaving this node */
    Vmod_Link *parents;  /* owned; one link per arrow entering this node */
    int32_t type;        /* Vmod_NodeType */
    void *data;          /* owned payload record of the kind */
    const Vmod_RenderFunction *render; /* address of this kind's Vmod_RenderTable slot */
};

typedef struct Vmod_RasterData {
    int32_t tempFile;
    int32_t newFile;
    int32_t ignoreSet;
    double ignoreValue;
    int32_t deleteFile;
    char *fileName;
    int32_t prompt;
    char *promptText;
    int32_t interpolation; /* Vmod_Interpolation */
    int32_t thematic;
    int32_t dataType;      /* Vmod_DataType */
    char *declare;
    int32_t compression;   /* Vmod_Compression */
    int32_t coordinates;   /* Vmod_Coordinates */
    int32_t recode;
    int32_t numClasses;
    int32_t *newClasses;   /* numClasses entries */
    int32_t areaFlag;      /* Vmod_RasterArea */
    Vmod_Rect *areaRect;
    int32_t aoiMode;       /* Vmod_AoiMode */
    char *aoiFile;
} Vmod_RasterData;

typedef struct Vmod_VectorData {
    int32_t vectorType; /* Vmod_VectorType */
    char *fileName;
    int32_t prompt;
    char *promptText;
    char *feature;
    int32_t tempFile;
    int32_t cellSizeSet;
    float cellSizeX, cellSizeY;
    int32_t cellSizeUnits; /* Vmod_GroundUnits */
    Vmod_Rect *window;
    char *declare;
    int32_t aoiMode; /* Vmod_AoiMode */
    char *aoiFile;
    char *attribute;
    int32_t recode;
    int32_t numClasses;
    int32_t *newClasses;
} Vmod_VectorData;

typedef struct Vmod_MatrixData {
    int32_t columns;
    int32_t rows;
    int32_t dataType; /* Vmod_DataType */
    int32_t source;   /* Vmod_MatrixSource */
    char *frontText;  /* the front end's text; copied on duplication */
    int32_t builtin;  /* Vmod_Kernel */
    int32_t reserved[6]; /* the front end's words; copied as one block */
    double *values;   /* columns * rows values, row by row */
    int32_t normalize;
    int32_t read;
    char *readFile;
    int32_t write;
    char *writeFile;
    int32_t prompt;
    char *promptText;
    int32_t show;
} Vmod_MatrixData;

typedef struct Vmod_TableColor {
    double value[4];
    int32_t reserved[2]; /* copied, never interpreted */
} Vmod_TableColor;

typedef struct Vmod_TableData {
    int32_t size;
    int32_t dataType; /* Vmod_TableDataType */
    int32_t source;   /* Vmod_TableSource */
    int32_t layerKind; /* Vmod_LayerKind */
    char *layerFile;
    int32_t promptLayerFile;
    char *promptLayerText;
    char *layerName;
    char *fieldName;
    double *values;            /* size values (BINARY, SIGNED32, DOUBLE) */
    char **strings;            /* size strings (STRING), entries owned */
    Vmod_TableColor **colors;  /* size colours (COLOR), entries owned */
    int32_t read;
    char *readFile;
    int32_t write;
    char *writeFile;
    int32_t prompt;
    char *promptText;
    int32_t show;
    int32_t outputToLayer;
} Vmod_TableData;

typedef struct Vmod_ScalarData {
    int32_t dataType; /* Vmod_DataType */
    double value;
    int32_t read;
    char *readFile;
    int32_t write;
    char *writeFile;
    int32_t prompt;
    char *promptText;
    int32_t show;
} Vmod_ScalarData;

typedef struct Vmod_FunctionData {
    int32_t area; /* Vmod_FunctionArea */
    char *expression;
    int32_t reserved[2];
    int32_t done;    /* scratch: written by the script generator */
    int32_t blocked; /* scratch: next-operation search */
} Vmod_FunctionData;

typedef struct Vmod_CriteriaData {
    int32_t columns;
    int32_t rows;
    char **columnTitles;  /* columns entries, owned */
    char **cells;         /* rows * columns entries, owned, may be null */
    double *outputValues; /* rows values, or null: row i yields i + 1 */
    double defaultValue;
    int32_t reserved[2];
    int32_t done;
    int32_t blocked;
} Vmod_CriteriaData;

typedef struct Vmod_TextData {
    char *font; /* made by vmod_NodeCreate: the model's textFont pointer, shared, not owned */
    int32_t size;
    int32_t style; /* VMOD_STYLE_ bits */
    uint32_t extentWidth;
    uint32_t extentHeight;
} Vmod_TextData;

struct Vmod_Model {
    int32_t reserved0[2];
    Ooml_Frame *frame;
    int32_t reserved1;
    Ooml_Canvas *canvas;
    int32_t reserved2;
    Ooml_Menu *menu;
    int32_t reserved3[2];
    char *textFont; /* not owned: new text nodes share this pointer */
    int32_t textSize;
    int32_t textStyle;
    int32_t nextId;
    int32_t reserved4;
    char *fileName; /* owned; released by vmod_ModelDelete */
    char *title;
    double pageWidth, pageHeight;
    int32_t pageUnits; /* Vmod_PageUnits */
    double printerPageWidth, printerPageHeight;
    double margins[4]; /* top, bottom, left, right */
    int32_t orientation; /* Vmod_Orientation */
    double printScale;   /* percent */
    int32_t pageNumbers;
    int32_t loadedWord1; /* zero from the reader; copied on load */
    int32_t cellSizeSet;
    int32_t cellSizeMode; /* Vmod_CellSizeMode */
    float cellSizeX, cellSizeY;
    int32_t cellSizeUnits; /* Vmod_GroundUnits */
    int32_t windowMode;  /* Vmod_WindowMode */
    int32_t windowUnits; /* Vmod_Coordinates */
    Vmod_Rect *window;
    int32_t projectionMode; /* Vmod_ProjectionMode */
    char *projectionSameAs;
    char *projectionSpec1;
    char *projectionSpec2;
    int32_t aoiMode; /* Vmod_AoiMode */
    char *aoiFile;
    int32_t loadedWord2; /* zero from the reader; copied on load */
    int32_t optimize;
    int32_t readerWord1; /* 1 from the reader; not copied on load */
    int32_t reserved5;
    uint32_t backgroundColor, foregroundColor, highlightColor; /* 0xRRGGBB */
    int32_t scrollX, scrollY;
    int32_t reserved6[2];
    Vmod_Node *nodes; /* owned list head, null when empty */
    double nodeWidth, nodeHeight;
    double zoom;
    int32_t readerWord2; /* zero from the reader; not copied on load */
    int32_t reserved7;
    Ooml_Part *rasterChooser;
    Ooml_Part *vectorChooser;
    Ooml_Part *coverageChooser;
    Ooml_Part *annotationChooser;
    Ooml_Part *matrixChooser;
    Ooml_Part *tableChooser;
    Ooml_Part *scalarChooser;
    int32_t glyphPixelWidth, glyphPixelHeight;
    double pixelsPerInchX, pixelsPerInchY;
    char *titleFont;
    char *untitledFont;
    int32_t redrawInPlace;
};

#if VMOD_RECORDS_PACKED
#pragma pack(pop)
#endif

#ifdef __cplusplus
}
#endif

#endif
