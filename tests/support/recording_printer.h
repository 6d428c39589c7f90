#pragma once

#include <string>
#include <vector>

#include "printing/sheet_printer.h"

// Writes down every call as a short line of text, so a test can compare whole sequences:
//   font Arial | size 15 | line "   1)" >> "2)" | page | end
// where each ">" before an item is one print-zone advance.
class RecordingPrinter : public ripartino::SheetPrinter {
public:
    std::vector<std::string> calls;
    // When set, the printer fails as the first line begins the job.
    ripartino::PrinterStatus failure = ripartino::PrinterStatus::Ready;

    void setFontName(const std::string& face) override { calls.push_back("font " + face); }
    void setFontSize(double points) override { calls.push_back("size " + number(points)); }
    void printLine(const ripartino::PrintLine& items) override
    {
        status_ = failure;
        std::string call = "line";
        for (const ripartino::PrintItem& item : items) {
            call += ' ';
            if (item.zoneAdvancesBefore > 0)
                call.append(static_cast<std::size_t>(item.zoneAdvancesBefore), '>').append(" ");
            call.append("\"").append(item.text).append("\"");
        }
        calls.push_back(call);
    }
    void newPage() override { calls.push_back("page"); }
    void endDocument() override { calls.push_back("end"); }
    ripartino::PrinterStatus status() const override { return status_; }

private:
    static std::string number(double value)
    {
        std::string text = std::to_string(value);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
        return text;
    }
    ripartino::PrinterStatus status_ = ripartino::PrinterStatus::Ready;
};
