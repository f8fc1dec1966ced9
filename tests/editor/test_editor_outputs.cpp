// What the editor makes from the model: the picture (the same as `vmod render`), the
// validator's problems, the script with its prompts answered, and the exports.
#include "editor_test_support.h"

namespace {

class EditorOutputTest : public EditorServerTest {
protected:
    void build() {
        int a = add("raster", 1, 1), f = add("function", 3, 1), b = add("raster", 5, 1);
        ASSERT_EQ(connect(a, f), 200);
        ASSERT_EQ(connect(f, b), 200);
    }
};

TEST_F(EditorOutputTest, ThePictureIsWhatVmodRenderDraws) {
    start();
    build();
    ASSERT_EQ(post("api/save", Json::object()).first, 200);
    auto res = client->Get(base + "api/picture.png?zoom=1.5&ppi=96&select=2");
    ASSERT_TRUE(res);
    ASSERT_EQ(res->status, 200) << res->body;
    EXPECT_EQ(res->get_header_value("Content-Type"), "image/png");
    const std::string frame = res->get_header_value("X-Vmod-Frame");
    int sx, sy, w, h;
    ASSERT_EQ(std::sscanf(frame.c_str(), "%d,%d,%d,%d", &sx, &sy, &w, &h), 4) << frame;
    // Node centres from x 1 to 5 inches and one inch around them: 6 inches at 144 pixels.
    EXPECT_EQ(w, 6 * 144 + 1);
    const std::string out = dir + "/render.png";
    const std::string command = std::string(VMOD_BINARY_DIR) + "/tools/vmod render '" + modelPath + "' '" + out +
                                "' --zoom 1.5 --ppi 96 --select 2";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(editorReadFile(out) == res->body) << "the editor's picture differs from vmod render's";

    EXPECT_EQ(client->Get(base + "api/picture.png?select=9")->status, 400);
    EXPECT_EQ(client->Get(base + "api/picture.png?zoom=0")->status, 400);
    EXPECT_EQ(client->Get(base + "api/picture.png?ppi=1.5")->status, 400);
}

TEST_F(EditorOutputTest, ProblemsAreTheValidatorsDocument) {
    start();
    build();
    auto res = client->Get(base + "api/problems");
    ASSERT_TRUE(res);
    ASSERT_EQ(res->status, 200);
    Json doc = Json::parse(res->body);
    EXPECT_EQ(doc["schema"], "vmod-check/1");
    // The input raster has no file yet: a problem names node 1.
    bool namesNode1 = false;
    for (const Json &problem : doc["problems"]) namesNode1 = namesNode1 || problem["nodes"] == Json::parse("[1]");
    EXPECT_TRUE(namesNode1) << res->body;
}

TEST_F(EditorOutputTest, TheScriptAnswersPromptsInOrderAndSaysWhenOneIsMissing) {
    start();
    build();
    // Node 1 is asked for at run time.
    auto [status, answer] = post("api/script", {{"answers", Json::array()}});
    ASSERT_EQ(status, 200);
    EXPECT_TRUE(answer["script"].is_string());
    EXPECT_TRUE(answer["complete"].is_boolean());
    EXPECT_TRUE(answer["prompts"].is_array());
    if (answer["complete"] == false && !answer["prompts"].empty()) {
        EXPECT_NE(answer["reason"].get<std::string>().find("has no answer"), std::string::npos);
        std::vector<std::string> answers(answer["prompts"].size() + 2, "/data/a.img");
        auto [again, full] = post("api/script", {{"answers", answers}});
        EXPECT_EQ(again, 200);
        EXPECT_GE(full["prompts"].size(), answer["prompts"].size());
    }
    EXPECT_EQ(post("api/script", {{"answers", {1}}}).first, 400);
}

TEST_F(EditorOutputTest, ExportsAreDownloadsOfEachFormat) {
    start();
    build();
    struct Case {
        const char *path, *type, *magic;
    } cases[] = {{"api/export/model.png?zoom=2", "image/png", "\x89PNG"},
                 {"api/export/model.eps", "application/postscript", "%!PS"},
                 {"api/export/model.svg", "image/svg+xml", "<?xml"},
                 {"api/export/model.pdf?pages=1-1", "application/pdf", "%PDF"}};
    for (const Case &c : cases) {
        auto res = client->Get(base + c.path);
        ASSERT_TRUE(res);
        ASSERT_EQ(res->status, 200) << c.path << ": " << res->body;
        EXPECT_EQ(res->get_header_value("Content-Type"), c.type);
        EXPECT_EQ(res->body.compare(0, std::strlen(c.magic), c.magic), 0) << c.path;
        EXPECT_EQ(res->get_header_value("Content-Disposition").rfind("attachment; filename=\"model.", 0), 0u);
    }
    EXPECT_EQ(client->Get(base + "api/export/model.pdf?pages=3-1")->status, 400);
    EXPECT_EQ(client->Get(base + "api/export/model.pdf?pages=999")->status, 400);
    EXPECT_EQ(client->Get(base + "api/export/model.doc")->status, 404);
}

} // namespace
