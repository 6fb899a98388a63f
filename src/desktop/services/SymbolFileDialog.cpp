#include "desktop/services/SymbolFileDialog.h"

#include <QFileDialog>

std::unique_ptr<QFileDialog> MakeSymbolFileDialog(QWidget* parent, const QString& directory, const QString& file)
{
    auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("Choose Symbol File Name"), directory,
                                                QStringLiteral("Stock Symbols (*.sym)"));
    dialog->setObjectName(QStringLiteral("CommonDialog1"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // AnyFile: a new name is accepted; the caller creates the file.
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    // Qt's own dialog everywhere, so the default suffix and new names behave the same on every desktop.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    if (!file.isEmpty()) dialog->selectFile(file);
    // Wide enough for the name, size, type and date columns side by side.
    const QFontMetrics metrics = dialog->fontMetrics();
    dialog->resize(metrics.averageCharWidth() * 110, metrics.lineSpacing() * 28);
    return dialog;
}
