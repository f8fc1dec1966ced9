// bench_editor.cpp - the editor's server side at 500 nodes, through its HTTP interface on
// 127.0.0.1 as the page reaches it: an edit's round trip (a move request and the new
// state in the answer), the whole picture and the part of it the page shows, and an edit
// with its picture asked for at once.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "server.h"
#include "vmodhost/vmodhost.h"

namespace {

using Json = nlohmann::json;

// A server on a model of `count` nodes: chains of raster -> function -> raster in rows,
// drawn as a user would, through the interface.
struct EditorFixture {
    std::string dir;
    EditorServer *server = nullptr;
    std::thread serving;
    std::unique_ptr<httplib::Client> client;
    std::string base;

    explicit EditorFixture(int count) {
        vmodhost_SetErrorSink(vmodhost_IgnoreErrorText, nullptr);
        std::string pattern = (std::filesystem::temp_directory_path() / "vmod-bench-editor-XXXXXX").string();
        dir = mkdtemp(pattern.data()) ? pattern : "/tmp";
        std::string why;
        server = editor_ServerCreate(dir + "/model.vmf", 0, why);
        serving = std::thread([this] { editor_ServerRun(server); });
        client = std::make_unique<httplib::Client>("127.0.0.1", editor_ServerPort(server));
        base = "/t/" + editor_ServerToken(server) + "/";
        for (int i = 0; i < 200 && !client->Get(base + "api/state"); ++i) usleep(10000);
        for (int id = 1; id <= count; ++id) {
            const int column = (id - 1) % 24, row = (id - 1) / 24;
            const char *kind = column % 2 == 1 ? "function" : "raster";
            edit({{"op", "add"}, {"kind", kind}, {"x", 1 + 1.5 * column}, {"y", 1 + 1.5 * row}});
            if (column > 0) edit({{"op", "connect"}, {"from", id - 1}, {"to", id}});
        }
    }
    ~EditorFixture() {
        editor_ServerStop(server);
        serving.join();
        editor_ServerFree(server);
        std::filesystem::remove_all(dir);
    }
    std::string edit(const Json &operation) {
        auto res = client->Post(base + "api/edit", operation.dump(), "application/json");
        return res ? res->body : std::string();
    }
};

EditorFixture &fixture() {
    static EditorFixture instance(500);
    return instance;
}

void BM_EditRoundTrip(benchmark::State &state) {
    EditorFixture &f = fixture();
    double x = 2;
    for (auto _ : state) {
        x = x == 2 ? 2.5 : 2;
        std::string answer = f.edit({{"op", "move"}, {"moves", {{{"id", 250}, {"x", x}, {"y", 12}}}}});
        Json parsed = Json::parse(answer);
        if (parsed["state"]["nodes"].size() != 500) state.SkipWithError("the move failed");
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_EditRoundTrip)->Unit(benchmark::kMillisecond);

void BM_Picture(benchmark::State &state) {
    EditorFixture &f = fixture();
    for (auto _ : state) {
        auto res = f.client->Get(f.base + "api/picture.png?zoom=1&select=250");
        if (!res || res->status != 200) state.SkipWithError("no picture");
        benchmark::DoNotOptimize(res);
    }
}
BENCHMARK(BM_Picture)->Unit(benchmark::kMillisecond);

// What the page asks for: the part of the picture on screen (a 1280 by 900 window less
// its panels, and the margin the page draws around it).
void BM_PictureOnScreen(benchmark::State &state) {
    EditorFixture &f = fixture();
    for (auto _ : state) {
        auto res = f.client->Get(f.base + "api/picture.png?zoom=1&select=250&clip=-160,-160,1320,1120");
        if (!res || res->status != 200) state.SkipWithError("no picture");
        benchmark::DoNotOptimize(res);
    }
}
BENCHMARK(BM_PictureOnScreen)->Unit(benchmark::kMillisecond);

// An edit as the page makes it: the move and the picture on screen asked for at once, the
// picture waiting on the edit's ticket; until both answers are in.
void BM_EditWithPicture(benchmark::State &state) {
    EditorFixture &f = fixture();
    httplib::Client other("127.0.0.1", editor_ServerPort(f.server));
    double x = 2;
    int ticket = 0;
    for (auto _ : state) {
        x = x == 2 ? 2.5 : 2;
        const std::string name = "bench-" + std::to_string(++ticket);
        bool pictured = false;
        std::thread picture([&] {
            auto res = other.Get(f.base + "api/picture.png?zoom=1&select=250&clip=-160,-160,1320,1120&after=" + name);
            pictured = res && res->status == 200;
        });
        auto res = f.client->Post(f.base + "api/edit?ticket=" + name,
                                  Json({{"op", "move"}, {"moves", {{{"id", 250}, {"x", x}, {"y", 12}}}}}).dump(),
                                  "application/json");
        Json parsed = Json::parse(res ? res->body : std::string("{}"));
        picture.join();
        if (!pictured || parsed["state"]["nodes"].size() != 500) state.SkipWithError("the edit or its picture failed");
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_EditWithPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_State(benchmark::State &state) {
    EditorFixture &f = fixture();
    for (auto _ : state) {
        auto res = f.client->Get(f.base + "api/state");
        benchmark::DoNotOptimize(res);
    }
}
BENCHMARK(BM_State)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
