#include "startup/start_sequence.h"

#include "engine/document_kind.h"
#include "engine/error.h"
#include "engine/exit_status.h"
#include "engine/file_checks.h"
#include "engine/line_limit.h"
#include "engine/messages.h"
#include "engine/pdf_trailer.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "engine/printer_surface.h"
#include "engine/read_page.h"
#include "engine/source_file.h"
#include "printing/print_page.h"
#include "printing/sheet_placement.h"
#include "startup/answer_file.h"
#include "startup/plan_report.h"
#include "startup/report_words.h"

#include <algorithm>
#include <optional>

namespace kvalon {

namespace {

enum class Action { Print, PlanOnly };

void reset_start_fields(PrintJob& j) {
    j.ParamList.assign(4, std::string());
    j.CommandLineJob = false;
    j.FontFace = "CourierCyr";
    j.FontFileName = "crcn.ttf";
}

std::optional<Action> chosen_action(const PrintJob& j) {
    const std::string word = j.ParamList.size() > 1 ? j.ParamList[1] : std::string();
    const std::optional<double> number = action_number(word);
    if (!number) {
        return std::nullopt;
    }
    return *number == 1 ? Action::PlanOnly : Action::Print;
}

// A pipe or a device would block the planning scan or never end; it is named
// as what it is rather than as missing.
void refuse_unusable_source(const std::string& path) {
    switch (path_kind(path)) {
    case PathKind::Regular:
        return;
    case PathKind::Other:
        throw KvalonError(ErrorKind::NotRegularFile, path);
    case PathKind::Missing:
    case PathKind::Folder:
        throw KvalonError(ErrorKind::MissingFile, path);
    }
}

// The sheets of one job are counted as its pages are: copies of a report
// beyond them would make a document no printer or reader takes whole.
void refuse_too_many_sheets(const PrintJob& j, double pages, int copies) {
    if (pages * copies > static_cast<double>(kMostPages)) {
        throw KvalonError(ErrorKind::TooManyPages, j.SourcePath,
                          copies > 1 ? std::to_string(copies) + messages::kCopiesOf +
                                           std::to_string(static_cast<long long>(pages)) +
                                           messages::kPagesEach
                                     : std::string());
    }
}

// Page numbers are 16-bit: a plan beyond them fails before the first sheet.
// A report with no page to print is told as empty, never taken for a job
// done.
void print_all_pages(PrintJob& j, int copies) {
    refuse_too_many_sheets(j, j.PageCount, copies);
    while (!j.SourceDone) {
        read_page();
        refuse_too_many_sheets(j, j.PageNumber, copies);
        print_page();
    }
    if (j.PageNumber == 0) {
        throw KvalonError(ErrorKind::EmptyReport, j.SourcePath);
    }
    // A report left open after its last printed page is handed over here, so
    // that what came out can be looked at.
    PrinterSurface& surface = printer();
    surface.finish_document();
    if (j.PrintableData && surface.last_document_blank()) {
        throw KvalonError(ErrorKind::BlankPages, j.SourcePath);
    }
}

std::string document_title_for(const ProgramOptions& options, const PrintJob& j) {
    return options.document_title.empty() ? document_title(j.SourcePath) : options.document_title;
}

// A document goes to the printer as it is: no plan, no pages of ours.
int pass_on_document(const ProgramOptions& options, StartHooks& hooks, DocumentKind kind,
                     Action action) {
    PrintJob& j = job();
    j.Document = kind;
    if (const std::optional<FileIdentity> file = file_identity(j.SourcePath)) {
        refuse_larger_than_a_report(j.SourcePath, file->size);
    }
    const std::string kind_text = messages::kDocumentOfKind + document_kind_title(kind);
    if (options.plan) {
        hooks.write_output(std::string("Document=") + document_kind_name(kind) + "\n");
    } else if (action == Action::PlanOnly) {
        throw KvalonError(ErrorKind::NotTextReport, j.SourcePath,
                          kind_text + messages::kHasNoLinesPerPage);
    } else {
        if (kind == DocumentKind::Pdf) {
            refuse_broken_pdf(j.SourcePath);
        }
        if (hooks.print_starts) {
            hooks.print_starts();
        }
        hooks.pass_document(kind, j.SourcePath, document_title_for(options, j));
    }
    return kExitOk;
}

// A PCL job goes as it is only to a printer that reads PCL, for printing:
// the plan-only action and every other printer get it read by the program.
bool renders_pcl(const ProgramOptions& options, StartHooks& hooks, Action action) {
    if (!may_be_pcl(options.language)) {
        return false;
    }
    if (action == Action::PlanOnly && !options.plan) {
        return true;
    }
    return options.render || !hooks.reads_document || !hooks.reads_document(DocumentKind::Pcl);
}

int run_batch(const ProgramOptions& options, StartHooks& hooks) {
    PrintJob& j = job();
    const std::optional<Action> action = chosen_action(j);
    if (!action) {
        throw KvalonError(ErrorKind::BadActionWord, j.ParamList[1]);
    }
    const std::string folder =
        options.answer_folder.empty() ? answer_folder(j.SourcePath) : options.answer_folder;
    j.CommandLineJob = true;
    if (const DocumentKind kind = document_kind(j.SourcePath);
        kind != DocumentKind::Text &&
        !(kind == DocumentKind::Pcl && renders_pcl(options, hooks, *action))) {
        return pass_on_document(options, hooks, kind, *action);
    }
    printer().set_document_title(document_title_for(options, j));
    plan_layout();
    if (options.plan) {
        hooks.write_output(plan_report(j) +
                           job_report(printer().job_preview(planned_cell_area(j))));
    } else if (*action == Action::PlanOnly) {
        write_answer_file(folder, j.LinesPerPage);
    } else {
        if (hooks.print_starts) {
            hooks.print_starts();
        }
        print_all_pages(j, hooks.copies ? std::max(hooks.copies(), 1) : 1);
    }
    source_file().close();
    return kExitOk;
}

} // namespace

void close_job_files() {
    source_file().close();
}

int run_start_sequence(const ProgramOptions& options, StartHooks& hooks) {
    PrintJob& j = job();
    reset_start_fields(j);
    choose_language(j, options.language);
    j.CodePageAsked = options.code_page;
    j.FitPages = options.fit_pages;
    if (options.form_length) {
        j.PrinterFormLength = *options.form_length;
        j.PrinterFormLengthAsked = true;
    }
    if (hooks.printer_count() == 0) {
        throw KvalonError(ErrorKind::NoPrinter, "");
    }
    hooks.bind_printer();
    hooks.install_font();
    const bool has_words = options.has_words || !options.argument_text.empty();
    if (has_words) {
        j.ParamList =
            split_report_words(options.argument_text, options.shell_words, names_ordinary_file);
    }
    j.SourcePath = j.ParamList[0];
    if (has_words) {
        refuse_unusable_source(j.SourcePath);
    }
    if (j.SourcePath.empty()) {
        return hooks.run_interactive();
    }
    return run_batch(options, hooks);
}

} // namespace kvalon
