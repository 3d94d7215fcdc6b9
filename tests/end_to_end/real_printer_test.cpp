#include "tests/support/child_process.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/print_service.h"
#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>
#include <unistd.h>

namespace kvalon::testing {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;

// A scheduler of its own with the program's backend (scripts/print-server.sh)
// and behind its queues a network printer nobody here wrote: the IPP
// Everywhere simulator, taking PDF on both sides of the sheet and keeping
// every job with its attributes (scripts/ipp-printer.sh). The queues are made
// as an administrator makes them: "Letter" with `lpadmin -m everywhere` (the
// simulator's own paper is Letter), "A4" the same with A4 as its paper,
// "Margins" from a driver whose A4 has 1/4" margins all round, "Narrow" from
// one with 30 mm at the sides of A4. One set for the whole suite: starting it
// takes seconds.
class RealPrinter : public ::testing::Test {
protected:
    struct Setup {
        TempDir dir;
        std::string server;
        std::string printer_folder;
        std::string skip_reason;    // what the machine lacks
        std::string failure_reason; // what failed although nothing was lacking
        bool started_scheduler = false;
        bool started_printer = false;
    };

    static void SetUpTestSuite() {
        setup = std::make_unique<Setup>();
        Setup& s = *setup;
        if (getuid() != 0 || !file_exists("/usr/sbin/cupsd") ||
            !file_exists("/usr/sbin/ippeveprinter") || !file_exists("/usr/bin/dbus-daemon")) {
            s.skip_reason = "needs root, cupsd, ippeveprinter and dbus-daemon";
            return;
        }
        std::filesystem::permissions(
            s.dir.path(), std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
            std::filesystem::perm_options::add);
        s.printer_folder = s.dir.file("printer");
        const std::string printer_port = std::to_string(free_port());
        const RunResult printer =
            run_program({source_dir() + "/scripts/ipp-printer.sh", "start", s.printer_folder,
                         printer_port, "Simulator", "-f", "application/pdf", "-2"});
        if (printer.status != 0) {
            s.failure_reason = "the printer simulator did not start: " + printer.err;
            return;
        }
        s.started_printer = true;
        const std::string port = std::to_string(free_port());
        const std::string backend =
            (std::filesystem::path(kvalon_binary()).parent_path() / "kvalon").string();
        const RunResult scheduler = run_program({source_dir() + "/scripts/print-server.sh", "start",
                                                 s.dir.file("server"), port, "PDF", backend});
        if (scheduler.status != 0) {
            s.failure_reason = "the scheduler did not start: " + scheduler.err;
            return;
        }
        s.started_scheduler = true;
        s.server = "127.0.0.1:" + port;
        const std::string uri = "ipp://localhost:" + printer_port + "/ipp/print";
        add_queue({"-p", "Letter", "-E", "-v", uri, "-m", "everywhere"});
        add_queue({"-p", "A4", "-E", "-v", uri, "-m", "everywhere"});
        add_queue({"-p", "A4", "-o", "PageSize=A4"});
        // The scheduler writes the queue's PPD after lpadmin has returned.
        std::string ppd;
        wait_until([&] {
            ppd = read_bytes(s.dir.file("server/conf/ppd/Letter.ppd"));
            return ppd.find("*PPD-Adobe") != std::string::npos &&
                   ppd.find("*ImageableArea A4:") != std::string::npos;
        });
        add_queue({"-p", "Margins", "-E", "-v", uri, "-P",
                   ppd_with_a4_area(ppd, "18 18 577.2756 823.8898", "margins.ppd")});
        add_queue({"-p", "Narrow", "-E", "-v", uri, "-P",
                   ppd_with_a4_area(ppd, "85.04 18 510.24 823.8898", "narrow.ppd")});
        add_queue({"-p", "LetterOnly", "-E", "-v", uri, "-P", ppd_without_a4(ppd)});
    }

    static void TearDownTestSuite() {
        if (setup->started_scheduler) {
            run_program(
                {source_dir() + "/scripts/print-server.sh", "stop", setup->dir.file("server")});
        }
        if (setup->started_printer) {
            run_program({source_dir() + "/scripts/ipp-printer.sh", "stop", setup->printer_folder});
        }
        setup.reset();
    }

    static void add_queue(std::vector<std::string> words) {
        words.insert(words.begin(), {"lpadmin", "-h", setup->server});
        const RunResult result = run_program(words);
        if (result.status != 0 && setup->failure_reason.empty()) {
            setup->failure_reason = "lpadmin failed: " + result.err;
        }
    }

    // The simulator's own PPD with another imageable area for A4: a driver
    // for a printer that cannot print as near the edges.
    static std::string ppd_with_a4_area(const std::string& ppd, const std::string& area,
                                        const std::string& name) {
        const std::regex line(R"(\*ImageableArea A4: "[^"]*")");
        const std::string path = setup->dir.file(name);
        write_bytes(path, std::regex_replace(ppd, line, "*ImageableArea A4: \"" + area + "\""));
        return path;
    }

    // The simulator's own PPD without its A4 sheet: a printer that has none.
    static std::string ppd_without_a4(const std::string& ppd) {
        const std::regex a4_lines(R"(\*[A-Za-z]+ A4[^:/\n]*[:/][^\n]*\n)");
        const std::string path = setup->dir.file("letter-only.ppd");
        write_bytes(path, std::regex_replace(ppd, a4_lines, ""));
        return path;
    }

    void SetUp() override {
        if (!setup->skip_reason.empty()) {
            GTEST_SKIP() << setup->skip_reason;
        }
        ASSERT_EQ(setup->failure_reason, "");
        env = {{"CUPS_SERVER", setup->server},
               {"CUPS_USER", "kvalon-real-" + std::to_string(getpid())},
               {"LPDEST", ""},
               {"PRINTER", ""},
               {"KVALON_PDF", ""},
               {"HOME", dir.path()},
               {"XDG_DATA_HOME", dir.file("data")}};
    }

    RunResult kvalon(std::vector<std::string> words) {
        words.insert(words.begin(), kvalon_binary());
        return run_program(words, env);
    }

    // A report named after the test, so that its job is found by its title.
    std::string report(const std::string& text, const std::string& suffix = {}) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = test->name();
        name = name.substr(0, 12) + std::to_string(getpid()) + suffix;
        const std::string path = dir.file(name + ".txt");
        write_bytes(path, to_mik(text));
        return path;
    }

    // The document the printer received for the job named after `report`
    // (the simulator names its file after the title, in lower case), once
    // its attributes are kept beside it; empty when none came.
    static std::string received(const std::string& report) {
        std::string stem = std::filesystem::path(report).stem().string();
        std::transform(stem.begin(), stem.end(), stem.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        std::string found;
        wait_until([&] {
            for (const std::string& file : files_in(setup->printer_folder + "/jobs")) {
                if (file.find(stem) != std::string::npos && file.ends_with(".pdf.attributes")) {
                    found = file.substr(0, file.size() - std::string(".attributes").size());
                    return true;
                }
            }
            return false;
        });
        return found;
    }

    static std::map<std::string, std::string> attributes_of(const std::string& document) {
        std::map<std::string, std::string> attributes;
        const std::string text = read_bytes(document + ".attributes");
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = std::min(text.find('\n', start), text.size());
            const std::string line = text.substr(start, end - start);
            const std::size_t equals = line.find('=');
            if (equals != std::string::npos) {
                attributes[line.substr(0, equals)] = line.substr(equals + 1);
            }
            start = end + 1;
        }
        return attributes;
    }

    static std::string a4_media_col() { return "media-size={x-dimension=21000 y-dimension=29700}"; }

    static std::unique_ptr<Setup> setup;
    TempDir dir;
    std::map<std::string, std::string> env;
};

std::unique_ptr<RealPrinter::Setup> RealPrinter::setup;

std::string report_lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "Ред " + std::to_string(100 + i) + " " + line + "\r\n";
    }
    return text;
}

// A printer without A4 gets the report planned on its own paper, and the job
// asks for that paper: asked for A4, such a printer prints nothing.
TEST_F(RealPrinter, APrinterWithoutA4PrintsOnItsOwnPaper) {
    const std::string path = report(report_lines(5, "Писмо до клиента"));
    const std::map<std::string, std::string> plan =
        parse_plan(kvalon({"--plan", "--printer", "LetterOnly", path}).out);
    EXPECT_EQ(plan.at("PaperName"), "Letter, 8 1/2 x 11 in. ");
    EXPECT_EQ(plan.at("PaperWidthMm"), "215");
    EXPECT_NE(plan.at("JobOptions").find("na_letter_8.5x11in"), std::string::npos);
    const RunResult printed = kvalon({"--printer", "LetterOnly", path});
    ASSERT_EQ(printed.status, 0) << printed.err;
    const std::string document = received(path);
    ASSERT_FALSE(document.empty()) << "the printer received no job";
    EXPECT_EQ(pdf_info(document)["Page size"].substr(0, 13), "612 x 792 pts");
}

// The simulator's paper is Letter; the plan puts the report on A4 as it
// always did, and now the job says so: the page prints at its size, as on a
// queue whose paper is A4, the lines as far apart as the plan has them.
TEST_F(RealPrinter, ALetterPrinterPrintsTheA4PlanAtItsSize) {
    const std::string text = "Склад Север ЕООД\r\n┌────┬────┐\r\n│ А1 │ Б2 │\r\n└────┴────┘\r\n" +
                             report_lines(30, "Материали и стоки");
    const std::string on_letter = report(text, "l");
    const std::string on_a4 = report(text, "a");
    const std::map<std::string, std::string> plan =
        parse_plan(kvalon({"--plan", "--printer", "Letter", on_letter}).out);
    ASSERT_EQ(plan.at("PaperName"), "A4, 210 x 297 mm ");
    ASSERT_EQ(plan.at("JobOptions"), "media=iso_a4_210x297mm");
    for (const std::string& queue_and_report : {"Letter " + on_letter, "A4 " + on_a4}) {
        const std::size_t blank = queue_and_report.find(' ');
        const RunResult printed = kvalon(
            {"--printer", queue_and_report.substr(0, blank), queue_and_report.substr(blank + 1)});
        ASSERT_EQ(printed.status, 0) << printed.err;
    }
    const std::string from_letter = received(on_letter);
    const std::string from_a4 = received(on_a4);
    ASSERT_FALSE(from_letter.empty() || from_a4.empty()) << "the printer received no job";
    EXPECT_NE(attributes_of(from_letter)["IPP_MEDIA_COL"].find(a4_media_col()), std::string::npos);
    EXPECT_EQ(pdf_info(from_letter)["Page size"].substr(0, 20), "595.276 x 841.89 pts");

    const std::vector<PdfWord> expected = pdf_words(from_a4);
    const std::vector<PdfWord> words = pdf_words(from_letter);
    ASSERT_EQ(words.size(), expected.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(words[i].text, expected[i].text);
        EXPECT_NEAR(words[i].x_min, expected[i].x_min, 0.1 * kPointsPerMm) << words[i].text;
        EXPECT_NEAR(words[i].y_max, expected[i].y_max, 0.1 * kPointsPerMm) << words[i].text;
    }
    // Unscaled: the first word of each line at the indentation, and ten lines
    // ten line heights apart.
    std::vector<PdfWord> starts;
    std::copy_if(words.begin(), words.end(), std::back_inserter(starts),
                 [](const PdfWord& word) { return word.text == "Ред"; });
    ASSERT_GE(starts.size(), 11U);
    const double cell = std::stod(plan.at("CharWidth")) * kPointsPerMm;
    EXPECT_NEAR(starts[0].x_min, std::stod(plan.at("LeftIndent")) * cell, 0.1 * kPointsPerMm);
    EXPECT_NEAR(starts[10].y_max - starts[0].y_max,
                10 * std::stod(plan.at("LineHeight")) * kPointsPerMm, 0.1 * kPointsPerMm);

    const GreyImage expected_page = render_page(from_a4, 1, 72);
    const GreyImage page = render_page(from_letter, 1, 72);
    ASSERT_EQ(page.width, expected_page.width);
    ASSERT_EQ(page.height, expected_page.height);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < page.pixels.size(); ++i) {
        if (std::abs(page.pixels[i] - expected_page.pixels[i]) > 64) {
            ++differing;
        }
    }
    EXPECT_LT(differing, page.pixels.size() / 1000) << "the pages differ";
}

// lpoptions as `lp` reads them: the user's own settings of a queue and of
// an instance of it go with the job, the program's copies and paper on top.
TEST_F(RealPrinter, TheUsersSettingsAndInstancesGoWithTheJob) {
    std::filesystem::create_directories(dir.file(".cups"));
    write_bytes(dir.file(".cups/lpoptions"),
                "Dest A4 sides=two-sided-long-edge print-quality=3\n"
                "Dest A4/memo sides=two-sided-short-edge copies=5 media=na_letter_8.5x11in\n");
    const std::string path = report(report_lines(5, "Справка"));

    const RunResult plan = kvalon({"--plan", "--printer", "A4", path});
    ASSERT_EQ(plan.status, 0) << plan.err;
    EXPECT_EQ(parse_plan(plan.out)["JobOptions"],
              "media=iso_a4_210x297mm print-quality=3 sides=two-sided-long-edge");
    const RunResult pdf_plan = kvalon({"--plan", "--pdf", dir.file("x.pdf"), path});
    EXPECT_EQ(parse_plan(pdf_plan.out).count("JobOptions"), 0U) << pdf_plan.out;

    const RunResult printed = kvalon({"--printer", "A4/memo", "--copies", "2", path});
    ASSERT_EQ(printed.status, 0) << printed.err;
    const std::string document = received(path);
    ASSERT_FALSE(document.empty()) << "the printer received no job";
    std::map<std::string, std::string> attributes = attributes_of(document);
    EXPECT_EQ(attributes["IPP_SIDES"], "two-sided-short-edge");
    EXPECT_EQ(attributes["IPP_COPIES"], "2");
    EXPECT_NE(attributes["IPP_MEDIA_COL"].find(a4_media_col()), std::string::npos);

    const RunResult missing = kvalon({"--printer", "A4/nothing", path});
    EXPECT_EQ(missing.status, 5);
    EXPECT_NE(missing.err.find("A4/nothing (няма такава опашка за печат)"), std::string::npos)
        << missing.err;
}

// Cells near the sheet's edge move inside what the queue says the printer
// prints, in portrait and in landscape, without another plan: on a printer
// with 1/4" margins the 7-point portrait page and the 6-point landscape page
// (two empty lines of 5.6 and 4.8 mm above their first line) come down.
TEST_F(RealPrinter, CellsNearTheEdgeMoveInsideThePrintersMargins) {
    struct Case {
        std::string text;
        std::vector<std::string> words;
        std::string orientation;
    };
    const Case cases[] = {
        {report_lines(20, std::string(110, 'x')), {"0", "6"}, "P"},
        {report_lines(20, std::string(200, 'x')), {}, "L"},
    };
    for (const Case& c : cases) {
        const std::string path = report(c.text);
        std::vector<std::string> words = {"--plan", "--printer", "Margins", path};
        words.insert(words.end(), c.words.begin(), c.words.end());
        std::map<std::string, std::string> plan = parse_plan(kvalon(words).out);
        ASSERT_EQ(plan["Orientation"], c.orientation);
        EXPECT_EQ(plan.count("Note"), 0U);
        words.erase(words.begin());
        const RunResult printed = kvalon(words);
        ASSERT_EQ(printed.status, 0) << printed.err;
        const std::string document = received(path);
        ASSERT_FALSE(document.empty()) << "the printer received no job";
        // Glyph boxes may pass their cell by a hair.
        const double edge = (6.35 - 0.05) * kPointsPerMm;
        for (const PdfWord& word : pdf_words(document)) {
            EXPECT_GE(std::min(word.x_min, word.y_min), edge) << word.text;
            EXPECT_LE(word.x_max, 595.276 - edge) << word.text;
            EXPECT_LE(word.y_max, 841.89 - edge) << word.text;
        }
        std::filesystem::remove(document + ".attributes");
    }
}

// Where the cells cannot all lie within what the printer prints, the plan and
// the print say so; the job still prints as planned.
TEST_F(RealPrinter, CellsThatCannotFitAreToldInThePlanAndWhenPrinting) {
    const std::string path = report(report_lines(5, std::string(60, 'x')));
    const std::string note = "Страницата не се побира в частта от листа, която принтерът Narrow "
                             "отпечатва; текст по краищата ѝ може да не излезе";
    const RunResult plan = kvalon({"--plan", "--printer", "Narrow", path});
    EXPECT_EQ(parse_plan(plan.out)["Note"], note) << plan.out;
    const RunResult printed = kvalon({"--printer", "Narrow", path});
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_NE(printed.err.find(note), std::string::npos) << printed.err;
    EXPECT_FALSE(received(path).empty());
}

// The office queue hands the client's own settings to the destination job,
// says in the job's log which it left out and why, and names a Windows
// client's document as Windows did, not as Samba's spool file.
TEST_F(RealPrinter, TheOfficeQueuePassesTheClientsSettingsOn) {
    ASSERT_EQ(kvalon({"--setup-queue", "Kvalon", "A4"}).status, 0);
    const std::string path = report(report_lines(3, "Фактура"));
    const std::string name = std::filesystem::path(path).filename().string();
    const RunResult sent = run_program({"lp",
                                        "-h",
                                        setup->server,
                                        "-d",
                                        "Kvalon",
                                        "-t",
                                        "smbprn.00000007 Remote Downlevel Document " + name,
                                        "-o",
                                        "raw",
                                        "-o",
                                        "sides=two-sided-long-edge",
                                        "-o",
                                        "print-quality=3",
                                        "-o",
                                        "finishings=4",
                                        "-o",
                                        "Duplex=DuplexNoTumble",
                                        "-o",
                                        "fit-to-page",
                                        path});
    ASSERT_EQ(sent.status, 0) << sent.err;
    const std::string document = received(path);
    ASSERT_FALSE(document.empty()) << "the printer received no job";
    std::map<std::string, std::string> attributes = attributes_of(document);
    EXPECT_EQ(attributes["IPP_JOB_NAME"], name);
    EXPECT_EQ(attributes["IPP_SIDES"], "two-sided-long-edge");
    EXPECT_EQ(attributes["IPP_PRINT_QUALITY"], "draft");
    EXPECT_EQ(attributes.count("IPP_FINISHINGS"), 0U);
    EXPECT_NE(attributes["IPP_MEDIA_COL"].find(a4_media_col()), std::string::npos);

    const std::string log = read_bytes(setup->dir.file("server/log/error_log"));
    EXPECT_NE(log.find("Опцията finishings=4 не се предава на A4: принтерът не приема тази "
                       "стойност (приема none)"),
              std::string::npos);
    EXPECT_NE(log.find("Опцията Duplex=DuplexNoTumble не се предава на A4: опашката не "
                       "обявява такава настройка"),
              std::string::npos);
}

// A paper a PDF page may have but the printer does not take: CUPS's program
// for the printer cancels the job there. That is the job's fault, as a paper
// too small or too large is: the office queue cancels its job and goes on,
// never failing it as the printer's (a stop-printer policy would stop the
// queue for everybody).
TEST_F(RealPrinter, APaperThePrinterRefusesCancelsTheOfficeQueuesJob) {
    ASSERT_EQ(kvalon({"--setup-queue", "KvalonPaper", "A4"}).status, 0);
    const std::string path = report(report_lines(1, "Фактура"));
    const RunResult sent = run_program({"lp", "-h", setup->server, "-d", "KvalonPaper", "-o", "raw",
                                        "-o", "media=custom_5080x5080mm", path});
    ASSERT_EQ(sent.status, 0) << sent.err;
    const std::string id = sent.out.substr(sent.out.find("KvalonPaper-"));
    const std::string job = id.substr(0, id.find(' '));
    const std::string number = job.substr(job.find('-') + 1);
    const std::string log_file = setup->dir.file("server/log/error_log");
    ASSERT_TRUE(wait_until([&] {
        return read_bytes(log_file).find("[Job " + number + "] Backend returned status") !=
               std::string::npos;
    })) << job;
    EXPECT_NE(
        read_bytes(log_file).find("[Job " + number + "] Backend returned status 5 (cancel job)"),
        std::string::npos);
    const RunResult listed =
        run_program({"lpstat", "-h", setup->server, "-W", "completed", "-l", "-o", "KvalonPaper"});
    EXPECT_NE(listed.out.find("Печатът не завърши: грешка на принтера A4 (заданието е отменено"),
              std::string::npos)
        << listed.out;
    EXPECT_EQ(
        run_program({"lpstat", "-h", setup->server, "-p", "KvalonPaper"}).out.find("disabled"),
        std::string::npos);
}

} // namespace
} // namespace kvalon::testing
