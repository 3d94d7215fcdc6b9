#include "printing/pdf/pdf_document_pass.h"

#include "engine/atomic_file.h"
#include "engine/error.h"
#include "engine/file_checks.h"
#include "engine/line_limit.h"
#include "engine/messages.h"
#include "engine/pdf_trailer.h"
#include "platform/descriptor_io.h"
#include "printing/pdf/fd_byte_output.h"
#include "printing/pdf_target_file.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace kvalon {

namespace {

// Less room than one buffer of gs counts as a full file system; a temporary
// folder without room for a megabyte more is full for gs.
constexpr long long kNearlyFullBytes = 64 * 1024;
constexpr std::int64_t kProbeBytes = 1 << 20;

// The document as it is now, open for whoever converts or copies it: the
// name is looked at once.
OwnedFd open_document(const std::string& source, FileFacts& info) {
    OwnedFd input;
    if (const int error = open_for_reading(source, input, info); error != 0) {
        throw KvalonError(ErrorKind::File, source, system_reason(error));
    }
    if (info.type != FileType::Regular) {
        throw KvalonError(ErrorKind::NotRegularFile, source);
    }
    refuse_larger_than_a_report(source, info.identity.size);
    return input;
}

// The bytes of the document as they are; the copy is whole when it holds as
// many bytes as the file had when it was opened.
void copy_file(int input, std::int64_t size, PdfTargetFile& file, const std::string& source,
               const std::string& target) {
    FdByteOutput output(file.fd(), target);
    std::vector<char> buffer(std::size_t{1} << 16);
    std::int64_t copied = 0;
    for (long long got = 0; (got = read_some(input, buffer.data(), buffer.size())) != 0;) {
        if (got < 0) {
            throw KvalonError(ErrorKind::File, source, system_reason(static_cast<int>(-got)));
        }
        output.write(buffer.data(), static_cast<std::size_t>(got));
        copied += got;
    }
    output.flush();
    if (copied != size) {
        throw KvalonError(ErrorKind::File, source, messages::kChangedDuringJob);
    }
}

// Writing the document over itself would leave only a part of it.
void refuse_same_file(const FileFacts& from, const std::string& target) {
    FileFacts to;
    if (facts_at(target, Links::Follow, to) == 0 && from.is_same_file(to)) {
        throw KvalonError(ErrorKind::FileWrite, target, messages::kIsTheReport);
    }
}

bool nearly_full(int fd) {
    const long long free = free_bytes(fd);
    return free >= 0 && free < kNearlyFullBytes;
}

// gs tells a full disk as an I/O error of whatever it was doing, and removes
// its temporary files as it ends: the disk of the target says it is full, the
// one of the temporary files whether it still has room for a little more.
bool a_disk_is_full(int target_fd, const PrivateFolder& folder) {
    if (nearly_full(target_fd)) {
        return true;
    }
    return lacks_room_for(folder.path(), kProbeBytes);
}

// gs may end well when its output could not be written whole.
void require_whole(int pdf, const std::string& target) {
    if (!pdf_is_complete(pdf)) {
        throw KvalonError(ErrorKind::FileWrite, target, messages::kDocumentIncomplete);
    }
}

// A converted document with no mark prints blank sheets; one with more
// pages than a job's sheets allow is refused before it is printed.
void check_pages(int pdf, int copies, const PrivateFolder& folder, const std::string& source,
                 const std::string& target) {
    const int most_pages = static_cast<int>(kMostPages) / copies;
    const PageMarks marks = ghostscript_page_marks(pdf, most_pages, folder, target);
    if (marks.pages > most_pages) {
        throw KvalonError(ErrorKind::TooManyPages, source,
                          std::to_string(copies) + messages::kCopiesOfMoreThan +
                              std::to_string(most_pages) + messages::kPagesEach);
    }
    if (!marks.marked) {
        throw KvalonError(ErrorKind::BlankPages, source);
    }
}

// One copy is converted and then looked at. Of more copies the document
// itself is looked at first, so that too many sheets are refused before any
// is made, and then converted once with every copy.
void convert(int input, int copies, PdfTargetFile& file, const PaperPoints& paper,
             const std::string& source, const std::string& target) {
    const PrivateFolder folder;
    try {
        if (copies <= 1) {
            ghostscript_to_pdf(input, 1, file.fd(), paper, folder, target);
            require_whole(file.fd(), target);
            check_pages(file.fd(), 1, folder, source, target);
            return;
        }
        check_pages(input, copies, folder, source, target);
        ghostscript_to_pdf(input, copies, file.fd(), paper, folder, target);
        require_whole(file.fd(), target);
    } catch (const KvalonError& error) {
        if (error.kind() == ErrorKind::FileWrite && a_disk_is_full(file.fd(), folder)) {
            throw KvalonError(ErrorKind::FileWrite, target, system_reason(ENOSPC));
        }
        throw;
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
    FileFacts info;
    const OwnedFd input = open_document(source, info);
    refuse_same_file(info, target);
    PdfTargetFile file(target);
    if (kind == DocumentKind::Pdf && copies <= 1) {
        copy_file(input.get(), info.identity.size, file, source, target);
        if (!file_has_pdf_trailer(file.fd())) {
            throw KvalonError(ErrorKind::File, source, messages::kNotAWholePdf);
        }
        file.commit_as_written();
        return;
    }
    convert(input.get(), std::max(copies, 1), file, paper, source, target);
    file.commit();
}

} // namespace kvalon
