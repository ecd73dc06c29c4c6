#pragma once
// Captions of controls from a caption table (objectName -> language text
// number -> German caption). Any window applies its table with these two
// functions; the tables themselves live in settings/language.cpp.
//
// Adding a caption for a new dialog: give the control an objectName, add one
// row {number, "ObjectName", "German caption"} to the window's table (or a new
// table with its own accessor), call ApplyGermanCaptions(dialog, table) once
// the controls exist and ApplyCaptions(dialog, table, job.language) whenever
// the settings are applied. Buttons (also checkable ones), labels, group
// boxes, actions, tab pages and the window itself (its title) take a caption.
#include <span>

#include "settings/language.h"

class QWidget;

namespace korvane {

// Every row's control under `root` (and `root` itself) gets LangText of its
// number, also when that text is empty, as a loaded language file demands.
void ApplyCaptions(QWidget* root, std::span<const CaptionEntry> table, const LanguageTexts& texts);

// The German captions of the table: what the controls show before any
// language file was loaded, and what they keep when none could be loaded.
void ApplyGermanCaptions(QWidget* root, std::span<const CaptionEntry> table);

}  // namespace korvane
