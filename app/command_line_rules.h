#pragma once

#include <string>

// The command-line rules that need no system call; ParseCommandLine applies
// them around the environment lookup and the full-path call.

// The root with one final backslash taken off, if it has one.
std::string WithoutFinalBackslash(const std::string& strRoot);

// True when the root is "$NAME": the folder is in the environment variable NAME.
bool IsEnvironmentRoot(const std::string& strRoot);

// With a "$NAME" root, a file name beginning with "$" has as many characters
// as the root argument has replaced by the root's folder (strRealRoot); a
// shorter one becomes the folder. Any other file name comes back unchanged.
std::string ReplaceRootName(const std::string& strFileName, const std::string& strRoot,
                            const std::string& strRealRoot);

// True when the file name is taken from the current folder: it is neither a
// drive or network path (second character ":" or "\") nor a "$" name.
bool NeedsFullPath(const std::string& strFileName);

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
