#pragma once
// Reading whole files, and the one writer every file the program writes goes
// through (NC program, move list, settings, pictures).
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// A file written under a temporary name beside its target, waiting for its
// rename. `target` is where the rename goes: the file named, or the final
// target when that name is a symbolic link (the link stays a link).
struct StagedFile {
  std::string target;
  std::string temp;
};

// Writes `content` to a temporary file beside the target and syncs it. False
// (nothing left behind, no existing file touched) when the folder is
// missing or not writable, the target exists and is no regular file (a
// device node, FIFO or folder is never replaced), or the target may not be
// written (no write permission or a read-only mode).
bool StageFile(const std::string& file, std::string_view content, StagedFile& staged);

// Renames every staged file onto its target and syncs the folders. False
// when a rename failed; the temporaries not renamed are removed.
bool CommitStagedFiles(std::vector<StagedFile>& staged);

// Removes the temporaries of files that will not be committed.
void DiscardStagedFiles(std::vector<StagedFile>& staged);

// Write a whole file through a temporary file in the same folder and a
// rename (StageFile + CommitStagedFiles). Returns false (and leaves any old
// file untouched) on failure.
bool WriteFileAtomically(const std::string& file, std::string_view content);

// The whole file as bytes; false when it cannot be opened or is no regular
// file (a FIFO or a device would block or never end).
bool ReadWholeFile(const std::string& file, std::string& content);

// Whether `file` names something ReadWholeFile cannot read although it is
// there: a FIFO, a device, a folder, a file without read permission. A
// missing file is not such a case.
bool PresentButUnreadable(const std::string& file);

}  // namespace korvane
