// The windows' logic without any toolkit: this program links no Qt. Its
// settings live in memory, its messages and questions are answered here.
#include "engine/messages.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "printing/cups/queue_destination.h"
#include "printing/pdf/pdf_destination.h"
#include "printing/printer_binding.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"
#include "ui/menu_session.h"
#include "ui/user_settings.h"
#include "ui/window_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

class MemoryStore final : public SettingsStore {
public:
    std::optional<std::string> value(const std::string& key) const override {
        const auto found = values.find(key);
        return found != values.end() ? std::optional(found->second) : std::nullopt;
    }
    void set_value(const std::string& key, const std::string& value) override {
        values[key] = value;
    }
    std::vector<std::string> keys_in(const std::string& group) const override {
        std::vector<std::string> keys;
        for (const auto& [key, value] : values) {
            if (key.rfind(group + "/", 0) == 0) {
                keys.push_back(key.substr(group.size() + 1));
            }
        }
        return keys;
    }
    std::map<std::string, std::string> values;
};

class AnsweredServices final : public WindowServices {
public:
    void show_message(const std::string& text) override { messages.push_back(text); }
    int ask_question(const Question& question) override {
        questions.push_back(question.text);
        return question.cancel;
    }
    void post(std::function<void()> work) override { work(); }
    std::vector<std::string> messages;
    std::vector<std::string> questions;
};

class MenuSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_job();
        job().ParamList.assign(4, std::string());
        job().FontFace = "CourierCyr";
        job().FontFileName = "crcn.ttf";
    }
    void TearDown() override {
        reset_job();
        set_printer(nullptr);
    }

    TempDir dir;
    MemoryStore store;
    AnsweredServices services;
};

// What earlier versions of the windows wrote is what they read: the printer
// picked last is bound again where it can still print.
TEST_F(MenuSessionTest, TheSettingsOfEarlierRunsAreRead) {
    store.values = {{"printer/kind", "pdf"},        {"printer/pdf", dir.file("Отчети.pdf")},
                    {"printer/paper", "11"},        {"printer/escp", "true"},
                    {"printer/fit-pages", "false"}, {"report/code-page", "cp866"},
                    {"files/folder", dir.path()}};
    UserSettings settings(store);
    const std::shared_ptr<const Destination> printer = settings.printer();
    ASSERT_NE(printer, nullptr);
    EXPECT_TRUE(printer->is_same_printer(PdfDestination(dir.file("Отчети.pdf"), 11)));
    EXPECT_EQ(settings.language(), LanguageChoice::Epson) << "the switch of earlier versions";
    EXPECT_FALSE(settings.fit_pages());
    EXPECT_EQ(settings.code_page(), code_page_choice_named("cp866"));
    EXPECT_EQ(settings.folder(), dir.path());

    settings.remember_printer(PdfDestination(dir.file("gone/x.pdf")));
    EXPECT_EQ(settings.printer(), nullptr) << "its folder is not there";
    settings.remember_folder_of(dir.file("gone/REPORT.TXT"));
    EXPECT_EQ(settings.folder(), "");
}

// A report chosen, its first page printed and the preview closed, as a view
// of any toolkit would drive it: the page is in the PDF printer's file, and
// the status line says where.
TEST_F(MenuSessionTest, AReportIsPlannedViewedAndPrinted) {
    PrinterBinding binding;
    binding.bind(std::make_shared<PdfDestination>(dir.file("out.pdf")));
    UserSettings settings(store);
    MenuSession menu(binding, settings, services);
    std::vector<std::string> status;
    const auto shown =
        menu.status.subscribe([&](const std::string& text) { status.push_back(text); });
    const auto told = menu.print_session().status_changed.subscribe(
        [&](const std::string& text) { status.push_back(text); });
    std::string report;
    for (int line = 1; line <= 200; ++line) {
        report += "Ред " + std::to_string(line) + "\r\n";
    }
    write_bytes(dir.file("REPORT.TXT"), to_mik(report));

    ASSERT_TRUE(menu.open_report(dir.file("REPORT.TXT")));
    EXPECT_EQ(menu.print_data()[PrintDataRow::Printer].text, "PDF: " + dir.file("out.pdf"));
    EXPECT_EQ(settings.folder(), dir.path());
    PrintSession& session = menu.print_session();
    ASSERT_GT(session.page_total(), 1);
    session.begin_viewing();
    ASSERT_TRUE(session.prepare_view());
    EXPECT_EQ(session.proposed_range().last, session.page_total());
    ASSERT_TRUE(session.print_page_on_view());
    EXPECT_EQ(session.step_on(), PrintSession::Stepped::OnView);
    session.end_viewing();

    EXPECT_EQ(pdf_pages(dir.file("out.pdf")), 1);
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.back(), "1" + messages::kPagesSentTo + "PDF: " + dir.file("out.pdf"));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_TRUE(services.questions.empty());
}

// Each queue keeps its own offset, a name like another's with a separator
// in it included; the PDF printer has one whatever file it writes.
TEST_F(MenuSessionTest, OffsetsAreRememberedForEachPrinter) {
    UserSettings settings(store);
    const QueueDestination office(QueueSettings{"Office"});
    const QueueDestination instance(QueueSettings{"Office/2"});
    const QueueDestination blank(QueueSettings{"Office 2"});
    settings.remember_offset(office, {1.5, -2});
    settings.remember_offset(instance, {-3, 0.5});
    settings.remember_offset(PdfDestination(dir.file("a.pdf")), {4, 4});
    EXPECT_EQ(settings.offset_for(office), (SheetOffset{1.5, -2}));
    EXPECT_EQ(settings.offset_for(instance), (SheetOffset{-3, 0.5}));
    EXPECT_EQ(settings.offset_for(blank), SheetOffset{});
    EXPECT_EQ(settings.offset_for(PdfDestination(dir.file("b.pdf"))), (SheetOffset{4, 4}));
    for (const auto& [key, value] : store.values) {
        EXPECT_EQ(std::count(key.begin(), key.end(), '/'), 1) << key;
    }
}

// The run's own offset (--offset with --open) moves the pages of the printer
// bound at start, zero included, whatever that printer has remembered; one
// chosen in the windows takes its place.
TEST_F(MenuSessionTest, TheRunsOwnOffsetWinsOverTheRememberedOne) {
    write_bytes(dir.file("REPORT.TXT"), to_mik("Ред 1\r\n"));
    UserSettings settings(store);
    settings.remember_offset(PdfDestination(dir.file("any.pdf")), {4, 4});
    const auto first_word_printed = [&](const std::string& pdf, std::optional<SheetOffset> asked) {
        job().OffsetAsked = asked;
        PrinterBinding binding;
        binding.bind(std::make_shared<PdfDestination>(pdf));
        MenuSession menu(binding, settings, services);
        EXPECT_EQ(menu.offset(), asked.value_or(SheetOffset{4, 4}));
        EXPECT_TRUE(menu.open_report(dir.file("REPORT.TXT")));
        menu.print_session().begin_viewing();
        EXPECT_TRUE(menu.print_session().prepare_view());
        EXPECT_TRUE(menu.print_session().print_page_on_view());
        menu.print_session().end_viewing();
        const std::vector<PdfWord> words = pdf_words(pdf);
        return words.empty() ? PdfWord{} : words.front();
    };
    const PdfWord plain = first_word_printed(dir.file("plain.pdf"), SheetOffset{});
    const PdfWord moved = first_word_printed(dir.file("moved.pdf"), SheetOffset{10, -5});
    const PdfWord remembered = first_word_printed(dir.file("remembered.pdf"), std::nullopt);
    constexpr double kPointsPerMm = 72 / 25.4;
    EXPECT_NEAR(moved.x_min - plain.x_min, 10 * kPointsPerMm, 0.05);
    EXPECT_NEAR(moved.y_min - plain.y_min, -5 * kPointsPerMm, 0.05);
    EXPECT_NEAR(remembered.x_min - plain.x_min, 4 * kPointsPerMm, 0.05);

    job().OffsetAsked = SheetOffset{10, -5};
    PrinterBinding binding;
    binding.bind(std::make_shared<PdfDestination>(dir.file("chosen.pdf")));
    MenuSession menu(binding, settings, services);
    menu.set_offset({1, 1});
    EXPECT_EQ(menu.offset(), (SheetOffset{1, 1}));
}

} // namespace
} // namespace kvalon::testing
