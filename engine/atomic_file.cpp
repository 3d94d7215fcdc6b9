#include "engine/atomic_file.h"

#include "engine/error.h"
#include "platform/descriptor_io.h"
#include "platform/file_placing.h"
#include "platform/path_text.h"
#include "platform/temporary_name.h"
#include "platform/this_process.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace kvalon {

namespace {

constexpr std::size_t kRandomPart = 6;

// A prefix that would make the name too long for the folder is shortened;
// it keeps its ends, which tell whose file it is.
std::string fitting_prefix(std::string prefix, std::size_t stamp_size) {
    const std::size_t room = longest_file_name() - stamp_size - kRandomPart;
    if (prefix.size() > room) {
        const char last = prefix.back();
        prefix.resize(room - 1);
        prefix.push_back(last);
    }
    return prefix;
}

} // namespace

TemporaryFile::TemporaryFile(const std::string& folder, const std::string& prefix,
                             std::string error_path)
    : m_error_path(std::move(error_path)) {
    // An ending signal between the file's making and its entry in the
    // clean-up table would leave it behind: it waits until the entry is made.
    const SignalDeferral deferral;
    remove_abandoned_temporaries(folder);
    const std::string stamp = temporary_name_stamp();
    std::string pattern = folder + "/" + fitting_prefix(prefix, stamp.size()) + stamp + "XXXXXX";
    if (const int error = make_exclusive_file(pattern, m_fd); error != 0) {
        fail(error);
    }
    m_path = pattern;
    FileFacts facts;
    if (facts_of(m_fd.get(), facts) == 0) {
        m_identity = facts.identity;
        m_cleanup = SignalCleanupEntry::for_file(m_path, m_identity.device, m_identity.inode);
    }
}

TemporaryFile::~TemporaryFile() {
    if (!m_kept) {
        remove();
    }
}

void TemporaryFile::fail(int error_number) {
    remove();
    throw KvalonError(ErrorKind::FileWrite, m_error_path, system_reason(error_number));
}

void TemporaryFile::write_all(std::string_view bytes) {
    if (const int error = kvalon::write_all(m_fd.get(), bytes, ENOSPC); error != 0) {
        fail(error);
    }
}

void TemporaryFile::sync_and_close() {
    if (const int error = sync_to_disk(m_fd.get()); error != 0) {
        fail(error);
    }
    if (const int error = m_fd.close_checked(); error != 0) {
        fail(error);
    }
}

void TemporaryFile::close() {
    if (const int error = m_fd.close_checked(); error != 0) {
        fail(error);
    }
}

// In a folder others may write to, the name may by now stand for a file of
// theirs: only our own file is removed.
void TemporaryFile::remove() noexcept {
    m_fd.reset();
    if (m_path.empty()) {
        return;
    }
    remove_if_same(m_path, m_identity);
    m_cleanup.release();
    m_path.clear();
}

AtomicReplacement::AtomicReplacement(const std::string& target, NotOrdinaryTarget not_ordinary)
    : m_place(find_replace_target(target, not_ordinary)),
      m_file(folder_of(m_place.path), "." + text_of(path_of(m_place.path).filename()) + ".",
             target) {}

void AtomicReplacement::commit() {
    if (const int error = give_replaced_attributes(m_file.fd(), m_place); error != 0) {
        m_file.fail(error);
    }
    place();
}

void AtomicReplacement::commit(unsigned permissions) {
    if (const int error = set_permissions(m_file.fd(), permissions); error != 0) {
        m_file.fail(error);
    }
    place();
}

void AtomicReplacement::place() {
    m_file.sync_and_close();
    if (const int error = rename_into_place(m_file.path(), m_place.path); error != 0) {
        m_file.fail(error);
    }
    m_file.keep();
}

void replace_file_atomically(const std::string& target, std::string_view content) {
    AtomicReplacement replacement(target, NotOrdinaryTarget::ReplaceTheName);
    replacement.file().write_all(content);
    replacement.commit();
}

void replace_file_atomically(const std::string& target, std::string_view content,
                             unsigned permissions) {
    AtomicReplacement replacement(target, NotOrdinaryTarget::ReplaceTheName);
    replacement.file().write_all(content);
    replacement.commit(permissions);
}

std::string system_temporary_folder() {
    return temporary_files_folder();
}

std::string folder_of(const std::string& path) {
    const std::filesystem::path folder = path_of(path).parent_path();
    return folder.empty() ? std::string(".") : text_of(folder);
}

} // namespace kvalon
