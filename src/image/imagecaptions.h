#pragma once
// Captions of the correction, filter and resize dialogs by language-text
// number. An entry whose control is the dialog's own objectName is the
// window caption.
#include <functional>
#include <span>
#include <string>

#include "settings/language.h"

namespace korvane {

// Text number -> text, as the language file answers it.
using CaptionLookup = std::function<std::string(int)>;

std::span<const CaptionEntry> CorrectionDialogCaptions();  // TFHkg
std::span<const CaptionEntry> FilterDialogCaptions();      // TFFilter
std::span<const CaptionEntry> ResizeDialogCaptions();      // TFResize

}  // namespace korvane
