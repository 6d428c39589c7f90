#pragma once

#include <charconv>
#include <string>
#include <vector>

#include "printing/sheet_printer.h"

// Writes down every call as a short line of text, so a test can compare whole sequences:
//   font Arial | size 15 | line "   1)" >> "2)" | code Scheda 1 | page | end
// where each ">" before an item is one print-zone advance.
class RecordingPrinter : public ripartino::SheetPrinter {
public:
    // With a failure, the printer fails once the job has begun.
    explicit RecordingPrinter(ripartino::PrintOutcome failure = ripartino::PrintOutcome::Done) : failure(failure) {}

    std::vector<std::string> calls;
    ripartino::PrintOutcome failure;

    void setFontName(const std::string& face) override { calls.push_back("font " + face); }
    void setFontSize(double points) override
    {
        char text[32];
        calls.push_back("size " + std::string(text, std::to_chars(text, text + sizeof text, points).ptr));
    }
    void printLine(const ripartino::PrintLine& items) override
    {
        std::string call = "line";
        for (const ripartino::PrintItem& item : items) {
            call += ' ';
            if (item.zoneAdvancesBefore > 0)
                call.append(static_cast<std::size_t>(item.zoneAdvancesBefore), '>').append(" ");
            call.append("\"").append(item.text).append("\"");
        }
        calls.push_back(call);
    }
    void setSheetCode(const std::string& code) override { calls.push_back("code " + code); }
    void newPage() override { calls.push_back("page"); }
    void endDocument() override { calls.push_back("end"); }
    ripartino::PrintOutcome status() const override { return calls.empty() ? ripartino::PrintOutcome::Done : failure; }
};
