#pragma once

#include "engine/printer_surface.h"
#include "printing/printer_target.h"

#include <memory>

namespace kvalon {

// The printer the program prints on, owned: printer() is bound to a surface
// made for a target, and bound anew when the user picks another printer.
// A surface goes with its document: whoever rebinds finishes that first.
class PrinterBinding {
public:
    PrinterBinding() = default;
    // printer() is unbound when it is still ours; an open document is abandoned.
    ~PrinterBinding();
    PrinterBinding(const PrinterBinding&) = delete;
    PrinterBinding& operator=(const PrinterBinding&) = delete;

    // Makes the surface for `target` and binds printer() to it; the previous
    // surface is dropped.
    void bind(const PrinterTarget& target);
    bool is_bound() const { return m_surface != nullptr; }
    const PrinterTarget& target() const { return m_target; }
    // Only while bound.
    PrinterSurface& surface() { return *m_surface; }

private:
    PrinterTarget m_target;
    std::unique_ptr<PrinterSurface> m_surface;
};

} // namespace kvalon
