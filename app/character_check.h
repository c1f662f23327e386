#pragma once

#include "app/tarn_app.h"

#include <string>

// The refusal of a text that the ANSI code page cannot hold: what it is, and
// how it reads in the code page ("?" for each character it lacks).
CTarnApp::CTarnException CodePageFailure(const std::string& strWhat, const std::string& strShown);
