// Front-end code written the ordinary way against the public records: references and
// pointers to fields, a range-for over an array field, field addresses handed to the
// vmod_ functions. Under UndefinedBehaviorSanitizer (as CI runs the suite) a field off its
// type's alignment stops the test; without it, the alignment checks below catch the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <numeric>
#include <utility>

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmod/vmod.h"

namespace {

template <typename T>
bool aligned(const T *field) {
    return reinterpret_cast<std::uintptr_t>(field) % alignof(T) == 0;
}

// The model record a front end keeps: zero-filled on the host heap, as the editor makes it.
struct FrontEndModel {
    Vmod_Model *model = static_cast<Vmod_Model *>(omsc_HeapMalloc(sizeof(Vmod_Model)));
    FrontEndModel() {
        model->pixelsPerInchX = 100;
        model->pixelsPerInchY = 50;
        model->zoom = 1;
    }
    ~FrontEndModel() {
        vmod_ModelDelete(model, nullptr);
        omsc_HeapFree(model);
    }
    FrontEndModel(const FrontEndModel &) = delete;
    FrontEndModel &operator=(const FrontEndModel &) = delete;
};

} // namespace

// Every field that follows a 32-bit one, where a 4-byte packing would have put a pointer or
// a double 4 bytes off its alignment on a 64-bit build.
TEST(RecordsFrontEnd, FieldsSitOnTheirTypesAlignment) {
    FrontEndModel m;
    Vmod_Node *node = vmod_NodeCreate(m.model, VMOD_RASTER, nullptr);
    ASSERT_NE(node, nullptr);
    auto *raster = static_cast<Vmod_RasterData *>(node->data);
    EXPECT_TRUE(aligned(&node->title));
    EXPECT_TRUE(aligned(&node->x));
    EXPECT_TRUE(aligned(&node->children));
    EXPECT_TRUE(aligned(&node->data));
    EXPECT_TRUE(aligned(&raster->ignoreValue));
    EXPECT_TRUE(aligned(&raster->fileName));
    EXPECT_TRUE(aligned(&m.model->margins[0]));
    EXPECT_TRUE(aligned(&m.model->printScale));
    EXPECT_TRUE(aligned(&m.model->nodes));
    EXPECT_TRUE(aligned(&m.model->pixelsPerInchX));
    EXPECT_TRUE(aligned(&m.model->titleFont));
    vmod_NodesDelete(node, nullptr);
}

TEST(RecordsFrontEnd, FieldAddressesGoToTheLibrary) {
    FrontEndModel m;
    Vmod_Node *from = vmod_NodeCreate(m.model, VMOD_SCALAR, nullptr);
    Vmod_Node *to = vmod_NodeCreate(m.model, VMOD_FUNCTION, nullptr);
    ASSERT_TRUE(from != nullptr && to != nullptr);
    from->id = 1;
    to->id = 2;
    m.model->nodes = from;
    from->next = to;
    to->prev = from;

    // A click at pixel (150, 100) places the node: the library writes into its fields.
    vmod_ScreenToPaper(m.model, 150, 100, &from->x, &from->y);
    EXPECT_DOUBLE_EQ(from->x, 1.5);
    EXPECT_DOUBLE_EQ(from->y, 2.0);
    double &x = to->x; // bound by reference, moved in place
    double &y = to->y;
    x = from->x + 2;
    y = from->y;
    std::swap(to->width, to->height);

    int32_t sx = 0, sy = 0;
    vmod_PaperToScreen(m.model, to->x, to->y, &sx, &sy);
    EXPECT_EQ(sx, 350);
    EXPECT_EQ(sy, 100);

    // The arrow's ends go straight into a rectangle the front end keeps.
    Vmod_Rect *ends = vmod_RectCreate(nullptr);
    ASSERT_NE(ends, nullptr);
    vmod_GetCoords(from->type, from->x, from->y, to->type, to->x, to->y, &ends->x1, &ends->y1, &ends->x2, &ends->y2);
    EXPECT_LT(ends->x1, ends->x2);
    EXPECT_DOUBLE_EQ(ends->y1, ends->y2);
    vmod_RectDelete(ends, nullptr);

    // Titles and payload values through references, as an editor's dialog fills them.
    char *&title = from->title;
    title = ostr_Duplicate("rate");
    auto *scalar = static_cast<Vmod_ScalarData *>(from->data);
    double &value = scalar->value;
    value = 0.25;
    char *&prompt = scalar->promptText;
    prompt = ostr_Duplicate("Rate:");
    EXPECT_STREQ(from->title, "rate");
    EXPECT_DOUBLE_EQ(scalar->value, 0.25);

    // Arrows walked through a reference to the list head.
    vmod_ChildAddByNode(from, to, nullptr);
    Vmod_Link *&children = from->children;
    int count = 0;
    for (Vmod_Link *link = children; link != nullptr; link = link->next) {
        Vmod_Node *&target = link->node;
        EXPECT_EQ(target, to);
        ++count;
    }
    EXPECT_EQ(count, 1);
}

TEST(RecordsFrontEnd, ArrayFieldsWorkWithTheStandardLibrary) {
    FrontEndModel m;
    double inches = 0.5;
    for (double &margin : m.model->margins) margin = (inches += 0.25);
    EXPECT_DOUBLE_EQ(std::accumulate(std::begin(m.model->margins), std::end(m.model->margins), 0.0), 4.5);
    std::reverse(std::begin(m.model->margins), std::end(m.model->margins));
    EXPECT_DOUBLE_EQ(m.model->margins[0], 1.5);
    const double *margins = m.model->margins;
    EXPECT_DOUBLE_EQ(*std::max_element(margins, margins + 4), 1.5);

    Vmod_Node *node = vmod_NodeCreate(m.model, VMOD_MATRIX, nullptr);
    ASSERT_NE(node, nullptr);
    auto *matrix = static_cast<Vmod_MatrixData *>(node->data);
    for (int32_t &word : matrix->reserved) word = 7;
    EXPECT_EQ(std::count(std::begin(matrix->reserved), std::end(matrix->reserved), 7), 6);
    vmod_NodesDelete(node, nullptr);
}
