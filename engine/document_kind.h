#pragma once

#include <string>
#include <string_view>

namespace kvalon {

// What a file handed to the program is. DOS programs also write documents
// that are not text reports: PostScript from a word processor's driver, PDF,
// and PCL for laser printers. Those are passed on as they are, never printed
// as text.
enum class DocumentKind { Text, PostScript, Pdf, Pcl };

// The kind by the file's first bytes:
// - PDF begins with "%PDF-";
// - PostScript with "%!", also after the ^D some drivers send first;
// - PCL with the universal exit "ESC %-12345X" of a PJL job, or with the
//   printer reset ESC E (once or more) followed at once by a parameterized
//   PCL sequence: ESC & or ESC * with a lowercase group letter, or ESC ( or
//   ESC ) with a number or an "s" group, then a value and its letter
//   ("ESC E ESC &l0O", "ESC E ESC (10U"). An Epson report that begins with
//   ESC E (bold on) goes on with text or ESC/P sequences, none of which has
//   that shape, so it stays a text report.
// Anything else is a text report.
DocumentKind document_kind_of(std::string_view head);

// The kind of the file at `path` by its first bytes; Text when it cannot be
// read (reading it as a report then tells why).
DocumentKind document_kind(const std::string& path);

// The kind's name in the plan: "postscript", "pdf", "pcl" ("text").
const char* document_kind_name(DocumentKind kind);
// The kind as a user reads it: "PostScript", "PDF", "PCL".
const char* document_kind_title(DocumentKind kind);

} // namespace kvalon
