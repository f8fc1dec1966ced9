// The host's annotation package on its own: attribute lists, the style library, groups
// and the layer file.
#include "anno_test_support.h"
#include "vmodhost/oant.h"
#include "vmodhost/ofga.h"

namespace {

// An open layer on a file in a scratch directory; closed (and written) at scope end
// unless the test closes it first.
struct OpenLayer {
    ScratchDir dir;
    std::string path = dir.file("layer.svg");
    Oant_Layer *layer = nullptr;
    OpenLayer() {
        ReportSlot slot;
        std::string name = path + "(:Annotation)";
        layer = oant_LayerNew(oint_GetInit(), oevg_Init(), name.c_str(), 0, 0, &slot.report);
        EXPECT_EQ(slot.report, nullptr);
    }
    ~OpenLayer() { close(); }
    int32_t close() {
        ReportSlot slot;
        int32_t result = oant_LayerClose(layer, &slot.report);
        layer = nullptr;
        return result;
    }
    // Closes the layer with root as its root element and reads back the file it wrote.
    std::unique_ptr<XmlElement> closeAndRead(Oant_Element *root) {
        if (root != nullptr) layer->annotationData->rootElement = root;
        EXPECT_EQ(close(), 0);
        EXPECT_TRUE(wellFormed(path));
        return readSvg(path);
    }
    Oant_StyleLibrary *library() { return layer->annotationData->styleLibrary; }
    Oant_Elements *elements() { return layer->annotationData->elements; }
};

} // namespace

TEST(oant_ColorSetValues, RefusesAnUnknownAttributeCode) {
    OpenLayer l;
    ReportSlot slot;
    Oant_Color *color = oant_ColorSetValues(oint_GetInit(), l.library(), 0, &slot.report, OANT_NAME, "red", 77, 1,
                                            OANT_END);
    EXPECT_EQ(color, nullptr);
    ASSERT_NE(slot.report, nullptr);
    EXPECT_NE(std::string(vmodhost_ErrorMessage(slot.report)).find("77"), std::string::npos);
}

TEST(oant_ColorSetValues, RequiresAName) {
    OpenLayer l;
    ReportSlot slot;
    EXPECT_EQ(oant_ColorSetValues(oint_GetInit(), l.library(), 0, &slot.report, OANT_COLOR_RGB, 1, 2, 3, OANT_END),
              nullptr);
    EXPECT_NE(slot.report, nullptr);
}

TEST(oant_ColorAddToLibrary, SharesAnEqualColourAndNumbersOthersInOrder) {
    OpenLayer l;
    ReportSlot slot;
    auto make = [&](const char *name, int r) {
        return oant_ColorSetValues(oint_GetInit(), l.library(), 0, &slot.report, OANT_NAME, name, OANT_COLOR_RGB, r, 0,
                                   0, OANT_END);
    };
    EXPECT_EQ(oant_ColorAddToLibrary(make("black", 0), l.library(), 1, &slot.report), 0);
    EXPECT_EQ(oant_ColorAddToLibrary(make("red", 255), l.library(), 1, &slot.report), 1);
    EXPECT_EQ(oant_ColorAddToLibrary(make("black", 0), l.library(), 1, &slot.report), 0);
    EXPECT_EQ(oant_ColorAddToLibrary(make("black", 1), l.library(), 1, &slot.report), 2); // other values
    EXPECT_EQ(oant_ColorAddToLibrary(make("black", 0), l.library(), 0, &slot.report), 3); // not shared
    EXPECT_EQ(slot.report, nullptr);
}

TEST(oant_ColorAddToLibrary, LeavesARefusedColourToTheCaller) {
    OpenLayer l;
    ReportSlot slot;
    Oant_Color *color = oant_ColorSetValues(oint_GetInit(), l.library(), 0, &slot.report, OANT_NAME, "c",
                                            OANT_COLOR_RGB, 1, 2, 3, OANT_END);
    EXPECT_EQ(oant_ColorAddToLibrary(color, nullptr, 1, &slot.report), -1);
    EXPECT_NE(slot.report, nullptr);
    oant_ColorFree(color); // still the caller's: freed once, no leak
}

TEST(oant_GroupElementSetValues, TakesItsMembersFromTheChainAtTheTimeOfTheCall) {
    OpenLayer l;
    ReportSlot slot;
    Oant_Element *a = oant_RectangleElementSetValues(l.elements(), 0, nullptr, &slot.report, OANT_NAME, "a",
                                                     OANT_RECT_CENTER, 0.0, 0.0, OANT_RECT_SIZE, 1.0, 1.0, OANT_END);
    Oant_Element *b = oant_EllipseElementSetValues(l.elements(), 0, nullptr, &slot.report, OANT_NAME, "b",
                                                   OANT_ELLIPSE_RADII, 1.0, 2.0, OANT_END);
    ollm_Add(a, OLLM_APPEND, b);
    Oant_Element *group =
        oant_GroupElementSetValues(l.elements(), 0, nullptr, &slot.report, OANT_NAME, "g", OANT_GROUP_MEMBERS, a, OANT_END);
    Oant_Element *c = oant_EllipseElementSetValues(l.elements(), 0, nullptr, &slot.report, OANT_NAME, "late", OANT_END);
    ollm_Add(a, OLLM_APPEND, c); // after the group was made: not a member
    // A pointer that is no element of this layer ends the chain instead of being followed.
    int foreign[4] = {};
    Oant_Element *odd = oant_GroupElementSetValues(l.elements(), 0, nullptr, &slot.report, OANT_NAME, "odd",
                                                   OANT_GROUP_MEMBERS, reinterpret_cast<Oant_Element *>(foreign), OANT_END);
    Oant_Element *top = odd;
    ollm_Add(top, OLLM_APPEND, group);
    Oant_Element *root = oant_GroupElementSetValues(l.elements(), 0, nullptr, &slot.report, OANT_NAME, "root",
                                                    OANT_GROUP_MEMBERS, top, OANT_END);
    EXPECT_EQ(slot.report, nullptr);
    auto svg = l.closeAndRead(root);
    auto groups = svg->all("g");
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0]->attr("data-name"), "root");
    EXPECT_EQ(groups[1]->attr("data-name"), "odd");
    EXPECT_TRUE(groups[1]->children.empty());
    ASSERT_EQ(groups[2]->children.size(), 2u);
    EXPECT_EQ(groups[2]->children[0]->attr("data-name"), "a");
    EXPECT_EQ(groups[2]->children[1]->attr("data-name"), "b");
    EXPECT_EQ(groups[2]->children[1]->attr("ry"), "2");
}

TEST(oant_PolylineElementSetValues, CopiesTheBlockSoItMayBeRefilled) {
    OpenLayer l;
    ReportSlot slot;
    Ofga_CoordBlock *block = ofga_BaseCoordBlockCreate(2, 2, 1, 10, &slot.report);
    ASSERT_NE(block, nullptr);
    block->coords[0] = 1, block->coords[1] = 2, block->coords[2] = 3, block->coords[3] = 4;
    Oant_Element *first = oant_PolylineElementSetValues(l.elements(), 0, nullptr, &slot.report, OANT_NAME, "first",
                                                        OANT_POLYLINE_POINTS, 0, block, OANT_END);
    block->coords[0] = 9;
    Oant_Element *second = oant_PolylineElementSetValues(l.elements(), 0, nullptr, &slot.report, OANT_NAME,
                                                         "second", OANT_POLYLINE_POINTS, 0, block, OANT_END);
    ofga_CoordBlockDelete(block);
    ollm_Add(first, OLLM_APPEND, second);
    auto svg = l.closeAndRead(oant_GroupElementSetValues(l.elements(), 0, nullptr, &slot.report, OANT_NAME, "g",
                                                         OANT_GROUP_MEMBERS, first, OANT_END));
    EXPECT_EQ(polylinePoints(*svg), (std::vector<std::string>{"1,-2 3,-4", "9,-2 3,-4"}));
}

TEST(oant_CoordSysConversionSetValues, ScalesAndMovesElementPositions) {
    OpenLayer l;
    ReportSlot slot;
    Oant_CoordSysConversion *c =
        oant_CoordSysConversionSetValues(0, 2.0, 2.0, 1.0, 1.0, 1.0, -1.0, "inches", "inches", &slot.report);
    ASSERT_NE(c, nullptr);
    Oant_Element *rect = oant_RectangleElementSetValues(l.elements(), 0, c, &slot.report, OANT_NAME, "r",
                                                        OANT_RECT_CENTER, 1.0, 1.0, OANT_RECT_SIZE, 1.0, 1.0, OANT_END);
    oant_CoordSysConversionFree(c);
    auto svg = l.closeAndRead(rect);
    auto rects = svg->all("rect");
    ASSERT_EQ(rects.size(), 1u);
    // Centre (3, 1), size 2 x 2: SVG corner (2, -2).
    EXPECT_EQ(rects[0]->attr("x"), "2");
    EXPECT_EQ(rects[0]->attr("y"), "-2");
    EXPECT_EQ(rects[0]->attr("width"), "2");
}

TEST(oant_LayerClose, IgnoresAHandleThatIsNoOpenLayer) {
    ReportSlot slot;
    EXPECT_EQ(oant_LayerClose(nullptr, &slot.report), -1);
    EXPECT_NE(slot.report, nullptr);
    Oant_Layer stray{};
    EXPECT_EQ(oant_LayerClose(&stray, nullptr), -1);
}

TEST(oant_LayerClose, WritesAnEmptyDocumentForALayerWithoutRoot) {
    OpenLayer l;
    auto svg = l.closeAndRead(nullptr);
    EXPECT_EQ(svg->name, "svg");
    EXPECT_TRUE(svg->all("g").empty());
}

TEST(oant_LayerNew, TakesTheFileFromANameWithoutSuffixToo) {
    ScratchDir dir;
    ReportSlot slot;
    std::string path = dir.file("plain.svg");
    Oant_Layer *layer = oant_LayerNew(oint_GetInit(), oevg_Init(), path.c_str(), 0, 0, &slot.report);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(oant_LayerClose(layer, &slot.report), 0);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(dir.entries(), 1u);
    EXPECT_EQ(oant_LayerNew(oint_GetInit(), oevg_Init(), "", 0, 0, &slot.report), nullptr);
    EXPECT_NE(slot.report, nullptr);
}

TEST(ofga_BaseCoordBlockCreate, RefusesImpossibleShapes) {
    ReportSlot slot;
    EXPECT_EQ(ofga_BaseCoordBlockCreate(1, 5, 1, 10, &slot.report), nullptr);
    EXPECT_NE(slot.report, nullptr);
    EXPECT_EQ(ofga_BaseCoordBlockCreate(2, -1, 1, 10, nullptr), nullptr);
    Ofga_CoordBlock *empty = ofga_BaseCoordBlockCreate(2, 0, 1, 10, nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->count, 0);
    ofga_CoordBlockDelete(empty);
}

TEST(vmodhost_AnnoRecord, RecordsOnlyWhileOn) {
    vmodhost_AnnoRecord(1);
    oint_GetInit();
    vmodhost_AnnoRecord(0);
    oint_GetInit();
    ASSERT_EQ(vmodhost_AnnoRecordCount(), 1u);
    EXPECT_STREQ(vmodhost_AnnoRecordLine(0), "oint_GetInit() -> init1");
    EXPECT_EQ(vmodhost_AnnoRecordLine(1), nullptr);
}
