#include <QFileDialog>

#include "desktop/services/DesktopServices.h"
#include "desktop/services/HelpWindow.h"
#include "desktop/services/QtPrinter.h"
#include "desktop/services/SoundFileBeeper.h"
#include "desktop/services/SymbolFileDialog.h"
#include "desktop/services/TextFileOpener.h"

namespace {

class PlatformServices final : public DesktopServices {
public:
    std::optional<QString> ChooseSymbolFile(QWidget* parent, const QString& directory, const QString& file) override
    {
        const auto dialog = MakeSymbolFileDialog(parent, directory, file);
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
        return dialog->selectedFiles().constFirst();
    }

    std::optional<QString> ChooseExportFile(QWidget* parent, const QString& suggested) override
    {
        const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Export"), suggested,
                                                          QStringLiteral("CSV files (*.csv)"));
        if (path.isEmpty()) return std::nullopt;
        return path;
    }

    bool OpenInEditor(QWidget* parent, const QString& path) override { return OpenTextFile(parent, path); }

    void ShowHelpTopic(QWidget* parent, int contextNumber) override { ::ShowHelpTopic(parent, contextNumber); }

    std::unique_ptr<DesktopPrinter> SetUpPrinter(QWidget* parent, const QString& pdfFile) override
    {
        return QtPrinter::SetUp(parent, pdfFile);
    }

    void Beep() override { beeper_.Beep(); }
    bool AlarmAudible() const override { return beeper_.HasPlayer(); }

private:
    SoundFileBeeper beeper_;
};

} // namespace

std::unique_ptr<DesktopServices> MakePlatformServices()
{
    return std::make_unique<PlatformServices>();
}
