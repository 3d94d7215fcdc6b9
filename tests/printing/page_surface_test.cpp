#include "printing/pdf/pdf_destination.h"
#include "printing/printer_binding.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace kvalon {
namespace {

class PageSurfaceTest : public ::testing::Test {
protected:
    std::unique_ptr<PrinterSurface> make(int paper = 9) {
        return make_printer_surface(std::make_shared<PdfDestination>(dir.file("out.pdf"), paper));
    }

    testing::TempDir dir;
};

TEST_F(PageSurfaceTest, PaperInTwipsFollowsCodeAndOrientation) {
    struct Case {
        int code;
        double width, height;
    };
    for (const Case& c : {Case{9, 11906, 16838}, Case{1, 12240, 15840}, Case{8, 16838, 23811},
                          Case{14, 12240, 18709}}) { // 8 1/2 x 13 in. is held as 215.9 x 330 mm
        auto surface = make(c.code);
        EXPECT_EQ(surface->paper_size(), c.code);
        EXPECT_EQ(surface->width_twips(), c.width) << c.code;
        EXPECT_EQ(surface->height_twips(), c.height) << c.code;
        surface->set_orientation(PrinterSurface::kLandscape);
        EXPECT_EQ(surface->orientation(), PrinterSurface::kLandscape);
        EXPECT_EQ(surface->width_twips(), c.height) << c.code;
        EXPECT_EQ(surface->height_twips(), c.width) << c.code;
    }
}

TEST_F(PageSurfaceTest, SettingA4SwitchesThePaper) {
    auto surface = make(1);
    surface->set_paper_size(9);
    EXPECT_EQ(surface->paper_size(), 9);
    EXPECT_EQ(surface->width_twips(), 11906);
}

TEST_F(PageSurfaceTest, FontSizeReadsBackInWholeDevicePixels) {
    auto surface = make();
    surface->set_font_name("CourierCyr");
    surface->set_font_size(7);
    EXPECT_NEAR(surface->font_size(), 58 * 72.0 / 600, 1e-5); // 6.96 points
    surface->set_font_size(10);
    EXPECT_NEAR(surface->font_size(), 83 * 72.0 / 600, 1e-5);
}

TEST_F(PageSurfaceTest, TextHeightIsLinesTimesLineSpacing) {
    auto surface = make();
    surface->set_font_name("CourierCyr");
    surface->set_font_size(10);
    const float one = surface->text_height("");
    EXPECT_GT(one, 3.5f);
    EXPECT_FLOAT_EQ(surface->text_height("I"), one);
    EXPECT_NEAR(surface->text_height("I\r\nI\r\nI"), 3 * one, 1e-4);
    std::string many = "I";
    for (int i = 1; i < 300; ++i) {
        many += "\r\nI";
    }
    EXPECT_NEAR(surface->text_height(many), 300 * one, 1e-2);
}

TEST_F(PageSurfaceTest, MonospacedWidthsAddUp) {
    auto surface = make();
    surface->set_font_name("CourierCyr");
    surface->set_font_size(8);
    const float one = surface->text_width("Щ");
    EXPECT_GT(one, 1.5f);
    std::string line;
    for (int i = 0; i < 132; ++i) {
        line += "Щ";
    }
    EXPECT_NEAR(surface->text_width(line), 132 * one, 1e-3);
}

TEST_F(PageSurfaceTest, PdfPrinterNamesItsFile) {
    auto surface = make();
    EXPECT_EQ(surface->device_name(), "PDF: " + dir.file("out.pdf"));
    // It offers the face of the font file it prints in.
    ASSERT_EQ(surface->font_count(), 1);
    EXPECT_EQ(surface->font(0), "CourierCyr");
}

TEST_F(PageSurfaceTest, TheDocumentAppearsOnlyWhenItEnds) {
    auto surface = make();
    surface->set_font_name("CourierCyr");
    surface->set_font_size(10);
    surface->print("A", false);
    surface->new_page();
    surface->print("B", false);
    EXPECT_FALSE(testing::file_exists(dir.file("out.pdf")));
    surface->end_doc();
    EXPECT_TRUE(testing::file_exists(dir.file("out.pdf")));
    const auto info = testing::run_program({"pdfinfo", dir.file("out.pdf")});
    EXPECT_NE(info.out.find("Pages:           2"), std::string::npos) << info.out;
}

TEST_F(PageSurfaceTest, ADocumentLeftOpenIsHandedOverWithoutAnEmptyLastSheet) {
    auto surface = make();
    surface->set_font_name("CourierCyr");
    surface->set_font_size(10);
    surface->print("A", false);
    surface->new_page();
    surface->print("B", false);
    surface->new_page(); // the source ended with a form feed after a full page
    surface->finish_document();
    const auto info = testing::run_program({"pdfinfo", dir.file("out.pdf")});
    EXPECT_NE(info.out.find("Pages:           2"), std::string::npos) << info.out;
}

// The page new_page() ended is handed over only when the next one begins, so
// more can still stand under it: one sheet, its two lines in order.
TEST_F(PageSurfaceTest, AnEndedPageTakesMoreUntilTheNextPageBegins) {
    auto surface = make();
    surface->set_font_name("CourierCyr");
    surface->set_font_size(10);
    surface->print("AAA", true);
    surface->new_page();
    ASSERT_TRUE(surface->return_to_last_page());
    surface->print("FFF", true);
    surface->end_doc();
    const auto text = testing::run_program({"pdftotext", "-layout", dir.file("out.pdf"), "-"});
    EXPECT_EQ(text.out.find('\f'), text.out.rfind('\f')) << text.out; // one sheet
    EXPECT_LT(text.out.find("AAA"), text.out.find("FFF")) << text.out;

    surface->print("A", false);
    surface->new_page();
    surface->print("B", false);
    EXPECT_FALSE(surface->return_to_last_page());
    surface->abandon_document();
}

TEST_F(PageSurfaceTest, ADocumentLeftOpenWhenTheSurfaceGoesLeavesNoFile) {
    {
        auto surface = make();
        surface->set_font_name("CourierCyr");
        surface->print("A", false);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace
} // namespace kvalon
