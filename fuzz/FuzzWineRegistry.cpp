// The Wine registry reader and the palm.exe version reader: the input is read as a
// user.reg for the Palm Desktop keys, and as a program file for its version.

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "misc/WinUtil.h"
#include "misc/WineRegistry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabrel;
    const std::string path = fuzz::Scratch().Write("user.reg", data, size);
    for (const char* key :
         {"Software\\U.S. Robotics\\Pilot Desktop\\Core", "Software\\Palm\\Palm Desktop"}) {
        if (const auto found = ReadWineRegistryKey(path, key)) {
            fuzz::Require(found->GetCount() <= size, "no more values than bytes");
        }
    }
    GetFileVersion(path);
    return 0;
}
