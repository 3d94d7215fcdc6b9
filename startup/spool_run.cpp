#include "startup/spool_run.h"

#include "engine/messages.h"
#include "startup/watch/folder_watcher.h"
#include "startup/watch/port_listener.h"

#include <filesystem>

namespace kvalon {

namespace {

// Absolute, so that a watcher started again from elsewhere finds the same
// files, and without a trailing slash, as the log and the reasons show it.
std::string absolute_folder(const std::string& folder) {
    std::string path = std::filesystem::absolute(folder).lexically_normal().string();
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

JobSettings job_settings(const ProgramOptions& options) {
    JobSettings job;
    job.job_words = options.job_words;
    if (options.pdf) {
        job.pdf_folder = absolute_folder(*options.pdf);
    }
    job.printer_shown = options.printer.value_or(messages::kDefaultPrinterShown);
    job.queue = options.printer ? options.printer->substr(0, options.printer->find('/')) : "";
    return job;
}

} // namespace

int run_spool_source(const ProgramOptions& options, const std::function<void()>& started) {
    if (options.watch) {
        WatchSettings watch = *options.watch;
        watch.folder = absolute_folder(watch.folder);
        FolderWatcher watcher(watch, job_settings(options));
        started();
        watcher.run();
    }
    PortListener listener(*options.listen, job_settings(options));
    started();
    listener.run();
}

} // namespace kvalon
