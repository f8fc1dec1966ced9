// Saving through the editor: the library's writer, save as, the warning before
// overwriting a file that changed on disk, and the recovery copy beside the model.
#include "editor_test_support.h"

namespace {

TEST_F(EditorServerTest, SaveWritesTheModelAndClearsTheRecoveryCopy) {
    start();
    add("raster", 1, 1);
    edit({{"op", "set"}, {"id", 1}, {"values", {{"title", "dem"}}}});
    const std::string recovery = modelPath + ".recovery";
    EXPECT_TRUE(std::filesystem::exists(recovery)) << "each change is kept beside the model";
    auto [status, answer] = post("api/save", Json::object());
    ASSERT_EQ(status, 200) << answer.dump();
    EXPECT_FALSE(answer["state"]["dirty"]);
    EXPECT_FALSE(std::filesystem::exists(recovery));
    const std::string saved = editorReadFile(modelPath);
    EXPECT_NE(saved.find("dem"), std::string::npos) << saved;

    // Reopened, the editor shows the same model.
    Json before = state();
    stop();
    start();
    Json after = state();
    EXPECT_EQ(after["nodes"], before["nodes"]);
    EXPECT_FALSE(after["dirty"]);
}

TEST_F(EditorServerTest, UndoingBackToTheSavedModelIsNotAnUnsavedChange) {
    start();
    add("raster", 1, 1);
    post("api/save", Json::object());
    add("scalar", 2, 2);
    EXPECT_TRUE(state()["dirty"]);
    edit({{"op", "undo"}});
    EXPECT_FALSE(state()["dirty"]);
    EXPECT_FALSE(std::filesystem::exists(modelPath + ".recovery"));
}

TEST_F(EditorServerTest, AFileChangedOnDiskIsNotOverwrittenUnlessForced) {
    start();
    add("raster", 1, 1);
    ASSERT_EQ(post("api/save", Json::object()).first, 200);
    add("scalar", 3, 1);
    const std::string theirs = "# someone else's edit\n" + editorReadFile(modelPath);
    editorWriteFile(modelPath, theirs);
    auto [status, answer] = post("api/save", {{"force", false}});
    EXPECT_EQ(status, 409);
    EXPECT_EQ(answer["conflict"], true);
    EXPECT_TRUE(answer["error"].is_string());
    EXPECT_EQ(editorReadFile(modelPath), theirs);
    EXPECT_TRUE(state()["dirty"]);
    ASSERT_EQ(post("api/save", {{"force", true}}).first, 200);
    EXPECT_NE(editorReadFile(modelPath), theirs);
    // Saved, the file is the editor's again.
    add("raster", 5, 1);
    EXPECT_EQ(post("api/save", Json::object()).first, 200);
}

TEST_F(EditorServerTest, AFileThatAppearedSinceANewModelWasStartedIsAConflict) {
    start();
    add("raster", 1, 1);
    editorWriteFile(modelPath, "someone's\n");
    EXPECT_EQ(post("api/save", Json::object()).first, 409);
    EXPECT_EQ(editorReadFile(modelPath), "someone's\n");
}

TEST_F(EditorServerTest, SaveAsMovesTheModelToTheNewFileAndGuardsAnExistingOne) {
    start();
    add("raster", 1, 1);
    editorWriteFile(dir + "/taken.vmf", "x\n");
    auto [refused, answer] = post("api/saveas", {{"path", "taken.vmf"}});
    EXPECT_EQ(refused, 409);
    EXPECT_EQ(editorReadFile(dir + "/taken.vmf"), "x\n");
    auto [status, saved] = post("api/saveas", {{"path", "copy.vmf"}});
    ASSERT_EQ(status, 200) << saved.dump();
    EXPECT_EQ(saved["state"]["file"], dir + "/copy.vmf");
    EXPECT_TRUE(std::filesystem::exists(dir + "/copy.vmf"));
    EXPECT_FALSE(std::filesystem::exists(modelPath));
    EXPECT_FALSE(std::filesystem::exists(modelPath + ".recovery"));
    EXPECT_EQ(post("api/saveas", {{"path", "taken.vmf"}, {"force", true}}).first, 200);
    EXPECT_EQ(post("api/saveas", {{"path", 3}}).first, 400);
}

TEST_F(EditorServerTest, TheRecoveryCopyIsOfferedAtTheNextStartAndRestoresUndoably) {
    start();
    add("raster", 1, 1);
    ASSERT_EQ(post("api/save", Json::object()).first, 200);
    add("function", 3, 1);
    add("raster", 5, 1);
    stop(); // as a crash would: the unsaved changes are only in the recovery copy
    ASSERT_TRUE(std::filesystem::exists(modelPath + ".recovery"));

    start();
    EXPECT_EQ(state()["nodes"].size(), 1u);
    auto offer = client->Get(base + "api/recovery");
    ASSERT_TRUE(offer);
    Json o = Json::parse(offer->body);
    EXPECT_EQ(o["available"], true);
    EXPECT_TRUE(o["saved"].is_string());
    auto [status, answer] = post("api/recovery", {{"action", "restore"}});
    ASSERT_EQ(status, 200) << answer.dump();
    EXPECT_EQ(answer["state"]["nodes"].size(), 3u);
    EXPECT_TRUE(answer["state"]["dirty"]);
    EXPECT_EQ(Json::parse(client->Get(base + "api/recovery")->body)["available"], false);
    edit({{"op", "undo"}});
    EXPECT_EQ(state()["nodes"].size(), 1u);
}

TEST_F(EditorServerTest, ADiscardedRecoveryCopyIsGone) {
    start();
    add("raster", 1, 1);
    stop();
    start();
    EXPECT_EQ(post("api/recovery", {{"action", "keep"}}).first, 400);
    ASSERT_EQ(post("api/recovery", {{"action", "discard"}}).first, 200);
    EXPECT_FALSE(std::filesystem::exists(modelPath + ".recovery"));
    EXPECT_EQ(post("api/recovery", {{"action", "restore"}}).first, 409);
}

TEST_F(EditorServerTest, QuitRefusesToDropUnsavedChangesUnlessTold) {
    start();
    add("raster", 1, 1);
    auto [status, answer] = post("api/quit", Json::object());
    EXPECT_EQ(status, 409);
    EXPECT_TRUE(std::filesystem::exists(modelPath + ".recovery"));
    ASSERT_EQ(post("api/quit", {{"discard", true}}).first, 200);
    serving.join(); // the server stops by itself
    serving = std::thread([] {});
    EXPECT_FALSE(std::filesystem::exists(modelPath + ".recovery"));
}

} // namespace
