// `vmod anno MODEL OUT.svg` on a bundled example: exit status, the written layer, and a
// directory that cannot take it.
#include <sys/wait.h>

#include "anno_test_support.h"

namespace {

std::string toolPath() { return std::string(VMOD_BINARY_DIR) + "/tools/vmod"; }

int runAnno(const std::string &args) {
    std::string command = toolPath() + " anno " + args + " 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(vmod_ModelAnno, ToolExportsABundledExample) {
    if (!std::filesystem::exists(toolPath())) GTEST_SKIP() << "the vmod tool is not built";
    ScratchDir dir;
    std::string out = dir.file("every_kind.svg");
    ASSERT_EQ(runAnno(std::string(VMOD_SOURCE_DIR) + "/examples/every_kind.vmf '" + out + "'"), 0);
    EXPECT_TRUE(wellFormed(out));
    auto svg = readSvg(out);
    ASSERT_EQ(svg->name, "svg");
    auto groups = svg->all("g");
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups[0]->attr("data-name"), "model");
    // One label per non-text node and one text element per text node.
    EXPECT_EQ(svg->all("text").size(), 14u); // the example has 13 non-text nodes and one text node
    EXPECT_EQ(svg->all("ellipse").size(), 2u);
    EXPECT_EQ(svg->all("rect")[0]->attr("data-name"), "background");
}

TEST(vmod_ModelAnno, ToolFailsWithTheReportWhenTheLayerCannotBeCreated) {
    if (!std::filesystem::exists(toolPath())) GTEST_SKIP() << "the vmod tool is not built";
    ScratchDir dir;
    std::string out = dir.file("missing/x.svg");
    std::string command = toolPath() + " anno " + VMOD_SOURCE_DIR + "/examples/every_kind.vmf '" + out + "' 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << text;
    // The reason names the file and what the system said, not which call failed.
    EXPECT_EQ(text, "vmod anno: cannot write " + out + ": No such file or directory\n");
    EXPECT_EQ(dir.entries(), 0u);
    EXPECT_EQ(runAnno("only-one-argument"), 2);
}
