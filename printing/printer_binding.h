#pragma once

#include "engine/printer_surface.h"
#include "engine/sheet_offset.h"
#include "printing/destination.h"

#include <memory>

namespace kvalon {

// The printer surface for `destination`: pages measured and drawn in the
// program's font file on the destination's sheet, handed to its page sink,
// its jobs described as the destination describes them. Throws as the
// destination's surface_setup() does. Every page is moved on its sheet by
// `offset`, the printer's own.
std::unique_ptr<PrinterSurface> make_printer_surface(std::shared_ptr<const Destination> destination,
                                                     SheetOffset offset = {});

// The printer the program prints on, owned: printer() is bound to a surface
// made for a destination, and bound anew when the user picks another one.
// A surface goes with its document: whoever rebinds finishes that first.
class PrinterBinding {
public:
    PrinterBinding() = default;
    // printer() is unbound when it is still ours; an open document is abandoned.
    ~PrinterBinding();
    PrinterBinding(const PrinterBinding&) = delete;
    PrinterBinding& operator=(const PrinterBinding&) = delete;

    // Makes the surface for `destination` and binds printer() to it; the
    // previous surface is dropped. Throws KvalonError as the destination's
    // surface_setup() does, and then changes nothing.
    void bind(std::shared_ptr<const Destination> destination, SheetOffset offset = {});
    bool is_bound() const { return m_surface != nullptr; }
    // Only while bound.
    const Destination& destination() const { return *m_destination; }
    const std::shared_ptr<const Destination>& shared_destination() const { return m_destination; }
    PrinterSurface& surface() { return *m_surface; }

private:
    std::shared_ptr<const Destination> m_destination;
    std::unique_ptr<PrinterSurface> m_surface;
};

} // namespace kvalon
