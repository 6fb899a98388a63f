#pragma once
// The file dialog for choosing or naming the symbol file.

#include <QString>
#include <memory>

class QFileDialog;
class QWidget;

// An open dialog in `directory` with `file` preselected, the one filter "Stock Symbols (*.sym)",
// default suffix "txt", and names of files that do not exist yet accepted. Not yet shown.
std::unique_ptr<QFileDialog> MakeSymbolFileDialog(QWidget* parent, const QString& directory, const QString& file);
