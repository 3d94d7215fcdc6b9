#include "startup/report_job.h"

#include "engine/printer_surface.h"
#include "printing/printer_selection.h"
#include "printing/qt/printer_binding.h"
#include "startup/environment_settings.h"
#include "startup/stdin_report.h"

#include <optional>

namespace kvalon {

int run_report_job(const ProgramOptions& options, const PrinterRequest& request, StartHooks hooks,
                   PrinterBinding& binding) {
    std::optional<StdinReport> piped_report;
    try {
        ProgramOptions job_options = options;
        job_options.escp = options.escp || escp_from_environment();
        take_standard_input(job_options, piped_report);
        hooks.printer_count = [&request] { return installed_printer_count(request); };
        hooks.bind_printer = [&request, &binding] {
            if (const auto target = choose_target(request)) {
                binding.bind(*target);
            }
        };
        const int status = run_start_sequence(job_options, hooks);
        close_job_files();
        if (binding.is_bound()) {
            binding.surface().finish_document();
        }
        set_printer(nullptr);
        return status;
    } catch (...) {
        // What a failed job drew so far must not reach the printer or pass
        // for the whole report.
        if (binding.is_bound()) {
            binding.surface().abandon_document();
        }
        close_job_files();
        set_printer(nullptr);
        throw;
    }
}

} // namespace kvalon
