#include "backend/backend_job.h"
#include "backend/backend_status.h"
#include "engine/error.h"
#include "printing/paper_sizes.h"
#include "startup/queue_address.h"

#include <gtest/gtest.h>

#include <cups/backend.h>

#include <functional>

namespace kvalon::testing {
namespace {

BackendJob parsed(const std::string& options, const std::string& uri = "kvalon:/Office",
                  bool with_file = true) {
    std::vector<std::string> words = {"7", "ivan", "Справка", "3", options};
    if (with_file) {
        words.push_back("/var/spool/cups/d00007-001");
    }
    return parse_backend_job(words, uri);
}

TEST(BackendJob, TakesTheJobAsCupsHandsItOver) {
    const BackendJob job = parsed("media=A5 kvalon-escp=1 kvalon-fit-pages=yes");
    EXPECT_EQ(job.user, "ivan");
    EXPECT_EQ(job.title, "Справка");
    EXPECT_EQ(job.copies, 3);
    EXPECT_EQ(job.file, "/var/spool/cups/d00007-001");
    EXPECT_EQ(job.destination, "Office");
    EXPECT_EQ(job.media, "A5");
    EXPECT_EQ(job.language, LanguageChoice::Epson);
    EXPECT_TRUE(job.fit_pages);
    EXPECT_FALSE(parsed("media=A5").fit_pages);
    EXPECT_TRUE(parsed("kvalon-render=1").render);
    EXPECT_FALSE(parsed("media=A5").render);
    // On standard input the copies are made by CUPS already.
    EXPECT_EQ(parsed("", "kvalon:/Office", false).copies, 1);
    EXPECT_EQ(parsed("PageSize=Letter kvalon-escp=off").media, "Letter");
    EXPECT_EQ(parsed("kvalon-escp=off").language, LanguageChoice::Text);
    EXPECT_EQ(parsed("kvalon-escp=auto").language, LanguageChoice::Auto);
    EXPECT_EQ(parsed("").language, LanguageChoice::Auto);
    EXPECT_FALSE(parsed("").code_page);
    EXPECT_EQ(parsed("kvalon-code-page=IBM866").code_page,
              (CodePageChoice{false, CodePageId::Cp866}));
    EXPECT_EQ(parsed("kvalon-code-page=auto").code_page, (CodePageChoice{true, CodePageId::Mik}));
    // Every other option is kept for the destination to judge; ours is not.
    EXPECT_EQ(
        options_text(parsed("sides=two-sided-long-edge kvalon-escp=1 fit-to-page kvalon-render=1 "
                            "kvalon-code-page=cp866 media=A5")
                         .options),
        "fit-to-page=true media=A5 sides=two-sided-long-edge");
}

TEST(BackendJob, NamesSambaJobsAfterTheirDocument) {
    const std::pair<std::string, std::string> cases[] = {
        {"smbprn.00000001 Remote Downlevel Document r134.txt", "r134.txt"},
        {"smbprn.00000012 Справка за склада", "Справка за склада"},
        {"smbprn.00000003 Remote Downlevel Document", "Remote Downlevel Document"},
        {"smbprn.00000003 ", "smbprn.00000003 "},
        {"Справка smbprn.00000001 x", "Справка smbprn.00000001 x"},
        {"smbprn.1 x", "smbprn.1 x"},
    };
    for (const auto& [title, name] : cases) {
        EXPECT_EQ(document_name(title), name) << title;
        EXPECT_EQ(parse_backend_job({"7", "ivan", title, "1", ""}, "kvalon:/Office").title, name);
    }
}

ErrorKind failure_of(const std::function<void()>& parse) {
    try {
        parse();
    } catch (const KvalonError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "taken";
    return ErrorKind::NoPrinter;
}

TEST(BackendJob, RefusesWhatItCannotUse) {
    EXPECT_EQ(failure_of([] { parsed("kvalon-escp=maybe"); }), ErrorKind::CommandLine);
    EXPECT_EQ(failure_of([] { parsed("kvalon-fit-pages=2"); }), ErrorKind::CommandLine);
    EXPECT_EQ(failure_of([] { parsed("kvalon-code-page=cp1252"); }), ErrorKind::CommandLine);
    for (const char* copies : {"0", "10000"}) {
        EXPECT_EQ(failure_of([copies] {
                      parse_backend_job({"7", "ivan", "t", copies, ""}, "kvalon:/Office");
                  }),
                  ErrorKind::CommandLine)
            << copies;
    }
    for (const std::string uri :
         {"kvalon:/", "kvalon:", "ipp://host/printers/Office", "kvalon:/a/b", "kvalon:/Off%2"}) {
        EXPECT_EQ(failure_of([&uri] { parsed("", uri); }), ErrorKind::Printer) << uri;
    }
}

TEST(QueueAddress, NamesTheDestinationBothWays) {
    for (const std::string name : {"Office", "Склад 2", "a%b", "x.y-z_1~"}) {
        EXPECT_EQ(destination_of(queue_device_uri(name)), name) << queue_device_uri(name);
    }
    EXPECT_EQ(queue_device_uri("Office"), "kvalon:/Office");
    EXPECT_EQ(destination_of("kvalon://Office/?waiteof=false"), "Office");
}

TEST(MediaOption, NamesThePaper) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"A5", "A5"},
        {"a4", "A4"},
        {"iso_a5_148x210mm", "A5"},
        {"na_letter_8.5x11in", "Letter"},
        {"A4,tray-1", "A4"},
        {"tray-1,legal", "Legal"},
        {"iso_a4_209.9x297.04mm", "A4"}, // within 3 points of a standard sheet
    };
    for (const auto& [media, key] : cases) {
        EXPECT_EQ(paper_for_media(media).key, key) << media;
    }
    const PaperSize custom = paper_for_media("custom_100x150mm");
    EXPECT_FALSE(custom.standard);
    EXPECT_EQ(custom.width_mm, 100);
    EXPECT_EQ(custom.height_mm, 150);
    EXPECT_EQ(code_for_paper(custom), 256);
    for (const std::string media : {"", "zzz", "custom_0x150mm"}) {
        EXPECT_FALSE(paper_for_media(media).is_valid()) << media;
    }
}

TEST(BackendStatus, CancelsABadReportAndLeavesTheRestToTheQueuesPolicy) {
    EXPECT_EQ(backend_status_for(KvalonError(ErrorKind::EmptyReport, "r")), CUPS_BACKEND_CANCEL);
    EXPECT_EQ(backend_status_for(KvalonError(ErrorKind::LineTooLong, "r")), CUPS_BACKEND_CANCEL);
    // A paper the job names that no page can use is the job's fault: under a
    // stop-printer policy a failure stopped the queue for everybody.
    EXPECT_EQ(backend_status_for(KvalonError(ErrorKind::Layout, "r")), CUPS_BACKEND_CANCEL);
    EXPECT_EQ(backend_status_for(KvalonError(ErrorKind::PaperTooLarge, "r")), CUPS_BACKEND_CANCEL);
    EXPECT_EQ(backend_status_for(KvalonError(ErrorKind::Printer, "q")), CUPS_BACKEND_FAILED);
    EXPECT_EQ(backend_status_for(KvalonError(ErrorKind::FileWrite, "t")), CUPS_BACKEND_FAILED);
}

} // namespace
} // namespace kvalon::testing
