#pragma once

#include <string>

class CTarnApp;

// The value elements and the closing tag of the diagnostic log, appended to
// strLog. Values go in raw, byte for byte; nothing is escaped.
void AppendLogValues(std::string& strLog, const CTarnApp& app);
