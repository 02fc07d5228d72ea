// The settings file: the input is read as norvane.ini, every setting taken from it; the
// settings written back and read again must be the same.

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "engine/AppSettings.h"
#include "misc/CxIniUtil.h"

namespace {

bool Same(const tabrel::AppSettings& a, const tabrel::AppSettings& b) {
    return a.m_nMode == b.m_nMode && a.m_nApp == b.m_nApp && a.m_nPmUserId == b.m_nPmUserId &&
           a.m_nPmDataMode == b.m_nPmDataMode && a.m_szPmAddrFile == b.m_szPmAddrFile &&
           a.m_szCsvMemoFile == b.m_szCsvMemoFile && a.m_szQuoteMark == b.m_szQuoteMark &&
           a.m_nAppendCsv == b.m_nAppendCsv && a.m_bEnableDebug == b.m_bEnableDebug &&
           a.m_nLogLevel == b.m_nLogLevel && a.m_bAddTitle == b.m_bAddTitle &&
           a.m_szCsvEncoding == b.m_szCsvEncoding && a.m_bMakeBackup == b.m_bMakeBackup;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tabrel;
    const fuzz::ScratchFolder& scratch = fuzz::Scratch();
    scratch.Write("norvane.ini", data, size);
    const std::string folder = scratch.File("");
    AppSettings read;
    {
        const CxIniUtil ini(folder, "norvane.ini");
        LoadSettings(ini, read);
    }
    bool written = false;
    {
        CxIniUtil ini(folder, "norvane.ini");
        written = SaveSettings(ini, read);
    }
    if (!written) {
        return 0;  // a file too large or not a file stays as it is
    }
    AppSettings again;
    const CxIniUtil ini(folder, "norvane.ini");
    LoadSettings(ini, again);
    fuzz::Require(Same(read, again), "settings written back read the same");
    return 0;
}
