#pragma once
// Output parameters: where the picture lies in machine coordinates (position),
// how many millimetres one pixel is (scale), and the job values of the profile
// panel. Plain logic shared by the desktop dialogs and korvane-cli; the dialogs
// only show these values and pass the user's edits in.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>


namespace korvane {

// ---------------------------------------------------------------- position

// The placement buttons of the position dialog: which point of the picture
// is put at the machine origin. kNone: no button is down.
enum class Placement { kNone, kCentre, kTopLeft, kBottomLeft, kBottomRight, kTopRight };

// A point in machine millimetres.
struct MachinePoint {
  long double x = 0;
  long double y = 0;
};

// Start position (machine X, Y of the picture's top-left corner) that puts the
// named point of a w x h picture at scale s onto the origin. kNone gives 0, 0.
MachinePoint PlacementStart(Placement p, int32_t w, int32_t h, long double s);

// Machine X, Y of the bottom-right corner for a given start.
MachinePoint EndPosition(MachinePoint start, int32_t w, int32_t h, long double s);

// Offset texts as the main window shows them (fixed notation, 1 decimal).
struct OffsetTexts {
  std::string x;
  std::string y;
  bool operator==(const OffsetTexts&) const = default;
};
OffsetTexts OffsetTextsFor(MachinePoint start);

// The centre placement of a w x h picture at scale s: the offsets the desktop
// program shows after opening a picture with the centre button down.
OffsetTexts CentreOffsets(int32_t w, int32_t h, long double scale);

// The offsets a placement button gives, kept within the start fields' range.
OffsetTexts PlacementOffsets(Placement down, int32_t w, int32_t h, long double scale);

// The position dialog's values. The start fields hold one decimal, as their
// spin fields show them; the texts are what the dialog and the main window show.
class PositionDialogModel {
 public:
  static constexpr long double kMin = -9999999.0L;
  static constexpr long double kMax = 9999999.0L;

  // On showing: start from the offset texts (a text that is not a number
  // counts as 0); the current scale; w, h from the picture size.
  void show(const OffsetTexts& offsets, long double scale, int32_t w, int32_t h);
  // A start field edited by the user (clamped to the field's range).
  void setStartX(long double v);
  void setStartY(long double v);
  // A placement button: start := placement; the button stays down.
  void place(Placement p);
  // "Übernehmen": the offsets := start, each with 1 decimal.
  OffsetTexts apply() const;

  MachinePoint start() const { return start_; }
  MachinePoint end() const { return EndPosition(start_, w_, h_, s_); }
  std::string endXText() const;
  std::string endYText() const;
  Placement placement() const { return placement_; }
  void setPlacement(Placement p) { placement_ = p; }

 private:
  MachinePoint start_;
  int32_t w_ = 0, h_ = 0;
  long double s_ = 1.0L;
  Placement placement_ = Placement::kCentre;
};

// ------------------------------------------------------------------- scale

// The scale dialog's values: output size in millimetres (one decimal, as the
// spin fields show it), per cent slider and the pending scale s that
// "Übernehmen" applies (full precision).
class ScaleDialogModel {
 public:
  static constexpr long double kMinOut = 0.1L;
  static constexpr long double kMaxOut = 9999999.0L;
  static constexpr int kMinPercent = 1;
  static constexpr int kMaxPercent = 500;

  // On showing: w, h from the picture size fields, the job's current scale.
  void show(int32_t w, int32_t h, long double scale);
  // The output width edited; with the focus on that field the height follows.
  void setOutputX(long double v, bool hasFocus);
  // The output height edited; with the focus on that field the width follows.
  void setOutputY(long double v, bool hasFocus);
  // The per cent slider moved: output width := w x position / 100; the
  // pending scale follows from the width.
  void setPercent(int position);
  // "Übernehmen": scale := pending scale (unless that is not a positive
  // finite number, as for a picture of 0 pixels). Returns the text for EScale.
  std::string apply(long double& scale) const;

  long double outputX() const { return outX_; }
  long double outputY() const { return outY_; }
  long double pending() const { return pending_; }
  int percent() const { return percent_; }

 private:
  int32_t w_ = 1, h_ = 1;
  long double outX_ = 0, outY_ = 0, pending_ = 1.0L;
  int percent_ = 100;
};

// Text of the scale field EScale (fixed notation, 3 decimals).
std::string ScaleText(long double scale);

// ----------------------------------------------------------- profile panel

// The ±0.1 steppers of R and Z: the stepped value with exactly 2 decimals, or
// nothing when the field does not hold a number.
std::optional<std::string> StepValue(std::string_view text, int direction);


// The four panel fields.
struct PanelValues {
  std::string REbene, ZEbene, VorschubZ, VorschubXY;
  bool operator==(const PanelValues&) const = default;
};

}  // namespace korvane
