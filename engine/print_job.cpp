#include "engine/print_job.h"

#include "engine/source_file.h"

namespace kvalon {

namespace {
PrintJob the_job;
}

PrintJob& job() {
    return the_job;
}

void reset_job() {
    the_job = PrintJob{};
    source_file().close();
}

} // namespace kvalon
