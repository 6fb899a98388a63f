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

#include <fstream>
#include <string>
#include <vector>

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
            for (const std::string& logged : scene.log) actual += logged + "\n";
            scene.log.clear();
        }
        EXPECT_EQ(actual, expected) << name;
    }
}
