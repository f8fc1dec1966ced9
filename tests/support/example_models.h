// example_models.h - the models of the bundled examples (examples/*.vmf), built in
// memory. A test checks that writing each one gives its example file byte for byte.
#ifndef VMOD_TESTS_SUPPORT_EXAMPLE_MODELS_H
#define VMOD_TESTS_SUPPORT_EXAMPLE_MODELS_H

#include <initializer_list>
#include <string>

#include "model_generator.h"

namespace vmodtest {

// A text node in the font, size (points) and VMOD_STYLE_ bits given.
inline Vmod_Node *addNote(Vmod_Model *model, int32_t id, const char *text, double x, double y, const char *font,
                          int32_t size, int32_t style) {
    Vmod_Node *node = addNode(model, VMOD_TEXT, id, text, x, y);
    auto *t = payload<Vmod_TextData>(node);
    t->font = heapString(font);
    t->size = size;
    t->style = style;
    return node;
}

// The model's cell size given as x by y in units.
inline void setGivenCellSize(Vmod_Model *model, float x, float y, int32_t units) {
    model->cellSizeSet = 1;
    model->cellSizeMode = VMOD_CELLSIZE_GIVEN;
    model->cellSizeX = x;
    model->cellSizeY = y;
    model->cellSizeUnits = units;
}

inline Vmod_Node *addRasterFile(Vmod_Model *model, int32_t id, const char *title, double x, double y,
                                const char *fileName) {
    Vmod_Node *node = addNode(model, VMOD_RASTER, id, title, x, y);
    payload<Vmod_RasterData>(node)->fileName = heapString(fileName);
    return node;
}

// NDVI from the red and near-infrared bands of a scene: two input rasters, one
// function, one new raster and a note.
inline Vmod_Model *ndviModel(const char *fileName) {
    Vmod_Model *model = newModel(fileName);
    model->title = heapString("NDVI from a multispectral scene");
    model->windowMode = 1;
    Vmod_Node *red = addRasterFile(model, 1, "n1_red", 1.0, 1.0, "/data/scene_band3.img");
    Vmod_Node *nir = addRasterFile(model, 2, "n2_nir", 3.0, 1.0, "/data/scene_band4.img");
    for (Vmod_Node *band : {red, nir}) payload<Vmod_RasterData>(band)->thematic = 0;
    Vmod_Node *ndvi = addNode(model, VMOD_FUNCTION, 3, "EITHER", 2.0, 2.5);
    auto *f = payload<Vmod_FunctionData>(ndvi);
    f->expression = heapString("EITHER 0 IF ( $n1_red + $n2_nir == 0 ) OR FLOAT ( $n2_nir - $n1_red ) / "
                               "FLOAT ( $n2_nir + $n1_red ) OTHERWISE");
    f->area = 1;
    Vmod_Node *out = addRasterFile(model, 4, "n4_ndvi", 2.0, 4.0, "/data/ndvi.img");
    auto *r = payload<Vmod_RasterData>(out);
    r->newFile = 1;
    r->thematic = 0;
    r->interpolation = 1;
    r->dataType = VMOD_FLOAT;
    r->declare = heapString("Float");
    addNote(model, 5, "NDVI = (NIR - Red) / (NIR + Red)", 2.0, 5.25, "Helvetica", 10, VMOD_STYLE_ITALIC);
    addArrows({{red, ndvi}, {nir, ndvi}, {ndvi, out}});
    return model;
}

// Site suitability: a prompted slope raster and a recoded land cover raster scored by a
// criteria table against a threshold scalar, and the area of each score as a table.
inline Vmod_Model *suitabilityModel(const char *fileName) {
    Vmod_Model *model = newModel(fileName);
    model->title = heapString("Site suitability");
    model->pageWidth = 11.0;
    model->pageHeight = 8.5;
    setGivenCellSize(model, 30.0f, 30.0f, 0);
    model->orientation = 1;
    model->printScale = 75.0;
    model->pageNumbers = 1;
    model->windowMode = 2;
    model->window = newRect(500000.0, 4100000.0, 520000.0, 4080000.0);
    model->projectionMode = 1;
    model->projectionSameAs = heapString("n2_landcover");
    model->aoiMode = 2;
    model->aoiFile = heapString("/data/study_area.aoi");

    Vmod_Node *slope = addNode(model, VMOD_RASTER, 1, "n1_slope", 1.0, 1.0);
    auto *s = payload<Vmod_RasterData>(slope);
    s->prompt = 1;
    s->promptText = heapString("Slope in degrees");
    s->thematic = 0;
    s->interpolation = 1;
    s->dataType = VMOD_FLOAT;
    s->aoiMode = 1;
    Vmod_Node *cover = addRasterFile(model, 2, "n2_landcover", 3.0, 1.0, "/data/landcover.img");
    auto *c = payload<Vmod_RasterData>(cover);
    c->recode = 1;
    c->numClasses = 5;
    c->newClasses = heapArray<int32_t>(5);
    const int32_t classes[5] = {0, 3, 3, 1, 0};
    for (int32_t i = 0; i < 5; ++i) c->newClasses[i] = classes[i];
    Vmod_Node *limit = addNode(model, VMOD_SCALAR, 3, "n3_maxslope", 5.0, 1.0);
    payload<Vmod_ScalarData>(limit)->value = 15.0;

    Vmod_Node *score = addNode(model, VMOD_CRITERIA, 4, "n4_score", 3.0, 2.5);
    auto *k = payload<Vmod_CriteriaData>(score);
    k->columns = 2;
    k->rows = 3;
    k->columnTitles = heapStrings({"$n1_slope", "$n2_landcover"});
    k->cells = heapStrings({"< 5", "== 3", "< $n3_maxslope", "== 3", "< $n3_maxslope", ">= 1"});
    k->outputValues = heapValues<double>({3, 2, 1});
    Vmod_Node *result = addNode(model, VMOD_RASTER, 5, "n5_suitability", 3.0, 4.0);
    auto *r = payload<Vmod_RasterData>(result);
    r->prompt = 1;
    r->newFile = 1;
    r->deleteFile = 0;

    Vmod_Node *histogram = addNode(model, VMOD_FUNCTION, 6, "HISTOGRAM", 3.0, 5.5);
    payload<Vmod_FunctionData>(histogram)->expression = heapString("HISTOGRAM ( $n5_suitability )");
    Vmod_Node *area = addNode(model, VMOD_TABLE, 7, "n7_area", 3.0, 7.0);
    auto *t = payload<Vmod_TableData>(area);
    t->size = 4;
    t->dataType = VMOD_TABLE_DOUBLE;
    t->source = 3;
    t->outputToLayer = 1;
    t->layerKind = 0;
    t->layerFile = heapString("/data/suitability.img");
    t->layerName = heapString("Layer_1");
    t->fieldName = heapString("Histogram");
    t->show = 1;

    addNote(model, 8, "Scores: 3 best, 0 unsuitable", 5.5, 2.5, "Times-Roman", 12, VMOD_STYLE_BOLD);

    addArrows({{slope, score}, {cover, score}, {limit, score}, {score, result}, {result, histogram},
              {histogram, area}});
    return model;
}

// One node of every kind, each with the statements its kind writes most often, and
// escaped strings where the format escapes them.
inline Vmod_Model *everyKindModel(const char *fileName) {
    Vmod_Model *model = newModel(fileName);
    model->title = heapString("Every kind of node");
    setGivenCellSize(model, 0.1f, 0.25f, 1);
    model->margins[2] = 0.75;
    model->margins[3] = 0.75;
    model->projectionMode = 2;
    model->projectionSpec1 = heapString("UTM Zone 11");
    model->projectionSpec2 = heapString("NAD83");
    model->optimize = 0;

    Vmod_Node *dem = addRasterFile(model, 1, "$n1_dem", 1.0, 1.5, "/data/dem.img");
    auto *d = payload<Vmod_RasterData>(dem);
    d->thematic = 0;
    d->interpolation = 2;
    d->dataType = VMOD_SIGNED16;
    d->ignoreSet = 1;
    d->ignoreValue = -9999.0;
    d->compression = 1;
    d->areaRect = newRect(0.5, 1e6, 1234.125, -2.5e-7);
    d->aoiMode = 2;
    d->aoiFile = heapString("/data/dem.aoi");

    Vmod_Node *roads = addNode(model, VMOD_VECTOR, 2, "$n2_roads", 3.0, 1.5);
    auto *v = payload<Vmod_VectorData>(roads);
    v->fileName = heapString("/data/roads");
    v->feature = heapString("line");
    v->cellSizeSet = 1;
    v->cellSizeX = 10.0f;
    v->cellSizeY = 10.0f;
    v->cellSizeUnits = 1;
    v->window = newRect(100.0, 200.0, 300.5, 400.25);
    v->aoiMode = 1;
    v->attribute = heapString("ROADCLASS");

    Vmod_Node *cost = addNode(model, VMOD_FUNCTION, 3, "CONCAT \"x\"", 2.0, 3.0);
    payload<Vmod_FunctionData>(cost)->expression =
        heapString("CONCAT \"x\" ( $n1_dem , $n2_roads , \"a \\ b\" )");

    Vmod_Node *out = addRasterFile(model, 4, "$n4_cost", 2.0, 4.5, "/data/cost.img");
    auto *o = payload<Vmod_RasterData>(out);
    o->newFile = 1;
    o->deleteFile = 1;
    o->dataType = VMOD_FLOAT;
    o->thematic = 0;

    Vmod_Node *kernel = addNode(model, VMOD_MATRIX, 5, "$n5_kernel", 4.5, 1.5);
    payload<Vmod_MatrixData>(kernel)->values = heapValues<double>({1, 2, 1, 2, 4, 2, 1, 2, 1});

    Vmod_Node *rule = addNode(model, VMOD_CRITERIA, 6, "$n6_rule", 4.5, 3.0);
    auto *k = payload<Vmod_CriteriaData>(rule);
    k->columns = 2;
    k->rows = 3;
    k->columnTitles = heapStrings({"$n4_cost", "$n7_limit"});
    k->cells = heapStrings({"< $n7_limit", "> \"0\"", nullptr, "== 1", ">= $n7_limit", ""});
    k->outputValues = heapValues<double>({1, 2.5, 1234567});
    k->defaultValue = -1;

    Vmod_Node *limit = addNode(model, VMOD_SCALAR, 7, "$n7_limit", 6.0, 1.5);
    auto *s = payload<Vmod_ScalarData>(limit);
    s->value = 0.1;
    s->show = 1;

    Vmod_Node *lut = addNode(model, VMOD_TABLE, 8, "$n8_lut", 6.0, 3.0);
    auto *t = payload<Vmod_TableData>(lut);
    t->size = 4;
    t->values = heapValues<double>({10, 20.5, -30, 1e20});

    Vmod_Node *classes = addRasterFile(model, 9, "$n9_classes", 4.5, 4.5, "/data/classes.img");
    auto *c = payload<Vmod_RasterData>(classes);
    c->newFile = 1;
    c->recode = 1;
    c->numClasses = 3;
    c->newClasses = heapArray<int32_t>(3);
    c->newClasses[1] = 1;
    c->newClasses[2] = -2;

    Vmod_Node *note =
        addNote(model, 10, "Cost \"draft\"", 1.0, 6.0, "Helvetica", 12, VMOD_STYLE_BOLD | VMOD_STYLE_UNDERLINE);

    Vmod_Node *palette = addNode(model, VMOD_TABLE, 11, "$n11_palette", 7.5, 1.5);
    auto *p = payload<Vmod_TableData>(palette);
    p->size = 2;
    p->dataType = VMOD_TABLE_COLOR;
    p->colors = heapArray<Vmod_TableColor *>(2);
    for (int32_t i = 0; i < 2; ++i) {
        p->colors[i] = heapRecord<Vmod_TableColor>();
        p->colors[i]->value[0] = i;
        p->colors[i]->value[1] = 0.5;
        p->colors[i]->value[2] = 0.25 * i;
        p->colors[i]->value[3] = 1;
    }

    Vmod_Node *names = addNode(model, VMOD_TABLE, 12, "$n12_names", 7.5, 3.0);
    auto *m = payload<Vmod_TableData>(names);
    m->size = 3;
    m->dataType = VMOD_TABLE_STRING;
    m->strings = heapStrings({"water", "say \"hi\"", ""});

    Vmod_Node *lowpass = addNode(model, VMOD_MATRIX, 13, "$n13_lowpass", 7.5, 4.5);
    payload<Vmod_MatrixData>(lowpass)->source = 0;

    Vmod_Node *total = addNode(model, VMOD_SCALAR, 14, "$n14_total", 6.0, 6.0);
    auto *u = payload<Vmod_ScalarData>(total);
    u->write = 1;
    u->prompt = 1;
    u->promptText = heapString("Where to save the total");

    addArrows({{dem, cost}, {roads, cost}, {lut, cost}, {cost, out}, {out, rule}, {limit, rule}, {rule, classes},
              {kernel, cost}});
    addChild(note, cost); // a note's arrows are not saved
    return model;
}

} // namespace vmodtest

#endif
