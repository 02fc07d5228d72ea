#pragma once
// PmSafeSave: puts a new version of an existing .dat file in the old one's place in one
// step, so that a save that fails anywhere leaves the old file as it was.
//
// Use: OpenTarget (the file must exist; it stays open, and so locked, until this object
// ends), CreateTemp, write the whole new contents into GetTempPath() and close it, then
// Commit. The temporary file lies beside the file being replaced (beside the file a
// symbolic link points to, so the link stays a link); Commit gives it the old file's owner
// (where allowed) and permissions and renames it over the old file. An uncommitted
// temporary file is removed when the object ends.

#include <string>

#include "palm/dat/PmFile.h"

namespace tabrel {

class PmSafeSave {
  public:
    PmSafeSave() = default;
    ~PmSafeSave();
    PmSafeSave(const PmSafeSave&) = delete;
    PmSafeSave& operator=(const PmSafeSave&) = delete;

    // Opens the existing file at path and holds it; false when there is none, it is no
    // regular file or it is locked elsewhere.
    bool OpenTarget(const std::string& path);
    // Creates a new, empty temporary file beside the target; false when the folder does not
    // allow it. GetTempPath() then names the file (after a failure, the last name tried).
    bool CreateTemp();
    const std::string& GetTempPath() const { return m_szTempPath; }
    // The temporary file, written and closed by the caller, takes the target's place.
    bool Commit();

  private:
    PmFile m_target;
    std::string m_szReplaced;  // the file a symbolic link points to, else the target path
    std::string m_szTempPath;
    bool m_bTempCreated = false;
};

}  // namespace tabrel
