#pragma once
// The one job: everything that exists once per application (segment list, job
// flags, shared parameters, pictures, active profile, settings, NC program).
// The main window owns it; korvane-cli and each test make their own.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/linestore.h"
#include "base/messages.h"
#include "base/segments.h"
#include "base/picture.h"
#include "contour/tracemap.h"
#include "ncout/ncbuild.h"
#include "settings/language.h"
#include "settings/profile.h"
#include "sim/movelist.h"
#include "sim/movequery.h"

namespace korvane {

enum class ContourType { Outline, CentreLine, Scan, ScanNegative };

struct Job {
  // Segment list and bounding rectangle (pixel units).
  SegmentList segments;
  BoundingRect rect;

  // Job flags.
  bool cancelRequested = false;
  bool contourAccepted = false;
  bool graphicViewPending = false;
  bool backupValid = false;
  bool autoAccept = false;
  bool pictureChanged = false;

  // Shared parameters.
  long double scanStep = 1.0L;
  long double lineSpacing = 1.0L;
  int32_t joinGap = 0;
  long double scale = 1.0L;  // millimetres per pixel

  // Output position: the texts of the offset fields, read when a build starts.
  std::string xOffsetText = "0";
  std::string yOffsetText = "0";

  ContourType contourType = ContourType::Outline;

  // Pictures: the working image, the accepted image (as opened) and the
  // backup of the picture before the last accepted run.
  Picture working;
  Picture accepted;
  Picture backup;
  // The conversion run's result image (the dialog's picture): the working
  // image, framed for the traced types, marked by the contour method.
  Picture result;
  // korvane-cli's form of a black-and-white picture for a traced contour
  // type: the framed compact map alone, traced in place. While it holds a
  // picture, `working` carries only the size (no pixels) and no accepted,
  // backup or result copy is made: a large scan then costs one byte per
  // pixel instead of four 32-bit copies.
  TraceMap compact;

  // Settings: the four stored profiles, the general settings, the active copy.
  std::array<Profile, 4> profiles;
  GeneralSettings general;
  ActiveProfile active;
  // Texts of the loaded language file.
  LanguageTexts language;

  // NC program and simulation move list, as the builder wrote them.
  LineStore ncLines;
  LineStore moveList;
  // The move list as parsed records (what a drawing pass replays) and, per
  // move-list line, the NC line it comes from; both from the same build.
  MoveList moveRecords;
  std::vector<int32_t> moveLines;
  // Feed and rapid path lengths of moveRecords, summed while they are read.
  PathLengths pathLengths;
  // What a build makes beside the program: the move list with its NC lines,
  // and its parsed records. The desktop program needs both for the
  // simulation; a batch run replays nothing, and korvane-cli writes the move
  // list only when asked to.
  bool buildMoveList = true;
  bool parseMoveRecords = true;
  // Whether the move-list text stays once its records are parsed. The desktop
  // program reads only the records, and on a job of millions of moves the
  // text is a hundred megabytes more.
  bool keepMoveText = true;
  NCBuilderState builder;  // carries the block counter from build to build
  MachineExtents extents;
  // NC builder: busy while a build runs (a progress report may re-enter it),
  // and the editor counts of the last completed build (characters without
  // blanks and block numbers, emitted lines, segments).
  bool ncBusy = false;
  int64_t ncCharCount = 0;
  int64_t ncLineCount = 0;
  int32_t ncSegmentCount = 0;
  // Why the last build triggered by a command failed (empty after success).
  std::string lastBuildError;
};

}  // namespace korvane

namespace korvane {
class UserDialogs;

// Picture lock: commands that change the working image ask it first. While a
// contour is accepted it shows the lock message and answers true (refuse).
bool Msg_Isconvert(const Job& job, UserDialogs& ui);
}  // namespace korvane
