// PCL's syntax as the parser reads it: each value of a combined sequence a
// command with its sign and decimals, data counted off whatever it holds,
// a broken sequence dropped, and text only outside every sequence.
#include "engine/pcl/pcl_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace kvalon {
namespace {

class Record final : public PclHandler {
public:
    void on_text(unsigned char byte) override { log += static_cast<char>(byte); }
    void on_command(const PclCommand& c) override {
        log += "[";
        for (const char part : {c.parameterized, c.group}) {
            if (part != 0) {
                log += part;
            }
        }
        log += (c.has_sign && c.value >= 0 ? "+" : "") +
               (c.has_value || c.has_sign ? format(c.value) : std::string()) + c.terminator + "]";
    }
    void on_data(const PclCommand&, unsigned char byte) override {
        log += "<" + std::string(1, static_cast<char>(byte)) + ">";
    }
    void on_data_end(const PclCommand&) override { log += "/"; }

    std::string log;

private:
    static std::string format(double value) {
        std::string text = std::to_string(value);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
        return text;
    }
};

std::string parsed(const std::string& bytes) {
    Record record;
    PclParser parser;
    for (const char byte : bytes) {
        parser.take(static_cast<unsigned char>(byte), record);
    }
    parser.finish(record);
    return record.log;
}

TEST(PclParser, ReadsSequencesByTheirSyntax) {
    struct Case {
        const char* bytes;
        const char* log;
    };
    for (const Case& c : {
             Case{"a\x1b"
                  "Eb",
                  "a[E]b"},
             Case{"\x1b&l1o26a0E", "[&l1O][&l26A][&l0E]"},
             Case{"\x1b&a+2.5r-10.25C", "[&a+2.5R][&a-10.25C]"},
             Case{"\x1b*rB", "[*rB]"},
             Case{"\x1b(10U\x1b(s0p16.67h8.5V", "[(10U][(s0P][(s16.67H][(s8.5V]"},
             Case{"\x1b%-12345X@PJL", "[%-12345X]@PJL"},
             // Data is counted whatever it holds, ESC and letters included.
             Case{"\x1b*b3W\x1b"
                  "EAx",
                  "[*b3W]<\x1b><E><A>/x"},
             Case{"\x1b&p2X\r\nz", "[&p2X]<\r><\n>/z"},
             Case{"\x1b*b0W", "[*b0W]/"},
             // A combined sequence goes on after the data of a lower-case w.
             Case{"\x1b*b2w1M3Mq", "[*b2W]<1><M>/[*b3M]q"},
             Case{"\x1b)s4W12", "[)s4W]<1><2>/"},
             Case{"\x1b*b2V12x", "[*b2V]<1><2>/x"},
             // A byte that no sequence may hold ends it and is dropped; ESC
             // begins the next one.
             Case{"\x1b&l1\rx\x1b&a\x1b*p5X", "x[*p5X]"},
             Case{"\x1b\x1b"
                  "9",
                  "[9]"},
         }) {
        EXPECT_EQ(parsed(c.bytes), c.log) << c.bytes;
    }
}

// A copy of the parser goes on where the original stood, inside data too.
TEST(PclParser, ACopyReadsOnFromWhereItWasTaken) {
    const std::string job = "\x1b*b4WABCDtext";
    Record whole;
    Record rest;
    PclParser parser;
    for (std::size_t i = 0; i < job.size(); ++i) {
        if (i == 7) {
            PclParser copy = parser;
            for (std::size_t k = i; k < job.size(); ++k) {
                copy.take(static_cast<unsigned char>(job[k]), rest);
            }
        }
        parser.take(static_cast<unsigned char>(job[i]), whole);
    }
    EXPECT_EQ(rest.log, "<C><D>/text");
    EXPECT_EQ(whole.log.substr(whole.log.size() - rest.log.size()), rest.log);
}

} // namespace
} // namespace kvalon
