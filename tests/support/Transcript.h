#pragma once
// Scripted scenes, in the manner of cram tests: a script file holds cases ("== name"), each a list of
// actions ("> verb arguments") with, under each action, the lines the scene must log while doing
// it, in order. A test names its scene; the runner plays every case on a fresh scene and compares
// the whole transcript, so a failure shows the difference as a diff. "#" lines and blank lines
// are passed over.
//
// A scene is a class with `std::vector<std::string> log` and `void Do(const std::string& verb,
// const std::string& arguments)`, constructible without arguments.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/text/TextFile.h"
#include "support/TemporaryDirectory.h"

// Line ends written out, so that a logged text stays on its line.
inline std::string Escaped(const std::string& text)
{
    std::string shown;
    for (const char c : text)
        shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\f' ? "\\f" : std::string(1, c);
    return shown;
}

inline std::string Unescaped(const std::string& text)
{
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\\' && i + 1 < text.size() && std::string("rnf").find(text[i + 1]) != std::string::npos)
            plain += text[++i] == 'r' ? '\r' : text[i] == 'n' ? '\n' : '\f';
        else
            plain += text[i];
    return plain;
}

// A file as a transcript shows it: a short one whole, a long one by its line count and its first
// and last lines.
inline std::string FileSummary(const std::string& path)
{
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) return "missing";
    if (text->size() <= 60) return '"' + Escaped(*text) + '"';
    const std::vector<std::string_view> lines = SplitLines(*text);
    return std::to_string(lines.size()) + " lines, \"" + Escaped(std::string(lines.front())) + "\" .. \"" +
           Escaped(std::string(lines.back())) + '"';
}

// What every scene in a program directory of its own shares: the actions "write FILE [TEXT]",
// "remove FILE" and "mkdir DIR", a file shown as its summary, and texts that name the directory $DIR.
struct DirectoryScene {
    // True when `verb` was one of the directory's actions.
    bool DoInDirectory(const std::string& verb, const std::string& arguments)
    {
        std::istringstream words(arguments);
        std::string name, text;
        std::getline(words >> name >> std::ws, text);
        if (verb == "write") EXPECT_TRUE(ReplaceFile(directory.File(name), Unescaped(text)));
        else if (verb == "remove") (void)RemoveFile(directory.File(name));
        else if (verb == "mkdir") std::filesystem::create_directory(directory.File(name));
        else return false;
        return true;
    }
    void ShowFile(const std::string& name) { log.push_back(name + ": " + FileSummary(directory.File(name))); }
    std::string Relative(std::string text) const
    {
        for (std::size_t at; (at = text.find(directory.Path())) != std::string::npos;)
            text.replace(at, directory.Path().size(), "$DIR");
        return text;
    }

    std::vector<std::string> log;
    TemporaryDirectory directory;
};

template <class Scene>
void PlayScripts(const std::string& fileName)
{
    std::ifstream file(std::string(QUILLON_SOURCE_DIR "/tests/cases/scripts/") + fileName);
    ASSERT_TRUE(file) << fileName;
    std::vector<std::pair<std::string, std::vector<std::string>>> cases; // name, lines
    int number = 0;
    for (std::string line; std::getline(file, line);) {
        ++number;
        if (line.starts_with("== "))
            cases.push_back({fileName + ":" + std::to_string(number) + " " + line.substr(3), {}});
        else if (!line.empty() && !line.starts_with("#") && !cases.empty())
            cases.back().second.push_back(line);
    }
    ASSERT_FALSE(cases.empty()) << fileName;
    for (const auto& [name, lines] : cases) {
        Scene scene;
        std::string expected, actual;
        for (const std::string& line : lines) {
            expected += line + "\n";
            if (!line.starts_with("> ")) continue;
            actual += line + "\n";
            const std::size_t blank = line.find(' ', 2);
            scene.Do(line.substr(2, blank - 2), blank == std::string::npos ? "" : line.substr(blank + 1));
            for (std::size_t i = 0, repeats = 1; i < scene.log.size(); i += repeats) { // repeats as "(N times)"
                for (repeats = 1; i + repeats < scene.log.size() && scene.log[i + repeats] == scene.log[i];) ++repeats;
                actual += scene.log[i] + (repeats > 1 ? " (" + std::to_string(repeats) + " times)" : "") + "\n";
            }
            scene.log.clear();
        }
        EXPECT_EQ(actual, expected) << name;
    }
}
