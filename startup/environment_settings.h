#pragma once

#include "engine/code_page.h"
#include "engine/printer_language.h"
#include "engine/sheet_offset.h"

#include <cstdint>
#include <optional>

namespace kvalon {

// Settings DOS callers give through the environment, as they cannot pass
// options. Each throws KvalonError(CommandLine) naming NAME=value for a value
// that is not a whole number.

// The number in the variable `name`, or `fallback` when it is unset or empty.
int environment_number(const char* name, int fallback);

// KVALON_ESCP: 1 reads the report in the ESC/P mode, 0 as plain text,
// nothing (or auto) lets the report tell; anything else is refused.
LanguageChoice language_from_environment();
// KVALON_FORM_LENGTH: the printer's form as --form-length takes it, or
// nothing when it is unset or empty.
std::optional<std::int64_t> form_length_from_environment();
// KVALON_OFFSET: the printer's offset as --offset takes it, or nothing when
// it is unset or empty.
std::optional<SheetOffset> offset_from_environment();

// KVALON_JOB_WAIT: the seconds a CUPS job is followed to its end, 0 or more;
// `fallback` when unset.
int job_wait_from_environment(int fallback);

// KVALON_SERVICE_WAIT: the seconds the print service is waited for, 1 or more
// (printing/cups/cups_connection.h), taken from now on.
void apply_service_wait_from_environment();
// KVALON_CODE_PAGE: a code page by any name --code-page takes, or nothing
// when it is unset or empty.
std::optional<CodePageChoice> code_page_from_environment();

} // namespace kvalon
