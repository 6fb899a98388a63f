#pragma once
// The output files of a pass as one unit that the run owns while the pass goes on: each file is
// opened at its first line and stays open until the run pauses, closes, ends its pass or fails.
//
// Lines are held back and written out together with the progress record that names their last
// symbol (a commit): each file takes one write per commit, then the record is rewritten in place.
// A commit follows the symbol that fills the held-back lines past a size (a replay writes a few
// dozen symbols at once) or any symbol of a live pass, and the run commits before it pauses, ends
// its pass or closes. A process killed in between loses only lines that no record names yet: a
// restart evaluates those symbols again.
//
// A file that cannot be opened is skipped (its lines are lost, the run goes on), as every output
// file always was. A write that fails part-way is another matter: every file is cut back to where
// it stood at the last commit, so that no half record and no line of a symbol the record does not
// name remains, the unit takes no further line, and Failure() tells the run which file failed and
// why.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/FilePaths.h"
#include "core/text/AppendFile.h"
#include "core/run/ProgressFile.h"

// In the order of PassFileRules.
enum class PassFile : std::size_t { Results, SavedSym, GoodSym, BadSym, PassTable };

// What a new pass does with the last pass's file.
enum class Rotation {
    Delete,          // removed (a missing file is no error)
    BackupWhenFilled, // moved over its backup when it is not empty; else left to be appended to
    // Moved over its backup exactly when Results.txt was (whose rule comes first), else removed: it
    // explains that file's pass, and appended to it would mix two passes.
    BackupWithResults,
};

struct PassFileRule {
    PassFile File;
    std::string FilePaths::*Path;
    Rotation NewPass;
    std::string FilePaths::*Backup = nullptr; // for the rotations to a backup
};

// Every output file of a pass, in the order a new pass rotates them. Adding a file is one line
// here and its name in PassFile.
inline constexpr std::array PassFileRules{
    PassFileRule{PassFile::Results, &FilePaths::FnResults, Rotation::BackupWhenFilled, &FilePaths::FnResultsBak},
    PassFileRule{PassFile::SavedSym, &FilePaths::FnSavedSym, Rotation::BackupWhenFilled, &FilePaths::FnSavedSymBak},
    PassFileRule{PassFile::GoodSym, &FilePaths::FnGoodSym, Rotation::Delete},
    PassFileRule{PassFile::BadSym, &FilePaths::FnBadSym, Rotation::Delete},
    PassFileRule{PassFile::PassTable, &FilePaths::FnPassTable, Rotation::BackupWithResults, &FilePaths::FnPassTableBak},
};

struct WriteFailure {
    std::string Path;
    int Error = 0; // errno
};

class PassOutputFiles {
public:
    // Closes the files and moves or deletes them as their rules say, for a pass that starts at its
    // first symbol. True when Results.txt went to its backup.
    bool RotateForNewPass(const FilePaths& paths);

    // Adds `text` to the lines the file holds back. False when the file cannot be opened (the text
    // is lost, by design) or a write failed since the files were last closed (see Failure()).
    bool Append(const FilePaths& paths, PassFile file, std::string_view text);

    // True when the file holds nothing yet, written or held back (or cannot be opened): a table's
    // header goes first. The file is opened for the pass, as by Append, so that no symbol asks the
    // file system.
    bool IsEmpty(const FilePaths& paths, PassFile file);

    // The position after the symbol whose lines were appended last; commits when the lines held
    // back have grown large.
    void RecordProgress(const FilePaths& paths, std::int16_t savedCount, std::int16_t symbolIndex);

    // Writes out every held-back line, then the last position recorded. From here a failure cuts
    // no file back before this point. A record that cannot be opened is skipped like any output
    // file. False when a write failed, now or before.
    bool Commit(const FilePaths& paths);

    // The write that failed, if one did since the files were last closed.
    const std::optional<WriteFailure>& Failure() const { return failure_; }

    // Closes every file, drops lines not committed and forgets a failure: the next line opens its
    // file again.
    void Close();

private:
    struct OpenFile {
        AppendFile File;
        std::string HeldBack; // lines not yet written
        std::int64_t Committed = 0; // its size at the last commit
    };
    struct Position {
        std::int16_t SavedCount = 0, SymbolIndex = 0;
    };

    OpenFile* Opened(const std::string& path, PassFile file);
    void Fail(const std::string& path, int error);

    std::array<OpenFile, PassFileRules.size()> files_;
    ProgressRecord progress_;
    std::optional<Position> uncommitted_; // recorded since the last commit
    std::size_t heldBackBytes_ = 0;
    std::optional<WriteFailure> failure_;
};
