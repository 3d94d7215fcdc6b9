#pragma once

#include <cups/cups.h>

#include <string>

namespace kvalon {

// The options a job is created with, freed on every path.
class JobOptions {
public:
    JobOptions() = default;
    ~JobOptions() { cupsFreeOptions(m_count, m_options); }
    JobOptions(const JobOptions&) = delete;
    JobOptions& operator=(const JobOptions&) = delete;

    void add(const char* name, const std::string& value) {
        m_count = cupsAddOption(name, value.c_str(), m_count, &m_options);
    }
    int count() const { return m_count; }
    cups_option_t* options() const { return m_options; }

    // The options of one of our documents: its copies, collated as a DOS user
    // expects whole reports (a printer that cannot collate gets the pages
    // again from the print service), and its paper ("A4",
    // "iso_a5_148x210mm"; empty: the queue's own).
    void add_document(int copies, const std::string& media) {
        if (copies > 1) {
            add("copies", std::to_string(copies));
            add("collate", "true");
        }
        if (!media.empty()) {
            add("media", media);
        }
    }

private:
    int m_count = 0;
    cups_option_t* m_options = nullptr;
};

} // namespace kvalon
