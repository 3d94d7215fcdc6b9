// What the windows are started with: the run's own offset reaches them, and
// none given leaves each printer its remembered one.
#include "engine/print_job.h"
#include "startup/start_sequence.h"

#include <gtest/gtest.h>

namespace kvalon {
namespace {

TEST(WindowsStart, TheRunsOffsetIsHandedToTheWindows) {
    for (const std::optional<SheetOffset> given :
         {std::optional<SheetOffset>{SheetOffset{3, -2}}, std::optional<SheetOffset>{}}) {
        reset_job();
        ProgramOptions options;
        options.offset = given;
        std::optional<SheetOffset> seen{SheetOffset{99, 99}};
        StartHooks hooks;
        hooks.printer_count = [] { return 1; };
        hooks.bind_printer = [] {};
        hooks.install_font = [] {};
        hooks.run_interactive = [&seen] {
            seen = job().OffsetAsked;
            return 0;
        };
        hooks.write_output = [](const std::string&) {};
        EXPECT_EQ(run_start_sequence(options, hooks), 0);
        EXPECT_EQ(seen, given);
    }
    reset_job();
}

} // namespace
} // namespace kvalon
