#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/ini_file.h"
#include "app/settings.h"
#include "support/scripted_prompt.h"

using namespace verdel;
using verdel::test::TScriptedPrompt;

namespace {

// A fresh folder for one test's settings file.
class TSettingsFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = ::testing::TempDir() + "verdel-settings-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::remove_all(Folder);
        std::filesystem::create_directories(Folder);
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }

    std::string Read(const std::string& name = "Verdel5.ini") const
    {
        std::ifstream in(Folder + name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(Folder + name, std::ios::binary) << text;
    }

    std::string Folder;
};

} // namespace

TEST(TIniFile, IntegersAreDecimalOrHexadecimal)
{
    TIniFile ini;
    ini.Parse("[S]\r\na=1\r\nb= 0 \r\nc=-3\r\nd=0x1F\r\ne=0X0\r\n");
    EXPECT_EQ(ini.Integer("S", "a"), 1);
    EXPECT_EQ(ini.Integer("S", "b"), 0);
    EXPECT_EQ(ini.Integer("S", "c"), -3);
    EXPECT_EQ(ini.Integer("S", "d"), 31);
    EXPECT_EQ(ini.Integer("S", "e"), 0);
    EXPECT_EQ(ini.Integer("S", "missing"), std::nullopt);
    for (const char* bad : {"", "yes", "1.5", "0x", "1 2", "0xG"}) {
        ini.SetValue("S", "bad", bad);
        EXPECT_FALSE(ini.Integer("S", "bad")) << bad;
    }
}

// Once a signed overflow on negating the smallest value; "--5", "+-5" and
// "0x-1F" were read as numbers.
TEST_F(TSettingsFolder, RegressionASecondSignLeavesTheFlagUnchanged)
{
    for (const char* value : {"--9223372036854775808", "--5", "+-5", "0x-1F", "-9223372036854775809"}) {
        SCOPED_TRACE(value);
        Write("Verdel5.ini", std::string("[Startup]\r\nCylindersInsteadofBlocks=") + value + "\r\n");
        TSettings settings;
        settings.CylindersInsteadofBlocks = false;
        TScriptedPrompt prompt;
        LoadSettings(settings, Folder, prompt);
        EXPECT_TRUE(prompt.Messages.empty());
        EXPECT_FALSE(settings.CylindersInsteadofBlocks);
    }
}

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

TEST_F(TSettingsFolder, FirstStartCreatesTheFileWithTheDefaults)
{
    TSettings settings;
    TScriptedPrompt prompt;
    LoadSettings(settings, Folder, prompt);
    EXPECT_EQ(prompt.Messages,
              std::vector<std::string>{"Verdel5.ini\r\nFile not found\r\nDefault ini will be created"});
    EXPECT_EQ(Read(), "[Startup]\r\nCylindersInsteadofBlocks=1\r\nSetQToDrawCones=0\r\nSetWToDrawBlocks=0\r\n"
                      "SetRToDrawPyramids=0\r\nShowStartText=0\r\nLiveNavigation=1\r\nOpenModelsUpright=1\r\n");
    EXPECT_FALSE(settings.ShowStartText);

    TScriptedPrompt second;
    LoadSettings(settings, Folder, second);
    EXPECT_TRUE(second.Messages.empty());
}

TEST_F(TSettingsFolder, ReadsFlagsWhateverTheNameCaseAndKeepsMissingOnes)
{
    Write("verdel5.INI", "[Startup]\r\nShowStartText=5\r\nSetQToDrawCones=0x1\r\nSetWToDrawBlocks=maybe\r\n"
                         "CylindersInsteadofBlocks=0\r\n[Mine]\r\nx=y\r\n");
    TSettings settings;
    settings.SetWToDrawBlocks = true;
    TScriptedPrompt prompt;
    LoadSettings(settings, Folder, prompt);
    EXPECT_TRUE(prompt.Messages.empty());
    EXPECT_TRUE(settings.ShowStartText); // any number but 0 is on
    EXPECT_TRUE(settings.SetQToDrawCones);
    EXPECT_TRUE(settings.SetWToDrawBlocks);    // not a whole number: unchanged
    EXPECT_FALSE(settings.SetRToDrawPyramids); // missing: unchanged
    EXPECT_FALSE(settings.CylindersInsteadofBlocks);

    // Saving adds the missing key and keeps the other section, in the same file.
    SaveSettings(settings, Folder);
    const std::string text = Read("verdel5.INI");
    EXPECT_NE(text.find("SetRToDrawPyramids=0"), std::string::npos);
    EXPECT_NE(text.find("SetWToDrawBlocks=1"), std::string::npos);
    EXPECT_NE(text.find("[Mine]\r\nx=y"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Folder + "Verdel5.ini"));
}

TEST_F(TSettingsFolder, LiveNavigationIsOnUnlessTheFileSaysOffAndJoinsAnOlderFileAtTheEnd)
{
    // A file written before the key existed: live navigation stays on, and
    // saving keeps every line, adding the new key after the last one.
    const std::string older = "[Startup]\r\nCylindersInsteadofBlocks=0\r\nSetQToDrawCones=1\r\nSetWToDrawBlocks=0\r\n"
                              "SetRToDrawPyramids=1\r\nShowStartText=1\r\n";
    Write("Verdel5.ini", older);
    TSettings settings;
    TScriptedPrompt prompt;
    LoadSettings(settings, Folder, prompt);
    EXPECT_TRUE(settings.LiveNavigation);
    SaveSettings(settings, Folder);
    EXPECT_EQ(Read(), older + "LiveNavigation=1\r\nOpenModelsUpright=1\r\n");

    for (const auto& [value, on] :
         std::vector<std::pair<std::string, bool>>{{"0", false}, {"1", true}, {"off", true}}) {
        SCOPED_TRACE(value);
        Write("Verdel5.ini", "[Startup]\r\nLiveNavigation=" + value + "\r\n");
        TSettings read;
        LoadSettings(read, Folder, prompt);
        EXPECT_EQ(read.LiveNavigation, on); // "off" is no whole number: the default stays
    }
    TSettings off;
    off.LiveNavigation = false;
    SaveSettings(off, Folder);
    EXPECT_NE(Read().find("LiveNavigation=0\r\n"), std::string::npos);
}

TEST(LoadSettings, UnwritableFileIsReportedOnceAndDefaultsStay)
{
    TSettings settings;
    TScriptedPrompt prompt;
    LoadSettings(settings, "/no/such/folder/", prompt);
    ASSERT_EQ(prompt.Messages.size(), 2u);
    EXPECT_EQ(prompt.Messages[1],
              "The settings could not be saved: /no/such/folder/Verdel5.ini: No such file or directory\r\n"
              "Verdel goes on with the default settings.");
    EXPECT_TRUE(settings.CylindersInsteadofBlocks);
    EXPECT_FALSE(settings.ShowStartText);
}
