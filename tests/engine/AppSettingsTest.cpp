// The settings record: defaults, every key read and written, the per-application keys.

#include <gtest/gtest.h>

#include "engine/AppSettings.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

TEST(AppSettings, DefaultsWithoutAFile) {
    TempDir dir;
    const CxIniUtil ini(dir.Folder() + "/", "norvane.ini");
    AppSettings settings;
    settings.m_nMode = 9;
    LoadSettings(ini, settings);
    EXPECT_EQ(settings.m_nMode, ModePalmToCsv);
    EXPECT_EQ(settings.m_nApp, AppContacts);
    EXPECT_EQ(settings.m_nPmDataMode, PmDataByUser);
    EXPECT_EQ(settings.m_szQuoteMark, "\"");
    EXPECT_EQ(settings.m_nAppendCsv, 0);
    EXPECT_FALSE(settings.m_bAddTitle);
    EXPECT_FALSE(settings.m_bEnableDebug);
    EXPECT_EQ(settings.m_nLogLevel, 3);
    EXPECT_FALSE(settings.IsCsvUtf8());
}

TEST(AppSettings, KeysReadBackAndAreCut) {
    TempDir dir;
    CxIniUtil ini(dir.Folder() + "/", "norvane.ini");
    AppSettings settings;
    settings.m_nMode = ModeCsvToPalm;
    settings.m_nApp = AppTasks;
    settings.m_nPmUserId = 7;
    settings.m_nPmDataMode = PmDataByFile;
    settings.PmFile() = std::string(300, 'p');
    settings.CsvFile() = "/tmp/tasks.csv";
    settings.m_szQuoteMark = "";
    settings.m_nAppendCsv = 1;
    settings.m_bEnableDebug = true;
    settings.m_nLogLevel = 1;
    settings.m_bAddTitle = true;
    settings.m_szCsvEncoding = "utf-8";
    ASSERT_TRUE(SaveSettings(ini, settings));

    AppSettings read;
    LoadSettings(ini, read);
    EXPECT_EQ(read.m_nMode, ModeCsvToPalm);
    EXPECT_EQ(read.m_nApp, AppTasks);
    EXPECT_EQ(read.m_nPmUserId, 7);
    EXPECT_EQ(read.m_nPmDataMode, PmDataByFile);
    EXPECT_EQ(read.m_szPmTodoFile, std::string(259, 'p'));
    EXPECT_EQ(read.PmFile(), std::string(259, 'p'));
    EXPECT_EQ(read.m_szCsvTodoFile, "/tmp/tasks.csv");
    EXPECT_EQ(read.m_szPmAddrFile, "");
    // Present but empty: no quotation mark.
    EXPECT_EQ(read.m_szQuoteMark, "");
    EXPECT_EQ(read.m_nAppendCsv, 1);
    EXPECT_TRUE(read.m_bEnableDebug);
    EXPECT_EQ(read.m_nLogLevel, 1);
    EXPECT_TRUE(read.m_bAddTitle);
    EXPECT_TRUE(read.IsCsvUtf8());

    // The keys of the file, in their order.
    const std::string text = ReadTextFile(dir.File("norvane.ini"));
    std::size_t at = 0;
    for (const char* key :
         {"Mode=", "App=", "PmUserID=", "PmDataMode=", "PmAddrFile=", "PmDateFile=", "PmTodoFile=",
          "PmMemoFile=", "CsvAddrFile=", "CsvDateFile=", "CsvTodoFile=", "CsvMemoFile=",
          "QuoteMark=", "AppendCSV=", "EnableDebug=", "LogLevel=", "AddTitle=", "CsvEncoding="}) {
        const std::size_t found = text.find(key, at);
        ASSERT_NE(found, std::string::npos) << key;
        at = found;
    }

    // A quotation mark is kept to 7 characters; the per-application keys follow App.
    read.m_szQuoteMark = "#########";
    read.m_nApp = AppMemos;
    read.CsvFile() = "memos.csv";
    ASSERT_TRUE(SaveSettings(ini, read));
    LoadSettings(ini, settings);
    EXPECT_EQ(settings.m_szQuoteMark, "#######");
    EXPECT_EQ(settings.m_szCsvMemoFile, "memos.csv");
    EXPECT_EQ(settings.m_szCsvTodoFile, "/tmp/tasks.csv");
}

}  // namespace tabrel
