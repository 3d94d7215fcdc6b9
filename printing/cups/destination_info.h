#pragma once

#include "printing/job_option.h"
#include "printing/sheet_placement.h"

#include <cups/cups.h>

#include <memory>
#include <optional>
#include <string>

namespace kvalon {

class CupsConnection;

// A destination as users name it: "Office" is a queue, "Office/duplex" the
// same queue with the options of its instance "duplex" (lpoptions -p
// Office/duplex ...).
struct DestinationName {
    std::string queue;
    std::string instance; // empty: the queue itself
};
DestinationName split_destination(const std::string& name);

// A paper as a destination lists it.
struct DestinationMedia {
    std::string name;     // self-describing: "iso_a4_210x297mm"
    double width_mm = 0;  // lying portrait
    double height_mm = 0; // lying portrait
    MediaMargins margins; // as the queue reports them (media-*-margin)
};

// The self-describing name of the paper of this size (portrait millimetres):
// "iso_a4_210x297mm", "na_letter_8.5x11in", or a "custom_" name for a size no
// standard paper has.
std::string media_name_for(double width_mm, double height_mm);

// A CUPS destination as `lp` sees it, read once from the print service (no
// Qt): the options a job there is sent with unless it says otherwise, its
// default paper, the papers it lists with their margins, its resolution, and
// which job options and values it supports. The user's and the system's
// lpoptions count as they do for `lp`.
class DestinationInfo {
public:
    // `name` is "QUEUE" or "QUEUE/INSTANCE". Throws KvalonError(Printer, name,
    // reason) for a queue or an instance that does not exist,
    // KvalonError(PrintServiceSilent) when the print service does not answer.
    explicit DestinationInfo(const std::string& name);
    ~DestinationInfo();
    DestinationInfo(const DestinationInfo&) = delete;
    DestinationInfo& operator=(const DestinationInfo&) = delete;

    const DestinationName& name() const { return m_name; }
    // What `lp` sends with every job here: the server's defaults of the
    // queue, then /etc/cups/lpoptions, ~/.cups/lpoptions and the instance's
    // options, later ones winning. It also holds what the service says of
    // the printer (printer-state, printer-info ...), which the print service
    // library leaves out of a job.
    const JobOptions& options() const { return m_options; }
    // The paper a job gets when it names none: lpoptions' media, else the
    // queue's default.
    std::optional<DestinationMedia> default_media() const;
    // The paper `media_name` ("iso_a4_210x297mm", "A4") as the destination lists
    // it, with its margins; nothing when it lists no paper of that size.
    std::optional<DestinationMedia> media(const std::string& media_name) const;
    // Whether the destination names the values it takes for `option`
    // (it lists OPTION-supported).
    bool lists(const std::string& option) const;
    // Whether it takes `option` with its value.
    bool supports(const JobOption& option) const;
    // Whether `option` asks for what the destination does anyway.
    bool is_default(const JobOption& option) const;
    // The values it takes for `option`, as the print service lists them
    // ("one-sided"); empty when it lists none.
    std::string supported_values(const std::string& option) const;

private:
    std::unique_ptr<CupsConnection> m_connection;
    DestinationName m_name;
    cups_dest_t* m_dest = nullptr;
    cups_dinfo_t* m_info = nullptr;
    ipp_t* m_defaults = nullptr; // the queue's OPTION-default attributes
    JobOptions m_options;
};

} // namespace kvalon
