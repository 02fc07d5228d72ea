#include "engine/AppSettings.h"

#include "misc/CxText.h"

namespace tabrel {

namespace {

template <class Settings>
auto& FileKey(Settings& settings, bool csv) {
    switch (settings.m_nApp) {
        case AppCalendar:
            return csv ? settings.m_szCsvDateFile : settings.m_szPmDateFile;
        case AppTasks:
            return csv ? settings.m_szCsvTodoFile : settings.m_szPmTodoFile;
        case AppMemos:
            return csv ? settings.m_szCsvMemoFile : settings.m_szPmMemoFile;
        default:
            return csv ? settings.m_szCsvAddrFile : settings.m_szPmAddrFile;
    }
}

std::string ReadText(const CxIniUtil& ini, const char* key, std::size_t maxChars,
                     const std::string& defaultText) {
    std::string value;
    ini.ReadString(kSettingsSection, key, value, maxChars + 1, defaultText);
    // A value cut to its width may end in blanks, which the file would not give back.
    return std::string(Trim(value));
}

}  // namespace

std::string& AppSettings::PmFile() {
    return FileKey(*this, false);
}
std::string& AppSettings::CsvFile() {
    return FileKey(*this, true);
}
const std::string& AppSettings::PmFile() const {
    return FileKey(*this, false);
}
const std::string& AppSettings::CsvFile() const {
    return FileKey(*this, true);
}

bool AppSettings::IsCsvUtf8() const {
    return EqualsNoCase(m_szCsvEncoding, kCsvEncodingUtf8);
}

void LoadSettings(const CxIniUtil& ini, AppSettings& settings) {
    const AppSettings defaults;
    const char* section = kSettingsSection;
    settings.m_nMode = ini.ReadInt(section, "Mode", defaults.m_nMode);
    settings.m_nApp = ini.ReadInt(section, "App", defaults.m_nApp);
    settings.m_nPmUserId = ini.ReadInt(section, "PmUserID", defaults.m_nPmUserId);
    settings.m_nPmDataMode = ini.ReadInt(section, "PmDataMode", defaults.m_nPmDataMode);
    settings.m_szPmAddrFile = ReadText(ini, "PmAddrFile", kSettingsPathMax, {});
    settings.m_szPmDateFile = ReadText(ini, "PmDateFile", kSettingsPathMax, {});
    settings.m_szPmTodoFile = ReadText(ini, "PmTodoFile", kSettingsPathMax, {});
    settings.m_szPmMemoFile = ReadText(ini, "PmMemoFile", kSettingsPathMax, {});
    settings.m_szCsvAddrFile = ReadText(ini, "CsvAddrFile", kSettingsPathMax, {});
    settings.m_szCsvDateFile = ReadText(ini, "CsvDateFile", kSettingsPathMax, {});
    settings.m_szCsvTodoFile = ReadText(ini, "CsvTodoFile", kSettingsPathMax, {});
    settings.m_szCsvMemoFile = ReadText(ini, "CsvMemoFile", kSettingsPathMax, {});
    settings.m_szQuoteMark = ReadText(ini, "QuoteMark", kQuoteMarkMax, defaults.m_szQuoteMark);
    settings.m_nAppendCsv = ini.ReadInt(section, "AppendCSV", defaults.m_nAppendCsv);
    settings.m_bEnableDebug = ini.ReadBool(section, "EnableDebug", defaults.m_bEnableDebug);
    settings.m_nLogLevel = ini.ReadInt(section, "LogLevel", defaults.m_nLogLevel);
    settings.m_bAddTitle = ini.ReadBool(section, "AddTitle", defaults.m_bAddTitle);
    settings.m_szCsvEncoding = ReadText(ini, "CsvEncoding", 15, defaults.m_szCsvEncoding);
    settings.m_bMakeBackup = ini.ReadBool(section, "MakeBackup", defaults.m_bMakeBackup);
}

bool SaveSettings(CxIniUtil& ini, const AppSettings& settings) {
    const char* section = kSettingsSection;
    bool written = true;
    const auto text = [&](const char* key, const std::string& value, std::size_t maxChars) {
        written = ini.WriteString(section, key, CutText(value, maxChars)) && written;
    };
    const auto number = [&](const char* key, int value) {
        written = ini.WriteInt(section, key, value) && written;
    };
    number("Mode", settings.m_nMode);
    number("App", settings.m_nApp);
    number("PmUserID", settings.m_nPmUserId);
    number("PmDataMode", settings.m_nPmDataMode);
    text("PmAddrFile", settings.m_szPmAddrFile, kSettingsPathMax);
    text("PmDateFile", settings.m_szPmDateFile, kSettingsPathMax);
    text("PmTodoFile", settings.m_szPmTodoFile, kSettingsPathMax);
    text("PmMemoFile", settings.m_szPmMemoFile, kSettingsPathMax);
    text("CsvAddrFile", settings.m_szCsvAddrFile, kSettingsPathMax);
    text("CsvDateFile", settings.m_szCsvDateFile, kSettingsPathMax);
    text("CsvTodoFile", settings.m_szCsvTodoFile, kSettingsPathMax);
    text("CsvMemoFile", settings.m_szCsvMemoFile, kSettingsPathMax);
    text("QuoteMark", settings.m_szQuoteMark, kQuoteMarkMax);
    number("AppendCSV", settings.m_nAppendCsv);
    written = ini.WriteBool(section, "EnableDebug", settings.m_bEnableDebug) && written;
    number("LogLevel", settings.m_nLogLevel);
    written = ini.WriteBool(section, "AddTitle", settings.m_bAddTitle) && written;
    text("CsvEncoding", settings.m_szCsvEncoding, 15);
    written = ini.WriteBool(section, "MakeBackup", settings.m_bMakeBackup) && written;
    return written;
}

}  // namespace tabrel
