// vmod_ModelAnno when things go wrong: a layer that cannot be created or written is
// reported and leaves no file; failed styles and elements are left out and the export
// goes on.
#include <unistd.h>

#include "anno_test_support.h"

namespace {

const char kMessage[] = "Error creating annotation file, check file protections.";

// Collects what oerr_PrintErrorReport shows.
struct ShownReports {
    std::vector<std::string> texts;
    ShownReports() { vmodhost_SetErrorSink(&ShownReports::sink, this); }
    ~ShownReports() { vmodhost_SetErrorSink(nullptr, nullptr); }
    static void sink(const char *text, void *user) { static_cast<ShownReports *>(user)->texts.push_back(text); }
};

// Turns failure injection off however the test ends.
struct FailCall {
    FailCall(const char *call, int32_t nth, int32_t every = 0) { vmodhost_AnnoFailCall(call, nth, every); }
    ~FailCall() { vmodhost_AnnoFailCall(nullptr, 0, 0); }
};

// The recorded host calls of an export into path with the nth call of `call` failing
// (and every `every` calls after it, unless 0); the export itself still succeeds.
std::vector<std::string> exportFailing(TestModel &m, const std::string &path, const char *call, int32_t nth,
                                       int32_t every = 0) {
    ReportSlot slot;
    std::vector<std::string> record;
    {
        FailCall fail(call, nth, every);
        record = recordExport(&m.model, path, &slot.report);
    }
    EXPECT_EQ(slot.report, nullptr) << call << " " << nth;
    return record;
}

void expectCannotCreate(const Oerr_ErrorReport *report, int32_t code) {
    ASSERT_NE(report, nullptr);
    EXPECT_STREQ(vmodhost_ErrorMessage(report), kMessage);
    EXPECT_STREQ(vmodhost_ErrorFunction(report), "vmod_ModelAnno");
    EXPECT_EQ(vmodhost_ErrorCode(report), code);
    EXPECT_EQ(vmodhost_ErrorSeverity(report), 2);
}

} // namespace

TEST(vmod_ModelAnno, ReportsALayerInAMissingDirectoryAndWritesNothing) {
    ScratchDir dir;
    TestModel m;
    m.add(VMOD_SCALAR, 1, "s");
    ShownReports shown;
    ReportSlot slot;
    std::vector<std::string> r = recordExport(&m.model, dir.file("missing/layer.svg"), &slot.report);
    expectCannotCreate(slot.report, 1);
    EXPECT_NE(vmodhost_ErrorCause(slot.report), nullptr); // the host's own reason
    ASSERT_EQ(shown.texts.size(), 1u);
    EXPECT_NE(shown.texts[0].find(kMessage), std::string::npos);
    EXPECT_EQ(dir.entries(), 0u);
    // Nothing is drawn after the failed layer.
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[2].rfind("oant_LayerNew(", 0), 0u);
    EXPECT_NE(r[2].find(") -> null"), std::string::npos);
}

TEST(vmod_ModelAnno, ReportsALayerInAnUnwritableDirectory) {
    ScratchDir dir;
    std::string path = dir.file("layer.svg");
    // File protections do not hold for root; a process directory is closed to everyone.
    if (geteuid() == 0)
        path = "/proc/self/vmod_layer.svg";
    else
        std::filesystem::permissions(dir.path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    TestModel m;
    ShownReports shown;
    ReportSlot slot;
    vmod_ModelAnno(&m.model, path.c_str(), &slot.report);
    expectCannotCreate(slot.report, 1);
    EXPECT_FALSE(std::filesystem::exists(path));
    std::filesystem::permissions(dir.path, std::filesystem::perms::owner_all);
    EXPECT_EQ(dir.entries(), 0u);
}

TEST(vmod_ModelAnno, ReportsALayerNamedLikeADirectory) {
    ScratchDir dir;
    TestModel m;
    ShownReports shown;
    ReportSlot slot;
    vmod_ModelAnno(&m.model, dir.path.string().c_str(), &slot.report);
    expectCannotCreate(slot.report, 1);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path));
}

TEST(vmod_ModelAnno, ReportsALayerThatCannotBeWrittenAndKeepsTheOldFile) {
    ScratchDir dir;
    std::string path = dir.file("layer.svg");
    {
        std::ofstream old(path);
        old << "old";
    }
    TestModel m;
    m.add(VMOD_RASTER, 1, "r");
    ShownReports shown;
    ReportSlot slot;
    {
        FailCall fail("oant_LayerClose", 1);
        vmod_ModelAnno(&m.model, path.c_str(), &slot.report);
    }
    expectCannotCreate(slot.report, 2);
    EXPECT_EQ(shown.texts.size(), 1u);
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(dir.entries(), 1u); // no temporary file left beside it
}

TEST(vmod_ModelAnno, ReportsAMissingModelOrName) {
    ScratchDir dir;
    TestModel m;
    ShownReports shown;
    {
        ReportSlot slot;
        vmod_ModelAnno(&m.model, nullptr, &slot.report);
        expectCannotCreate(slot.report, 1);
    }
    {
        ReportSlot slot;
        vmod_ModelAnno(nullptr, dir.file("x.svg").c_str(), &slot.report);
        expectCannotCreate(slot.report, 1);
    }
    vmod_ModelAnno(nullptr, nullptr, nullptr); // no slot: shown, then released
    EXPECT_EQ(shown.texts.size(), 3u);
    EXPECT_EQ(dir.entries(), 0u);
}

TEST(vmod_ModelAnno, LeavesTheReportAsItWasWhenTheLayerIsWritten) {
    ScratchDir dir;
    TestModel m;
    ReportSlot slot;
    slot.report = oerr_CreateErrorReport("earlier", 9, 2, nullptr, "kept", 0);
    Oerr_ErrorReport *before = slot.report;
    vmod_ModelAnno(&m.model, dir.file("x.svg").c_str(), &slot.report);
    EXPECT_EQ(slot.report, before);
}

TEST(vmod_ModelAnno, DrawsWithoutAStyleThatFailed) {
    ScratchDir dir;
    TestModel m;
    m.add(VMOD_SCALAR, 1, "s");
    std::vector<std::string> r = exportFailing(m, dir.file("a.svg"), "oant_ColorSetValues", 1); // the white colour
    // Nothing was made, so nothing is freed; the background takes -1 as its fill.
    EXPECT_TRUE(linesStarting(r, "oant_ColorFree").empty());
    EXPECT_NE(linesStarting(r, "oant_RectangleElementSetValues")[0].find("; 8: -1;"), std::string::npos);
    EXPECT_EQ(linesStarting(r, "oant_FillStyleSetValues").size(), 2u); // white's fill never made
    EXPECT_TRUE(wellFormed(dir.file("a.svg")));
}

TEST(vmod_ModelAnno, FreesAStyleTheLibraryRefused) {
    struct Case {
        const char *call;
        int32_t nth;
        const char *freed;
    } cases[] = {
        {"oant_ColorAddToLibrary", 1, "oant_ColorFree(color1)"},
        {"oant_FillStyleAddToLibrary", 3, "oant_FillStyleFree(fillstyle3)"},
        {"oant_LineStyleAddToLibrary", 2, "oant_LineStyleFree(linestyle2)"},
        {"oant_TextStyleAddToLibrary", 1, "oant_TextStyleFree(textstyle1)"},
        {"oant_TextStyleAddToLibrary", 2, "oant_TextStyleFree(textstyle2)"},
    };
    for (const Case &c : cases) {
        ScratchDir dir;
        TestModel m;
        m.add(VMOD_TEXT, 1, "t");
        m.add(VMOD_VECTOR, 2, "v");
        std::vector<std::string> r = exportFailing(m, dir.file("a.svg"), c.call, c.nth);
        EXPECT_NE(std::find(r.begin(), r.end(), c.freed), r.end()) << c.call << " " << c.nth;
        EXPECT_TRUE(wellFormed(dir.file("a.svg"))) << c.call;
    }
}

TEST(vmod_ModelAnno, GivesTheTextNodeTheIdentifierOfItsRefusedStyle) {
    ScratchDir dir;
    TestModel m;
    m.add(VMOD_TEXT, 1, "t");
    std::vector<std::string> r = exportFailing(m, dir.file("a.svg"), "oant_TextStyleAddToLibrary", 2);
    std::vector<std::string> texts = linesStarting(r, "oant_TextElementSetValues");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("; 9: -1;"), std::string::npos) << texts[0];
    auto svg = readSvg(dir.file("a.svg"));
    ASSERT_EQ(svg->all("text").size(), 1u);
    EXPECT_EQ(svg->all("text")[0]->attr("class"), "");
}

TEST(vmod_ModelAnno, GoesOnWhenElementsFail) {
    ScratchDir dir;
    TestModel m;
    Vmod_Node *a = m.add(VMOD_RASTER, 1, "a");
    Vmod_Node *b = m.add(VMOD_VECTOR, 2, "b");
    b->x = 3;
    m.arrow(a, b);
    std::vector<std::string> r =
        exportFailing(m, dir.file("a.svg"), "oant_PolylineElementSetValues", 1, 1); // every polyline
    EXPECT_TRUE(wellFormed(dir.file("a.svg")));
    auto svg = readSvg(dir.file("a.svg"));
    EXPECT_EQ(svg->all("polyline").size(), 0u);
    EXPECT_EQ(svg->all("polygon").size(), 1u); // the arrow head still stands
    EXPECT_EQ(svg->all("rect").size(), 2u);    // background and the vector's square
    std::vector<std::string> groups = linesStarting(r, "oant_GroupElementSetValues");
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_NE(groups[0].find("39: null []"), std::string::npos) << groups[0]; // the raster: no members
}

TEST(vmod_ModelAnno, DrawsALineWhoseCoordinateBlockFailedWithoutPoints) {
    ScratchDir dir;
    TestModel m;
    m.add(VMOD_TABLE, 1, "t");
    exportFailing(m, dir.file("a.svg"), "ofga_BaseCoordBlockCreate", 1);
    EXPECT_TRUE(wellFormed(dir.file("a.svg")));
    std::vector<std::string> points = polylinePoints(*readSvg(dir.file("a.svg")));
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], "");
    EXPECT_NE(points[1], "");
}

TEST(vmod_ModelAnno, WritesTheLayerWithoutBoxOrMapInformation) {
    ScratchDir dir;
    TestModel m;
    m.add(VMOD_SCALAR, 1, "s");
    // Either gives the extent without the other.
    exportFailing(m, dir.file("a.svg"), "oprj_MapInfoCreate", 1);
    EXPECT_EQ(readSvg(dir.file("a.svg"))->attr("viewBox"), "-1 -1 2 2");
    exportFailing(m, dir.file("b.svg"), "ovec_BboxCreate", 1);
    EXPECT_EQ(readSvg(dir.file("b.svg"))->attr("viewBox"), "-1 -1 2 2");
}
