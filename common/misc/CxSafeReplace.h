#pragma once
// CxSafeReplace: puts a new version of a file in the old one's place in one step, so that
// a write that fails anywhere, or a process killed half way, leaves the old file as it was.
// The settings file, every .dat save and the CSV output go through it.
//
// Use: Begin(path), write the whole new contents into the temporary file (through
// GetTempFd() or by opening GetTempPath()), then Commit(). Nothing is replaced before
// Commit; an uncommitted temporary file is removed by Abandon() or when the object ends.
//
//   the file replaced   what a symbolic link at path points to (the link stays a link),
//                       else path itself (a link to nothing included); it need not exist
//                       yet
//   the temporary file  ".<name>.tmp-<pid>-<n>" in the replaced file's folder, created
//                       exclusively (never an existing file or a link), mode 0600 until
//                       Commit
//   stale files         Begin removes the temporary files of earlier saves of the same
//                       file whose process is gone (killed before their end)
//   Commit              the replaced file's owner (where allowed) and mode, or for a new
//                       file the mode a file the user creates gets; the data synced; the
//                       rename over the replaced file; the folder synced

#include <string>

#include "misc/CxUniqueFd.h"

namespace tabrel {

class CxSafeReplace {
  public:
    CxSafeReplace() = default;
    ~CxSafeReplace() { Abandon(); }
    CxSafeReplace(const CxSafeReplace&) = delete;
    CxSafeReplace& operator=(const CxSafeReplace&) = delete;

    // Whether a replacement of path could be made: an existing file there is a regular
    // file the user may write, and its folder takes new files.
    static bool CanReplace(const std::string& path);

    // Creates the temporary file for a new version of path. False when path names
    // something other than a regular file, or its folder does not take a new file.
    [[nodiscard]] bool Begin(const std::string& path);
    // The temporary file, open for writing until Commit or Abandon.
    int GetTempFd() const { return m_tempFd.Get(); }
    const std::string& GetTempPath() const { return m_szTempPath; }
    // The file that Commit replaces (a symbolic link resolved).
    const std::string& GetTargetPath() const { return m_szTarget; }

    // The temporary file takes the target's place. False, with the target unchanged and
    // the temporary file removed, when any step fails.
    [[nodiscard]] bool Commit();
    // Removes the temporary file; the target stays as it was.
    void Abandon();

  private:
    std::string m_szTarget;
    std::string m_szTempPath;
    CxUniqueFd m_tempFd;
};

}  // namespace tabrel
