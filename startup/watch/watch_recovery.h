#pragma once

namespace kvalon {

class FolderWatcher;

// What a watcher does with the files a stopped one left in the claim folder
// (those no running watcher holds, nor a job such a watcher started, which
// keeps the lock until it ends): at its start and between jobs, by the
// journal's last word on each and by what it can see, telling each decision
// in the log:
//   claimed, never begun     printed now
//   begun, into a PDF        the PDF is there and whole: it was printed, and
//                            is moved; no PDF: printed again
//   begun, onto a queue      the queue is asked for a job of that name: one
//                            there counts as printed; none, printed again; no
//                            answer, the file goes to failed/ as maybe printed
//   sent                     moved
void finish_left_jobs(FolderWatcher& watcher);

} // namespace kvalon
