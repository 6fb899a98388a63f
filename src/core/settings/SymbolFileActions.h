#pragma once
// The File menu's symbol file actions: choose or create the symbol file, edit it, and swap its
// contents with one of the symbol lists a run writes. Every action that goes ahead forgets the run
// position and the loaded symbol list, so the next run starts at the first symbol of the new list.

#include <optional>
#include <string>

#include "core/SharedState.h"

// What the actions need of the window that offers them.
class SymbolFileHost {
public:
    virtual ~SymbolFileHost() = default;
    // The file dialog: full path of the chosen or typed name (the default extension already
    // appended), or nothing when the user cancels.
    virtual std::optional<std::string> ChooseFileName(const std::string& initialDirectory,
                                                      const std::string& initialFile) = 0;
    // Opens the file in the user's editor without waiting; failures are the platform's to report.
    virtual void OpenInEditor(const std::string& path) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // A Yes/No question with the program's title; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // Writes the settings file, reporting a failure itself.
    virtual void SaveSettings() = 0;
};

// Lets the user choose another symbol file or name a new one (created empty). When the chosen file
// cannot be used the old one stays in force after a message. False when the user cancelled and
// nothing changed; true otherwise (the caller refreshes its caption).
bool ChooseSymbolFile(SharedState& state, SymbolFileHost& host);

// Creates a missing symbol file, then opens it in the user's editor.
void EditSymbolFile(SharedState& state, SymbolFileHost& host);

// After a Yes to SwapQuestion, exchanges the contents of the symbol file and `other` by three
// renames through FnTemp. A rename never replaces an existing file; a failing rename is skipped.
// False when the user said No.
bool SwapSymbolFile(SharedState& state, SymbolFileHost& host, const std::string& other);

// The three-line question asked before a swap, lines joined by CR LF.
std::string SwapQuestion(const std::string& fnSym, const std::string& other);
