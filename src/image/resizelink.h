#pragma once
// The resize dialog's two new-size fields, linked so that the aspect ratio of
// the current size is kept while the user types. The dialog forwards every
// change of a field here and shows the numbers back.
#include <cstdint>

namespace korvane {

// Range of the new-size fields.
constexpr int32_t kResizeFieldMin = 10;
constexpr int32_t kResizeFieldMax = 9999999;

class ResizeLink {
 public:
  // Showing the dialog: current size w0 x h0, both new fields set to it.
  void begin(int32_t w0, int32_t h0);

  // The new width changed to w; when the user edits that field (`edited`),
  // the new height follows as H0 / (W0 / w), rounded half to even.
  void widthChanged(int32_t w, bool edited);
  // The new height changed to h; the new width follows likewise.
  void heightChanged(int32_t h, bool edited);

  int32_t currentWidth() const { return w0_; }
  int32_t currentHeight() const { return h0_; }
  int32_t newWidth() const { return newW_; }
  int32_t newHeight() const { return newH_; }
  long double ratio() const { return ratio_; }
  // Both new sides large enough for the resize.
  bool acceptable() const;

 private:
  // other0 / (own0 / v): the linked side, or `fallback` when the division
  // means nothing (no picture: a current side of 0).
  static int32_t Follow(int32_t other0, long double ratio, int32_t fallback);

  int32_t w0_ = 0, h0_ = 0;
  int32_t newW_ = 0, newH_ = 0;
  long double ratio_ = 1.0L;
};

}  // namespace korvane
