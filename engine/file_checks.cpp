#include "engine/file_checks.h"

#include "engine/error.h"
#include "engine/line_limit.h"
#include "engine/messages.h"

#include "platform/file_facts.h"

namespace kvalon {

namespace {

FileFacts followed_facts(const std::string& path) {
    FileFacts facts;
    facts_at(path, Links::Follow, facts);
    return facts;
}

} // namespace

bool is_regular_file(const std::string& path) {
    return followed_facts(path).type == FileType::Regular;
}

PathKind path_kind(const std::string& path) {
    switch (followed_facts(path).type) {
    case FileType::Missing:
        return PathKind::Missing;
    case FileType::Regular:
        return PathKind::Regular;
    case FileType::Folder:
        return PathKind::Folder;
    case FileType::Link:
    case FileType::Other:
        break;
    }
    return PathKind::Other;
}

std::optional<FileIdentity> file_identity(const std::string& path) {
    const FileFacts facts = followed_facts(path);
    if (facts.type != FileType::Regular) {
        return std::nullopt;
    }
    return facts.identity;
}

void refuse_larger_than_a_report(const std::string& path, std::int64_t size) {
    if (size > kLargestReport) {
        throw KvalonError(ErrorKind::InputTooLarge, path,
                          messages::kLargerThan + std::to_string(kLargestReport) +
                              messages::kBytes);
    }
}

} // namespace kvalon
