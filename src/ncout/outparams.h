#pragma once
// Output parameters: where the picture lies in machine coordinates (position),
// how many millimetres one pixel is (scale), and the job values of the profile
// panel. Plain logic shared by the desktop dialogs and korvane-cli; the dialogs
// only show these values and pass the user's edits in.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "contour/tooldiameter.h"
#include "core/job.h"

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

// The centre placement for the job's working picture at the job's scale: the
// offsets the desktop program shows after opening a picture with the centre
// button down. korvane-cli uses these as its X/Y offsets.
OffsetTexts CentreOffsets(const Job& job);

// Put the centre placement into job.xOffsetText / job.yOffsetText.
void ApplyCentreOffsets(Job& job);

// After a scale change: run the placement that is down with the new scale and
// store it as the job's offsets. With no button down the offsets stay as they
// were (returns false then).
bool ReapplyPlacement(Job& job, Placement down, int32_t w, int32_t h);

// The position dialog's values. The start fields hold one decimal, as their
// spin fields show them; the texts are what the dialog and the main window show.
class PositionDialogModel {
 public:
  static constexpr long double kMin = -9999999.0L;
  static constexpr long double kMax = 9999999.0L;

  // On showing: start from the job's offset texts (a text that is not a number
  // counts as 0); w, h from the picture size fields; s the current scale.
  void show(const Job& job, int32_t w, int32_t h);
  // A start field edited by the user (clamped to the field's range).
  void setStartX(long double v);
  void setStartY(long double v);
  // A placement button: start := placement; the button stays down.
  void place(Placement p);
  // "Übernehmen": the job's offsets := start, each with 1 decimal.
  void apply(Job& job) const;

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
  // "Übernehmen": job.scale := pending scale (unless that is not a positive
  // finite number, as for a picture of 0 pixels). Returns the text for EScale.
  std::string apply(Job& job) const;

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

// After the scale dialog has closed. oldScale is job.scale before the dialog
// (compared exactly); placement is the button that is down in the position
// dialog, w and h the picture size fields; diameterText is EDurchmesser. On a
// change the position is re-applied with the new scale, then the line spacing
// and the re-run are decided as for every scale change.
struct ScaleChangeResult {
  ParameterRerun rerun = ParameterRerun::None;
  // Set when the line spacing was recomputed: text for the line-spacing field.
  std::optional<std::string> lineSpacingText;
};
ScaleChangeResult AfterScaleDialog(Job& job, long double oldScale, Placement placement, int32_t w,
                                   int32_t h, std::string_view diameterText);

// ----------------------------------------------------------- profile panel

// The ±0.1 steppers of R and Z: the stepped value with exactly 2 decimals, or
// nothing when the field does not hold a number.
std::optional<std::string> StepValue(std::string_view text, int direction);


// The four panel fields.
struct PanelValues {
  std::string REbene, ZEbene, VorschubZ, VorschubXY;
  bool operator==(const PanelValues&) const = default;
};

// Values the panel shows after a profile activation.
PanelValues PanelValuesFromActive(const Job& job);

// A panel field changed by the user: copy the four texts into the active
// values. Returns whether "Erstelle NC-Programm  ..." is to be enabled.
bool PanelValuesChanged(Job& job, const PanelValues& v);

}  // namespace korvane
