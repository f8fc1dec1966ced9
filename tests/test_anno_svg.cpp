// The SVG document the host writes for vmod_ModelAnno, read back: element counts and
// positions against the layer's geometry (inches, y upward in the layer, so an SVG y is
// the negated layer y).
#include <cmath>

#include "anno_test_support.h"

namespace {

struct Exported {
    ScratchDir dir;
    std::string path;
    std::unique_ptr<XmlElement> svg;
    Oerr_ErrorReport *report = nullptr;

    explicit Exported(Vmod_Model *model) : path(dir.file("layer.svg")) {
        vmod_ModelAnno(model, path.c_str(), &report);
        EXPECT_EQ(report, nullptr);
        EXPECT_TRUE(wellFormed(path)) << readFile(path);
        svg = readSvg(path);
    }
    ~Exported() { oerr_DeleteErrorReportEx(&report); }
    // The root group's members.
    const std::vector<std::unique_ptr<XmlElement>> &members() const {
        for (const auto &child : svg->children)
            if (child->name == "g") return child->children;
        static const std::vector<std::unique_ptr<XmlElement>> none;
        return none;
    }
};

Vmod_Node *placed(TestModel &m, int32_t kind, int32_t id, const char *title, double x, double y) {
    Vmod_Node *node = m.add(kind, id, title);
    node->x = x;
    node->y = y;
    return node;
}

void setText(Vmod_Node *node, const char *font, int32_t size, int32_t style) {
    auto *text = static_cast<Vmod_TextData *>(node->data);
    text->font = const_cast<char *>(font);
    text->size = size;
    text->style = style;
}

} // namespace

TEST(vmod_ModelAnno, WritesAnEmptyModelAsATwoInchBackgroundCentredAtTheOrigin) {
    TestModel m;
    m.model.pageWidth = 8.5;
    m.model.pageHeight = 11;
    Exported out(&m.model);
    ASSERT_EQ(out.svg->name, "svg");
    EXPECT_EQ(out.svg->attr("width"), "2in");
    EXPECT_EQ(out.svg->attr("height"), "2in");
    EXPECT_EQ(out.svg->attr("viewBox"), "-1 -1 2 2");
    ASSERT_EQ(out.members().size(), 1u);
    const XmlElement &background = *out.members()[0];
    EXPECT_EQ(background.name, "rect");
    EXPECT_EQ(background.attr("data-name"), "background");
    EXPECT_DOUBLE_EQ(background.number("x") + background.number("width") / 2, 0);
    EXPECT_DOUBLE_EQ(background.number("y") + background.number("height") / 2, 0);
    EXPECT_DOUBLE_EQ(background.number("width"), 2);
    EXPECT_DOUBLE_EQ(background.number("height"), 2);
    EXPECT_EQ(out.svg->all("g")[0]->attr("data-name"), "model");
}

TEST(vmod_ModelAnno, PutsANodeAtPaperThreeTwoAtThreeMinusTwo) {
    TestModel m;
    m.model.pageWidth = 8.5;
    m.model.pageHeight = 11;
    placed(m, VMOD_SCALAR, 1, "s", 3, 2);
    placed(m, VMOD_FUNCTION, 2, "f", 3, 2 + 3);
    Exported out(&m.model);
    auto rects = out.svg->all("rect");
    ASSERT_EQ(rects.size(), 2u);
    const XmlElement &scalar = *rects[1];
    EXPECT_EQ(scalar.attr("data-name"), "rectangle");
    // Layer centre (3, -2): the SVG centre is (3, 2).
    EXPECT_DOUBLE_EQ(scalar.number("x") + scalar.number("width") / 2, 3);
    EXPECT_DOUBLE_EQ(-(scalar.number("y") + scalar.number("height") / 2), -2);
    EXPECT_DOUBLE_EQ(scalar.number("width"), 1);
    EXPECT_DOUBLE_EQ(scalar.number("height"), 0.75);
    auto ellipses = out.svg->all("ellipse");
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_DOUBLE_EQ(ellipses[0]->number("cx"), 3);
    EXPECT_DOUBLE_EQ(-ellipses[0]->number("cy"), -5);
    EXPECT_DOUBLE_EQ(ellipses[0]->number("rx"), 0.5);
    // Extent: x 2..4, y 1..6 with the margin; the picture is that area, upright.
    EXPECT_EQ(out.svg->attr("width"), "2in");
    EXPECT_EQ(out.svg->attr("height"), "5in");
    EXPECT_EQ(out.svg->attr("viewBox"), "2 1 2 5");
}

TEST(vmod_ModelAnno, WritesLabelsBelowTheirNodesAndTheQuestionMarkLowerAndLarger) {
    TestModel m;
    placed(m, VMOD_RASTER, 1, "titled", 1, 2);
    placed(m, VMOD_SCALAR, 2, "scalar", 3, 2);
    placed(m, VMOD_RASTER, 3, nullptr, 5, 2);
    placed(m, VMOD_SCALAR, 4, nullptr, 7, 2);
    Exported out(&m.model);
    auto texts = out.svg->all("text");
    ASSERT_EQ(texts.size(), 4u);
    const double drops[] = {0.69, 0.57, 0.81, 0.69};
    const char *words[] = {"titled", "scalar", "?", "?"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[i]->text, words[i]);
        EXPECT_DOUBLE_EQ(texts[i]->number("x"), 1 + 2.0 * i);
        EXPECT_NEAR(texts[i]->number("y"), 2 + drops[i], 1e-9) << i; // layer y = -2 - d
        EXPECT_EQ(texts[i]->attr("text-anchor"), "middle");
        EXPECT_EQ(texts[i]->attr("transform"), ""); // upright, not mirrored
    }
    EXPECT_GT(texts[2]->number("font-size"), texts[0]->number("font-size"));
    EXPECT_EQ(texts[0]->attr("data-font-size"), "11.2pt");
    EXPECT_EQ(texts[2]->attr("data-font-size"), "19.2pt");
}

TEST(vmod_ModelAnno, WritesEveryElementOfEveryKindInOrder) {
    TestModel m;
    Vmod_Node *raster = placed(m, VMOD_RASTER, 1, "r", 1, 1);
    Vmod_Node *vector = placed(m, VMOD_VECTOR, 2, "v", 3, 1);
    Vmod_Node *matrix = placed(m, VMOD_MATRIX, 3, "m", 5, 1);
    Vmod_Node *table = placed(m, VMOD_TABLE, 4, "t", 1, 3);
    Vmod_Node *scalar = placed(m, VMOD_SCALAR, 5, "s", 3, 3);
    Vmod_Node *function = placed(m, VMOD_FUNCTION, 6, "f", 5, 3);
    Vmod_Node *criteria = placed(m, VMOD_CRITERIA, 7, "c", 1, 5);
    setText(placed(m, VMOD_TEXT, 8, "note", 3, 5), "helvetica", 12, 0);
    m.arrow(raster, function);
    m.arrow(vector, function);
    m.arrow(function, table);
    m.arrow(matrix, criteria);
    m.arrow(criteria, scalar);
    Exported out(&m.model);
    EXPECT_EQ(out.svg->all("g").size(), 1u + 7 + 5);
    EXPECT_EQ(out.svg->all("polyline").size(), 10u + 6 + 8 + 2 + 10 + 5);
    EXPECT_EQ(out.svg->all("polygon").size(), 5u);
    EXPECT_EQ(out.svg->all("rect").size(), 5u);
    EXPECT_EQ(out.svg->all("ellipse").size(), 2u);
    EXPECT_EQ(out.svg->all("text").size(), 8u);
    std::vector<std::string> names;
    for (const auto &member : out.members()) names.push_back(member->name + ":" + member->attr("data-name"));
    std::vector<std::string> expected = {
        "rect:background", "g:raster",   "text:label", "g:function", "g:vector",   "text:label", "g:function",
        "g:matrix",        "text:label", "g:function", "g:table",    "text:label", "g:scalar",   "text:label",
        "g:function",      "text:label", "g:function", "g:function", "text:label", "g:function", "text:label",
    };
    EXPECT_EQ(names, expected);
    // Each arrow's head ends where its line ends.
    for (const XmlElement *group : out.svg->all("g")) {
        if (group->children.size() != 2 || group->children[0]->attr("data-name") != "arrow") continue;
        std::string line = group->children[0]->attr("points");
        std::string head = group->children[1]->attr("points");
        std::string lineEnd = line.substr(line.rfind(' ') + 1);
        EXPECT_NE(head.find(" " + lineEnd + " "), std::string::npos) << line << " | " << head;
    }
}

TEST(vmod_ModelAnno, NamesTheFontFamiliesOfItsTextStylesAsCssClasses) {
    TestModel m;
    setText(placed(m, VMOD_TEXT, 1, "a", 1, 1), "helvetica", 10, 1);
    setText(placed(m, VMOD_TEXT, 2, "b", 1, 2), "times", 10, 2);
    setText(placed(m, VMOD_TEXT, 3, "c", 1, 3), "courier", 10, 4);
    setText(placed(m, VMOD_TEXT, 4, "d", 1, 4), "symbol", 10, 0);
    placed(m, VMOD_SCALAR, 5, "e", 3, 3);
    Exported out(&m.model);
    auto styles = out.svg->all("style");
    ASSERT_EQ(styles.size(), 1u);
    const std::string &css = styles[0]->text;
    auto classOf = [&](const char *text) -> std::string {
        for (const XmlElement *t : out.svg->all("text"))
            if (t->text == text) return t->attr("class");
        return "";
    };
    auto rule = [&](const std::string &cls) {
        size_t at = css.find("." + cls + " {");
        return at == std::string::npos ? std::string() : css.substr(at, css.find('}', at) - at);
    };
    std::string a = rule(classOf("a")), b = rule(classOf("b")), c = rule(classOf("c")), d = rule(classOf("d"));
    std::string label = rule(classOf("e"));
    EXPECT_NE(a.find("sans-serif"), std::string::npos) << a;
    EXPECT_NE(a.find("font-weight: bold"), std::string::npos) << a;
    EXPECT_NE(b.find(", serif"), std::string::npos) << b;
    EXPECT_NE(b.find("font-style: italic"), std::string::npos) << b;
    EXPECT_NE(c.find("monospace"), std::string::npos) << c;
    EXPECT_NE(c.find("text-decoration: underline"), std::string::npos) << c;
    EXPECT_NE(d.find("Symbol"), std::string::npos) << d;
    EXPECT_NE(label.find("sans-serif"), std::string::npos) << label;
    EXPECT_NE(label.find("font-weight: bold"), std::string::npos) << label;
    // Line and fill styles: the 0.72-point black line is 0.01 inch wide.
    EXPECT_NE(css.find("stroke-width: 0.01;"), std::string::npos) << css;
    EXPECT_NE(css.find("fill: rgb(255,255,255)"), std::string::npos) << css;
}

TEST(vmod_ModelAnno, KeepsTheDocumentWellFormedWhateverTheTitles) {
    TestModel m;
    placed(m, VMOD_RASTER, 1, "<a & \"b\">", 1, 1);
    placed(m, VMOD_VECTOR, 2, "caf\xE9", 3, 1);                 // a Latin-1 byte
    placed(m, VMOD_MATRIX, 3, "bell\x07 here", 5, 1);           // a control character
    placed(m, VMOD_TABLE, 4, "caf\xC3\xA9 \xE2\x82\xAC", 7, 1); // UTF-8 kept
    setText(placed(m, VMOD_TEXT, 5, "two\nlines", 3, 3), nullptr, 10, 0);
    placed(m, VMOD_SCALAR, 6, "]]> -->", 5, 3);
    Exported out(&m.model);
    auto texts = out.svg->all("text");
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0]->text, "<a & \"b\">");
    EXPECT_EQ(texts[1]->text, "caf\xC3\xA9");
    EXPECT_EQ(texts[2]->text, "bell\xEF\xBF\xBD here");
    EXPECT_EQ(texts[3]->text, "caf\xC3\xA9 \xE2\x82\xAC");
    auto lines = texts[4]->all("tspan");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->text, "two");
    EXPECT_EQ(lines[1]->text, "lines");
    EXPECT_EQ(texts[5]->text, "]]> -->");
}

TEST(vmod_ModelAnno, ReplacesAnExistingFileWhole) {
    ScratchDir dir;
    std::string path = dir.file("old.svg");
    {
        std::ofstream old(path);
        old << std::string(100000, 'x');
    }
    TestModel m;
    ReportSlot slot;
    vmod_ModelAnno(&m.model, path.c_str(), &slot.report);
    EXPECT_EQ(slot.report, nullptr);
    std::string text = readFile(path);
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_EQ(text.find('x' + std::string(10, 'x')), std::string::npos);
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(vmod_ModelAnno, KeepsTheDocumentValidForNodesFarOffThePage) {
    TestModel m;
    placed(m, VMOD_SCALAR, 1, "a", 1e308, -1e308);
    placed(m, VMOD_FUNCTION, 2, "b", HUGE_VAL, 2);
    placed(m, VMOD_VECTOR, 3, "c", std::nan(""), 1);
    m.arrow(m.find(1), m.find(2));
    Exported out(&m.model);
    std::string text = readFile(out.path);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_EQ(text.find("inf"), std::string::npos);
}
