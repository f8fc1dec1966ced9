// Round trips through the reader and the writer: read a model file, write it, read that
// and write again; the two written files are identical. For every example and golden
// model, for randomly generated models of every node kind, and for a CHILD naming no node.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/model_generator.h"
#include "support/reader_support.h"
#include "support/scratch_dir.h"

namespace {

struct ReadModelDeleter {
    void operator()(Vmod_Model *model) const {
        if (model == nullptr)
            return;
        Oerr_ErrorReport *err = nullptr;
        vmod_NodesDelete(model->nodes, &err); // also forgets the text fonts the reader gave
        model->nodes = nullptr;
        vmodtest::freeModel(model);
    }
};
using ReadModel = std::unique_ptr<Vmod_Model, ReadModelDeleter>;

ReadModel readModel(const std::string &path, std::string *problem) {
    ReadModel model(vmodtest::heapRecord<Vmod_Model>());
    ReportKeeper report;
    QuietErrors quiet;
    vmod_ModelRead(model.get(), path.c_str(), report.slot());
    if (report.report != nullptr) {
        *problem = "reading " + path + ": " + report.cause();
        return nullptr;
    }
    return model;
}

bool writeModel(Vmod_Model *model, const std::string &path, std::string *problem) {
    omsc_HeapFree(model->fileName);
    model->fileName = ostr_Duplicate(path.c_str());
    ReportKeeper report;
    QuietErrors quiet;
    vmod_ModelWrite(model, report.slot());
    if (report.report != nullptr) {
        *problem = "writing " + path + ": " + report.cause();
        return false;
    }
    return true;
}

// Reads source, writes it as first, reads first, writes second; returns "" when both
// written files are the same, else what went wrong.
std::string roundTrip(const std::string &source, const vmodtest::ScratchDir &dir) {
    std::string problem;
    std::string first = dir.file("first.vmf");
    std::string second = dir.file("second.vmf");
    ReadModel a = readModel(source, &problem);
    if (a == nullptr || !writeModel(a.get(), first, &problem))
        return problem;
    ReadModel b = readModel(first, &problem);
    if (b == nullptr || !writeModel(b.get(), second, &problem))
        return problem;
    std::string one = readFile(first);
    std::string two = readFile(second);
    if (one != two)
        return "the second writing differs:\n--- first\n" + one + "\n--- second\n" + two;
    return "";
}

std::vector<std::string> modelFilesUnder(const std::string &directory) {
    std::vector<std::string> files;
    for (const auto &entry : std::filesystem::directory_iterator(directory))
        if (entry.path().extension() == ".vmf")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(vmod_ModelRead, ExamplesAndGoldenModelsRoundTrip) {
    std::vector<std::string> files = modelFilesUnder(std::string(VMOD_SOURCE_DIR) + "/examples");
    std::vector<std::string> golden = modelFilesUnder(std::string(VMOD_SOURCE_DIR) + "/tests/golden");
    files.insert(files.end(), golden.begin(), golden.end());
    ASSERT_GE(files.size(), 3u);
    vmodtest::ScratchDir dir;
    for (const std::string &file : files)
        EXPECT_EQ(roundTrip(file, dir), "") << file;
}

TEST(vmod_ModelRead, GeneratedModelsOfEveryKindRoundTrip) {
    vmodtest::ScratchDir dir;
    for (uint64_t seed = 1; seed <= 60; ++seed) {
        vmodtest::ModelPtr generated(vmodtest::generateModel(seed, 24, 4));
        std::string problem;
        std::string source = dir.file("generated.vmf");
        ASSERT_TRUE(writeModel(generated.get(), source, &problem)) << problem;
        EXPECT_EQ(roundTrip(source, dir), "") << "seed " << seed;
    }
}

TEST(vmod_ModelRead, UnresolvedChildRoundTripsUnchanged) {
    vmodtest::ScratchDir dir;
    std::string source = dir.file("unresolved.vmf");
    writeFile(source, "TITLE \"t\";\nSCALAR { ID 1; TITLE \"s\"; CHILD 42, 1; }\n");
    std::string problem;
    ReadModel model = readModel(source, &problem);
    ASSERT_NE(model, nullptr) << problem;
    Vmod_Link *link = model->nodes->children;
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(+(link->id), 42);
    EXPECT_EQ(+(link->node), nullptr);
    EXPECT_EQ(roundTrip(source, dir), "");
    ASSERT_TRUE(writeModel(model.get(), dir.file("once.vmf"), &problem)) << problem;
    EXPECT_NE(readFile(dir.file("once.vmf")).find("\tCHILD 42, 1;\n"), std::string::npos);
}

// Every CHILD the reader accepts, the writer saves: an operation's one output, and data
// blocks with several CHILD statements.
TEST(vmod_ModelRead, AcceptedChildStatementsSave) {
    vmodtest::ScratchDir dir;
    std::string source = dir.file("children.vmf");
    writeFile(source, "TITLE \"t\";\nSCALAR { ID 1; CHILD 2; CHILD 3, 4; }\nFUNCTION { ID 2; CHILD 4; }\n"
                      "CRITERIA { ID 3; CHILD 5; }\nRASTER { ID 4; }\nSCALAR { ID 5; }\n");
    EXPECT_EQ(roundTrip(source, dir), "");
    EXPECT_NE(readFile(dir.file("first.vmf")).find("\tCHILD 2, 3, 4;\n"), std::string::npos);
}

TEST(vmod_ModelRead, NoteWithoutFontReadsBackWithoutFont) {
    // The writer always writes FONT ("" for no font); the reader takes "" as no font.
    vmodtest::ScratchDir dir;
    vmodtest::ModelPtr built(vmodtest::newModel());
    vmodtest::addNode(built.get(), VMOD_TEXT, 1, "note");
    std::string problem;
    std::string source = dir.file("fontless.vmf");
    ASSERT_TRUE(writeModel(built.get(), source, &problem)) << problem;
    EXPECT_NE(readFile(source).find("\tFONT \"\";\n"), std::string::npos);
    ReadModel model = readModel(source, &problem);
    ASSERT_NE(model, nullptr) << problem;
    ASSERT_NE(model->nodes, nullptr);
    EXPECT_EQ(+(static_cast<Vmod_TextData *>(model->nodes->data)->font), nullptr);
    EXPECT_EQ(roundTrip(source, dir), "");
}
