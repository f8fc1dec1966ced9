// editor_test_support.h - an editor server running in the test process on a free port,
// on a model in a temporary directory, and an HTTP client that talks to it as the page
// does.
#ifndef VMOD_TESTS_EDITOR_SUPPORT_H
#define VMOD_TESTS_EDITOR_SUPPORT_H

#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "server.h"
#include "vmodhost/vmodhost.h"

using Json = nlohmann::json;

inline std::string editorReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void editorWriteFile(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

class EditorServerTest : public ::testing::Test {
protected:
    std::string dir, modelPath;
    EditorServer *server = nullptr;
    std::thread serving;
    std::unique_ptr<httplib::Client> client;
    std::string base; // "/t/TOKEN/"

    void SetUp() override {
        vmodhost_SetErrorSink(vmodhost_IgnoreErrorText, nullptr);
        std::string pattern = (std::filesystem::temp_directory_path() / "vmod-editor-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        modelPath = dir + "/model.vmf";
    }
    void TearDown() override {
        stop();
        std::filesystem::remove_all(dir);
        vmodhost_SetErrorSink(nullptr, nullptr);
    }

    void start() {
        std::string why;
        server = editor_ServerCreate(modelPath, 0, why);
        ASSERT_NE(server, nullptr) << why;
        serving = std::thread([this] { editor_ServerRun(server); });
        client = std::make_unique<httplib::Client>("127.0.0.1", editor_ServerPort(server));
        base = "/t/" + editor_ServerToken(server) + "/";
        for (int i = 0; i < 200 && !client->Get(base + "api/state"); ++i) usleep(10000);
    }
    void stop() {
        if (server == nullptr) return;
        editor_ServerStop(server);
        serving.join();
        editor_ServerFree(server);
        server = nullptr;
        client.reset();
    }

    // The answer's status and JSON body.
    std::pair<int, Json> post(const std::string &path, const Json &body) {
        auto res = client->Post(base + path, body.dump(), "application/json");
        if (!res) return {0, Json()};
        return {res->status, Json::parse(res->body, nullptr, false)};
    }
    std::pair<int, Json> edit(const Json &operation) { return post("api/edit", operation); }
    Json state() {
        auto res = client->Get(base + "api/state");
        return res ? Json::parse(res->body)["state"] : Json();
    }
    // Adds a node and returns its identifier.
    int add(const char *kind, double x, double y) {
        auto [status, answer] = edit({{"op", "add"}, {"kind", kind}, {"x", x}, {"y", y}});
        EXPECT_EQ(status, 200) << answer.dump();
        return answer.value("added", 0);
    }
    int connect(int from, int to) { return edit({{"op", "connect"}, {"from", from}, {"to", to}}).first; }
};

#endif
