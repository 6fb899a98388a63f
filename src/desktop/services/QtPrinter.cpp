#include "desktop/services/QtPrinter.h"

#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinterInfo>

std::unique_ptr<QtPrinter> QtPrinter::SetUp(QWidget* parent, const QString& pdfFile)
{
    std::unique_ptr<QtPrinter> printer(new QtPrinter);
    // A file name makes the dialog start on printing to a file: only where there is no printer,
    // so that a user with one still finds it chosen.
    if (QPrinterInfo::availablePrinters().isEmpty()) printer->printer_.setOutputFileName(pdfFile);
    printer->printer_.setDocName(QFileInfo(pdfFile).completeBaseName());
    QPrintDialog dialog(&printer->printer_, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    // Choosing the printer and its settings is all: every page of the document is printed.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return printer;
}

QString QtPrinter::DoneText() const
{
    const int pages = painted_.PageCount();
    if (pages == 0) return QStringLiteral("Nothing was printed: the printer could not be used");
    if (printer_.outputFormat() == QPrinter::PdfFormat) return QStringLiteral("Printed to ") + printer_.outputFileName();
    return QStringLiteral("Printed %1 %2").arg(pages).arg(pages == 1 ? QStringLiteral("page") : QStringLiteral("pages"));
}
