// A script whose file fails to be written is never reported as complete.
#include <gtest/gtest.h>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "test_script_support.h"
#include "vmodhost/vmodhost.h"

namespace {

void buildSmallModel(ScriptModel &m) {
    m.model.optimize = 1;
    Vmod_Node *in = m.add(VMOD_RASTER, 1, "in");
    payload<Vmod_RasterData>(in)->fileName = heapText("/data/in.img");
    Vmod_Node *f = m.function(2, "$in + 1");
    Vmod_Node *out = m.add(VMOD_SCALAR, 3, "out");
    payload<Vmod_ScalarData>(out)->show = 1;
    ScriptModel::arrow(in, f);
    ScriptModel::arrow(f, out);
}

struct FaultOff {
    ~FaultOff() { vmodhost_FailWriteAfter(0); }
};

} // namespace

// Whichever write fails, first, last or any between, the result is 0.
TEST(vmod_ScriptGen, EveryFailedWriteGivesZero) {
    ScriptModel m;
    buildSmallModel(m);
    FaultOff off;
    ScriptRun complete = runScript(&m.model);
    ASSERT_EQ(complete.result, 1);
    int32_t failing = 1;
    for (;; ++failing) {
        vmodhost_FailWriteAfter(failing);
        ScriptRun run = runScript(&m.model);
        vmodhost_FailWriteAfter(0);
        if (run.result == 1) {
            break; // the armed write comes after the script's last one
        }
        EXPECT_LT(run.text.size(), complete.text.size()) << "write " << failing;
        ASSERT_LT(failing, 1000);
    }
    EXPECT_GT(failing, 20); // every write of the script was made to fail once
}

TEST(vmod_ScriptGen, FullDiskGivesZero) {
    ScriptModel m;
    buildSmallModel(m);
    // Enough data nodes that the script outgrows the stream's buffer while it is written.
    for (int32_t i = 0; i < 3000; ++i) {
        m.add(VMOD_SCALAR, 100 + i, ("scalar_with_a_long_name_" + std::to_string(i)).c_str());
    }
    Oerr_ErrorReport *err = nullptr;
    Ofio_File *file = ofio_Open("/dev/full", "w", &err);
    oerr_DeleteErrorReportEx(&err);
    if (file == nullptr) {
        GTEST_SKIP() << "no /dev/full";
    }
    EXPECT_EQ(vmod_ScriptGen(&m.model, file), 0);
    EXPECT_EQ(ofio_Close(file, 0), -1);
}

// Once the file has failed, the user is not asked for names the script can no longer hold.
TEST(vmod_ScriptGen, FailedFileAsksNoFurtherPrompt) {
    ScriptModel m;
    Vmod_Node *in = m.add(VMOD_RASTER, 1, "in");
    payload<Vmod_RasterData>(in)->prompt = 1;
    ChooserScript chooser;
    chooser.answers = {"/data/in.img"};
    chooser.install();
    FaultOff off;
    vmodhost_FailWriteAfter(1);
    ScriptRun run = runScript(&m.model);
    vmodhost_FailWriteAfter(0);
    EXPECT_EQ(run.result, 0);
    EXPECT_TRUE(chooser.titles.empty());
}
