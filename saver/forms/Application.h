// The program as a whole: its command line, its folder, its message box, its
// message loop and its end.
#pragma once

#include <string>

namespace forms {

// The argument text: the command line without the program's own path and the
// blanks that separate the path from the arguments.
std::wstring CommandLineText();

// The folder that holds the program file, without a trailing backslash unless
// it is a drive root.
std::wstring ProgramFolder();

// A message box with an OK button and the program's title as its caption; returns when dismissed.
void ShowMessage(const std::wstring& text);

// Runs the message loop until no form is left (or the loop is told to quit).
int RunMessageLoop();

// Stops the process at once: no window hears of it.
[[noreturn]] void EndProgram();

// The program's title, used as the caption of its message boxes.
extern const wchar_t* const kProgramTitle;

}  // namespace forms
