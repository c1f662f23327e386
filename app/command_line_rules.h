#pragma once

#include "app/code_page.h"

#include <string>

// The command-line rules that need no system call; ParseCommandLine applies
// them around the environment lookup and the full-path call.

// The root with one final backslash taken off, if it ends with one (a
// backslash of its own, not the second byte of a character).
std::string WithoutFinalBackslash(const std::string& strRoot, const CCodePage& codePage = AnsiCodePage());

// True when the root is "$NAME": the folder is in the environment variable NAME.
bool IsEnvironmentRoot(const std::string& strRoot);

// With a "$NAME" root, a file name beginning with "$" has as many characters
// as the root argument has replaced by the root's folder (strRealRoot); a
// shorter one becomes the folder. Any other file name comes back unchanged.
// False when the root argument's length would end in the middle of a
// character of the file name: such a file does not begin with that root.
bool ReplaceRootName(std::string& strFileName, const std::string& strRoot, const std::string& strRealRoot,
                     const CCodePage& codePage = AnsiCodePage());

// True when the file name is taken from the current folder: it is neither a
// drive or network path (second character ":" or "\") nor a "$" name.
bool NeedsFullPath(const std::string& strFileName, const CCodePage& codePage = AnsiCodePage());

// What an argument after the file name is: "-DB:", "-PP:" and "-LOG" in any
// letter case are Tarn's own, any other argument beginning with "-" goes to
// SS.EXE, and the rest is dropped.
enum class ESwitchKind
{
    Database,
    PathPrefix,
    Log,
    PassedOn,
    Dropped,
};
ESwitchKind ClassifySwitch(const std::string& strArg);

// The text after "-DB:" or "-PP:".
std::string SwitchValue(const std::string& strArg);
