// `vmod check` and `vmod script` on models whose names would break the script: check lists
// each one, script refuses the model without creating its output, and a name typed at a
// prompt that cannot be quoted stops the script with the reason.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <fstream>
#include <string>

#include "support/scratch_dir.h"
#include "support/tool_run.h"

namespace {

using vmodtest::ToolRun;

ToolRun vmod(const std::vector<std::string> &args) { return vmodtest::RunVmod(args); }

// A raster read from a file, a function and a new raster; the texts are spliced in as the
// model file spells them.
std::string model(const std::string &inTitle, const std::string &inFile, const std::string &outFile) {
    return "OPTIMIZE NO;\n"
           "RASTER {\n\tID 1;\n\tTITLE \"" + inTitle + "\";\n\tFILENAME \"" + inFile + "\";\n\tCHILD 2;\n}\n"
           "FUNCTION {\n\tID 2;\n\tTITLE \"f\";\n\tVALUE \"$in + 1\";\n\tCHILD 3;\n}\n"
           "RASTER {\n\tID 3;\n\tTITLE \"out\";\n\tNEWFILE;\n\t" + outFile + "\n}\n";
}

} // namespace

TEST(vmod_check, NamesTheScriptCannotHoldAreListed) {
    vmodtest::ScratchDir dir;
    std::ofstream(dir.file("bad.vmf"))
        << model("in;\nSYSTEM", "in.img\\\"; SYSTEM \\\"rm -rf ~\\\"; \\\"", "FILENAME \"/data/out.img\";");
    ToolRun run = vmod({"check", "--no-files", dir.file("bad.vmf")});
    EXPECT_EQ(run.status, 3) << run.out << run.err;
    // Both the title and the file name are named, each at its own statement.
    EXPECT_NE(run.out.find(": N002: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(": S002: the script cannot hold this text: node 1 \"in;\\nSYSTEM\": the file name "
                           "(FILENAME) holds a double quote and cannot be written between quotes\n"),
              std::string::npos)
        << run.out;

    ToolRun script = vmod({"script", dir.file("bad.vmf"), "-o", dir.file("out.mdl")});
    EXPECT_EQ(script.status, 1);
    EXPECT_NE(script.err.find("Error Cannot Generate Script: node 1 \"in;\\nSYSTEM\": the title is"), std::string::npos)
        << script.err;
    EXPECT_NE(script.err.find("; node 1 \"in;\\nSYSTEM\": the file name (FILENAME) holds a double quote"),
              std::string::npos)
        << script.err;
    EXPECT_FALSE(std::ifstream(dir.file("out.mdl")).good());
    EXPECT_EQ(script.out, "");
}

// The model's own path is named in the script's first line: a path the script cannot hold
// refuses the model as any other text would.
TEST(vmod_check, ModelPathWithAQuoteIsRefused) {
    vmodtest::ScratchDir dir;
    const std::string path = dir.file("my \"best\".vmf");
    std::ofstream(path) << model("in", "/data/in.img", "FILENAME \"/data/out.img\";");
    ToolRun check = vmod({"check", "--no-files", path});
    EXPECT_EQ(check.status, 3);
    EXPECT_NE(check.out.find("  S002: the script cannot hold this text: the model: its path (named in the COMMENT "
                             "line) holds a double quote and cannot be written between quotes\n"),
              std::string::npos)
        << check.out;
    ToolRun script = vmod({"script", path});
    EXPECT_EQ(script.status, 1);
    EXPECT_EQ(script.out, "");

    const std::string plain = dir.file("plain.vmf");
    std::ofstream(plain) << model("in", "/data/in.img", "FILENAME \"/data/out.img\";");
    EXPECT_EQ(vmod({"check", "--no-files", plain}).status, 0);
    EXPECT_EQ(vmod({"script", plain}).status, 0);
}

TEST(vmod_script, AnswerThatCannotBeQuotedStopsTheScript) {
    vmodtest::ScratchDir dir;
    std::ofstream(dir.file("prompt.vmf")) << model("in", "/data/in.img", "PROMPT;");
    ToolRun run = vmod({"script", dir.file("prompt.vmf"), "--answer", "out.img\"; SYSTEM \"rm -rf ~\"; \""});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "vmod script: the file name chosen at the prompt \"Enter New File for Raster:   out\" holds a "
                       "double quote and cannot be written between quotes; the script is incomplete\n");
    EXPECT_EQ(run.out.find("SYSTEM"), std::string::npos) << run.out;
}
