#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "desktop/services/DesktopServices.h"
#include "desktop/services/HelpWindow.h"
#include "desktop/services/QtPrinter.h"
#include "desktop/services/SoundFileBeeper.h"
#include "desktop/services/SymbolFileDialog.h"

namespace {

class PlatformServices final : public DesktopServices {
public:
    std::optional<QString> ChooseSymbolFile(QWidget* parent, const QString& directory, const QString& file) override
    {
        const auto dialog = MakeSymbolFileDialog(parent, directory, file);
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
        return dialog->selectedFiles().constFirst();
    }

    void OpenInEditor(const QString& path) override { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

    void ShowHelpTopic(QWidget* parent, int contextNumber) override { ::ShowHelpTopic(parent, contextNumber); }

    std::unique_ptr<Printer> SetUpPrinter(QWidget* parent) override { return QtPrinter::SetUp(parent); }

    void Beep() override { beeper_.Beep(); }

private:
    SoundFileBeeper beeper_;
};

} // namespace

std::unique_ptr<DesktopServices> MakePlatformServices()
{
    return std::make_unique<PlatformServices>();
}
