#pragma once
// Printing on a Qt paint device: lines of text at a position that moves like a line printer's.
// PaintedPrinter serves any paged device (a QPrinter in the desktop program); PdfPrinter writes a
// PDF file without any window system.

#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <memory>

#include "core/report/Printer.h"

class PaintedPrinter : public Printer {
public:
    // The device must outlive the printer. Nothing is drawn before the first text.
    explicit PaintedPrinter(QPagedPaintDevice& device);

    // The named font or, when the system lacks it, the closest fixed-pitch one.
    void SetFont(const std::string& name, int points, bool bold) override;
    // Draws at the print position; endLine moves to the start of the next line. A line that would
    // fall below the printable area continues on a new page.
    void PrintText(const std::string& text, bool endLine) override;
    void NewPage() override;
    // Ends the document; a document without any text still gets its one empty page.
    void EndDoc() override;
    // Pages begun so far; 0 when the device could not be printed on.
    int PageCount() const { return pages_; }

private:
    bool Begin();

    QPagedPaintDevice& device_;
    QPainter painter_;
    QFont font_;
    bool begun_ = false;
    bool ended_ = false;
    int pages_ = 0;
    qreal x_ = 0;
    qreal y_ = 0;
};

class PdfPrinter final : public Printer {
public:
    // A4 portrait at 300 dpi, the margins a desktop printer would leave.
    explicit PdfPrinter(const QString& fileName);
    // Writes into `device`, open for writing, which must outlive the printer; a QSaveFile lets the
    // file appear only once the document is whole.
    explicit PdfPrinter(QIODevice& device);

    void SetFont(const std::string& name, int points, bool bold) override { printer_.SetFont(name, points, bold); }
    void PrintText(const std::string& text, bool endLine) override { printer_.PrintText(text, endLine); }
    void NewPage() override { printer_.NewPage(); }
    void EndDoc() override { printer_.EndDoc(); }

private:
    void SetUpPage();

    QPdfWriter writer_;
    PaintedPrinter printer_;
};
