// The page as PNG and PDF: `plot --format`, rendered by librsvg and cairo;
// a build without them says so and what to do instead.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "test_support.h"
#include "views/plot/page_export.h"

namespace scenariogen {
namespace {

using testing::Outcome;
using testing::run_program;
using testing::slurp;
using testing::spit;
using testing::TempDir;

std::uint32_t big_endian(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

// The pages of a PDF: its page objects, and the count its page tree states.
std::size_t pdf_pages(const std::string& pdf) {
    std::size_t pages = 0;
    for (auto at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1)) {
        pages += pdf.compare(at, 12, "/Type /Pages") != 0;
    }
    return pages;
}

// The run's own scenario, compiled into a folder of its own.
class PlotExport : public ::testing::Test {
protected:
    void SetUp() override {
        spit(sources_.file("linea.txt"), testing::own_line_text());
        spit(sources_.file("treno.txt"), testing::own_train_text());
        ASSERT_EQ(run_program("compile " + sources_.file("linea.txt") + " " + sources_.file("treno.txt") + " -o " +
                              out_.path().string())
                      .status,
                  0);
    }
    Outcome plot(const std::string& options) { return run_program("plot " + out_.path().string() + " " + options); }
    std::string file(const std::string& name) const { return out_.file(name); }

    TempDir sources_;
    TempDir out_;
};

TEST_F(PlotExport, APngOfThePageAtTheResolutionAskedFor) {
    if (!page_rendering_unavailable().empty()) GTEST_SKIP() << page_rendering_unavailable();
    struct Case {
        std::string options;
        std::string file;  // written
        std::uint32_t width, height;
    };
    // A4 landscape is 297 mm by 210 mm: 1754 by 1240 pixels at 150 dpi.
    const std::vector<Case> cases{
        {"--format png", "Zervano-OdelmaVmod_27340.png", 1754, 1240},
        {"-o " + file("small.png") + " --dpi 72", "small.png", 842, 595},
        {"--format png --graph -o " + file("both.png"), "both.png", 1754, 2480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const Outcome outcome = plot(c.options);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const std::string png = slurp(file(c.file));
        ASSERT_GT(png.size(), 24u);
        EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
        EXPECT_EQ(png.substr(12, 4), "IHDR");
        EXPECT_EQ(big_endian(png, 16), c.width);
        EXPECT_EQ(big_endian(png, 20), c.height);
    }
}

TEST_F(PlotExport, APdfHoldsThePageAndTheTimeDistanceGraph) {
    if (!page_rendering_unavailable().empty()) GTEST_SKIP() << page_rendering_unavailable();
    const Outcome outcome = plot("-o " + file("page.pdf"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string pdf = slurp(file("page.pdf"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("%%EOF", pdf.size() - 8), std::string::npos);
    EXPECT_EQ(pdf_pages(pdf), 2u);
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    // A page of 297 mm by 210 mm in points.
    EXPECT_NE(pdf.find("/MediaBox [ 0 0 841.889764 595.275591 ]"), std::string::npos);

    // To the standard output as well.
    const Outcome piped = plot("--format pdf -o -");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(pdf_pages(piped.out), 2u);
}

TEST_F(PlotExport, WhatThePageIsWrittenAsAndWhereItGoes) {
    struct Case {
        const char* options;
        const char* written;
        const char* starts;
    };
    const bool renders = page_rendering_unavailable().empty();
    for (const Case c :
         {Case{"", "Zervano-OdelmaVmod_27340.svg", "<?xml"}, Case{"--format svg -o page.png", "page.png", "<?xml"},
          Case{"--format pdf", "Zervano-OdelmaVmod_27340.pdf", "%PDF-"}}) {
        SCOPED_TRACE(c.options);
        std::string options = c.options;
        const auto at = options.find("-o ");
        if (at != std::string::npos) options.replace(at + 3, std::string::npos, file(options.substr(at + 3)));
        const Outcome outcome = plot(options);
        if (!renders && std::string(c.starts) != "<?xml") continue;
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(slurp(file(c.written)).substr(0, 5), c.starts);
    }
    const Outcome bad = plot("--format gif");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(plot("--format png --dpi 5").status, 2);
}

// The Windows build has no renderer: PNG and PDF are refused at once, with
// what to do instead, and nothing is written.
TEST_F(PlotExport, ABuildWithoutARendererSaysSoAndWritesNothing) {
    if (page_rendering_unavailable().empty()) GTEST_SKIP() << "this build renders PNG and PDF";
    for (const char* format : {"png", "pdf"}) {
        const Outcome refused = plot(std::string("--format ") + format);
        EXPECT_EQ(refused.status, 2);
        EXPECT_NE(refused.err.find("--format svg"), std::string::npos) << refused.err;
        EXPECT_FALSE(std::filesystem::exists(file(std::string("Zervano-OdelmaVmod_27340.") + format)));
    }
}

}  // namespace
}  // namespace scenariogen
