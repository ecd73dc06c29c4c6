#include "image/imagecaptions.h"

namespace korvane {

std::span<const CaptionEntry> CorrectionDialogCaptions() {
  static const CaptionEntry kTable[] = {
      {6300, "TFHkg", "Korrektur"},           {6301, "LHelligkeit", "Helligkeit"},
      {6302, "LKontrast", "Kontrast"},        {6303, "LGamma", "Gammakorrektur"},
      {6304, "BRestore", "Abbrechen"},        {6305, "BStore", "Übernehmen"},
  };
  return kTable;
}

std::span<const CaptionEntry> FilterDialogCaptions() {
  static const CaptionEntry kTable[] = {
      {6400, "TFFilter", "Filter"},         {6401, "BGrenzwert", "Grenzwert"},
      {6402, "BHipass", "Hipass"},          {6403, "BEdge", "Kanten"},
      {6404, "BScharf", "Scharf"},          {6405, "BPraegen", "Prägen"},
      {6406, "BWeich", "Weich"},            {6407, "BGraustufen", "Graustufen"},
      {6408, "BInvert", "Invertieren"},     {6409, "BRestore", "Abbrechen"},
      {6410, "BUndo", "Rückgängig"},        {6411, "BStore", "Übernehmen"},
  };
  return kTable;
}

std::span<const CaptionEntry> ResizeDialogCaptions() {
  static const CaptionEntry kTable[] = {
      {6500, "TFResize", "Größe ändern"}, {6501, "LAktuell", "Aktuell"},
      {6502, "LNeu", "Neu"},              {6503, "BRestore", "Abbrechen"},
      {6504, "BStore", "Übernehmen"},
  };
  return kTable;
}

}  // namespace korvane
