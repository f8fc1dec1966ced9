// model_write_fixture.h - the fixture of the vmod_ModelWrite tests: a scratch
// directory, reports kept quiet, and writing a model into the directory.
#ifndef VMOD_TESTS_SUPPORT_MODEL_WRITE_FIXTURE_H
#define VMOD_TESTS_SUPPORT_MODEL_WRITE_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "vmodhost/oerr.h"
#include "model_generator.h"
#include "scratch_dir.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

inline void vmodtest_QuietErrors(const char *, void *) {}

// The fixture carries the function's name, so calls inside it are qualified.
class vmod_ModelWrite : public ::testing::Test {
protected:
    void SetUp() override { vmodhost_SetErrorSink(vmodtest_QuietErrors, nullptr); }
    void TearDown() override { vmodhost_SetErrorSink(nullptr, nullptr); }

    // Saves model as path and returns the report (null after success).
    Oerr_ErrorReport *save(Vmod_Model *model, const std::string &path) {
        omsc_HeapFree(model->fileName);
        model->fileName = vmodtest::heapString(path.c_str());
        Oerr_ErrorReport *err = nullptr;
        ::vmod_ModelWrite(model, &err);
        return err;
    }

    // Writes model to a file of the scratch directory and returns the file's text;
    // a failed write fails the test.
    std::string written(Vmod_Model *model) {
        std::string path = dir.file("model.vmf");
        omsc_HeapFree(model->fileName);
        model->fileName = vmodtest::heapString(path.c_str());
        Oerr_ErrorReport *err = nullptr;
        ::vmod_ModelWrite(model, &err);
        EXPECT_EQ(err, nullptr) << (err != nullptr ? vmodhost_ErrorMessage(err) : "");
        oerr_DeleteErrorReportEx(&err);
        return vmodtest::wholeFile(path);
    }

    // The text a model of default header and the single node made by build writes
    // for that node's block.
    template <typename Build>
    std::string block(int32_t type, Build build) {
        vmodtest::ModelPtr model(vmodtest::newModel());
        Vmod_Node *node = vmodtest::addNode(model.get(), type, 1, "$n1_x", 1.0, 2.0);
        build(node);
        std::string text = written(model.get());
        size_t start = text.find(" {\n");
        start = text.rfind('\n', start) + 1;
        return text.substr(start);
    }

    void expectGolden(const std::string &name, const std::string &text) {
        std::string path = std::string(VMOD_SOURCE_DIR) + "/tests/golden/" + name + ".vmf";
        if (const char *update = std::getenv("VMOD_UPDATE_GOLDEN"); update != nullptr && *update == '1')
            vmodtest::writeWholeFile(path, text);
        std::string expected;
        ASSERT_TRUE(vmodtest::readWholeFile(path, expected)) << "missing golden file " << path;
        EXPECT_EQ(text, expected) << "differs from " << path;
    }

    vmodtest::ScratchDir dir;
};

#endif
