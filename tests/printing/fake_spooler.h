#pragma once

// The Windows spooler in memory: its printers as the test sets them, every
// GDI call of a document recorded as a line of text, its jobs' looks played
// back in turn.
#include "printing/spooler/spooler_api.h"

#include <deque>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvalon::testing {

// What a fake document was asked for and what was drawn on it.
struct DrawnDocument {
    SpoolerDocumentRequest request;
    std::vector<std::string> calls; // "page", "fill 0 0 10 10 128", "end", "abort"
};

class RecordingCanvas final : public GdiCanvas {
public:
    explicit RecordingCanvas(std::vector<std::string>& calls) : m_calls(calls) {}
    void fill(int left, int top, int right, int bottom, int grey) override {
        note("fill", {left, top, right, bottom, grey});
    }
    void stretch_image(int left, int top, int width, int height, const BitImage& dots) override {
        note("image", {left, top, width, height, dots.columns(), dots.rows()});
    }
    void text(const GdiFont& font, int x, int baseline, const std::u16string& characters,
              const std::vector<int>& advances) override {
        std::string line = "text " + font.family + " " + std::to_string(font.em_pixels) + "/" +
                           std::to_string(font.width_pixels) + (font.bold ? " bold" : "") + " " +
                           std::to_string(x) + " " + std::to_string(baseline) + " units " +
                           std::to_string(characters.size()) + " advances";
        for (const int advance : advances) {
            line += " " + std::to_string(advance);
        }
        m_calls.push_back(line);
    }
    void line(int x1, int y1, int x2, int y2, int width) override {
        note("line", {x1, y1, x2, y2, width});
    }

private:
    void note(const std::string& what, const std::vector<int>& numbers) {
        std::string line = what;
        for (const int number : numbers) {
            line += " " + std::to_string(number);
        }
        m_calls.push_back(line);
    }
    std::vector<std::string>& m_calls;
};

class FakeSpooler final : public SpoolerApi {
public:
    std::vector<std::string> names;
    std::string default_name;
    SpoolerPrinter device;
    bool refuse_pages = false;                   // StartPage fails
    mutable std::deque<SpoolerJobLook> looks;    // played in turn; then the job is gone
    mutable std::deque<DrawnDocument> documents; // a deque: canvases keep a hold on theirs
    mutable std::vector<std::string> raw_jobs;   // "TITLE PATH xCOPIES"
    mutable int pauses = 0;

    std::vector<std::string> printers() const override { return names; }
    std::string default_printer() const override { return default_name; }
    SpoolerPrinter printer(const std::string&) const override { return device; }
    std::unique_ptr<SpoolerDocument>
    start_document(const SpoolerDocumentRequest& request) const override;
    int send_raw(const std::string&, const std::string& title, const std::string& path,
                 int copies) const override {
        raw_jobs.push_back(title + " " + path + " x" + std::to_string(copies));
        return 7;
    }
    SpoolerJobLook look_at_job(const std::string&, int) const override {
        if (looks.empty()) {
            return {.gone = true};
        }
        SpoolerJobLook look = looks.front();
        looks.pop_front();
        return look;
    }
    void pause() const override { ++pauses; }
};

class FakeDocument final : public SpoolerDocument {
public:
    FakeDocument(const FakeSpooler& spooler, std::size_t index)
        : m_spooler(spooler), m_index(index), m_canvas(calls()) {}
    const DeviceArea& area() const override { return m_spooler.device.area; }
    GdiCanvas& start_page() override {
        if (m_spooler.refuse_pages) {
            throw KvalonErrorForTests();
        }
        calls().push_back("page");
        return m_canvas;
    }
    void end_page() override {}
    int end_document() override {
        calls().push_back("end");
        return 5;
    }
    void abort() noexcept override { calls().push_back("abort"); }

private:
    struct KvalonErrorForTests : std::runtime_error {
        KvalonErrorForTests() : std::runtime_error("StartPage") {}
    };
    std::vector<std::string>& calls() { return m_spooler.documents[m_index].calls; }
    const FakeSpooler& m_spooler;
    std::size_t m_index;
    RecordingCanvas m_canvas;
};

inline std::unique_ptr<SpoolerDocument>
FakeSpooler::start_document(const SpoolerDocumentRequest& request) const {
    documents.push_back({request, {}});
    return std::make_unique<FakeDocument>(*this, documents.size() - 1);
}

} // namespace kvalon::testing
