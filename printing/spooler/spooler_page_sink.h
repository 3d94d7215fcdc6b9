#pragma once

#include "printing/destination.h"
#include "printing/document_sink.h"
#include "printing/sheet_placement.h"
#include "printing/spooler/spooler_api.h"

#include <memory>
#include <optional>
#include <string>

namespace kvalon {

// How a document goes to a spooler printer.
struct SpoolerJobSettings {
    std::string printer;
    int wait_seconds = 0; // how long its job is followed
    JobWatch watch{};
};

// A document drawn through GDI on a printer of the spooler: one document
// (one job) per begin(), titled after the report, on the paper of its first
// page; every page placed within what the printer prints on, as a queue
// places it. finish() hands it over and follows its job until it has left
// the queue; a failing job is told with the printer's status.
class SpoolerPageSink final : public DocumentSink {
public:
    SpoolerPageSink(SpoolerJobSettings settings, std::shared_ptr<const SpoolerApi> spooler);
    ~SpoolerPageSink() override;
    SpoolerPageSink(const SpoolerPageSink&) = delete;
    SpoolerPageSink& operator=(const SpoolerPageSink&) = delete;

    void begin(const DocumentInfo& info) override;
    void add_page(const PageDescription& page) override;
    void finish() override;
    void abandon() noexcept override;
    bool is_open() const override { return m_open; }
    std::string unconfirmed() const override { return m_unconfirmed; }

private:
    void start_document(const PageDescription& first);
    PageDescription placed(const PageDescription& page);

    SpoolerJobSettings m_settings;
    std::shared_ptr<const SpoolerApi> m_spooler;
    DocumentInfo m_info;
    bool m_open = false;
    std::unique_ptr<SpoolerDocument> m_document;
    std::optional<MediaMargins> m_margins;
    PageArea m_told_cells; // the cells the user was last told do not fit
    std::string m_unconfirmed;
};

// Millimetres `area` leaves unprinted at each edge of its sheet lying
// portrait; none when the device does not tell its sheet.
std::optional<MediaMargins> margins_of(const DeviceArea& area, bool landscape);

// What the user is told when a page's cells cannot all lie within what
// `printer` prints on.
std::string outside_printable_note(const std::string& printer);

} // namespace kvalon
