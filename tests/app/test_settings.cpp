#include <gtest/gtest.h>

#include <filesystem>

#include "app/ini_file.h"
#include "app/settings.h"
#include "support/files.h"
#include "support/scripted_prompt.h"

using namespace verdel;
using verdel::test::ReadWholeFile;
using verdel::test::TScriptedPrompt;
using verdel::test::WriteWholeFile;

namespace {

// Loads the settings of Folder into a fresh set whose flags are as Start gives them.
TSettings Loaded(const std::string& folder, TScriptedPrompt& prompt, TSettings start = {})
{
    LoadSettings(start, folder, prompt);
    return start;
}

} // namespace

TEST(TIniFile, ChangesOnlyTheKeyItSets)
{
    TIniFile ini;
    ini.Parse(
        "; comment\r\n[Other]\r\nKey=keep\r\n\r\n[startup]\r\nsetqtodrawcones=0\r\nExtra=5\r\n\r\n[Last]\r\nA=1\r\n");
    EXPECT_EQ(ini.Value("STARTUP", "SetQToDrawCones"), "0");
    ini.SetValue("Startup", "SetQToDrawCones", "1");
    ini.SetValue("Startup", "ShowStartText", "0");
    EXPECT_EQ(ini.Text(), "; comment\r\n[Other]\r\nKey=keep\r\n\r\n[startup]\r\nSetQToDrawCones=1\r\nExtra=5\r\n"
                          "ShowStartText=0\r\n\r\n[Last]\r\nA=1\r\n");
    ini.SetValue("New", "K", "v");
    EXPECT_EQ(ini.Value("new", "k"), "v");

    // A byte-order mark does not hide the first section, and stays the file's.
    ini.Parse("\xEF\xBB\xBF[Startup]\r\nShowStartText=1\r\n");
    EXPECT_EQ(ini.Value("Startup", "ShowStartText"), "1");
    ini.SetValue("Startup", "ShowStartText", "0");
    EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[Startup]\r\nShowStartText=0\r\n");
}

TEST(LoadSettings, FirstStartCreatesTheFileWithTheDefaults)
{
    const test::TTempFolder folder("settings");
    TScriptedPrompt prompt;
    EXPECT_FALSE(Loaded(folder.Path() + "/", prompt).ShowStartText);
    EXPECT_EQ(prompt.Messages,
              std::vector<std::string>{"Verdel5.ini\r\nFile not found\r\nDefault ini will be created"});
    EXPECT_EQ(ReadWholeFile(folder / "Verdel5.ini"),
              "[Startup]\r\nCylindersInsteadofBlocks=1\r\nSetQToDrawCones=0\r\nSetWToDrawBlocks=0\r\n"
              "SetRToDrawPyramids=0\r\nShowStartText=0\r\nLiveNavigation=1\r\nOpenModelsUpright=1\r\n");
    TScriptedPrompt second;
    Loaded(folder.Path() + "/", second);
    EXPECT_TRUE(second.Messages.empty());
}

TEST(LoadSettings, ReadsFlagsWhateverTheNameCaseAndKeepsMissingOrUnreadableOnes)
{
    const test::TTempFolder folder("settings");
    const std::string path = folder.Path() + "/";
    WriteWholeFile(folder / "verdel5.INI", "[Startup]\r\nShowStartText=5\r\nSetQToDrawCones=0x1\r\n"
                                           "SetWToDrawBlocks=maybe\r\nCylindersInsteadofBlocks=0\r\n[Mine]\r\nx=y\r\n");
    TSettings start;
    start.SetWToDrawBlocks = true;
    TScriptedPrompt prompt;
    const TSettings settings = Loaded(path, prompt, start);
    EXPECT_TRUE(prompt.Messages.empty());
    EXPECT_TRUE(settings.ShowStartText); // any number but 0 is on
    EXPECT_TRUE(settings.SetQToDrawCones);
    EXPECT_TRUE(settings.SetWToDrawBlocks);    // not a whole number: unchanged
    EXPECT_FALSE(settings.SetRToDrawPyramids); // missing: unchanged
    EXPECT_FALSE(settings.CylindersInsteadofBlocks);
    EXPECT_TRUE(settings.LiveNavigation);

    // Saving adds the missing keys after the last one and keeps the other section, in the same file.
    SaveSettings(settings, path);
    const std::string text = ReadWholeFile(folder / "verdel5.INI");
    EXPECT_NE(text.find("CylindersInsteadofBlocks=0\r\nSetRToDrawPyramids=0\r\nLiveNavigation=1\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("SetWToDrawBlocks=1"), std::string::npos);
    EXPECT_NE(text.find("[Mine]\r\nx=y"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "Verdel5.ini"));

    // Once a signed overflow on negating the smallest value; "--5", "+-5" and
    // "0x-1F" were read as numbers. "off" is no whole number either.
    for (const char* value : {"--9223372036854775808", "--5", "+-5", "0x-1F", "-9223372036854775809", "off"}) {
        SCOPED_TRACE(value);
        WriteWholeFile(folder / "verdel5.INI", std::string("[Startup]\r\nLiveNavigation=") + value + "\r\n");
        EXPECT_TRUE(Loaded(path, prompt).LiveNavigation);
    }
    WriteWholeFile(folder / "verdel5.INI", "[Startup]\r\nLiveNavigation=0\r\n");
    EXPECT_FALSE(Loaded(path, prompt).LiveNavigation);
    EXPECT_TRUE(prompt.Messages.empty());
}

TEST(LoadSettings, UnwritableFileIsReportedOnceAndDefaultsStay)
{
    TScriptedPrompt prompt;
    const TSettings settings = Loaded("/no/such/folder/", prompt);
    ASSERT_EQ(prompt.Messages.size(), 2u);
    EXPECT_EQ(prompt.Messages[1],
              "The settings could not be saved: /no/such/folder/Verdel5.ini: No such file or directory\r\n"
              "Verdel goes on with the default settings.");
    EXPECT_TRUE(settings.CylindersInsteadofBlocks);
    EXPECT_FALSE(settings.ShowStartText);
}
