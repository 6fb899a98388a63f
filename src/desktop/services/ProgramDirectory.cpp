#include "desktop/services/ProgramDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

std::optional<QString> Usable(const QString& path)
{
    if (!QDir().mkpath(path)) return std::nullopt;
    const QFileInfo info(path);
    if (!info.isWritable()) return std::nullopt;
    return info.absoluteFilePath();
}

} // namespace

std::optional<QString> ResolveProgramDirectory(const QString& requested, const QString& executableDirectory)
{
    if (!requested.isEmpty()) return Usable(requested);
    // An installed program lies in a system directory the user cannot write to.
    if (QFileInfo(executableDirectory).isWritable()) return QFileInfo(executableDirectory).absoluteFilePath();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) return std::nullopt;
    return Usable(QDir(data).filePath(QStringLiteral("quillon")));
}
