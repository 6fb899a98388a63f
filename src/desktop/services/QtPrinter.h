#pragma once
// The desktop printer: a real printer, or the PDF file the user chose in the print dialog.

#include <QPrinter>
#include <memory>

#include "desktop/services/DesktopServices.h"
#include "qt/PdfPrinter.h"

class QWidget;

class QtPrinter final : public DesktopPrinter {
public:
    // Shows the print setup dialog, offering `pdfFile` for printing to a file; nothing when the
    // user cancels it.
    static std::unique_ptr<QtPrinter> SetUp(QWidget* parent, const QString& pdfFile);

    void SetFont(const std::string& name, int points, bool bold) override { painted_.SetFont(name, points, bold); }
    void PrintText(const std::string& text, bool endLine) override { painted_.PrintText(text, endLine); }
    void NewPage() override { painted_.NewPage(); }
    void EndDoc() override { painted_.EndDoc(); }
    QString DoneText() const override;

private:
    QtPrinter() : painted_(printer_) {}

    QPrinter printer_;
    PaintedPrinter painted_;
};
