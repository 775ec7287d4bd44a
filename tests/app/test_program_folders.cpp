// Where Verdel keeps its data, output and settings, and what it remembers of the user's files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/file_history.h"
#include "app/program_folders.h"
#include "app/settings.h"
#include "support/files.h"
#include "support/scripted_prompt.h"

using namespace verdel;
using verdel::test::TScriptedPrompt;

namespace fs = std::filesystem;

namespace {

// A fresh folder tree for one test: Root/..., removed afterwards.
class TFolderTree : public ::testing::Test {
protected:
    static void Write(const std::string& file, const std::string& text)
    {
        fs::create_directories(fs::path(file).parent_path());
        test::WriteWholeFile(file, text);
    }

    const test::TTempFolder Folder{"folders"};
    const std::string Root = Folder.Path() + "/";
    const TUserFolders User = {Root + "home/.config/verdel/", Root + "home/Documents/Verdel/"};
};

const std::string StartupLines = "[Startup]\r\nCylindersInsteadofBlocks=0\r\nSetQToDrawCones=1\r\n";

} // namespace

// A program beside its data keeps everything there while it can write there.
// Tests run as root, who may write anywhere: a folder where the settings file
// should be stands for a program folder that cannot be written.
TEST_F(TFolderTree, AProgramBesideItsDataKeepsEverythingThereWhileItCanWrite)
{
    const std::string exe = Root + "bin/";
    fs::create_directories(exe + "textures");
    const TProgramFolders folders = LocateFolders(exe, User);
    EXPECT_EQ(folders.DataFolder, exe);
    EXPECT_EQ(folders.DefinitionFolder, exe + "vdfiles/");
    EXPECT_EQ(folders.NewDefinitionFolder, exe + "vdfiles/"); // missing, but it can be made
    EXPECT_EQ(folders.OutputFolder, exe + "output/");
    EXPECT_EQ(folders.SettingsFolder, exe);
    EXPECT_EQ(folders.InitialSettings, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(exe), fs::directory_iterator()), 1); // the probes left nothing

    fs::create_directories(exe + "Verdel5.ini");
    Write(exe + "output", "a file where the output folder should be");
    const TProgramFolders unwritable = LocateFolders(exe, User);
    EXPECT_EQ(unwritable.OutputFolder, User.DocumentsFolder);
    EXPECT_EQ(unwritable.NewDefinitionFolder, exe + "vdfiles/");
    EXPECT_EQ(unwritable.SettingsFolder, User.ConfigFolder);
    EXPECT_EQ(unwritable.InitialSettings, "");
    ASSERT_EQ(EnsureWorkFolders(unwritable), "");
    TSettings settings;
    TScriptedPrompt prompt;
    LoadSettings(settings, unwritable.SettingsFolder, prompt, unwritable.InitialSettings);
    EXPECT_TRUE(fs::is_regular_file(User.ConfigFolder + "Verdel5.ini"));
    EXPECT_TRUE(fs::is_directory(exe + "Verdel5.ini")); // nothing was written beside the program
}

TEST_F(TFolderTree, TheUsersFileStartsAsACopyOfTheOneBesideTheProgram)
{
    const std::string beside = Root + "bin/Verdel5.ini";
    Write(beside, StartupLines + "[Mine]\r\nx=y\r\n");
    TSettings settings;
    TScriptedPrompt prompt;
    fs::create_directories(User.ConfigFolder);
    LoadSettings(settings, User.ConfigFolder, prompt, beside);
    EXPECT_TRUE(prompt.Messages.empty());
    EXPECT_FALSE(settings.CylindersInsteadofBlocks);
    EXPECT_TRUE(settings.SetQToDrawCones);
    EXPECT_EQ(test::ReadWholeFile(User.ConfigFolder + "Verdel5.ini"), test::ReadWholeFile(beside));

    // Later changes go to the user's file only, keeping its lines.
    settings.ShowStartText = true;
    SaveSettings(settings, User.ConfigFolder);
    EXPECT_NE(test::ReadWholeFile(User.ConfigFolder + "Verdel5.ini").find("ShowStartText=1\r\nLiveNavigation=1\r\nOpenModelsUpright=1\r\n[Mine]\r\nx=y\r\n"), std::string::npos);
    EXPECT_EQ(test::ReadWholeFile(beside), StartupLines + "[Mine]\r\nx=y\r\n");
}

TEST_F(TFolderTree, AnInstalledProgramFindsItsDataInShareAndWritesToTheUsersFolders)
{
    const std::string prefix = Root + "prefix/";
    fs::create_directories(prefix + "bin");
    fs::create_directories(prefix + "share/verdel/textures");
    fs::create_directories(prefix + "share/verdel/vdfiles");
    Write(prefix + "bin/Verdel5.ini", StartupLines); // a settings file shipped beside the program

    const TProgramFolders folders = LocateFolders(prefix + "bin/", User);
    EXPECT_EQ(folders.ProgramFolder, prefix + "bin/");
    EXPECT_EQ(folders.DataFolder, prefix + "share/verdel/");
    EXPECT_EQ(folders.TexturesFolder, prefix + "share/verdel/textures/");
    EXPECT_EQ(folders.OutputFolder, User.DocumentsFolder);
    EXPECT_EQ(folders.NewDefinitionFolder, User.DocumentsFolder);
    // Even where it could write (tests run as root), nothing goes beside the installed program.
    EXPECT_EQ(folders.SettingsFolder, User.ConfigFolder);
    EXPECT_EQ(folders.InitialSettings, prefix + "bin/Verdel5.ini");
    EXPECT_EQ(DataFolderFor(prefix + "bin/"), prefix + "share/verdel/");
}

TEST_F(TFolderTree, UserFoldersComeFromTheEnvironment)
{
    const auto keep = [](const char* name) {
        const char* value = std::getenv(name);
        return std::pair<std::string, bool>(value ? value : "", value != nullptr);
    };
    const auto home = keep("HOME"), config = keep("XDG_CONFIG_HOME"), documents = keep("XDG_DOCUMENTS_DIR");
    setenv("HOME", (Root + "home").c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DOCUMENTS_DIR");
    const TUserFolders plain = UserFoldersFromEnvironment();
    Write(Root + "home/.config/user-dirs.dirs",
          "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    const TUserFolders named = UserFoldersFromEnvironment();
    setenv("XDG_CONFIG_HOME", (Root + "config").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (Root + "docs").c_str(), 1);
    const TUserFolders set = UserFoldersFromEnvironment();
    for (const auto& [name, value] :
         {std::pair{"HOME", home}, {"XDG_CONFIG_HOME", config}, {"XDG_DOCUMENTS_DIR", documents}})
        value.second ? setenv(name, value.first.c_str(), 1) : unsetenv(name);

    EXPECT_EQ(plain.ConfigFolder, Root + "home/.config/verdel/");
    EXPECT_EQ(plain.DocumentsFolder, Root + "home/Documents/Verdel/");
    EXPECT_EQ(named.DocumentsFolder, Root + "home/Dokumente/Verdel/");
    EXPECT_EQ(set.ConfigFolder, Root + "config/verdel/");
    EXPECT_EQ(set.DocumentsFolder, Root + "docs/Verdel/");
}

TEST(FileHistory, RecentFilesAreNewestFirstOnceAndAtMostEight)
{
    TFileHistory history;
    for (int i = 1; i <= 10; ++i) history.AddRecentFile("/f" + std::to_string(i) + ".vd");
    history.AddRecentFile("/f5.vd");
    const std::vector<std::string> expected = {"/f5.vd", "/f10.vd", "/f9.vd", "/f8.vd",
                                               "/f7.vd", "/f6.vd",  "/f4.vd", "/f3.vd"};
    EXPECT_EQ(history.RecentFiles, expected);
    history.RemoveRecentFile("/f10.vd");
    EXPECT_EQ(history.RecentFiles.size(), 7u);
    EXPECT_EQ(history.RecentFiles[1], "/f9.vd");

    history.RememberFolder(TFileKind::Picture, "/pictures/tree.jpg");
    EXPECT_EQ(history.FolderFor(TFileKind::Picture, "/output/"), "/pictures/");
    EXPECT_EQ(history.FolderFor(TFileKind::Model, "/output/"), "/output/");
}

TEST_F(TFolderTree, HistoryIsKeptInTheSettingsFileBesideItsOtherLines)
{
    const std::string folder = Root + "settings/";
    Write(folder + "Verdel5.ini", StartupLines + "[Mine]\r\nx=y\r\n");
    TFileHistory history;
    history.AddRecentFile("/a/one.vd");
    history.AddRecentFile("/b/two.dxf");
    history.RememberFolder(TFileKind::Definition, "/a/one.vd");
    SaveFileHistory(history, folder);

    const TFileHistory read = LoadFileHistory(folder);
    EXPECT_EQ(read.RecentFiles, history.RecentFiles);
    EXPECT_EQ(read.Folders, history.Folders);
    const std::string text = test::ReadWholeFile(folder + "Verdel5.ini");
    EXPECT_EQ(text.rfind(StartupLines + "[Mine]\r\nx=y\r\n", 0), 0u); // every earlier line kept, in order
    EXPECT_NE(text.find("[Recent Files]\r\nFile1=/b/two.dxf\r\nFile2=/a/one.vd\r\n"), std::string::npos);
    EXPECT_EQ(text.find("File3="), std::string::npos); // no empty slots added
    EXPECT_NE(text.find("[Folders]\r\nDefinitions=/a/\r\n"), std::string::npos);

    // A shorter list empties the slot it no longer uses; saving the settings keeps the history.
    history.RemoveRecentFile("/a/one.vd");
    SaveFileHistory(history, folder);
    SaveSettings(TSettings(), folder);
    EXPECT_EQ(LoadFileHistory(folder).RecentFiles, std::vector<std::string>{"/b/two.dxf"});
    EXPECT_NE(test::ReadWholeFile(folder + "Verdel5.ini").find("File2=\r\n"), std::string::npos);
}
