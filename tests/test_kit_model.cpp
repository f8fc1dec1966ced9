// The kit's whole-model calls: new models, nodes with the next identifier, deep copies,
// saving to and reading from memory, save-as, and note fonts. Every model goes back to
// the bytes it was saved as; under LeakSanitizer a font or a private file left behind
// fails the suite.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "support/scratch_dir.h"
#include "test_model_support.h"
#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_model.h"

namespace {

struct KitModelFree {
    void operator()(Vmod_Model *model) const { vmodkit_ModelFree(model); }
};
using KitModel = std::unique_ptr<Vmod_Model, KitModelFree>;

void quiet(const char *, void *) {}

// Reports kept quiet, and the kit's private files made in a directory the test watches.
class KitModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        vmodhost_SetErrorSink(quiet, nullptr);
        const char *before = std::getenv("TMPDIR");
        hadTmp = before != nullptr;
        if (hadTmp) oldTmp = before;
        setenv("TMPDIR", tmp.path().c_str(), 1);
    }
    void TearDown() override {
        EXPECT_TRUE(tmp.entries().empty()) << "a private file was left behind";
        if (hadTmp)
            setenv("TMPDIR", oldTmp.c_str(), 1);
        else
            unsetenv("TMPDIR");
        vmodhost_SetErrorSink(nullptr, nullptr);
        oerr_DeleteErrorReportEx(&err);
    }

    std::string saved(const Vmod_Model *model) {
        size_t length = 7;
        char *text = vmodkit_ModelSaveMemory(model, &length, &err);
        EXPECT_NE(text, nullptr) << chain();
        std::string bytes = text != nullptr ? std::string(text, length) : std::string();
        vmodkit_Free(text);
        return bytes;
    }
    KitModel read(const std::string &text, const char *name = "test") {
        KitModel model(vmodkit_ModelReadMemory(text.data(), text.size(), name, &err));
        EXPECT_NE(model, nullptr) << chain();
        return model;
    }
    KitModel example(const char *name) {
        return read(vmodtest::wholeFile(std::string(VMOD_SOURCE_DIR) + "/examples/" + name), name);
    }
    std::string chain() const {
        char *text = err != nullptr ? vmodhost_ErrorChainText(err) : nullptr;
        std::string out = text != nullptr ? text : "";
        omsc_HeapFree(text);
        return out;
    }

    Oerr_ErrorReport *err = nullptr;
    vmodtest::ScratchDir tmp, dir;
    bool hadTmp = false;
    std::string oldTmp;
};

const char *const kExamples[] = {"every_kind.vmf", "everything.vmf", "ndvi.vmf", "suitability.vmf"};

Vmod_TextData *textOf(Vmod_Node *node) { return static_cast<Vmod_TextData *>(node->data); }

} // namespace

// ---- new models and nodes ----

TEST_F(KitModelTest, NewModelSavesWhatAFileWithoutSettingsReadsAs) {
    KitModel model(vmodkit_ModelNew(&err));
    ASSERT_NE(model, nullptr);
    const std::string text = saved(model.get());
    EXPECT_EQ(text, saved(read("PAGESIZE 8.5, 11 INCHES;\n").get()));
    EXPECT_NE(text.find("\nPRINTERPAGESIZE 8.5, 11;\nMARGINS 0.5, 0.5, 0.5, 0.5;\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nPRINTSCALE 100;\n"), std::string::npos) << text;
    EXPECT_EQ(saved(read(text).get()), text);
}

TEST_F(KitModelTest, NodesOfEveryKindTakeTheNextIdentifierAndSurviveARoundTrip) {
    KitModel model(vmodkit_ModelNew(&err));
    for (int32_t kind = VMOD_RASTER; kind <= VMOD_TEXT; ++kind) {
        Vmod_Node *node = vmodkit_NodeAdd(model.get(), kind, kind + 0.5, 2.0, kind == VMOD_TEXT ? "note" : "n", &err);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->id, kind + 1);
    }
    vmodkit_NodeAdd(model.get(), VMOD_RASTER, 0, 0, nullptr, &err)->id = 40;
    EXPECT_EQ(vmodkit_NodeAdd(model.get(), VMOD_SCALAR, 0, 0, nullptr, &err)->id, 41);
    EXPECT_EQ(model->nextId, 42);
    const std::string text = saved(model.get());
    EXPECT_NE(text.find("TEXT {\n\tID 8;\n\tTITLE \"note\";\n\tPOSITION 7.5, 2;\n\tFONT \"Helvetica\";\n\tSIZE 12;\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(saved(read(text).get()), text);
    // A kind of no number is refused and leaves the model as it was.
    EXPECT_EQ(vmodkit_NodeAdd(model.get(), VMOD_TEXT + 1, 0, 0, "x", &err), nullptr);
    EXPECT_NE(err, nullptr);
    EXPECT_EQ(saved(model.get()), text);
    EXPECT_EQ(model->nextId, 42);
}

// ---- copies ----

TEST_F(KitModelTest, CopySavesTheSameBytesAndSharesNothingTheModelOwns) {
    for (const char *name : kExamples) {
        SCOPED_TRACE(name);
        KitModel model = example(name);
        ASSERT_NE(model, nullptr);
        const std::string original = saved(model.get());
        KitModel copy(vmodkit_ModelCopy(model.get(), &err));
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(fieldValue(copy->title), fieldValue(model->title));
        if (model->window != nullptr) {
            EXPECT_NE(fieldValue(copy->window), fieldValue(model->window));
        }
        for (Vmod_Node *node = copy->nodes; node != nullptr; node = node->next) {
            for (Vmod_Link *link = node->children; link != nullptr; link = link->next)
                EXPECT_EQ(fieldValue(link->node), vmod_IdToNode(copy.get(), link->id, nullptr));
            for (Vmod_Link *link = node->parents; link != nullptr; link = link->next)
                EXPECT_EQ(fieldValue(link->node), vmod_IdToNode(copy.get(), link->id, nullptr));
        }
        // The copy stands alone once its source is gone.
        model.reset();
        EXPECT_EQ(saved(copy.get()), original);
    }
}

// ---- memory and files ----

TEST_F(KitModelTest, MemorySaveIsTheFileSaveAndLeavesTheFileNameAlone) {
    for (const char *name : kExamples) {
        SCOPED_TRACE(name);
        KitModel model = example(name);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(fieldValue(model->fileName), nullptr);
        model->fileName = ostr_Duplicate(dir.file(name).c_str());
        char *const fileName = model->fileName;
        const std::string inMemory = saved(model.get());
        EXPECT_EQ(fieldValue(model->fileName), fileName);
        EXPECT_EQ(dir.entries().count(name), 0u);
        vmod_ModelWrite(model.get(), &err);
        ASSERT_EQ(err, nullptr);
        EXPECT_EQ(vmodtest::wholeFile(fileName), inMemory);
    }
}

TEST_F(KitModelTest, ModelTheFileCannotCarryIsRefusedWithTheWritersReason) {
    KitModel model(vmodkit_ModelNew(&err));
    model->aoiMode = 9;
    size_t length = 5;
    EXPECT_EQ(vmodkit_ModelSaveMemory(model.get(), &length, &err), nullptr);
    EXPECT_EQ(length, 0u);
    ASSERT_NE(err, nullptr);
    EXPECT_STREQ(vmodhost_ErrorFunction(err), "vmodkit_ModelSaveMemory");
    EXPECT_NE(chain().find("AOI 9"), std::string::npos) << chain();
    EXPECT_EQ(chain().find(tmp.path()), std::string::npos) << chain();
}

TEST_F(KitModelTest, NoRoomForThePrivateFileIsAFailureThatSaysSo) {
    KitModel model(vmodkit_ModelNew(&err));
    setenv("TMPDIR", dir.file("missing").c_str(), 1);
    EXPECT_EQ(vmodkit_ModelSaveMemory(model.get(), nullptr, &err), nullptr);
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(vmodhost_ErrorCode(err), VMOD_ERR_FAILED);
    EXPECT_NE(chain().find("cannot make a private directory"), std::string::npos) << chain();
}

TEST_F(KitModelTest, MalformedTextIsReportedAtItsLineAndColumnUnderTheGivenName) {
    const std::string text = "TITLE \"t\";\nPAGESIZE 8.5, 11 INCHES;\nRASTER { ID 1; BOGUS; }\n";
    EXPECT_EQ(vmodkit_ModelReadMemory(text.data(), text.size(), "undo step", &err), nullptr);
    ASSERT_NE(err, nullptr);
    EXPECT_STREQ(vmodhost_ErrorFunction(err), "vmodkit_ModelReadMemory");
    EXPECT_NE(chain().find("undo step:3:16:"), std::string::npos) << chain();
    EXPECT_EQ(chain().find(tmp.path()), std::string::npos) << chain();
}

TEST_F(KitModelTest, ReportsChainOntoWhatTheCallerHeld) {
    err = oerr_CreateErrorReport("earlier", 1, 2, nullptr, "%s", "an earlier report", 0);
    EXPECT_EQ(vmodkit_ModelReadMemory("{", 1, nullptr, &err), nullptr);
    EXPECT_NE(chain().find("model text:1:1:"), std::string::npos) << chain();
    EXPECT_NE(chain().find("an earlier report"), std::string::npos) << chain();
}

TEST_F(KitModelTest, SaveAsChangesTheFileNameOnlyWhenTheFileIsWritten) {
    KitModel model = example("ndvi.vmf");
    ASSERT_NE(model, nullptr);
    model->fileName = ostr_Duplicate("first.vmf");
    const std::string missing = dir.file("missing/model.vmf");
    EXPECT_EQ(vmodkit_ModelSaveAs(model.get(), missing.c_str(), &err), 0);
    ASSERT_NE(err, nullptr);
    EXPECT_STREQ(vmodhost_ErrorFunction(err), "vmodkit_ModelSaveAs");
    EXPECT_STREQ(model->fileName, "first.vmf");
    EXPECT_TRUE(dir.entries().empty());
    oerr_DeleteErrorReportEx(&err);

    const std::string path = dir.file("second.vmf");
    EXPECT_EQ(vmodkit_ModelSaveAs(model.get(), path.c_str(), &err), 1);
    EXPECT_EQ(err, nullptr);
    EXPECT_EQ(std::string(model->fileName), path);
    EXPECT_EQ(vmodtest::wholeFile(path), saved(model.get()));
}

// ---- note fonts ----

TEST_F(KitModelTest, FontOfANoteMadeHereLeavesTheModelsFontAlone) {
    KitModel model(vmodkit_ModelNew(&err));
    // A heap string: were the node's release to free it, the sanitizers would see a
    // double free below.
    char *modelFont = ostr_Duplicate("Courier");
    model->textFont = modelFont;
    Vmod_Node *note = vmodkit_NodeAdd(model.get(), VMOD_TEXT, 1, 1, "n", &err);
    textOf(note)->style = VMOD_STYLE_BOLD;
    ASSERT_EQ(fieldValue(textOf(note)->font), modelFont);
    ASSERT_EQ(vmodkit_TextSetFont(note, "Times", &err), 1);
    EXPECT_STREQ(textOf(note)->font, "Times");
    EXPECT_EQ(textOf(note)->style, VMOD_STYLE_BOLD);
    EXPECT_EQ(textOf(note)->size, 12);
    ASSERT_EQ(vmodkit_TextSetFont(note, nullptr, &err), 1);
    EXPECT_EQ(fieldValue(textOf(note)->font), nullptr);
    EXPECT_STREQ(model->textFont, "Courier");
    model.reset();
    omsc_HeapFree(modelFont);
}

TEST_F(KitModelTest, FontOfAReadNoteReplacesTheOneItOwned) {
    KitModel model = example("every_kind.vmf");
    ASSERT_NE(model, nullptr);
    Vmod_Node *note = vmod_IdToNode(model.get(), 10, nullptr);
    ASSERT_STREQ(textOf(note)->font, "Helvetica");
    // Under LeakSanitizer a font that is replaced but not released fails the suite.
    ASSERT_EQ(vmodkit_TextSetFont(note, "Times-Roman", &err), 1);
    ASSERT_EQ(vmodkit_TextSetFont(note, "Times-Bold", &err), 1);
    EXPECT_NE(saved(model.get()).find("\tFONT \"Times-Bold\";\n\tSIZE 12;\n\tSTYLE BOLD;\n\tSTYLE UNDERLINED;\n"),
              std::string::npos);
}

TEST_F(KitModelTest, FontOfANodeThatIsNoNoteIsRefused) {
    KitModel model(vmodkit_ModelNew(&err));
    Vmod_Node *raster = vmodkit_NodeAdd(model.get(), VMOD_RASTER, 1, 1, "r", &err);
    void *const data = raster->data;
    EXPECT_EQ(vmodkit_TextSetFont(raster, "Times", &err), 0);
    EXPECT_NE(err, nullptr);
    EXPECT_EQ(fieldValue(raster->data), data);
}
