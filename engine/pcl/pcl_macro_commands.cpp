#include "engine/pcl/pcl_printer.h"

#include <algorithm>
#include <cmath>

namespace kvalon {

namespace {

constexpr unsigned char kEscape = 0x1B;

enum MacroControl {
    kStart = 0,
    kStop = 1,
    kExecute = 2,
    kCall = 3,
    kEnableOverlay = 4,
    kDisableOverlay = 5,
    kDeleteAll = 6,
    kDeleteTemporary = 7,
    kDeleteOne = 8,
    kMakeTemporary = 9,
    kMakePermanent = 10,
};

} // namespace

// While a macro is defined its bytes are kept, not printed; the stop
// command's own sequence is not part of it.
void PclPrinter::take(unsigned char byte) {
    PclMacros& m = m_state.macros;
    if (m.depth == 0) {
        m.budget = std::min(m.budget + PclMacros::kBudgetPerByte, PclMacros::kStartBudget << 8);
    }
    if (m.defining) {
        if (byte == kEscape && !m_state.parser.in_data()) {
            m.sequence_start = m.body.size();
        }
        if (m.body.size() < PclMacros::kMostBytes) {
            m.body.push_back(static_cast<char>(byte));
        }
    }
    m_state.parser.take(byte, *this);
}

void PclPrinter::end_definition() {
    PclMacros& m = m_state.macros;
    m.defining = false;
    m.body.resize(std::min(m.sequence_start, m.body.size()));
    m.stored.erase(m.defining_id);
    if (m.stored_bytes() + m.body.size() <= PclMacros::kMostStored) {
        m.stored[m.defining_id] =
            PclMacro{std::make_shared<const std::string>(std::move(m.body)), false};
    }
    m.body.clear();
}

// ESC &f#Y and #X: the macro's id and what is done with it.
bool PclPrinter::apply_macro(const PclCommand& command) {
    if (command.parameterized != '&' || command.group != 'f' ||
        (command.terminator != 'Y' && command.terminator != 'X')) {
        return false;
    }
    PclMacros& m = m_state.macros;
    const int value = static_cast<int>(std::clamp(command.value, -1.0, 32768.0));
    if (command.terminator == 'Y') {
        if (value >= 0 && value <= PclMacros::kMostId) {
            m.id = value;
        }
        return true;
    }
    const auto found = m.stored.find(m.id);
    switch (value) {
    case kStart:
        // No definition inside a running macro.
        if (m.depth == 0) {
            m.defining = true;
            m.defining_id = m.id;
            m.body.clear();
            m.sequence_start = 0;
        }
        break;
    case kExecute:
    case kCall:
        run_macro(m.id, value == kCall);
        break;
    case kEnableOverlay:
        m.overlay = true;
        m.overlay_id = m.id;
        break;
    case kDisableOverlay:
        m.overlay = false;
        break;
    case kDeleteAll:
        m.stored.clear();
        break;
    case kDeleteTemporary:
        std::erase_if(m.stored, [](const auto& entry) { return !entry.second.permanent; });
        break;
    case kDeleteOne:
        if (found != m.stored.end()) {
            m.stored.erase(found);
        }
        break;
    case kMakeTemporary:
    case kMakePermanent:
        if (found != m.stored.end()) {
            found->second.permanent = value == kMakePermanent;
        }
        break;
    default:
        break;
    }
    return true;
}

// Executed, a macro's changes stay; called, the printer's settings come back
// as they were, the cursor where the macro left it.
void PclPrinter::run_macro(int id, bool keep_settings_apart) {
    PclMacros& m = m_state.macros;
    const auto found = m.stored.find(id);
    if (found == m.stored.end() || m.depth >= PclMacros::kMostNesting ||
        found->second.body->size() > m.budget) {
        return;
    }
    const std::shared_ptr<const std::string> body = found->second.body;
    m.budget -= body->size();
    const PclState before = keep_settings_apart ? m_state : PclState{};
    run_bytes(*body);
    if (keep_settings_apart) {
        restore_settings(before);
    }
    if (m.depth == 0 && m.eject_after) {
        m.eject_after = false;
        end_page();
    }
}

void PclPrinter::run_bytes(const std::string& bytes) {
    const PclParser outer = m_state.parser;
    m_state.parser = PclParser{};
    ++m_state.macros.depth;
    for (const char byte : bytes) {
        take(static_cast<unsigned char>(byte));
    }
    m_state.parser.finish(*this);
    --m_state.macros.depth;
    m_state.parser = outer;
}

// The settings before a macro come back; what is on the page, the cursor
// and the macros stay as it left them.
void PclPrinter::restore_settings(const PclState& before) {
    PclState after = std::move(m_state);
    m_state = before;
    m_state.parser = std::move(after.parser);
    m_state.macros = std::move(after.macros);
    m_state.page_has_print = after.page_has_print;
    m_state.x = std::clamp<std::int64_t>(after.x, 0, m_state.logical_width);
    m_state.y = std::clamp<std::int64_t>(after.y, -m_state.top_margin,
                                         m_state.page_length - m_state.top_margin);
}

// The overlay prints on each page as it ends, from the printer's settings
// as a reset leaves them on this page's size and orientation.
void PclPrinter::run_overlay() {
    PclMacros& m = m_state.macros;
    if (!m.overlay || m.depth > 0 || m.stored.count(m.overlay_id) == 0) {
        return;
    }
    const PclState before = m_state;
    PclState overlay = PclState::reset(m_state.code_page);
    overlay.set_page(before.page_size, before.landscape);
    overlay.parser = before.parser;
    overlay.macros = before.macros;
    overlay.page_has_print = before.page_has_print;
    m_state = std::move(overlay);
    m.overlay_running = true;
    run_macro(m.overlay_id, false);
    m.overlay_running = false;
    m.eject_after = false;
    PclState after = std::move(m_state);
    m_state = before;
    m_state.macros = std::move(after.macros);
    m_state.page_has_print = after.page_has_print;
}

} // namespace kvalon
