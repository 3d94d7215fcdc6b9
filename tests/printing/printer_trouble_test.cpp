#include "printing/cups/printer_trouble.h"

#include <gtest/gtest.h>

namespace kvalon {
namespace {

TEST(PrinterTrouble, OnlyReasonsOfTroubleLetThePrinterSpeak) {
    const struct {
        std::string message;
        std::vector<std::string> job;
        std::vector<std::string> printer;
        std::string said;
        bool ended = false;
    } cases[] = {
        {"Idle.", {"job-printing"}, {"none"}, ""},
        {"Paused", {"job-queued", "printer-stopped"}, {"paused"}, ""},
        {"Ink low", {"job-printing"}, {"marker-supply-low-report"}, ""},
        {"Paper jam in tray 2", {"none"}, {"none"}, "Paper jam in tray 2", true},
        {"Print job canceled at printer.",
         {"job-canceled-at-device"},
         {"media-jam-error"},
         "Print job canceled at printer. [media-jam-error, job-canceled-at-device]"},
        {"", {"job-printing"}, {"media-empty-error", "media-empty-error"}, "media-empty-error"},
        {"Door open", {"none"}, {"door-open-warning"}, "Door open [door-open-warning]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(printer_trouble(c.message, c.job, c.printer, c.ended), c.said) << c.message;
    }
}

} // namespace
} // namespace kvalon
