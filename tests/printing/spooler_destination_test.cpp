// A Windows printer against the spooler in memory: what reaches GDI at the
// device's pixels, which paper and copies the job asks for, how its job is
// followed, and what is refused.
#include "engine/error.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "printing/page_surface.h"
#include "printing/spooler/spooler_destination.h"
#include "printing/spooler/spooler_printers.h"
#include "tests/printing/fake_spooler.h"
#include "tests/printing/pdf_test_document.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

constexpr const char* kPrinter = "Office";

// A4 at 300 dpi, printed from 50 pixels in and 60 down.
DeviceArea a4_at_300() {
    return {300, 300, 50, 60, 2380, 3388, 2480, 3508};
}

std::shared_ptr<FakeSpooler> letter_printer() {
    auto spooler = std::make_shared<FakeSpooler>();
    spooler->names = {"Archive", kPrinter};
    spooler->default_name = kPrinter;
    spooler->device.paper_code = 1;
    spooler->device.paper_codes = {1, 5, 9};
    spooler->device.area = a4_at_300();
    return spooler;
}

PageDescription drawn_page() {
    PageDescription page = test_page(false);
    page.faces = {PageFace{"CourierCyr", 10, true, false, 2}};
    page.fills = {Fill{10, 20, 5, 2, 128}};
    page.images = {PlacedImage{0, 0, 25.4, 25.4, BitImage(8, 8)}};
    page.runs = {TextRun{0, 30, {{U'А', 10}, {U'Б', 12.54}, {U'\U0001F600', 15.08}}}};
    page.strokes = {Stroke{10, 20, 50, 20, 0.34}};
    return page;
}

void print_one_page(SpoolerDestination& printer, const PageDescription& page) {
    const std::unique_ptr<DocumentSink> sink = printer.make_page_sink();
    sink->begin(DocumentInfo{"Kvalon-P REPORT.TXT", 2});
    sink->add_page(page);
    sink->finish();
}

// Millimetres from the sheet's corner become pixels from the first one
// printed; each glyph stands where the page puts it (a pair of UTF-16 units
// advances once); fills, pictures, text and lines come in that order.
TEST(SpoolerDestination, DrawsThePageAtTheDevicesPixels) {
    const auto spooler = letter_printer();
    SpoolerDestination printer(kPrinter, 2, spooler);
    print_one_page(printer, drawn_page());
    ASSERT_EQ(spooler->documents.size(), 1u);
    const std::vector<std::string> expected = {
        "page",
        "fill 68 176 127 200 128",
        "image -50 -60 300 300 8 8",
        "text CourierCyr 42/50 bold 68 294 units 4 advances 30 30 0 0",
        "line 68 176 541 176 4",
        "end",
    };
    EXPECT_EQ(spooler->documents[0].calls, expected);
}

// The job asks for the paper its pages were planned on (A4 on a Letter
// printer), turned as they are, with the copies and the report's title; it
// is followed until it leaves the queue.
TEST(SpoolerDestination, OneJobOnThePlannedPaperFollowedToItsEnd) {
    const auto spooler = letter_printer();
    spooler->looks = {SpoolerJobLook{.printing = true}};
    SpoolerDestination printer(kPrinter, 2, spooler);
    const std::unique_ptr<DocumentSink> sink = printer.make_page_sink();
    sink->begin(DocumentInfo{"Kvalon-P REPORT.TXT", 2});
    sink->add_page(test_page(true));
    sink->add_page(test_page(true));
    sink->finish();
    ASSERT_EQ(spooler->documents.size(), 1u);
    const SpoolerDocumentRequest& request = spooler->documents[0].request;
    EXPECT_EQ(request.paper_code, 9);
    EXPECT_TRUE(request.landscape);
    EXPECT_EQ(request.copies, 2);
    EXPECT_EQ(request.title, "Kvalon-P REPORT.TXT");
    EXPECT_EQ(spooler->documents[0].calls, (std::vector<std::string>{"page", "page", "end"}));
    EXPECT_EQ(spooler->pauses, 1);
    EXPECT_EQ(sink->unconfirmed(), "");
}

struct JobEnd {
    const char* what;
    std::vector<SpoolerJobLook> looks;
    std::string failure; // the reason told, empty when none
    bool told_unconfirmed;
};

// A failing job is told with the printer's words; one still waiting when the
// wait runs out is handed over but told as not seen printed.
TEST(SpoolerDestination, HowAFollowedJobEnds) {
    const std::vector<SpoolerJobLook> waiting(20, SpoolerJobLook{});
    const JobEnd ends[] = {
        {"paper out",
         {SpoolerJobLook{}, SpoolerJobLook{.failed = true, .status = "няма хартия"}},
         "няма хартия",
         false},
        {"deleted, no words", {SpoolerJobLook{.failed = true}}, messages::kJobAborted, false},
        {"never leaves", waiting, "", true},
    };
    for (const JobEnd& end : ends) {
        SCOPED_TRACE(end.what);
        const auto spooler = letter_printer();
        spooler->looks.assign(end.looks.begin(), end.looks.end());
        SpoolerDestination printer(kPrinter, 1, spooler, 1);
        std::vector<std::string> told;
        const NoticeScope notices([&told](const std::string& text) { told.push_back(text); });
        const std::unique_ptr<DocumentSink> sink = printer.make_page_sink();
        sink->begin(DocumentInfo{"REPORT", 1});
        sink->add_page(test_page(false));
        std::string failure;
        try {
            sink->finish();
        } catch (const KvalonError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::Printer);
            EXPECT_EQ(error.path(), kPrinter);
            failure = error.detail();
        }
        EXPECT_EQ(failure, end.failure);
        EXPECT_EQ(!sink->unconfirmed().empty(), end.told_unconfirmed);
        EXPECT_EQ(told.size(), end.told_unconfirmed ? 1u : 0u);
    }
}

// A page the printer does not start drops the document: nothing is handed over.
TEST(SpoolerDestination, ARefusedPageDropsTheDocument) {
    const auto spooler = letter_printer();
    spooler->refuse_pages = true;
    SpoolerDestination printer(kPrinter, 1, spooler);
    const std::unique_ptr<DocumentSink> sink = printer.make_page_sink();
    sink->begin(DocumentInfo{"REPORT", 1});
    EXPECT_ANY_THROW(sink->add_page(test_page(false)));
    EXPECT_FALSE(sink->is_open());
    EXPECT_EQ(spooler->documents[0].calls, std::vector<std::string>{"abort"});
}

// Pages are planned on the printer's own paper at its own resolution; a
// printer without A4 among its papers is not switched to it.
TEST(SpoolerDestination, PlansOnThePrintersPaper) {
    const auto spooler = letter_printer();
    spooler->device.area.dpi_x = 600;
    SpoolerDestination printer(kPrinter, 3, spooler);
    SurfaceSetup setup = printer.surface_setup();
    EXPECT_EQ(setup.paper.key, "Letter");
    EXPECT_EQ(setup.resolution, 600);
    EXPECT_EQ(setup.copies, 3);
    EXPECT_TRUE(setup.takes_a4);
    spooler->device.paper_codes = {1, 5};
    EXPECT_FALSE(printer.surface_setup().takes_a4);
}

// A document goes raw only to a printer whose driver reads its language.
TEST(SpoolerDestination, DocumentsGoRawOnlyToAPrinterThatReadsThem) {
    const auto spooler = letter_printer();
    SpoolerDestination printer(kPrinter, 3, spooler);
    try {
        printer.pass_document(DocumentKind::PostScript, "C:\\LETTER.PS", "LETTER.PS");
        ADD_FAILURE() << "a PostScript document sent to a printer that does not read it";
    } catch (const KvalonError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::NotTextReport);
        EXPECT_NE(error.detail().find("PostScript"), std::string::npos);
    }
    EXPECT_TRUE(spooler->raw_jobs.empty());
    EXPECT_FALSE(printer.reads_document(DocumentKind::Pcl));

    spooler->device.languages = {"PostScript"};
    printer.pass_document(DocumentKind::PostScript, "C:\\LETTER.PS", "LETTER.PS");
    EXPECT_EQ(spooler->raw_jobs, std::vector<std::string>{"LETTER.PS C:\\LETTER.PS x3"});
}

// The default printer prints unless one is named; a name the spooler does
// not have is refused; no printer at all is a count of none.
TEST(SpoolerDestination, ChoosingAPrinter) {
    const auto spooler = letter_printer();
    const std::unique_ptr<SystemPrinters> printers = spooler_printers_on(spooler);
    EXPECT_EQ(printers->choose({}).destination->name(), kPrinter);
    PrinterRequest named;
    named.printer = "Archive";
    EXPECT_EQ(printers->choose(named).destination->name(), "Archive");
    named.printer = "Nowhere";
    try {
        printers->choose(named);
        ADD_FAILURE() << "an unknown printer chosen";
    } catch (const KvalonError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Printer);
        EXPECT_EQ(error.detail(), messages::kNoSuchQueue);
    }
    const auto bound = printers->choose({}).destination;
    EXPECT_NE(printers->restore(bound->remembered()), nullptr);
    spooler->names.clear();
    EXPECT_EQ(printers->choose({}).printer_count, 0);
    EXPECT_EQ(printers->restore(bound->remembered()), nullptr);
}

} // namespace
} // namespace kvalon::testing
