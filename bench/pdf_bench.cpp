// The PDF writer alone: a MIK report laid out as the program lays it out,
// written page by page into a PDF. Prints the time spent building the pages
// and writing them; peak memory is measured from outside (scripts/run-bench.sh).
//
// Usage: kvalon_pdf_bench REPORT.TXT OUT.PDF FONT.TTF [DEFLATE-LEVEL] [LINES-PER-PAGE]
#include "bench/bench_pages.h"
#include "printing/pdf/fd_byte_output.h"
#include "printing/pdf/pdf_stream_sink.h"
#include "printing/pdf/ttf_font_source.h"

#include <cstdio>
#include <ctime>
#include <exception>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Processor time: the machine may be shared, and the writer is one thread.
double seconds_since(std::clock_t start, double already = 0) {
    return already + static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

int run(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s REPORT OUT.pdf FONT.ttf [LEVEL] [LINES]\n", argv[0]);
        return 2;
    }
    const int level =
        argc > 4 ? std::stoi(argv[4]) : kvalon::PdfDocumentWriter::kDefaultDeflateLevel;
    const std::size_t lines_per_page = argc > 5 ? std::stoul(argv[5]) : 48;
    std::ifstream report(argv[1], std::ios::binary);
    const int descriptor = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (!report || descriptor < 0) {
        std::fprintf(stderr, "cannot open the report or the output\n");
        return 1;
    }
    kvalon::TtfFontSource fonts(argv[3]);
    kvalon::FdByteOutput out(descriptor, argv[2]);
    kvalon::PdfStreamSink sink(out, fonts, level);
    kvalon::bench::BenchPages pages;
    double building = 0;
    double writing = 0;
    auto start = std::clock();
    sink.begin({"Kvalon-P bench.txt", 1});
    writing = seconds_since(start);
    std::vector<std::string> lines;
    std::string line;
    std::size_t count = 0;
    auto flush_page = [&] {
        auto at = std::clock();
        const kvalon::PageDescription& page = pages.page(lines);
        building = seconds_since(at, building);
        at = std::clock();
        sink.add_page(page);
        writing = seconds_since(at, writing);
        lines.clear();
        ++count;
    };
    while (std::getline(report, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        if (lines.size() == lines_per_page) {
            flush_page();
        }
    }
    if (!lines.empty()) {
        flush_page();
    }
    start = std::clock();
    sink.finish();
    writing = seconds_since(start, writing);
    ::close(descriptor);
    std::printf("%zu pages, level %d: building %.3f s, writing %.3f s\n", count, level, building,
                writing);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
