#include "core/run/PassOutputFiles.h"

#include "core/text/TextFile.h"

namespace {

constexpr bool RulesInPassFileOrder()
{
    for (std::size_t i = 0; i < PassFileRules.size(); ++i)
        if (static_cast<std::size_t>(PassFileRules[i].File) != i) return false;
    return true;
}
static_assert(RulesInPassFileOrder(), "PassFile names index PassFileRules");

} // namespace

bool PassOutputFiles::RotateForNewPass(const FilePaths& paths)
{
    Close();
    bool resultsRotated = false;
    for (const PassFileRule& rule : PassFileRules) {
        const std::string& path = paths.*rule.Path;
        if (rule.NewPass == Rotation::Delete) {
            (void)RemoveFile(path); // missing files are no error
            continue;
        }
        if (rule.NewPass == Rotation::BackupWithResults) {
            if (!resultsRotated || !RenameFile(path, paths.*rule.Backup)) (void)RemoveFile(path);
            continue;
        }
        // rename() replaces the backup in one step, so a crash never leaves neither file.
        const bool moved = FileIsNonEmpty(path) && RenameFile(path, paths.*rule.Backup);
        if (rule.File == PassFile::Results) resultsRotated = moved;
    }
    return resultsRotated;
}

PassOutputFiles::OpenFile* PassOutputFiles::Opened(const std::string& path, PassFile file)
{
    OpenFile& entry = files_[static_cast<std::size_t>(file)];
    if (!entry.File.IsOpen()) {
        if (!entry.File.Open(path)) return nullptr;
        entry.Committed = entry.File.Size();
    }
    return &entry;
}

bool PassOutputFiles::IsEmpty(const FilePaths& paths, PassFile file)
{
    const OpenFile* entry = Opened(paths.*PassFileRules[static_cast<std::size_t>(file)].Path, file);
    return !entry || entry->File.Size() == 0;
}

bool PassOutputFiles::Append(const FilePaths& paths, PassFile file, std::string_view text)
{
    if (failure_) return false;
    const std::string& path = paths.*PassFileRules[static_cast<std::size_t>(file)].Path;
    OpenFile* entry = Opened(path, file);
    if (!entry) return false;
    if (const int error = entry->File.Append(text)) {
        Fail(path, error);
        return false;
    }
    return true;
}

void PassOutputFiles::RecordProgress(const FilePaths& paths, std::int16_t savedCount, std::int16_t symbolIndex)
{
    if (failure_) return;
    if (!progress_.IsOpen() && !progress_.Open(paths.FnProgress)) return;
    if (const int error = progress_.Write(savedCount, symbolIndex)) {
        Fail(paths.FnProgress, error);
        return;
    }
    for (OpenFile& entry : files_) entry.Committed = entry.File.Size();
}

void PassOutputFiles::Fail(const std::string& path, int error)
{
    failure_ = WriteFailure{path, error};
    // Each file back to the last recorded symbol: a restart evaluates everything after it again.
    for (OpenFile& entry : files_)
        if (entry.File.IsOpen()) (void)entry.File.TruncateTo(entry.Committed);
}

void PassOutputFiles::Close()
{
    for (OpenFile& entry : files_) entry.File.Close();
    progress_.Close();
    failure_.reset();
}
