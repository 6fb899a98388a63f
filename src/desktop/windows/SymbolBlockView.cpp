#include "desktop/windows/SymbolBlockView.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "desktop/windows/ReportBox.h"

namespace {

// A results block is 80 characters wide and 58 lines long: its width and a good part of it.
constexpr int BlockColumns = 82;
constexpr int ShownLines = 30;

} // namespace

SymbolBlockView::SymbolBlockView(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SymbolBlockView"));
    BlockText = NewReportBox(this, "BlockText");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BlockText);
    const QFontMetrics fixed(BlockText->font());
    resize(fixed.horizontalAdvance(QLatin1Char('M')) * BlockColumns + 40, fixed.lineSpacing() * ShownLines);
}

void SymbolBlockView::Show(const QString& symbol, const std::string& block)
{
    setWindowTitle(QStringLiteral("Results block [%1]").arg(symbol));
    ShowReport(*BlockText, block);
    show();
    raise();
    activateWindow();
}
