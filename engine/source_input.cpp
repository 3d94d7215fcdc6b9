#include "engine/source_input.h"

#include "platform/descriptor_io.h"

#include <algorithm>
#include <cstring>

namespace kvalon {

namespace {

class DescriptorInput final : public SourceInput {
public:
    explicit DescriptorInput(OwnedFd file) : m_file(std::move(file)) {}
    int facts(FileFacts& facts) override { return facts_of(m_file.get(), facts); }
    long long read(char* into, std::size_t count) override {
        return read_some(m_file.get(), into, count);
    }

private:
    OwnedFd m_file;
};

class FilesOnDisk final : public SourceInputs {
public:
    std::unique_ptr<SourceInput> open(const std::string& path, int& error) override {
        OwnedFd file;
        FileFacts facts;
        error = open_for_reading(path, file, facts);
        return error == 0 ? std::make_unique<DescriptorInput>(std::move(file)) : nullptr;
    }
};

class BytesInput final : public SourceInput {
public:
    explicit BytesInput(const std::string& bytes) : m_bytes(bytes) {}
    int facts(FileFacts& facts) override {
        facts = FileFacts{};
        facts.type = FileType::Regular;
        facts.identity.size = static_cast<std::int64_t>(m_bytes.size());
        return 0;
    }
    long long read(char* into, std::size_t count) override {
        const std::size_t taken = std::min(count, m_bytes.size() - m_at);
        std::memcpy(into, m_bytes.data() + m_at, taken);
        m_at += taken;
        return static_cast<long long>(taken);
    }

private:
    const std::string& m_bytes;
    std::size_t m_at = 0;
};

} // namespace

std::string read_head(SourceInputs& inputs, const std::string& path, std::size_t most) {
    int error = 0;
    const std::unique_ptr<SourceInput> input = inputs.open(path, error);
    FileFacts facts;
    if (input == nullptr || input->facts(facts) != 0 || facts.type != FileType::Regular) {
        return {};
    }
    std::string head(most, '\0');
    std::size_t count = 0;
    while (count < most) {
        const long long got = input->read(head.data() + count, most - count);
        if (got <= 0) {
            break;
        }
        count += static_cast<std::size_t>(got);
    }
    head.resize(count);
    return head;
}

SourceInputs& files_on_disk() {
    static FilesOnDisk files;
    return files;
}

std::unique_ptr<SourceInput> BytesInputs::open(const std::string&, int& error) {
    error = 0;
    return std::make_unique<BytesInput>(m_bytes);
}

} // namespace kvalon
