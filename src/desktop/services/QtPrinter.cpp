#include "desktop/services/QtPrinter.h"

#include <QPrintDialog>

std::unique_ptr<QtPrinter> QtPrinter::SetUp(QWidget* parent)
{
    std::unique_ptr<QtPrinter> printer(new QtPrinter);
    QPrintDialog dialog(&printer->printer_, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    // Choosing the printer and its settings is all: every page of the document is printed.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return printer;
}
