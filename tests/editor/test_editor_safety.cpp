// What keeps other sites and programs away from the editor: the token in every URL, the
// Host and Origin checks, the body size limit.
#include "editor_test_support.h"

namespace {

int statusOf(const httplib::Result &res) { return res ? res->status : 0; }

TEST_F(EditorServerTest, EveryPathOutsideTheTokenIsForbidden) {
    start();
    EXPECT_EQ(statusOf(client->Get(base + "api/state")), 200);
    EXPECT_EQ(statusOf(client->Get(base)), 200);
    for (const std::string &path : std::vector<std::string>{"/", "/api/state", "/t/" + std::string(32, '0') + "/api/state",
                                   base.substr(0, base.size() - 2) + "/api/state", "/t//api/state"}) {
        auto res = client->Get(path);
        EXPECT_EQ(statusOf(res), 403) << path;
        if (res) {
            EXPECT_EQ(res->body, R"({"ok":false,"error":"forbidden"})");
        }
    }
    EXPECT_EQ(statusOf(client->Post("/t/x/api/edit", R"({"op":"layout"})", "application/json")), 403);
}

TEST_F(EditorServerTest, TheTokenIs32HexadecimalDigits) {
    start();
    const std::string token = editor_ServerToken(server);
    EXPECT_EQ(token.size(), 32u);
    EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(editor_ServerUrl(server), "http://127.0.0.1:" + std::to_string(editor_ServerPort(server)) + base);
}

TEST_F(EditorServerTest, AnotherHostNameIsForbidden) {
    start();
    const std::string port = std::to_string(editor_ServerPort(server));
    EXPECT_EQ(statusOf(client->Get(base + "api/state", {{"Host", "localhost:" + port}})), 200);
    for (const std::string &host : std::vector<std::string>{"evil.example:" + port, "127.0.0.1", "localhost", "127.0.0.1:1" + port})
        EXPECT_EQ(statusOf(client->Get(base + "api/state", {{"Host", host}})), 403) << host;
}

TEST_F(EditorServerTest, AnotherOriginIsForbiddenAndNoCorsHeaderIsSent) {
    start();
    const std::string port = std::to_string(editor_ServerPort(server));
    auto ours = client->Post(base + "api/edit", {{"Origin", "http://127.0.0.1:" + port}},
                             R"({"op":"add","kind":"raster","x":1,"y":1})", "application/json");
    EXPECT_EQ(statusOf(ours), 200);
    EXPECT_FALSE(ours->has_header("Access-Control-Allow-Origin"));
    Json before = state();
    for (const std::string &origin : std::vector<std::string>{"http://evil.example", "null", "http://127.0.0.1:" + port + "0",
                                     "https://127.0.0.1:" + port}) {
        auto res = client->Post(base + "api/edit", {{"Origin", origin}}, R"({"op":"add","kind":"raster","x":2,"y":2})",
                                "application/json");
        EXPECT_EQ(statusOf(res), 403) << origin;
    }
    EXPECT_EQ(state(), before);
}

TEST_F(EditorServerTest, ABodyOverFourMebibytesIs413) {
    start();
    Json before = state();
    std::string big = R"({"op":"set","id":1,"values":{"title":")" + std::string(4 * 1024 * 1024, 'a') + "\"}}";
    auto res = client->Post(base + "api/edit", big, "application/json");
    EXPECT_EQ(statusOf(res), 413);
    if (res) {
        EXPECT_EQ(Json::parse(res->body, nullptr, false)["ok"], false);
    }
    EXPECT_EQ(state(), before);
}

TEST_F(EditorServerTest, ThePageAndItsFilesAreServed) {
    start();
    auto page = client->Get(base);
    ASSERT_EQ(statusOf(page), 200);
    EXPECT_NE(page->get_header_value("Content-Type").find("text/html"), std::string::npos);
    EXPECT_EQ(page->get_header_value("Referrer-Policy"), "no-referrer");
    EXPECT_EQ(statusOf(client->Get(base + "static/editor.js")), 200);
    EXPECT_EQ(statusOf(client->Get(base + "static/nothing.js")), 404);
    EXPECT_NE(statusOf(client->Get(base + "static/../../etc/passwd")), 200);
}

} // namespace
