#pragma once
// The active NC number format and block numbering settings.
#include <cstdint>
#include <string>

namespace korvane {

struct TNCFormat {
  bool NCpunkt = false;     // keep a trailing point on whole numbers
  bool Dezipunkt = false;   // write a decimal point (off: implied point)
  bool Vorzeichen = false;  // always a sign
  uint8_t Stellen = 0;      // digit count leading zeros fill up to
  bool VNullen = false;     // leading zeros
  bool NNullen = false;     // trailing zeros stay
  uint8_t Nachkommastellen = 0;
  std::string Satzzeichen;  // block number prefix
  int32_t Schritt = 0;
  int32_t Start = 0;
};

}  // namespace korvane
