#pragma once
// The rows of an input file that did not read: counted, the first few kept with their line
// numbers, and told in one message at the end.

#include <string>
#include <vector>

class SkippedRows {
public:
    void Add(long long line, const std::string& reason);
    long long Count() const { return count_; }

    // Empty when nothing was skipped; else "Skipped N rows of FILE that do not read:" and the
    // first few as "  line L: reason", one per line.
    std::string Message(const std::string& path) const;

private:
    long long count_ = 0;
    std::vector<std::string> firstFew_;
};
