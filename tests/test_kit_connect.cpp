// vmodkit_CanConnect and vmodkit_Connect: every verdict on an arrow, and an arrow added
// only when the rules allow it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "test_model_support.h"
#include "vmodhost/oerr.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_connect.h"
#include "vmodkit/vmodkit_model.h"

namespace {

struct KitModelFree {
    void operator()(Vmod_Model *model) const { vmodkit_ModelFree(model); }
};
using KitModel = std::unique_ptr<Vmod_Model, KitModelFree>;

// in -> f -> out, and spare nodes of every role: data r, s; operations g, c; a note.
class KitConnect : public ::testing::Test {
protected:
    void SetUp() override {
        in = add(VMOD_RASTER);
        f = add(VMOD_FUNCTION);
        out = add(VMOD_RASTER);
        r = add(VMOD_TABLE);
        s = add(VMOD_SCALAR);
        g = add(VMOD_FUNCTION);
        c = add(VMOD_CRITERIA);
        note = add(VMOD_TEXT);
        vmod_ChildAddByNode(in, f, nullptr);
        vmod_ChildAddByNode(f, out, nullptr);
    }
    void TearDown() override { oerr_DeleteErrorReportEx(&err); }

    Vmod_Node *add(int32_t kind) { return vmodkit_NodeAdd(model.get(), kind, 1, 1, "n", nullptr); }
    Vmodkit_Connection verdict(const Vmod_Node *from, const Vmod_Node *to) {
        return vmodkit_CanConnect(model.get(), from, to, nullptr);
    }

    KitModel model{vmodkit_ModelNew(nullptr)};
    Vmod_Node *in, *f, *out, *r, *s, *g, *c, *note;
    Oerr_ErrorReport *err = nullptr;
};

} // namespace

TEST_F(KitConnect, EachRuleHasItsVerdictAndReason) {
    KitModel other(vmodkit_ModelNew(nullptr));
    Vmod_Node *stranger = vmodkit_NodeAdd(other.get(), VMOD_RASTER, 0, 0, nullptr, nullptr);
    const struct {
        const Vmod_Node *from, *to;
        Vmodkit_Connection verdict;
    } cases[] = {
        {out, g, VMODKIT_CONNECT_OK},          {g, r, VMODKIT_CONNECT_OK},
        {s, c, VMODKIT_CONNECT_OK},            {nullptr, f, VMODKIT_CONNECT_NO_NODE},
        {stranger, g, VMODKIT_CONNECT_NO_NODE}, {f, f, VMODKIT_CONNECT_SELF_LOOP},
        {in, in, VMODKIT_CONNECT_SELF_LOOP},   {r, note, VMODKIT_CONNECT_NOTE},
        {note, g, VMODKIT_CONNECT_NOTE},       {r, s, VMODKIT_CONNECT_DATA_TO_DATA},
        {f, g, VMODKIT_CONNECT_OPERATION_TO_OPERATION}, {c, f, VMODKIT_CONNECT_OPERATION_TO_OPERATION},
        {in, f, VMODKIT_CONNECT_DUPLICATE},    {f, out, VMODKIT_CONNECT_DUPLICATE},
        {f, r, VMODKIT_CONNECT_SECOND_OUTPUT}, {out, f, VMODKIT_CONNECT_CYCLE},
    };
    for (const auto &each : cases) {
        const char *reason = nullptr;
        EXPECT_EQ(vmodkit_CanConnect(model.get(), each.from, each.to, &reason), each.verdict)
            << "expected verdict " << each.verdict;
        ASSERT_NE(reason, nullptr);
        EXPECT_EQ(reason[0] == '\0', each.verdict == VMODKIT_CONNECT_OK) << reason;
    }
    r->type = 12;
    EXPECT_EQ(verdict(r, g), VMODKIT_CONNECT_UNKNOWN_KIND);
    r->type = VMOD_TABLE;
}

TEST_F(KitConnect, CycleIsFoundThroughALinkNotYetResolved) {
    // in -> f -> out, and out's arrow into c named by c's identifier only.
    vmod_ChildAdd(out, c->id, nullptr);
    EXPECT_EQ(verdict(c, in), VMODKIT_CONNECT_CYCLE);
    EXPECT_EQ(verdict(out, c), VMODKIT_CONNECT_DUPLICATE);
}

TEST_F(KitConnect, ConnectAddsTheArrowOnlyWhenItIsAllowed) {
    Vmod_Link *link = vmodkit_Connect(model.get(), out, g, &err);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(fieldValue(link->node), g);
    EXPECT_EQ(fieldValue(out->children->next), nullptr);
    EXPECT_EQ(fieldValue(out->children), link);
    ASSERT_NE(fieldValue(g->parents), nullptr);
    EXPECT_EQ(fieldValue(g->parents->node), out);

    EXPECT_EQ(vmodkit_Connect(model.get(), g, in, &err), nullptr); // in -> f -> out -> g
    ASSERT_NE(err, nullptr);
    EXPECT_STREQ(vmodhost_ErrorFunction(err), "vmodkit_Connect");
    EXPECT_STREQ(vmodhost_ErrorMessage(err), "the arrow would close a cycle");
    EXPECT_EQ(fieldValue(g->children), nullptr);
    EXPECT_EQ(fieldValue(in->parents), nullptr);
}

TEST_F(KitConnect, LongChainIsSearchedWithoutRecursion) {
    // 100000 nodes, alternately operations and data, appended at the tail as they come.
    Vmod_Node *tail = note, *last = out;
    auto append = [&](int32_t kind, int32_t id) {
        Vmod_Node *node = vmod_NodeCreate(model.get(), kind, nullptr);
        node->id = id;
        tail->next = node;
        node->prev = tail;
        tail = node;
        vmod_ChildAddByNode(last, node, nullptr);
        last = node;
    };
    for (int32_t id = 100; id < 100100; id += 2) {
        append(VMOD_FUNCTION, id);
        append(VMOD_RASTER, id + 1);
    }
    Vmod_Node *closing = vmodkit_NodeAdd(model.get(), VMOD_FUNCTION, 0, 0, nullptr, nullptr);
    vmod_ChildAddByNode(last, closing, nullptr);
    EXPECT_EQ(verdict(closing, in), VMODKIT_CONNECT_CYCLE);
    EXPECT_EQ(verdict(closing, r), VMODKIT_CONNECT_OK);
}
