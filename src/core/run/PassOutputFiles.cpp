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

// Past this many held-back bytes the lines are written out: a write per file per commit instead of
// a write per file per symbol, which costs a replay more than screening the symbol, while a reader
// of the files (or a restart after a kill) is never more than a few dozen symbols behind.
constexpr std::size_t CommitBytes = 16 * 1024;

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
    return !entry || (entry->File.Size() == 0 && entry->HeldBack.empty());
}

bool PassOutputFiles::Append(const FilePaths& paths, PassFile file, std::string_view text)
{
    if (failure_) return false;
    OpenFile* entry = Opened(paths.*PassFileRules[static_cast<std::size_t>(file)].Path, file);
    if (!entry) return false;
    entry->HeldBack += text;
    heldBackBytes_ += text.size();
    return true;
}

void PassOutputFiles::RecordProgress(const FilePaths& paths, std::int16_t savedCount, std::int16_t symbolIndex)
{
    if (failure_) return;
    uncommitted_ = Position{savedCount, symbolIndex};
    if (heldBackBytes_ >= CommitBytes) (void)Commit(paths);
}

bool PassOutputFiles::Commit(const FilePaths& paths)
{
    if (failure_) return false;
    for (OpenFile& entry : files_) {
        if (entry.HeldBack.empty()) continue;
        if (const int error = entry.File.Append(entry.HeldBack)) {
            Fail(entry.File.Path(), error);
            return false;
        }
        entry.HeldBack.clear();
    }
    heldBackBytes_ = 0;
    // Lines of a symbol whose evaluation broke off go out with no record of their own, as the run
    // moves on without one.
    if (!uncommitted_) return true;
    const Position position = *uncommitted_;
    uncommitted_.reset();
    if (!progress_.IsOpen() && !progress_.Open(paths.FnProgress)) return true;
    if (const int error = progress_.Write(position.SavedCount, position.SymbolIndex)) {
        Fail(paths.FnProgress, error);
        return false;
    }
    for (OpenFile& entry : files_) entry.Committed = entry.File.Size();
    return true;
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
    for (OpenFile& entry : files_) {
        entry.File.Close();
        entry.HeldBack.clear();
    }
    heldBackBytes_ = 0;
    uncommitted_.reset();
    progress_.Close();
    failure_.reset();
}
