// A whole editing session through the interface: create, link, renumber, duplicate,
// delete, resolve and release. Under LeakSanitizer this proves nothing is left behind.
#include <gtest/gtest.h>

#include "model/text_font.h"
#include "test_model_support.h"

TEST(vmod_ModelDelete, EditingSessionLeavesNothingBehind) {
    TestModel m;
    char font[] = "times";
    m.model.textFont = font;
    m.model.fileName = ostr_Duplicate("/tmp/session.gmd");
    Vmod_Node *dem = m.add(VMOD_RASTER, vmod_NodeNextAvail(nullptr, nullptr), "dem");
    Vmod_Node *slope = m.add(VMOD_FUNCTION, vmod_NodeNextAvail(dem, nullptr));
    functionData(slope)->expression = ostr_Duplicate("SLOPE ( dem , DEGREES )");
    slope->title = vmod_FunctionTitle(functionData(slope)->expression);
    Vmod_Node *out = m.add(VMOD_RASTER, vmod_NodeNextAvail(dem, nullptr), "out");
    static_cast<Vmod_RasterData *>(out->data)->newFile = 1;
    Vmod_Node *note = m.add(VMOD_TEXT, vmod_NodeNextAvail(dem, nullptr), "a note");
    ASSERT_EQ(vmod_Circular(dem, out->id, dem->id, nullptr), 0);
    m.arrow(dem, slope);
    m.arrow(slope, out);
    EXPECT_EQ(vmod_Circular(dem, out->id, dem->id, nullptr), 0);
    EXPECT_EQ(vmod_Circular(dem, dem->id, out->id, nullptr), 1);

    vmod_ChangeChild(dem, "dem", "elevation");
    EXPECT_STREQ(functionData(slope)->expression, "SLOPE ( elevation , DEGREES )");
    vmod_NodeChangeID(out, 9);

    Vmod_Node *noteCopy = vmod_NodeDuplicate(note, nullptr);
    noteCopy->id = vmod_NodeNextAvail(dem, nullptr);
    noteCopy->children = noteCopy->parents = nullptr;
    m.append(noteCopy);
    model_TextFontAdopt(static_cast<Vmod_TextData *>(note->data), ostr_Duplicate("helvetica"));

    Vmod_Node *outCopy = vmod_NodeDuplicate(out, nullptr);
    outCopy->id = vmod_NodeNextAvail(dem, nullptr);
    outCopy->children = outCopy->parents = nullptr;
    m.append(outCopy);
    vmod_ChildAddByNode(slope, outCopy, nullptr);
    vmod_ChildAdd(outCopy, 123, nullptr);

    EXPECT_EQ(vmod_NextFunction(dem, nullptr), slope);
    out->selected = 1;
    m.model.nodes = vmod_NodesSelDel(m.model.nodes, nullptr);
    EXPECT_EQ(vmod_NumChildren(slope), 1);
    vmod_SingleParent(dem, outCopy->id, nullptr);
    EXPECT_EQ(vmod_NumChildren(slope), 0);
    EXPECT_STREQ(font, "times");
}

TEST(vmod_UpdateNodes, ReadStyleSessionLeavesNothingBehind) {
    TestModel m;
    Vmod_Node *a = m.add(VMOD_RASTER, 1, "a");
    Vmod_Node *f = m.add(VMOD_CRITERIA, 2, "c");
    m.add(VMOD_RASTER, 3, "b");
    vmod_ChildAdd(a, 2, nullptr);
    vmod_ChildAdd(f, 3, nullptr);
    vmod_ChildAdd(f, 300, nullptr);
    vmod_UpdateNodes(&m.model, nullptr);
    vmod_ChildrenDelete(f, nullptr);
    EXPECT_EQ(fieldValue(f->children), nullptr);
}
