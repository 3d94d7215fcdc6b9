#pragma once

namespace kvalon {

class PrinterSurface;
struct PrintJob;

// Plans the job named by job().SourcePath for the current printer: scans the
// source once, chooses font size and orientation, computes the cell grid and
// the page count, sets the printer up and leaves the source open at its first
// line for read_page(). It also settles the code page the report is read in
// (engine/job_code_page.h). The job's printer language plans its own way
// (engine/printer_language.h): in the ESC/P mode the printer's page is laid
// onto the sheet instead (engine/escp/escp_plan.h). When
// job().FitPages asks for it, a report with form feeds of its own gets, when
// there is one, the largest size at which its longest page fits on one sheet
// as well as its widest line across.
//
// Throws KvalonError: NotTextReport when the source is a document, not a
// text report (engine/document_kind.h); File when the source cannot be read, LineTooLong for a
// line longer than 32,765 characters, TooManyPages for more lines than a
// 32-bit count holds, Layout when the paper holds less than one line or one
// character.
void plan_layout();

// The plan of a plain text report, after plan_layout() has reset the job,
// refused documents and measured the paper.
void plan_text_layout(PrintJob& j, PrinterSurface& surface);

} // namespace kvalon
