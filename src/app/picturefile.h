#pragma once
// The file-type list of the main window's picture open and save dialogs.
#include <string>
#include <vector>

#include "app/ncsave.h"

namespace korvane {

// "Alle" with every pattern first, then one entry per extension.
std::vector<FileFilter> PictureFilters();

}  // namespace korvane
