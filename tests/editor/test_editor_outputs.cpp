// What the editor makes from the model: the picture (the same as `vmod render`), the
// validator's problems, the script with its prompts answered, and the exports.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <tuple>

#include "editor_test_support.h"
#include "support/png_pixels.h"

namespace {

std::vector<int> numbers(const std::string &text) {
    std::vector<int> out;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, ',');) out.push_back(std::stoi(part));
    return out;
}

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

    // A clip is that rectangle of the whole picture, pixel for pixel, cut to the frame.
    const vmodtest::PngPixels whole = vmodtest::DecodePng(res->body.data(), res->body.size());
    ASSERT_EQ(whole.width, w);
    // Each rectangle cuts through shapes: the arrows, the circle and a raster's teeth.
    for (auto [dx, dy, cw] : {std::tuple{100, 20, 300}, {361, 81, 77}, {430, 0, 41}, {700, 150, 5000}}) {
        const int cx = sx + dx, cy = sy + dy;
        auto part = client->Get(base + "api/picture.png?zoom=1.5&ppi=96&select=2&clip=" + std::to_string(cx) + "," +
                                std::to_string(cy) + "," + std::to_string(cw) + ",5000");
        ASSERT_TRUE(part);
        ASSERT_EQ(part->status, 200) << part->body;
        EXPECT_EQ(part->get_header_value("X-Vmod-Frame"), frame);
        const int width = std::min(cw, w - dx), height = h - dy;
        EXPECT_EQ(numbers(part->get_header_value("X-Vmod-Clip")), (std::vector<int>{cx, cy, width, height}));
        const vmodtest::PngPixels cut = vmodtest::DecodePng(part->body.data(), part->body.size());
        ASSERT_EQ(cut.width, width);
        ASSERT_EQ(cut.height, height);
        int differing = 0;
        for (int y = 0; y < cut.height; ++y)
            for (int x = 0; x < cut.width; ++x) differing += cut.at(x, y) != whole.at(x + dx, y + dy);
        EXPECT_EQ(differing, 0) << "clip at " << dx << "," << dy;
    }
    auto outside = client->Get(base + "api/picture.png?zoom=1.5&clip=-5000,-5000,10,10");
    ASSERT_EQ(outside->status, 200);
    EXPECT_EQ(vmodtest::DecodePng(outside->body.data(), outside->body.size()).width, 1);
    for (const char *bad : {"1,2,3", "0,0,0,10", "0,0,10,-1", "a,b,c,d", "0,0,1.5,2"})
        EXPECT_EQ(client->Get(base + "api/picture.png?clip=" + bad)->status, 400) << bad;

    EXPECT_EQ(client->Get(base + "api/picture.png?select=9")->status, 400);
    EXPECT_EQ(client->Get(base + "api/picture.png?zoom=0")->status, 400);
    EXPECT_EQ(client->Get(base + "api/picture.png?ppi=1.5")->status, 400);
}

// The page asks for the picture together with the edit: a picture waiting on an edit's
// ticket shows the model after that edit, even when it arrives first; an edit that is
// refused lets it go on at once; a malformed ticket is refused and changes nothing.
TEST_F(EditorOutputTest, APictureAfterAnEditsTicketShowsThatEdit) {
    start();
    build();
    const int64_t before = state()["revision"];
    struct Picture {
        int status = 0;
        std::string revision, body;
    };
    auto pictureAfter = [this](const std::string &ticket, Picture &answer) {
        return std::thread([this, ticket, &answer] {
            httplib::Client other("127.0.0.1", editor_ServerPort(server));
            if (auto res = other.Get(base + "api/picture.png?zoom=1&after=" + ticket))
                answer = {res->status, res->get_header_value("X-Vmod-Revision"), res->body};
        });
    };
    Picture early;
    std::thread asking = pictureAfter("page-1", early);
    usleep(100000); // the picture is waiting before the edit is sent
    auto moved = client->Post(base + "api/edit?ticket=page-1", R"({"op":"move","moves":[{"id":1,"x":2,"y":2}]})",
                              "application/json");
    asking.join();
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->status, 200);
    ASSERT_EQ(early.status, 200);
    EXPECT_EQ(early.revision, std::to_string(before + 1));
    EXPECT_EQ(early.body, client->Get(base + "api/picture.png?zoom=1")->body);

    const auto started = std::chrono::steady_clock::now();
    Picture afterRefusal;
    asking = pictureAfter("page-2", afterRefusal);
    usleep(100000);
    auto refused = client->Post(base + "api/edit?ticket=page-2", "{not json", "application/json");
    asking.join();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 400);
    EXPECT_EQ(afterRefusal.revision, std::to_string(before + 1));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1800)) << "it waited for the limit";

    for (const std::string &bad : {std::string(), std::string("a%20b"), std::string(65, 'x')}) {
        EXPECT_EQ(client->Get(base + "api/picture.png?after=" + bad)->status, 400) << bad;
        EXPECT_EQ(post("api/edit?ticket=" + bad, {{"op", "move"}, {"moves", {{{"id", 1}, {"x", 3}, {"y", 3}}}}}).first,
                  400)
            << bad;
    }
    EXPECT_EQ(state()["revision"], before + 1);
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

// On the loopback compression costs more than it saves: a browser offering brotli gets
// the answers as they are.
TEST_F(EditorOutputTest, AnswersAreNotCompressed) {
    start();
    build();
    const httplib::Headers offer = {{"Accept-Encoding", "gzip, deflate, br"}};
    for (const char *path : {"api/state", "api/problems", "api/export/model.svg"}) {
        auto res = client->Get(base + path, offer);
        ASSERT_TRUE(res);
        ASSERT_EQ(res->status, 200) << path;
        EXPECT_FALSE(res->has_header("Content-Encoding")) << path << " came " << res->get_header_value("Content-Encoding");
    }
}

TEST_F(EditorOutputTest, ExportsAreDownloadsOfEachFormat) {
    start();
    build();
    struct Case {
        const char *path, *type, *magic;
    } cases[] = {{"api/export/model.png?zoom=2", "image/png", "\x89PNG"},
                 {"api/export/model.eps", "application/postscript", "%!PS"},
                 {"api/export/model.svg", "image/svg+xml; charset=utf-8", "<?xml"},
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
