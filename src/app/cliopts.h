#pragma once
// Command-line options of korvane-cli.
#include <optional>
#include <string>

#include "core/job.h"
#include "image/prepare.h"

namespace korvane {

enum class Origin { Centre, TopLeft, BottomLeft, BottomRight, TopRight };

struct CliOptions {
  std::string picture;
  std::string output;
  ContourType contour = ContourType::Outline;
  int threshold = 128;
  std::string profile;  // empty: the standard profile of the settings
  long double scale = 1.0L;
  Origin origin = Origin::Centre;
  std::string configDir;
  std::string moves;
  std::string exportFile;  // contour export; the format follows the extension
  bool quiet = false;
  bool help = false;
  std::optional<long double> diameter;
  std::string diameterText;
  bool followLines = false;
  bool optimise = false;
  bool noReverse = false;
  // Picture preparation before the black-and-white step, in command-line order.
  PrepareSteps prepare;
  std::string savePicture;  // write the prepared picture here (32-bit bitmap)
};

extern const char* const kCliUsage;

// Parses argv. False on a usage error (message in `error`, empty when the
// usage alone says it). --help sets opt.help and returns true.
bool ParseCliOptions(int argc, const char* const* argv, CliOptions& opt, std::string& error);

}  // namespace korvane
