#include "qt/PdfPrinter.h"

#include <QFontMetricsF>
#include <QPageLayout>

namespace {

QFont FixedPitch(const std::string& name, int points, bool bold)
{
    QFont font(QString::fromStdString(name), points, bold ? QFont::Bold : QFont::Normal);
    // Courier New is rarely installed outside its home platform; the report's columns need any
    // fixed-pitch face in its place.
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

} // namespace

PaintedPrinter::PaintedPrinter(QPagedPaintDevice& device)
    : device_(device), font_(FixedPitch("Courier New", 10, false))
{
}

bool PaintedPrinter::Begin()
{
    if (begun_) return !ended_;
    begun_ = true;
    if (!painter_.begin(&device_)) {
        ended_ = true; // the device cannot print (no printer, unwritable file): every call is skipped
        return false;
    }
    painter_.setFont(font_);
    y_ = QFontMetricsF(font_, &device_).ascent();
    pages_ = 1;
    return true;
}

void PaintedPrinter::SetFont(const std::string& name, int points, bool bold)
{
    font_ = FixedPitch(name, points, bold);
    if (begun_ && !ended_) painter_.setFont(font_);
}

void PaintedPrinter::PrintText(const std::string& text, bool endLine)
{
    if (!Begin()) return;
    const QFontMetricsF metrics(font_, &device_);
    if (y_ + metrics.descent() > painter_.viewport().height()) NewPage();
    const QString line = QString::fromStdString(text);
    painter_.drawText(QPointF(x_, y_), line);
    if (endLine) {
        x_ = 0;
        y_ += metrics.lineSpacing();
    } else {
        x_ += metrics.horizontalAdvance(line);
    }
}

void PaintedPrinter::NewPage()
{
    if (!Begin()) return;
    device_.newPage();
    ++pages_;
    x_ = 0;
    y_ = QFontMetricsF(font_, &device_).ascent();
}

void PaintedPrinter::EndDoc()
{
    Begin(); // an empty document is still a document
    if (!ended_) painter_.end();
    ended_ = true;
}

PdfPrinter::PdfPrinter(const QString& fileName) : writer_(fileName), printer_(writer_) { SetUpPage(); }

PdfPrinter::PdfPrinter(QIODevice& device) : writer_(&device), printer_(writer_) { SetUpPage(); }

void PdfPrinter::SetUpPage()
{
    writer_.setResolution(300);
    writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                      QPageLayout::Millimeter));
    writer_.setCreator(QStringLiteral("Quillon"));
    writer_.setTitle(QStringLiteral("Quillon results"));
}
