#pragma once
// Reading whole files, and the one writer every file the program writes goes
// through (NC program, move list, settings, pictures).
#include <string>
#include <string_view>

namespace korvane {

// Write a whole file through a temporary file in the same folder and a
// rename. Returns false (and leaves any old file untouched) on failure.
bool WriteFileAtomically(const std::string& file, std::string_view content);

// The whole file as bytes; false when it cannot be opened.
bool ReadWholeFile(const std::string& file, std::string& content);

}  // namespace korvane
