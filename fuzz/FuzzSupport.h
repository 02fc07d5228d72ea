#pragma once
// What the fuzz targets share: a scratch folder made once per process, into which an input
// is written as the file a reader opens, and the check that stops a run when an invariant
// breaks.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tabrel::fuzz {

class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tabrel-fuzz-XXXXXX");
        m_path = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string("/tmp");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes bytes as the file name in the folder (replacing what was there); its path.
    std::string Write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
        const std::string path = m_path + "/" + name;
        std::filesystem::remove_all(path);  // what a run before left there, a save's copy too
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

// The folder of the process, made at the first call.
inline const ScratchFolder& Scratch() {
    static const ScratchFolder folder;
    return folder;
}

// Ends the run as a crash would, so the fuzzer keeps the input, when an invariant fails.
inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

}  // namespace tabrel::fuzz
