#pragma once
// AppSettings: the user's choices, kept in the section "Tabrel" of the settings file and
// read and written as a whole.

#include <cstdint>
#include <string>

#include "misc/CxIniUtil.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

enum Mode : int { ModePalmToCsv = 1, ModeCsvToPalm = 2 };
enum PmDataMode : int { PmDataByUser = 1, PmDataByFile = 2 };

inline constexpr const char* kSettingsSection = "Tabrel";
// Texts that name files keep at most this many characters; the quotation mark at most 7.
inline constexpr std::size_t kSettingsPathMax = 259;
inline constexpr std::size_t kQuoteMarkMax = 7;
// A custom quotation mark typed on the source page keeps its first 6 characters.
inline constexpr std::size_t kCustomQuoteMax = 6;

// The text encoding of CSV files: the bytes as the Palm Desktop data holds them (the ANSI
// code page), or UTF-8 converted at the CSV boundary.
inline constexpr const char* kCsvEncodingAnsi = "ANSI";
inline constexpr const char* kCsvEncodingUtf8 = "UTF-8";

struct AppSettings {
    int m_nMode = ModePalmToCsv;
    int m_nApp = AppContacts;
    int m_nPmUserId = 0;
    int m_nPmDataMode = PmDataByUser;
    std::string m_szPmAddrFile;
    std::string m_szPmDateFile;
    std::string m_szPmTodoFile;
    std::string m_szPmMemoFile;
    std::string m_szCsvAddrFile;
    std::string m_szCsvDateFile;
    std::string m_szCsvTodoFile;
    std::string m_szCsvMemoFile;
    std::string m_szQuoteMark = "\"";
    int m_nAppendCsv = 0;
    bool m_bEnableDebug = false;
    int m_nLogLevel = 3;
    bool m_bAddTitle = false;
    std::string m_szCsvEncoding = kCsvEncodingAnsi;
    // Whether a conversion into a Palm Desktop file first keeps a copy of it beside it.
    bool m_bMakeBackup = true;

    // The Palm Desktop file and CSV file keys of the current application.
    std::string& PmFile();
    std::string& CsvFile();
    const std::string& PmFile() const;
    const std::string& CsvFile() const;

    // Whether CSV files are UTF-8 (any other value of CsvEncoding means ANSI).
    bool IsCsvUtf8() const;
};

// Reads every key (a missing one, or an empty integer, takes its default).
void LoadSettings(const CxIniUtil& ini, AppSettings& settings);
// Writes every key, in the order they are read; false when the file could not be written.
bool SaveSettings(CxIniUtil& ini, const AppSettings& settings);

}  // namespace tabrel
