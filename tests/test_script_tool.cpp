// `vmod script`, run as a program, and the script of the bundled example read from its file.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "support/scratch_dir.h"
#include "support/tool_run.h"
#include "test_script_support.h"
#include "vmodhost/vmodhost.h"

namespace {

using vmodtest::ToolRun;

ToolRun vmod(const std::vector<std::string> &args) { return vmodtest::RunVmod(args); }

const std::string kExample = std::string(VMOD_SOURCE_DIR) + "/examples/everything.vmf";

// The golden script names the example by its path inside the source tree.
std::string withExamplePath(const std::string &script) {
    const std::string given = "graphical model: " + kExample + "\";";
    const size_t at = script.find(given);
    if (at == std::string::npos) {
        return script;
    }
    return script.substr(0, at) + "graphical model: examples/everything.vmf\";" + script.substr(at + given.size());
}

} // namespace

TEST(vmod_ScriptGen, ExampleModelReadFromItsFile) {
    Vmod_Model *model = static_cast<Vmod_Model *>(omsc_HeapMalloc(sizeof(Vmod_Model)));
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelRead(model, kExample.c_str(), &err);
    ASSERT_EQ(err, nullptr) << vmodhost_ErrorMessage(err);
    omsc_HeapFree(model->fileName);
    model->fileName = ostr_Duplicate("examples/everything.vmf");
    Ooml_Part *raster = vmodhost_ChooserCreate("raster");
    Ooml_Part *scalar = vmodhost_ChooserCreate("scalar");
    model->rasterChooser = raster;
    model->scalarChooser = scalar;
    ChooserScript chooser;
    chooser.answers = {"/data/dem.img", "/data/suitable.img", "/data/mean.txt"};
    chooser.install();
    ScriptRun run = runScript(model);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.text, golden("script_everything.txt"));
    EXPECT_EQ(chooser.titles, (std::vector<std::string>{"Select Existing File for Raster:   n1_dem",
                                                        "Enter New File for Raster:   n10_suitable",
                                                        "Enter New File for Scalar:   n12_mean"}));
    vmod_ModelDelete(model, &err);
    oerr_DeleteErrorReportEx(&err);
    omsc_HeapFree(model->title);
    omsc_HeapFree(model->projectionSameAs);
    omsc_HeapFree(model);
    vmodhost_ChooserDelete(raster);
    vmodhost_ChooserDelete(scalar);
}

TEST(vmod_script, AnswersEveryPromptAndWritesTheScript) {
    ToolRun run = vmod({"script", kExample, "--answer", "/data/dem.img", "--answer", "/data/suitable.img",
                        "--answer", "/data/mean.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(withExamplePath(run.out), golden("script_everything.txt"));
}

TEST(vmod_script, WritesToTheOutputFile) {
    vmodtest::ScratchDir dir;
    ToolRun run = vmod({"script", "--answer", "/data/dem.img", kExample, "-o", dir.file("out.mdl"), "--answer",
                        "/data/suitable.img", "--answer", "/data/mean.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(withExamplePath(readFile(dir.file("out.mdl"))), golden("script_everything.txt"));
}

TEST(vmod_script, PromptWithoutAnswerIsCancelled) {
    ToolRun run = vmod({"script", kExample, "--answer", "/data/dem.img"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "vmod script: the prompt \"Enter New File for Raster:   n10_suitable\" was cancelled; "
                       "the script is incomplete\n");
    EXPECT_TRUE(endsWith(run.out, "\nINTEGER RASTER n10_suitable FILE NEW USEALL THEMATIC BIN DIRECT DEFAULT "
                                  "8 BIT UNSIGNED INTEGER"))
        << run.out;
}

TEST(vmod_script, PreferencesApplyToTheModelRead) {
    ToolRun run = vmod({"--pref", "stats_option=Ignore specified value", "--pref", "stats_ignore_value=-1",
                        "script", kExample, "--answer", "a", "--answer", "b", "--answer", "c"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("INTEGER RASTER n10_suitable FILE NEW IGNORE -1 THEMATIC"), std::string::npos) << run.out;
}

TEST(vmod_script, RefusedModelNamesItsNodesAndWritesNothing) {
    vmodtest::ScratchDir dir;
    std::ofstream(dir.file("bad.vmf")) << "OPTIMIZE NO;\n"
                                          "FUNCTION {\n\tID 3;\n\tTITLE \"f\";\n\tVALUE \"1\";\n}\n";
    ToolRun run = vmod({"script", dir.file("bad.vmf"), "-o", dir.file("out.mdl")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Error Cannot Generate Script: operation node 3 \"f\" has no output\n");
    EXPECT_FALSE(std::ifstream(dir.file("out.mdl")).good());
}

TEST(vmod_script, UnreadableModelAndFullDiskFail) {
    ToolRun missing = vmod({"script", "/no/such/model.vmf"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err, "");
    ToolRun full = vmod({"script", kExample, "-o", "/dev/full", "--answer", "a", "--answer", "b", "--answer", "c"});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "vmod script: cannot write /dev/full: No space left on device\n");
}

TEST(vmod_script, UsageErrors) {
    for (auto run : {vmod({"script"}), vmod({"script", "a", "b"}), vmod({"script", "a", "-o"}),
                     vmod({"script", "a", "--bogus"})}) {
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    }
}
