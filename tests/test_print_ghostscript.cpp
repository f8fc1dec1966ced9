// The EPS files as a PostScript interpreter sees them: Ghostscript renders every golden
// file and every model's EPS without an error, with ink at each node and none far from
// the nodes, their titles and arrows. Skipped where Ghostscript is not installed.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "vmodhost/oerr.h"
#include "test_print_models.h"

using namespace print_models;

namespace {

constexpr double kDpi = 36;

struct Rendering {
    CommandResult run;
    GreyImage image;
    bool read = false;
};

Rendering RenderEps(const std::string &eps, const std::string &name) {
    Rendering r;
    std::string pgm = ScratchPath(name + ".pgm");
    r.run = RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pgmraw -r36 -sOutputFile=" + Quoted(pgm) +
                       " " + Quoted(eps));
    r.read = ReadPgm(pgm, r.image);
    return r;
}

bool CleanRun(const CommandResult &run) {
    return run.status == 0 && run.output.find("Error") == std::string::npos;
}

// Where the EPS puts a model point: the box starts one inch left of the leftmost centre
// and ends one inch below the lowest, as the writer computes it.
struct EpsPlacement {
    double minX, maxY, heightInches;

    explicit EpsPlacement(const Vmod_Model &model) {
        double lowX = model.pageWidth, highX = 0, lowY = model.pageHeight, highY = 0;
        for (const Vmod_Node *n = model.nodes; n; n = n->next) {
            const double x = n->x, y = n->y; // unaligned in the record: copy first
            lowX = std::min(lowX, x);
            highX = std::max(highX, x);
            lowY = std::min(lowY, y);
            highY = std::max(highY, y);
        }
        lowX = std::min(lowX, highX);
        lowY = std::min(lowY, highY);
        minX = lowX - 1;
        maxY = highY + 1;
        heightInches = std::ceil((maxY - (lowY - 1)) * 72 + 0.5) / 72;
    }
    void operator()(double x, double y, double &px, double &py) const {
        px = x - minX;
        py = heightInches - (maxY - y);
    }
};

void ExpectInkAtNodesOnly(const Vmod_Model &model, const GreyImage &image) {
    EpsPlacement place(model);
    for (const Vmod_Node *n = model.nodes; n; n = n->next) {
        double px, py;
        place(n->x, n->y, px, py);
        if (n->type == VMOD_TEXT) py += 0.1; // text sits on a baseline below the centre
        EXPECT_TRUE(image.InkNear(px * kDpi, py * kDpi, 0.55 * kDpi)) << "node " << n->id;
    }
    EXPECT_EQ(StrayInk(image, kDpi, DiagramZones(model, 1.0, place)), 0);
}

} // namespace

TEST(vmod_ModelEPS, GhostscriptRendersEveryGoldenFile) {
    if (!HaveProgram("gs")) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(SourcePath("tests/golden"))) {
        std::string name = entry.path().filename().string();
        if (name.rfind("eps_", 0) != 0 || entry.path().extension() != ".eps") continue;
        ++count;
        Rendering r = RenderEps(entry.path().string(), name);
        EXPECT_TRUE(CleanRun(r.run)) << name << ":\n" << r.run.output;
        EXPECT_TRUE(r.read) << name;
    }
    EXPECT_GE(count, 4);
}

TEST(vmod_ModelEPS, GhostscriptShowsEveryNodeWhereItIs) {
    if (!HaveProgram("gs")) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    const std::pair<const char *, std::function<void(PrintModel &)>> models[] = {
        {"all_kinds", BuildAllKinds}, {"one_raster", BuildOneRaster}, {"wide", BuildWide}, {"empty", BuildEmpty}};
    for (const auto &[name, build] : models) {
        PrintModel m;
        build(m);
        std::string eps = ScratchPath(std::string("ink_") + name + ".eps");
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelEPS(eps.c_str(), &m.model, &err);
        ASSERT_EQ(err, nullptr);
        Rendering r = RenderEps(eps, name);
        ASSERT_TRUE(CleanRun(r.run)) << name << ":\n" << r.run.output;
        ASSERT_TRUE(r.read) << name;
        SCOPED_TRACE(name);
        ExpectInkAtNodesOnly(m.model, r.image);
        if (!m.model.nodes) {
            EXPECT_EQ(r.image.DarkCount(), 0);
        }
    }
}

TEST(vmod_ModelEPS, GhostscriptRendersAwkwardTitles) {
    if (!HaveProgram("gs")) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    PrintModel m;
    m.at(VMOD_RASTER, 1, 2, 2, "unbalanced ((( \\ ) %% not a comment");
    m.at(VMOD_SCALAR, 2, 4, 2, "");
    m.at(VMOD_FUNCTION, 3, 2, 4, std::string(3000, ')').c_str());
    m.text(4, 4, 4, "line\nbreak", kHelvetica, 0, 4);
    m.text(5, 4, 5, "latin \xe9\xe8", kTimes, 12, 42);
    std::string eps = ScratchPath("awkward.eps");
    vmod_ModelEPS(eps.c_str(), &m.model, nullptr);
    Rendering r = RenderEps(eps, "awkward");
    EXPECT_TRUE(CleanRun(r.run)) << r.run.output;
}
