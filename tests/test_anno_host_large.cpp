// The host's annotation layers with many elements, whose contents wait outside memory
// until the layer is written: order, membership and the files left behind.
#include "anno_test_support.h"
#include "vmodhost/ollm.h"
#include "vmodhost/oant.h"

namespace {

// An element's first fields as a list element (the layout oant.h promises).
struct Links {
    Links *next;
    Links *prev;
};

Oant_Layer *newLayer(const std::string &path) {
    ReportSlot slot;
    Oant_Layer *layer = oant_LayerNew(oint_GetInit(), oevg_Init(), path.c_str(), 0, 0, &slot.report);
    EXPECT_EQ(slot.report, nullptr);
    return layer;
}

Oant_Element *rectangle(Oant_Layer *layer, const std::string &name, double x) {
    return oant_RectangleElementSetValues(layer->annotationData->elements, 0, nullptr, nullptr, OANT_NAME,
                                          name.c_str(), OANT_RECT_CENTER, x, 0.0, OANT_RECT_SIZE, 1.0, 1.0, OANT_END);
}

Oant_Element *group(Oant_Layer *layer, const char *name, Oant_Element *head) {
    return oant_GroupElementSetValues(layer->annotationData->elements, 0, nullptr, nullptr, OANT_NAME, name,
                                      OANT_GROUP_MEMBERS, head, OANT_END);
}

// The names of the members of the only group in the layer file at path.
std::vector<std::string> groupMemberNames(const std::string &path) {
    std::vector<std::string> names;
    auto svg = readSvg(path);
    auto groups = svg->all("g");
    EXPECT_EQ(groups.size(), 1u);
    if (groups.size() == 1) {
        for (const auto &member : groups[0]->children) names.push_back(member->attr("data-name"));
    }
    return names;
}

} // namespace

TEST(oant_LayerLarge, WritesThousandsOfElementsInTheirOrderAndLeavesOnlyTheFile) {
    ScratchDir dir;
    Oant_Layer *layer = newLayer(dir.file("big.svg"));
    ASSERT_NE(layer, nullptr);
    // More elements than one block of the layer holds, and a text long enough to need
    // a read of its own.
    const int count = 10000;
    Oant_Element *head = nullptr;
    for (int k = 0; k < count; ++k) {
        Oant_Element *e = rectangle(layer, "r" + std::to_string(k), k);
        ASSERT_NE(e, nullptr);
        head = static_cast<Oant_Element *>(ollm_Add(head, OLLM_APPEND, e));
    }
    std::string longText(200000, 'x');
    Oant_Element *text = oant_TextElementSetValues(layer->annotationData->elements, 0, nullptr, nullptr, OANT_NAME,
                                                   "long", OANT_TEXT_STRING, 0, longText.c_str(), OANT_END);
    ASSERT_NE(text, nullptr);
    Oant_Element *inner = group(layer, "inner", head);
    ollm_Add(text, OLLM_APPEND, inner);
    layer->annotationData->rootElement = group(layer, "outer", text);
    ReportSlot slot;
    EXPECT_EQ(oant_LayerClose(layer, &slot.report), 0);
    EXPECT_EQ(slot.report, nullptr);
    EXPECT_EQ(dir.entries(), 1u); // no scratch or temporary file stays

    auto svg = readSvg(dir.file("big.svg"));
    auto groups = svg->all("g");
    ASSERT_EQ(groups.size(), 2u);
    ASSERT_EQ(groups[0]->children.size(), 2u);
    EXPECT_EQ(groups[0]->children[0]->attr("data-name"), "long");
    EXPECT_EQ(groups[0]->children[0]->text.size(), longText.size());
    ASSERT_EQ(groups[1]->children.size(), static_cast<size_t>(count));
    for (int k : {0, 1, 4095, 4096, 4097, 8192, count - 1}) {
        EXPECT_EQ(groups[1]->children[k]->attr("data-name"), "r" + std::to_string(k));
        char x[32];
        std::snprintf(x, sizeof x, "%.10g", k - 0.5); // the left edge of the unit square at k
        EXPECT_EQ(groups[1]->children[k]->attr("x"), x);
    }
}

TEST(oant_LayerLarge, TakesAChainThatComesBackUpToTheRepeatedElement) {
    ScratchDir dir;
    Oant_Layer *layer = newLayer(dir.file("loop.svg"));
    ASSERT_NE(layer, nullptr);
    Oant_Element *a = rectangle(layer, "a", 0), *b = rectangle(layer, "b", 1), *c = rectangle(layer, "c", 2);
    // a -> b -> c -> b -> ...: b is taken once.
    auto *la = reinterpret_cast<Links *>(a), *lb = reinterpret_cast<Links *>(b), *lc = reinterpret_cast<Links *>(c);
    la->next = lb;
    lb->next = lc;
    lc->next = lb;
    layer->annotationData->rootElement = group(layer, "g", a);
    EXPECT_EQ(oant_LayerClose(layer, nullptr), 0);
    EXPECT_EQ(groupMemberNames(dir.file("loop.svg")), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(oant_LayerLarge, TakesNoElementOfAnotherLayerAsAMemberOrRoot) {
    ScratchDir dir;
    Oant_Layer *first = newLayer(dir.file("first.svg")), *second = newLayer(dir.file("second.svg"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Oant_Element *mine = rectangle(first, "mine", 0), *theirs = rectangle(second, "theirs", 0);
    ollm_Add(mine, OLLM_APPEND, theirs);
    first->annotationData->rootElement = group(first, "g", mine);
    second->annotationData->rootElement = mine; // not an element of the second layer
    EXPECT_EQ(oant_LayerClose(first, nullptr), 0);
    EXPECT_EQ(oant_LayerClose(second, nullptr), 0);
    EXPECT_EQ(groupMemberNames(dir.file("first.svg")), std::vector<std::string>{"mine"});
    EXPECT_TRUE(readSvg(dir.file("second.svg"))->all("rect").empty());
}
