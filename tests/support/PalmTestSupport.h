#pragma once
// Builds a Palm Desktop installation for tests: a Wine prefix with registry files, the
// program folder's and the data folder's INI files, all inside one temporary folder, and
// points the Palm Desktop lookup at them while it lives.

#include <filesystem>
#include <string>
#include <string_view>

#include "palm/desktop/PalmDesktop.h"
#include "support/EnvGuards.h"
#include "support/TestSupport.h"

namespace tabrel::test {

class ScopedPalmSetup {
  public:
    ScopedPalmSetup() : m_old(GetPalmDesktopConfig()) {
        std::filesystem::create_directories(Prefix() + "/drive_c");
        std::filesystem::create_directories(m_dir.File("app"));
        std::filesystem::create_directories(m_dir.File("data"));
        PalmDesktopConfig config;
        config.programIni = ProgramIni();
        config.settingsIni = SettingsIni();
        config.winePrefix = Prefix();
        SetPalmDesktopConfig(config);
    }
    ~ScopedPalmSetup() { SetPalmDesktopConfig(m_old); }
    ScopedPalmSetup(const ScopedPalmSetup&) = delete;
    ScopedPalmSetup& operator=(const ScopedPalmSetup&) = delete;

    std::string Prefix() const { return m_dir.File("wine"); }
    std::string DriveC() const { return Prefix() + "/drive_c"; }
    std::string ProgramIni() const { return m_dir.File("app/norvane.ini"); }
    std::string SettingsIni() const { return m_dir.File("data/norvane.ini"); }
    std::string File(std::string_view name) const { return m_dir.File(name); }

    // Writes a registry file of the prefix ("user.reg" or "system.reg") holding one key
    // (a '\'-separated path) with the given value lines.
    void WriteRegistry(std::string_view file, std::string_view key, std::string_view values) {
        std::string escaped;
        for (char c : key) {
            escaped += c;
            if (c == '\\') {
                escaped += '\\';
            }
        }
        WriteTextFile(Prefix() + "/" + std::string(file),
                      "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                      "#arch=win32\n\n[Software\\\\Wine] 1600000000\n\"Version\"=\"win10\"\n\n[" +
                          escaped + "] 1600000001\n#time=1d6e1c1e2f3a4b5\n" + std::string(values) +
                          "\n");
    }

  private:
    TempDir m_dir;
    ScopedLogFolder m_log;
    PalmDesktopConfig m_old;
};

}  // namespace tabrel::test
