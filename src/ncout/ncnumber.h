#pragma once
// Numbers and block numbers as they appear in NC text.
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/ncformat.h"

namespace korvane {

// The NC text of one coordinate, depth or retract value under the given
// number format: rounded half away from zero to Nachkommastellen decimals,
// then point, trailing and leading zeros and sign as the switches say.
std::string FormatNCNumber(const TNCFormat& format, long double value);

// The line to append for one block (placeholders already replaced). With
// numbering on, the block gets Satzzeichen and the counter in front and the
// counter advances by Schritt; a block starting with "-" loses that character
// and stays unnumbered. With numbering off the block is returned unchanged.
std::string NumberBlock(std::string_view block, int32_t& counter, const TNCFormat& format,
                        bool satznum);
// The same line appended to `out` (the builder reuses one buffer for all).
void AppendNumberBlock(std::string& out, std::string_view block, int32_t& counter,
                       const TNCFormat& format, bool satznum);

}  // namespace korvane
