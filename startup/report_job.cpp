#include "startup/report_job.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/printer_surface.h"
#include "printing/printer_binding.h"
#include "startup/environment_settings.h"
#include "startup/stdin_report.h"

#include <optional>

namespace kvalon {

namespace {

// The copy of standard input is our own file: the user knows the report as
// standard input.
KvalonError named_for_user(const KvalonError& error, const std::optional<StdinReport>& piped) {
    if (piped && !piped->path().empty() && error.path() == piped->path()) {
        return KvalonError(error.kind(), messages::kStandardInput, error.detail());
    }
    return error;
}

// What a failed job drew so far must not reach the printer or pass for the
// whole report.
void drop_document(PrinterBinding& binding) {
    if (binding.is_bound()) {
        binding.surface().abandon_document();
    }
    close_job_files();
    set_printer(nullptr);
}

} // namespace

int run_report_job(const ProgramOptions& options, const PrinterChooser& choose, StartHooks hooks,
                   PrinterBinding& binding) {
    std::optional<StdinReport> piped_report;
    try {
        ProgramOptions job_options = options;
        if (job_options.language == LanguageChoice::Auto) {
            job_options.language = language_from_environment();
        }
        if (!job_options.form_length) {
            job_options.form_length = form_length_from_environment();
        }
        if (!job_options.code_page) {
            job_options.code_page = code_page_from_environment();
        }
        if (!job_options.offset) {
            job_options.offset = offset_from_environment();
        }
        const SheetOffset offset = job_options.offset.value_or(SheetOffset{});
        take_standard_input(job_options, piped_report);
        PrinterChoice choice;
        hooks.printer_count = [&choose, &choice] {
            choice = choose();
            return choice.printer_count;
        };
        hooks.bind_printer = [&choice, &binding, offset] {
            if (choice.destination) {
                binding.bind(choice.destination, offset);
            }
        };
        hooks.pass_document = [&binding](DocumentKind kind, const std::string& path,
                                         const std::string& title) {
            if (!binding.is_bound()) {
                throw KvalonError(ErrorKind::NoPrinter, "");
            }
            binding.destination().pass_document(kind, path, title);
        };
        hooks.reads_document = [&binding](DocumentKind kind) {
            return binding.is_bound() && binding.destination().reads_document(kind);
        };
        hooks.copies = [&binding] {
            return binding.is_bound() ? binding.destination().copies() : 1;
        };
        const int status = run_start_sequence(job_options, hooks);
        close_job_files();
        if (binding.is_bound()) {
            binding.surface().finish_document();
        }
        set_printer(nullptr);
        return status;
    } catch (const KvalonError& error) {
        drop_document(binding);
        throw named_for_user(error, piped_report);
    } catch (...) {
        drop_document(binding);
        throw;
    }
}

} // namespace kvalon
