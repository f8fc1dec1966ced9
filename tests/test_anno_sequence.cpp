// vmod_ModelAnno as the host's annotation package sees it: every call, in order, with
// its attribute codes and values, read from the host's call record.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "anno_test_support.h"

namespace {

// A model with one node of every kind and arrows between them, on a letter page.
struct EveryKind : TestModel {
    EveryKind() {
        model.pageWidth = 8.5;
        model.pageHeight = 11;
        Vmod_Node *raster = place(add(VMOD_RASTER, 1, "in"), 1, 1);
        Vmod_Node *vector = place(add(VMOD_VECTOR, 2, "v"), 3, 1);
        Vmod_Node *matrix = place(add(VMOD_MATRIX, 3), 5, 1);
        Vmod_Node *table = place(add(VMOD_TABLE, 4, "t"), 1, 3);
        Vmod_Node *scalar = place(add(VMOD_SCALAR, 5, "s"), 3, 3);
        Vmod_Node *function = place(add(VMOD_FUNCTION, 6, "f"), 5, 3);
        Vmod_Node *criteria = place(add(VMOD_CRITERIA, 7, "c"), 1, 5);
        Vmod_Node *text = place(add(VMOD_TEXT, 8, "note"), 3, 5);
        setFont(text, "times", 12, 3);
        arrow(raster, function);
        arrow(vector, function);
        arrow(function, table);
        arrow(matrix, criteria);
        arrow(criteria, scalar);
    }
    static Vmod_Node *place(Vmod_Node *node, double x, double y) {
        node->x = x;
        node->y = y;
        return node;
    }
    // The font is the test's literal; the node does not own it.
    static void setFont(Vmod_Node *node, const char *font, int32_t size, int32_t style) {
        auto *text = static_cast<Vmod_TextData *>(node->data);
        text->font = const_cast<char *>(font);
        text->size = size;
        text->style = style;
    }
};

std::vector<std::string> goldenLines(const char *name) {
    std::ifstream in(std::string(VMOD_SOURCE_DIR) + "/tests/golden/" + name);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The value of code `code` in a recorded call, as written ("0.69, 11.2"), or "".
std::string codeValue(const std::string &line, int code) {
    std::string key = "; " + std::to_string(code) + ": ";
    size_t at = line.find(key);
    if (at == std::string::npos) return "";
    at += key.size();
    size_t end = line.find_first_of(";)", at);
    // Quoted strings and bracketed lists may hold ';' or ')': end after their close.
    if (line[at] == '"') end = line.find_first_of(";)", line.find('"', at + 1));
    size_t bracket = line.find('[', at);
    if (bracket != std::string::npos && bracket < end) end = line.find(']', bracket) + 1;
    return line.substr(at, end - at);
}

// The recorded lines of `call` in an export of the model into a scratch directory.
std::vector<std::string> exportedCalls(TestModel &m, const char *call) {
    ScratchDir dir;
    ReportSlot slot;
    return linesStarting(recordExport(&m.model, dir.file("layer.svg"), &slot.report), call);
}

} // namespace

TEST(vmod_ModelAnno, RecordsTheWholeSequenceForAModelOfEveryKind) {
    EveryKind m;
    ScratchDir dir;
    ReportSlot slot;
    std::vector<std::string> record = recordExport(&m.model, dir.file("every_kind.svg"), &slot.report);
    EXPECT_EQ(slot.report, nullptr);
    // The record names the layer file by its full path; the golden file by a stand-in.
    for (std::string &line : record) {
        size_t at = line.find(dir.path.string());
        if (at != std::string::npos) line.replace(at, dir.path.string().size(), "DIR");
    }
    // VMOD_WRITE_GOLDEN=1 rewrites the file after a deliberate change; review its diff.
    if (std::getenv("VMOD_WRITE_GOLDEN") != nullptr) {
        std::ofstream out(std::string(VMOD_SOURCE_DIR) + "/tests/golden/anno_every_kind.record");
        for (const std::string &line : record) out << line << "\n";
    }
    std::vector<std::string> golden = goldenLines("anno_every_kind.record");
    ASSERT_FALSE(golden.empty());
    for (size_t i = 0; i < std::max(record.size(), golden.size()); ++i) {
        ASSERT_LT(i, record.size()) << "missing from line " << i + 1 << ": " << golden[i];
        ASSERT_LT(i, golden.size()) << "extra at line " << i + 1 << ": " << record[i];
        EXPECT_EQ(record[i], golden[i]) << "line " << i + 1;
    }
}

TEST(vmod_ModelAnno, CreatesTheFiveStylesFirstInTheirOrder) {
    TestModel m;
    ScratchDir dir;
    ReportSlot slot;
    std::vector<std::string> r = recordExport(&m.model, dir.file("styles.svg"), &slot.report);
    ASSERT_GE(r.size(), 25u);
    const char *expected[] = {
        "oint_GetInit() -> init1",
        "oevg_Init() -> graphics1",
        nullptr, // oant_LayerNew, checked below
        "oant_ColorSetValues(init1, library, 0, report; 1: \"white\"; 25: 255, 255, 255) -> color1",
        "oant_ColorAddToLibrary(color1, library, 1, report) -> 0",
        "oant_FillStyleSetValues(init1, library, 0, report; 1: \"Solid filled white\"; 12: 1, 0; 13: 0, -1) -> fillstyle1",
        "oant_FillStyleAddToLibrary(fillstyle1, library, 1, report) -> 0",
        "oant_ColorSetValues(init1, library, 0, report; 1: \"black\"; 25: 0, 0, 0) -> color2",
        "oant_ColorAddToLibrary(color2, library, 1, report) -> 1",
        "oant_FillStyleSetValues(init1, library, 0, report; 1: \"Solid filled black\"; 12: 1, 1; 13: 0, -1) -> fillstyle2",
        "oant_FillStyleAddToLibrary(fillstyle2, library, 1, report) -> 1",
        "oant_ColorSetValues(init1, library, 0, report; 1: \"black\"; 25: 0, 0, 0) -> color3",
        "oant_ColorAddToLibrary(color3, library, 1, report) -> 1",
        "oant_LineStyleSetValues(init1, library, 0, report; 1: \"Scalable black line\"; 4: 3, \"points\"; "
        "5: 0, 0.72, 1; 6: 0, 1, 0) -> linestyle1",
        "oant_LineStyleAddToLibrary(linestyle1, library, 1, report) -> 0",
        "oant_ColorSetValues(init1, library, 0, report; 1: \"black\"; 25: 0, 0, 0) -> color4",
        "oant_ColorAddToLibrary(color4, library, 1, report) -> 1",
        "oant_LineStyleSetValues(init1, library, 0, report; 1: \"Scalable black line\"; 4: 3, \"points\"; "
        "5: 0, 0.72, 1; 6: 0, 1, 0) -> linestyle2",
        "oant_LineStyleAddToLibrary(linestyle2, library, 1, report) -> 0",
        "oant_FillStyleSetValues(init1, library, 0, report; 1: \"Unfilled outlined with black\"; 12: 0, -1; "
        "13: 1, 0) -> fillstyle3",
        "oant_FillStyleAddToLibrary(fillstyle3, library, 1, report) -> 2",
        "oant_TextStyleSetValues(init1, library, 0, report; 14: 3, \"points\"; 15: \"sansb.otl\"; 20: 1) -> textstyle1",
        "oant_TextStyleAddToLibrary(textstyle1, library, 1, report) -> 0",
        "oant_CoordSysConversionSetValues(0, 1, 1, 1, 1, 0, 0, \"inches\", \"inches\", report) -> conversion1",
    };
    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i)
        if (expected[i] != nullptr) {
            EXPECT_EQ(r[i], expected[i]) << "line " << i + 1;
        }
    EXPECT_EQ(r[2], "oant_LayerNew(init1, graphics1, \"" + dir.file("styles.svg") +
                        "(:Annotation)\", 0, 0, report) -> layer");
}

TEST(vmod_ModelAnno, WritesOnlyTheBackgroundOfAModelWithoutNodes) {
    TestModel m;
    m.model.pageWidth = 8.5;
    m.model.pageHeight = 11;
    ScratchDir dir;
    ReportSlot slot;
    std::vector<std::string> r = recordExport(&m.model, dir.file("empty.svg"), &slot.report);
    std::vector<std::string> tail(r.end() - 9, r.end());
    const char *expected[] = {
        "oant_RectangleElementSetValues(elements, 0, conversion1, report; 1: \"background\"; 5: 3, \"inches\"; "
        "6: 3, \"inches\"; 8: 0; 13: 0, -0; 14: 2, 2) -> element1",
        "oant_GroupElementSetValues(elements, 0, conversion1, report; 1: \"model\"; 39: element1 [element1]) -> "
        "element2",
        "ovec_BboxCreate(-1, -1, 1, 1, report) -> bbox1",
        "oant_SetAntBoundingBox(elements, bbox1 [-1, -1, 1, 1], report)",
        "oprj_MapInfoCreate() -> mapinfo1",
        "oant_LayerClose(layer, report) root element2, map information mapinfo1 [(-1, 1), (1, -1), 7, \"inches\"]",
        "ovec_BboxDelete(bbox1)",
        "oant_CoordSysConversionFree(conversion1)",
    };
    // The last nine calls: background, root group, box, map information, close, box and
    // conversion released (the first of the nine is the conversion itself).
    EXPECT_EQ(tail[0].rfind("oant_CoordSysConversionSetValues", 0), 0u) << tail[0];
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(tail[i + 1], expected[i]);
    EXPECT_EQ(slot.report, nullptr);
}

// Labels: d below the centre at s points; "?" for an untitled node, 0.12 inch lower.
TEST(vmod_ModelAnno, PlacesLabelsBelowTheGlyphByKindAndTitle) {
    struct Case {
        int32_t kind;
        const char *title;
        const char *position; // node at paper (2, 1)
        const char *size;
        const char *text;
    } cases[] = {
        {VMOD_MATRIX, "m", "2, -1.69", "11.2", "\"m\""},
        {VMOD_SCALAR, "s", "2, -1.57", "11.2", "\"s\""},
        {VMOD_MATRIX, nullptr, "2, -1.81", "19.2", "\"?\""},
        {VMOD_SCALAR, nullptr, "2, -1.69", "19.2", "\"?\""},
        {VMOD_RASTER, "r", "2, -1.69", "11.2", "\"r\""},
        {VMOD_CRITERIA, nullptr, "2, -1.81", "19.2", "\"?\""},
    };
    for (const Case &c : cases) {
        TestModel m;
        Vmod_Node *node = m.add(c.kind, 1, c.title);
        node->x = 2;
        node->y = 1;
        std::vector<std::string> texts = exportedCalls(m, "oant_TextElementSetValues");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(codeValue(texts[0], 1), "\"label\"");
        EXPECT_EQ(codeValue(texts[0], 5), "3, \"points\"");
        EXPECT_EQ(codeValue(texts[0], 9), "0"); // the label text style
        EXPECT_EQ(codeValue(texts[0], 26), c.position) << c.kind;
        EXPECT_EQ(codeValue(texts[0], 28), c.size) << c.kind;
        EXPECT_EQ(codeValue(texts[0], 29), "1, 2");
        EXPECT_EQ(codeValue(texts[0], 30), std::string("0, ") + c.text);
    }
}

TEST(vmod_ModelAnno, LabelSizesAreComputedInDouble) {
    TestModel m;
    m.add(VMOD_VECTOR, 1);
    m.add(VMOD_VECTOR, 2, "x");
    ScratchDir dir;
    ReportSlot slot;
    vmod_ModelAnno(&m.model, dir.file("d.svg").c_str(), &slot.report);
    auto svg = readSvg(dir.file("d.svg"));
    auto texts = svg->all("text");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->attr("data-font-size"), "19.2pt");
    EXPECT_EQ(texts[1]->attr("data-font-size"), "11.2pt");
    // The viewer's standard sans is drawn larger by the bold sans outline font's 0.92.
    EXPECT_NEAR(texts[0]->number("font-size") * 72, 24 * 0.8 / 0.92, 1e-6);
    EXPECT_NEAR(texts[1]->number("font-size") * 72, 14 * 0.8 / 0.92, 1e-6);
}

// Text nodes: the font family and style bits choose the outline file, slant and size
// factor; styles 4 to 7 are 0 to 3 underlined, except symbol at 7.
TEST(vmod_ModelAnno, ChoosesTheOutlineFontOfATextNodeByFamilyAndStyle) {
    struct Row {
        const char *font;
        const char *files[4];
        const char *slants[4];
        double factors[4];
    } rows[] = {
        {"charter", {"garamond.otl", "garam.otl", "garai.otl", "garami.otl"}, {"0", "0", "0", "0"}, {0.68, 0.72, 0.68, 0.69}},
        {"courier", {"courier.otl", "courierb.otl", "courieri.otl", "courierb.otl"}, {"0", "0", "0", "0.2"}, {0.88, 0.89, 0.88, 0.89}},
        {"helvetica", {"sansl.otl", "sans.otl", "sansl.otl", "sans.otl"}, {"0", "0", "0.2", "0.2"}, {0.97, 0.92, 0.97, 0.92}},
        {"new century schoolbook", {"school.otl", "schoolb.otl", "schooli.otl", "schoolbi.otl"}, {"0", "0", "0", "0"}, {0.87, 0.88, 0.87, 0.89}},
        {"symbol", {"symbol.otl", "symbol.otl", "symbol.otl", "symbol.otl"}, {"0", "0", "0.2", "0.2"}, {0.58, 0.58, 0.58, 0.58}},
        {"times", {"roman.otl", "romanb.otl", "romani.otl", "romanbi.otl"}, {"0", "0", "0", "0"}, {0.87, 0.88, 0.88, 0.89}},
        {"palatino", {"courier.otl", "courierb.otl", "courieri.otl", "courierb.otl"}, {"0", "0", "0", "0.2"}, {0.88, 0.89, 0.88, 0.89}},
        {nullptr, {"courier.otl", "courierb.otl", "courieri.otl", "courierb.otl"}, {"0", "0", "0", "0.2"}, {0.88, 0.89, 0.88, 0.89}},
    };
    for (const Row &row : rows) {
        for (int32_t style = 0; style < 8; ++style) {
            TestModel m;
            Vmod_Node *node = m.add(VMOD_TEXT, 1, "T");
            EveryKind::setFont(node, row.font, 10, style);
            ScratchDir dir;
            ReportSlot slot;
            std::vector<std::string> r = recordExport(&m.model, dir.file("t.svg"), &slot.report);
            std::vector<std::string> styles = linesStarting(r, "oant_TextStyleSetValues");
            ASSERT_EQ(styles.size(), 2u); // the labels' and this node's
            std::string label = row.font ? row.font : "(none)";
            label += " style " + std::to_string(style);
            EXPECT_EQ(codeValue(styles[1], 14), "3, \"points\"") << label;
            EXPECT_EQ(codeValue(styles[1], 15), std::string("\"") + row.files[style & 3] + "\"") << label;
            EXPECT_EQ(codeValue(styles[1], 16), row.slants[style & 3]) << label;
            EXPECT_EQ(codeValue(styles[1], 20), "1") << label;
            EXPECT_EQ(codeValue(styles[1], 21), style >= 4 ? "1, 2.2" : "0, 2.2") << label;
            EXPECT_EQ(codeValue(styles[1], 22), "0") << label;
            std::vector<std::string> texts = linesStarting(r, "oant_TextElementSetValues");
            ASSERT_EQ(texts.size(), 1u);
            double factor = row.factors[style & 3];
            if (row.font && std::strcmp(row.font, "symbol") == 0 && style == 7) factor = 0.48;
            char size[32];
            std::snprintf(size, sizeof size, "%g", 10 * factor);
            EXPECT_EQ(codeValue(texts[0], 28), size) << label;
            EXPECT_EQ(codeValue(texts[0], 29), "1, 0") << label;
            EXPECT_EQ(codeValue(texts[0], 9), "1") << label;
            EXPECT_EQ(codeValue(texts[0], 26), "0, -0") << label;
        }
    }
}

TEST(vmod_ModelAnno, DrawsATextStyleOutsideTheThreeBitsAsPlain) {
    for (int32_t style : {8, -1, 100}) {
        TestModel m;
        EveryKind::setFont(m.add(VMOD_TEXT, 1, "T"), "times", 10, style);
        ScratchDir dir;
        ReportSlot slot;
        std::vector<std::string> r = recordExport(&m.model, dir.file("t.svg"), &slot.report);
        std::vector<std::string> styles = linesStarting(r, "oant_TextStyleSetValues");
        ASSERT_EQ(styles.size(), 2u);
        EXPECT_EQ(codeValue(styles[1], 15), "\"roman.otl\"") << style;
        EXPECT_EQ(codeValue(styles[1], 21), "0, 2.2") << style;
        EXPECT_EQ(codeValue(linesStarting(r, "oant_TextElementSetValues")[0], 28), "8.7") << style;
    }
}

TEST(vmod_ModelAnno, GivesAnUntitledTextNodeAnEmptyText) {
    TestModel m;
    m.add(VMOD_TEXT, 1);
    std::vector<std::string> texts = exportedCalls(m, "oant_TextElementSetValues");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(codeValue(texts[0], 30), "0, \"\"");
}

namespace {

// The arrow-head polygon of the only arrow from a raster at `from` to a raster at `to`.
std::string headOf(double fx, double fy, double tx, double ty) {
    TestModel m;
    Vmod_Node *a = m.add(VMOD_RASTER, 1, "a");
    Vmod_Node *b = m.add(VMOD_RASTER, 2, "b");
    a->x = fx, a->y = fy, b->x = tx, b->y = ty;
    m.arrow(a, b);
    std::vector<std::string> polygons = exportedCalls(m, "oant_PolygonElementSetValues");
    if (polygons.size() != 1) return "polygons: " + std::to_string(polygons.size());
    return codeValue(polygons[0], 19);
}

} // namespace

TEST(vmod_ModelAnno, TurnsTheArrowHeadToTheArrow) {
    // Child above its parent on paper: the head points up in the layer (tip highest).
    std::string up = headOf(1, 3, 1, 1);
    EXPECT_NE(up.find("(0.930556, -1.65833), (1, -1.61667), (1.06944, -1.65833), (1, -1.45), (0.930556, -1.65833)"),
              std::string::npos)
        << up;
    // Child below: the head points down.
    std::string down = headOf(1, 1, 1, 3);
    EXPECT_NE(down.find("(1.06944, -2.34167), (1, -2.38333), (0.930556, -2.34167), (1, -2.55), (1.06944, -2.34167)"),
              std::string::npos)
        << down;
    // Child to the left: the head points left.
    std::string left = headOf(3, 1, 1, 1);
    EXPECT_NE(left.find("(1.65833, -1.06944), (1.61667, -1), (1.65833, -0.930556), (1.45, -1), (1.65833, -1.06944)"),
              std::string::npos)
        << left;
    // 0.9 inch apart the two ends meet (exactly, at x = 0.45): a head pointing down.
    std::string meet = headOf(0, 0, 0.9, 0);
    EXPECT_NE(meet.find("(0.519444, 0.208333), (0.45, 0.166667), (0.380556, 0.208333), (0.45, "), std::string::npos)
        << meet;
}

TEST(vmod_ModelAnno, DrawsOneArrowPerNodeCarryingTheLinksIdentifier) {
    TestModel m;
    Vmod_Node *from = m.add(VMOD_FUNCTION, 1, "f");
    Vmod_Node *twinA = m.add(VMOD_SCALAR, 2, "a");
    Vmod_Node *twinB = m.add(VMOD_SCALAR, 2, "b");
    twinA->x = 2, twinB->x = 4, twinB->y = 2;
    vmod_ChildAdd(from, 2, nullptr);  // both nodes carry identifier 2
    vmod_ChildAdd(from, 99, nullptr); // no node carries 99
    ScratchDir dir;
    ReportSlot slot;
    std::vector<std::string> r = recordExport(&m.model, dir.file("twins.svg"), &slot.report);
    EXPECT_EQ(linesStarting(r, "oant_PolylineElementSetValues").size(), 2u);
    EXPECT_EQ(linesStarting(r, "oant_PolygonElementSetValues").size(), 2u);
}

TEST(vmod_ModelAnno, DrawsNoArrowBetweenNodesOnOneCentre) {
    TestModel m;
    Vmod_Node *a = m.add(VMOD_SCALAR, 1, "a");
    Vmod_Node *b = m.add(VMOD_SCALAR, 2, "b");
    m.arrow(a, b);
    ScratchDir dir;
    ReportSlot slot;
    std::vector<std::string> r = recordExport(&m.model, dir.file("same.svg"), &slot.report);
    EXPECT_TRUE(linesStarting(r, "oant_PolygonElementSetValues").empty());
    EXPECT_EQ(slot.report, nullptr);
    EXPECT_TRUE(wellFormed(dir.file("same.svg")));
    EXPECT_EQ(readFile(dir.file("same.svg")).find("nan"), std::string::npos);
}

TEST(vmod_ModelAnno, GivesANodeOfUnknownKindOnlyItsLabel) {
    TestModel m;
    Vmod_Node *odd = m.add(VMOD_SCALAR, 1, "odd");
    odd->type = 42;
    ScratchDir dir;
    ReportSlot slot;
    std::vector<std::string> r = recordExport(&m.model, dir.file("odd.svg"), &slot.report);
    EXPECT_EQ(linesStarting(r, "oant_GroupElementSetValues").size(), 1u); // the root alone
    std::vector<std::string> texts = linesStarting(r, "oant_TextElementSetValues");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(codeValue(texts[0], 26), "0, -0.69");
    odd->type = VMOD_SCALAR; // released as what it was made
}
