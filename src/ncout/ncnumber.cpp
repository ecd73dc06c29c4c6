#include "ncout/ncnumber.h"

#include <algorithm>
#include <charconv>

#include "base/numtext.h"

namespace korvane {

std::string FormatNCNumber(const TNCFormat& format, long double value) {
  const int n = format.Nachkommastellen;
  std::string t;
  if (value != 0) {
    t = FormatFixed(value, n);
  } else {
    t = "0.";
    t.append(static_cast<size_t>(n), '0');
  }
  std::erase(t, ' ');
  if (const size_t minus = t.find('-'); minus != std::string::npos) t.erase(minus, 1);
  if (format.NCpunkt && t.find('.') == std::string::npos) t += '.';
  if (format.Dezipunkt && t.find('.') == std::string::npos) t += '.';
  if (!format.Dezipunkt) {
    if (const size_t point = t.find('.'); point != std::string::npos) t.erase(point, 1);
  }
  if (!format.NNullen) {
    size_t end = t.size();
    while (end > 0 && t[end - 1] == '0') --end;
    // Only reachable with implied point and no trailing zeros, a combination the
    // setup dialog does not allow: an all-zero number stays a single "0".
    t.resize(end == 0 ? 1 : end);
  }
  if (format.VNullen) {
    const size_t want =
        static_cast<size_t>(format.Stellen) + (t.find('.') != std::string::npos ? 1 : 0);
    if (t.size() < want) t.insert(0, want - t.size(), '0');
  }
  if (format.Vorzeichen && value >= 0) t.insert(0, 1, '+');
  if (value < 0) t.insert(0, 1, '-');
  if (!format.NCpunkt && !t.empty() && t.back() == '.') t.pop_back();
  return t;
}

std::string NumberBlock(std::string_view block, int32_t& counter, const TNCFormat& format,
                        bool satznum) {
  std::string line;
  line.reserve(format.Satzzeichen.size() + 12 + block.size());
  AppendNumberBlock(line, block, counter, format, satznum);
  return line;
}

void AppendNumberBlock(std::string& out, std::string_view block, int32_t& counter,
                       const TNCFormat& format, bool satznum) {
  if (!satznum) {
    out += block;
    return;
  }
  if (!block.empty() && block.front() == '-') {
    out += block.substr(1);
    return;
  }
  char buf[16];
  auto res = std::to_chars(buf, buf + sizeof buf, counter);
  out += format.Satzzeichen;
  out.append(buf, res.ptr);
  out += ' ';
  out += block;
  // The counter is a 32-bit register: it wraps instead of overflowing.
  counter =
      static_cast<int32_t>(static_cast<uint32_t>(counter) + static_cast<uint32_t>(format.Schritt));
}

}  // namespace korvane
