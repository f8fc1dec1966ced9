// The editor's operations through its HTTP interface: every kind of edit, the arrows the
// model refuses, invalid requests, undo and redo. A refused request leaves the model as
// it was.
#include "editor_test_support.h"

namespace {

// The state without what changes on every request.
Json modelPart(Json state) {
    state.erase("revision");
    return state;
}

const Json *nodeOf(const Json &state, int id) {
    for (const Json &node : state["nodes"])
        if (node["id"] == id) return &node;
    return nullptr;
}

TEST_F(EditorServerTest, AnEmptyModelStartsWhereItWillBeSaved) {
    start();
    Json s = state();
    EXPECT_EQ(s["file"], modelPath);
    EXPECT_EQ(s["nodes"].size(), 0u);
    EXPECT_FALSE(s["dirty"]);
    EXPECT_FALSE(s["canUndo"]);
    EXPECT_FALSE(std::filesystem::exists(modelPath));
}

TEST_F(EditorServerTest, AddingGivesEachKindTheNextIdentifierWhereItWasAsked) {
    start();
    const char *kinds[] = {"raster", "vector", "matrix", "table", "scalar", "function", "criteria", "text"};
    int expected = 1;
    for (const char *kind : kinds) {
        EXPECT_EQ(add(kind, expected, 2.5), expected);
        ++expected;
    }
    Json s = state();
    ASSERT_EQ(s["nodes"].size(), 8u);
    EXPECT_EQ(s["nodes"][0]["kind"], "raster");
    EXPECT_EQ(s["nodes"][7]["kind"], "text");
    EXPECT_EQ(s["nodes"][2]["x"], 3.0);
    EXPECT_EQ(s["nodes"][2]["y"], 2.5);
    // The raster glyph is 1.2 by 0.94 inches around its centre; its title is below.
    const Json &box = s["nodes"][0]["box"];
    EXPECT_NEAR(box["left"].get<double>(), 1 - 0.6, 1e-9);
    EXPECT_NEAR(box["right"].get<double>(), 1 + 0.6, 1e-9);
    EXPECT_LE(box["top"].get<double>(), 2.5 - 0.47);
    EXPECT_GT(box["bottom"].get<double>(), 2.5 + 0.47);
    EXPECT_TRUE(s["dirty"]);
    EXPECT_TRUE(s["canUndo"]);
    EXPECT_EQ(s["nodes"][0]["values"]["title"], s["nodes"][0]["title"]);
    EXPECT_FALSE(s["kinds"]["raster"].empty());
}

TEST_F(EditorServerTest, MoveDeleteAndDisconnectChangeOnlyWhatTheyName) {
    start();
    int a = add("raster", 1, 1), f = add("function", 3, 1), b = add("raster", 5, 1);
    ASSERT_EQ(connect(a, f), 200);
    ASSERT_EQ(connect(f, b), 200);
    auto [status, moved] = edit({{"op", "move"}, {"moves", {{{"id", f}, {"x", 3.5}, {"y", 2}}}}});
    ASSERT_EQ(status, 200);
    EXPECT_EQ((*nodeOf(moved["state"], f))["x"], 3.5);
    EXPECT_EQ((*nodeOf(moved["state"], a))["x"], 1.0);

    ASSERT_EQ(edit({{"op", "disconnect"}, {"from", f}, {"to", b}}).first, 200);
    EXPECT_EQ(state()["arrows"], Json::parse(R"([{"from":1,"to":2}])"));
    ASSERT_EQ(connect(f, b), 200);
    // Deleting the function takes both its arrows.
    auto [deleted, answer] = edit({{"op", "delete"}, {"ids", {f}}});
    ASSERT_EQ(deleted, 200);
    EXPECT_EQ(answer["state"]["nodes"].size(), 2u);
    EXPECT_TRUE(answer["state"]["arrows"].empty());
}

TEST_F(EditorServerTest, DuplicatingCopiesTheArrowsBetweenCopiedNodesOnly) {
    start();
    int a = add("raster", 1, 1), f = add("function", 3, 1), b = add("raster", 5, 1);
    connect(a, f);
    connect(f, b);
    auto [status, answer] = edit({{"op", "duplicate"}, {"ids", {f, b}}});
    ASSERT_EQ(status, 200) << answer.dump();
    EXPECT_EQ(answer["added"], Json::parse("[4,5]"));
    const Json &s = answer["state"];
    EXPECT_EQ(s["nodes"].size(), 5u);
    EXPECT_EQ((*nodeOf(s, 4))["x"], 3.25);
    EXPECT_EQ((*nodeOf(s, 5))["y"], 1.25);
    EXPECT_EQ(s["arrows"], Json::parse(R"([{"from":1,"to":2},{"from":2,"to":3},{"from":4,"to":5}])"));
}

TEST_F(EditorServerTest, SetAndHeaderChangeFieldsAndRefuseUnknownOnesWhole) {
    start();
    int a = add("raster", 1, 1);
    ASSERT_EQ(edit({{"op", "set"}, {"id", a}, {"values", {{"title", "dem"}}}}).first, 200);
    EXPECT_EQ(state()["nodes"][0]["title"], "dem");
    ASSERT_EQ(edit({{"op", "header"}, {"values", {{"title", "Slope"}}}}).first, 200);
    Json before = state();
    auto [status, answer] = edit({{"op", "set"}, {"id", a}, {"values", {{"title", "x"}, {"noSuchField", 1}}}});
    EXPECT_EQ(status, 400);
    EXPECT_FALSE(answer["ok"]);
    EXPECT_EQ(state(), before);
}

TEST_F(EditorServerTest, RefusedArrowsSayWhyAndLeaveTheModelAlone) {
    start();
    int a = add("raster", 1, 1), f = add("function", 3, 1), b = add("raster", 5, 1), c = add("raster", 5, 3);
    ASSERT_EQ(connect(a, f), 200);
    ASSERT_EQ(connect(f, b), 200);
    Json before = state();
    struct Case {
        int from, to;
    } cases[] = {{b, f} /* closes a cycle */, {f, c} /* a second output */, {a, c} /* data to data */,
                 {f, f} /* to itself */, {a, f} /* already there */};
    std::set<std::string> reasons;
    for (const Case &k : cases) {
        auto [status, answer] = edit({{"op", "connect"}, {"from", k.from}, {"to", k.to}});
        EXPECT_EQ(status, 409) << k.from << "->" << k.to;
        EXPECT_FALSE(answer["ok"]);
        ASSERT_TRUE(answer["error"].is_string());
        reasons.insert(answer["error"].get<std::string>());
    }
    EXPECT_EQ(reasons.size(), 5u) << "each refusal has its own sentence";
    EXPECT_EQ(state(), before);
}

TEST_F(EditorServerTest, InvalidRequestsAre400AndChangeNothing) {
    start();
    add("raster", 1, 1);
    Json before = state();
    const char *bodies[] = {
        R"({"op":"fly"})",
        R"({"kind":"raster"})",
        R"({"op":"add","kind":"tree","x":1,"y":1})",
        R"({"op":"add","kind":"raster","x":"1","y":1})",
        R"({"op":"add","kind":"raster","x":1e300,"y":1})",
        R"({"op":"move","moves":[{"id":1,"x":2,"y":2},{"id":99,"x":1,"y":1}]})",
        R"({"op":"move","moves":[{"id":1.5,"x":2,"y":2}]})",
        R"({"op":"delete","ids":[1,7]})",
        R"({"op":"delete","ids":1})",
        R"({"op":"disconnect","from":1,"to":2})",
        R"({"op":"set","id":1,"values":[]})",
        R"([1,2])",
        R"({"op":"add",)",
    };
    for (const char *body : bodies) {
        auto res = client->Post(base + "api/edit", body, "application/json");
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 400) << body;
        Json answer = Json::parse(res->body, nullptr, false);
        EXPECT_EQ(answer["ok"], false) << body;
        EXPECT_TRUE(answer["error"].is_string()) << body;
    }
    EXPECT_EQ(state(), before);
}

TEST_F(EditorServerTest, UndoAndRedoStepThroughEveryChange) {
    start();
    Json empty = modelPart(state());
    int a = add("raster", 1, 1);
    Json added = modelPart(state());
    edit({{"op", "move"}, {"moves", {{{"id", a}, {"x", 4}, {"y", 4}}}}});
    Json moved = modelPart(state());

    auto [status, answer] = edit({{"op", "undo"}});
    ASSERT_EQ(status, 200);
    Json s = modelPart(answer["state"]);
    EXPECT_TRUE(s["canRedo"]);
    s["canRedo"] = false;
    EXPECT_EQ(s, added);
    ASSERT_EQ(edit({{"op", "undo"}}).first, 200);
    Json atStart = modelPart(state());
    EXPECT_FALSE(atStart["canUndo"]);
    EXPECT_FALSE(atStart["dirty"]);
    EXPECT_EQ(atStart["nodes"], empty["nodes"]);
    EXPECT_EQ(edit({{"op", "undo"}}).first, 409);

    ASSERT_EQ(edit({{"op", "redo"}}).first, 200);
    ASSERT_EQ(edit({{"op", "redo"}}).first, 200);
    EXPECT_EQ(modelPart(state()), moved);
    EXPECT_EQ(edit({{"op", "redo"}}).first, 409);

    // A new change after an undo drops what could have been redone.
    edit({{"op", "undo"}});
    add("scalar", 2, 2);
    EXPECT_FALSE(state()["canRedo"]);
    EXPECT_EQ(edit({{"op", "redo"}}).first, 409);
}

TEST_F(EditorServerTest, RevisionRisesOnEveryChangeButNotOnARefusal) {
    start();
    int64_t r0 = state()["revision"];
    add("raster", 1, 1);
    int64_t r1 = state()["revision"];
    EXPECT_GT(r1, r0);
    edit({{"op", "fly"}});
    EXPECT_EQ(state()["revision"], r1);
    edit({{"op", "undo"}});
    EXPECT_GT(state()["revision"], r1);
}

TEST_F(EditorServerTest, LayoutIsOneUndoableStep) {
    start();
    int a = add("raster", 9, 9), f = add("function", 2, 7), b = add("raster", 6, 1);
    connect(a, f);
    connect(f, b);
    Json before = state();
    auto [status, answer] = edit({{"op", "layout"}});
    if (status == 409) GTEST_SKIP() << "built without automatic layout: " << answer.dump();
    ASSERT_EQ(status, 200);
    const Json &s = answer["state"];
    EXPECT_LT((*nodeOf(s, a))["x"].get<double>(), (*nodeOf(s, f))["x"].get<double>());
    EXPECT_LT((*nodeOf(s, f))["x"].get<double>(), (*nodeOf(s, b))["x"].get<double>());
    edit({{"op", "undo"}});
    EXPECT_EQ(state()["nodes"], before["nodes"]);
}

} // namespace
