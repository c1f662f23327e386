#pragma once

#include <string>

// Appends " -I-", " -C-" and " -NL" unless the caller gave a switch of that
// kind; undocheckout takes no " -C-". Letter case counts in every test.
void AddDefaultSwitches(std::string& strParameters, const std::string& strCommand);

// True when strText begins with the four-character switch name, A to Z
// compared without regard to letter case.
bool HasSwitchPrefix(const std::string& strText, const char* szSwitch);
