#include "app/picturefile.h"


namespace korvane {

std::vector<FileFilter> PictureFilters() {
  const std::vector<std::pair<std::string, std::string>> types = {
      {"JPEG-Grafikdatei", "jpg"}, {"JPEG-Grafikdatei", "jpeg"},
      {"Bitmaps", "bmp"},          {"Symbole", "ico"},
      {"Erweiterte Metadateien", "emf"}, {"Metadateien", "wmf"},
      {"PNG-Grafikdatei", "png"}};
  std::vector<FileFilter> out;
  std::string all;
  for (const auto& [desc, ext] : types) {
    if (!all.empty()) all += ';';
    all += "*." + ext;
  }
  out.push_back({"Alle (" + all + ")", all});
  for (const auto& [desc, ext] : types) out.push_back({desc + " (*." + ext + ")", "*." + ext});
  return out;
}

}  // namespace korvane
