#pragma once
// What printing asks of the platform's printer. Errors of the device (off line, spooler) are the
// implementation's to absorb: printing goes on with the next call.

#include <string>

class Printer {
public:
    virtual ~Printer() = default;

    virtual void SetFont(const std::string& name, int points, bool bold) = 0;
    // Prints `text` at the current position; with endLine the next text starts on a new line,
    // otherwise it continues this one. Blanks are printed as blank character positions.
    virtual void PrintText(const std::string& text, bool endLine) = 0;
    // Ends the current page and starts a new one.
    virtual void NewPage() = 0;
    // Ends the document and hands it to the spooler.
    virtual void EndDoc() = 0;
};
