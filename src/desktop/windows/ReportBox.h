#pragma once
// The box a results block is read in, the same in the run window and wherever else a block is
// shown: fixed pitch, no wrapping, the report's grey.

#include <string>

class QPlainTextEdit;
class QWidget;

QPlainTextEdit* NewReportBox(QWidget* parent, const char* objectName);

// Shows a block of CR LF lines.
void ShowReport(QPlainTextEdit& box, const std::string& block);
