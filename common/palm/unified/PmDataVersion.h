#pragma once
// PmDataVersion: which generation of Palm Desktop storage a facade works with.

#include <cstdint>

namespace tabrel {

enum PmDataVersion : std::int32_t {
    PM_DATA_NONE = 0,       // nothing loaded, or an installed Palm Desktop too old to classify
    PM_DATA_CLASSIC = 1,    // Palm Desktop 4.1 and earlier: classic .dat files
    PM_DATA_EX = 2,         // Palm Desktop 4.1.x: "PalmSG Database" .dat files
    PM_DATA_EX2 = 3,        // Palm Desktop 6.x: Jet databases (.mdb)
    PM_DATA_INVALID = 255,  // the last check or load failed
};

// Whether a version names one of the three generations.
inline bool IsDataGeneration(PmDataVersion version) {
    return version == PM_DATA_CLASSIC || version == PM_DATA_EX || version == PM_DATA_EX2;
}

// The generation an installed Palm Desktop of version number V (major * 10000 + minor * 100
// + third part; all ones when it could not be read) keeps its data in. Below 3.5.0 the
// answer is oldAnswer: PM_DATA_NONE for Contacts and Memos, PM_DATA_CLASSIC for Calendar
// and Tasks.
inline PmDataVersion ClassifyInstalledVersion(std::uint32_t version, PmDataVersion oldAnswer) {
    if (version >= 60000) {
        return PM_DATA_EX2;
    }
    if (version >= 40102) {
        return PM_DATA_EX;
    }
    if (version >= 30500) {
        return PM_DATA_CLASSIC;
    }
    return oldAnswer;
}

}  // namespace tabrel
