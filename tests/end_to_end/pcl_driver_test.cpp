// PCL as a real LaserJet driver writes it: Ghostscript's LaserJet devices
// turn a page the program printed into PDF into PCL raster (delta rows at
// 300 and 600 dots to the inch, and unencoded rows); printed through the
// program again, the page looks as it did, moved only by the logical page's
// offset the driver assumes.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

constexpr int kDpi = 100;

struct DarkDots {
    std::vector<bool> dark;
    int width = 0;
    int height = 0;
    int left = 0; // the top-left corner of all of them
    int top = 0;

    explicit DarkDots(const GreyImage& page)
        : dark(page.pixels.size()), width(page.width), height(page.height), left(page.width),
          top(page.height) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool is_dark = page.at(x, y) < 128;
                dark[static_cast<std::size_t>(y * width + x)] = is_dark;
                if (is_dark) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                }
            }
        }
    }
    bool near(int x, int y) const {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx;
                const int ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < width && ny < height &&
                    dark[static_cast<std::size_t>(ny * width + nx)]) {
                    return true;
                }
            }
        }
        return false;
    }
    // The share of these dots that `other` has too, within a pixel, once
    // both are moved to their own top-left corner.
    double found_in(const DarkDots& other) const {
        int count = 0;
        int found = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (dark[static_cast<std::size_t>(y * width + x)]) {
                    ++count;
                    found += other.near(x - left + other.left, y - top + other.top) ? 1 : 0;
                }
            }
        }
        return count > 0 ? static_cast<double>(found) / count : 0;
    }
};

TEST(PclDriver, GhostscriptsLaserJetPagesPrintAsTheirSource) {
    TempDir dir;
    const std::map<std::string, std::string> source_env = {{"KVALON_PDF", dir.file("source.pdf")},
                                                           {"HOME", dir.path()}};
    write_bytes(dir.file("REPORT.TXT"), read_bytes(source_dir() + "/samples/sample-report.txt"));
    ASSERT_EQ(run_program({kvalon_binary(), dir.file("REPORT.TXT")}, source_env).status, 0);
    const DarkDots source(render_page(dir.file("source.pdf"), 1, kDpi));
    for (const char* device : {"ljet3", "ljet4", "laserjet"}) {
        const std::string pcl = dir.file(std::string(device) + ".PRN");
        const RunResult made =
            run_program({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-dLastPage=1",
                         std::string("-sDEVICE=") + device, "-o", pcl, dir.file("source.pdf")});
        ASSERT_EQ(made.status, 0) << device << made.err;
        const std::string printed = dir.file(std::string(device) + ".pdf");
        const RunResult run =
            run_program({kvalon_binary(), pcl}, {{"KVALON_PDF", printed}, {"HOME", dir.path()}});
        ASSERT_EQ(run.status, 0) << device << run.err;
        EXPECT_EQ(pdf_pages(printed), 1) << device;
        const DarkDots drawn(render_page(printed, 1, kDpi));
        EXPECT_GT(source.found_in(drawn), 0.95) << device;
        EXPECT_GT(drawn.found_in(source), 0.95) << device;
        // The driver's page stands where the printer's logical page puts it:
        // within a quarter of an inch of the source.
        EXPECT_LE(std::abs(drawn.left - source.left), kDpi / 4) << device;
        EXPECT_LE(std::abs(drawn.top - source.top), kDpi / 4) << device;
    }
}

} // namespace
} // namespace kvalon::testing
