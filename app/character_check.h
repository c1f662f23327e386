#pragma once

#include "app/tarn_app.h"

#include <string>

// The refusal of a text that the ANSI code page cannot hold: the message
// saying which text it is, ending in "(", then the code page's number and the text as
// it reads in the code page ("?" for each character it lacks).
CTarnApp::CTarnException CodePageFailure(const std::string& strMessage, const std::string& strShown);
