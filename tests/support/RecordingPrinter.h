#pragma once
// A printer that keeps what a sheet of paper would show: whole printed lines, and markers for page
// and document ends.

#include <string>
#include <vector>

#include "core/report/Printer.h"

class RecordingPrinter final : public Printer {
public:
    std::vector<std::string> output;
    std::string font; // "name/points[/bold]" of the last SetFont

    void SetFont(const std::string& name, int points, bool bold) override
    {
        font = name + "/" + std::to_string(points) + (bold ? "/bold" : "");
    }
    void PrintText(const std::string& text, bool endLine) override
    {
        pending_ += text;
        if (!endLine) return;
        output.push_back(pending_);
        pending_.clear();
    }
    void NewPage() override { output.emplace_back("<new page>"); }
    void EndDoc() override { output.emplace_back("<end doc>"); }

private:
    std::string pending_;
};
