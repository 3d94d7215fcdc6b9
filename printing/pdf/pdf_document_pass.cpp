#include "printing/pdf/pdf_document_pass.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/owned_fd.h"
#include "printing/pdf/fd_byte_output.h"
#include "printing/pdf_target_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kvalon {

namespace {

// The bytes of `source` as they are; the copy is whole when it holds as many
// bytes as the file had when it was opened.
void copy_file(const std::string& source, PdfTargetFile& file, const std::string& target) {
    OwnedFd input(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!input.valid() || ::fstat(input.get(), &info) != 0) {
        throw KvalonError(ErrorKind::File, source, system_reason(errno));
    }
    FdByteOutput output(file.fd(), target);
    std::vector<char> buffer(std::size_t{1} << 16);
    off_t copied = 0;
    for (ssize_t got = 0; (got = ::read(input.get(), buffer.data(), buffer.size())) != 0;) {
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw KvalonError(ErrorKind::File, source, system_reason(errno));
        }
        output.write(buffer.data(), static_cast<std::size_t>(got));
        copied += got;
    }
    output.flush();
    if (copied != info.st_size) {
        throw KvalonError(ErrorKind::File, source, messages::kChangedDuringJob);
    }
}

// Writing the document over itself would leave only a part of it.
void refuse_same_file(const std::string& source, const std::string& target) {
    struct stat from {};
    struct stat to {};
    if (::stat(source.c_str(), &from) == 0 && ::stat(target.c_str(), &to) == 0 &&
        from.st_dev == to.st_dev && from.st_ino == to.st_ino) {
        throw KvalonError(ErrorKind::FileWrite, target, messages::kIsTheReport);
    }
}

} // namespace

void write_document_as_pdf(DocumentKind kind, const std::string& source, const std::string& target,
                           const PaperPoints& paper, int copies) {
    if (kind == DocumentKind::Pcl) {
        throw KvalonError(ErrorKind::NotTextReport, source,
                          messages::kDocumentOfKind + document_kind_title(kind) +
                              messages::kNotIntoPdf);
    }
    refuse_same_file(source, target);
    PdfTargetFile file(target);
    if (kind == DocumentKind::Pdf && copies <= 1) {
        copy_file(source, file, target);
        file.commit_as_written();
        return;
    }
    ghostscript_to_pdf(
        std::vector<std::string>(static_cast<std::size_t>(std::max(copies, 1)), source),
        file.path(), paper, target);
    file.commit();
}

} // namespace kvalon
