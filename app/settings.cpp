#include "app/settings.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/ini_file.h"
#include "engine/text_helpers.h"
#include "engine/text_lines.h"

namespace verdel {

namespace {

constexpr const char* Section = "Startup";

// The keys in the order they are read and written; a key added later goes last,
// so that the lines of a file written before stay as they were.
struct TKey {
    const char* Name;
    bool TSettings::*Flag;
};
constexpr TKey Keys[] = {
    {"CylindersInsteadofBlocks", &TSettings::CylindersInsteadofBlocks},
    {"SetQToDrawCones", &TSettings::SetQToDrawCones},
    {"SetWToDrawBlocks", &TSettings::SetWToDrawBlocks},
    {"SetRToDrawPyramids", &TSettings::SetRToDrawPyramids},
    {"ShowStartText", &TSettings::ShowStartText},
    {"LiveNavigation", &TSettings::LiveNavigation},
    {"OpenModelsUpright", &TSettings::OpenModelsUpright},
};

constexpr const char* LayoutSection = "Layout";

void ReadLayout(TWindowLayout& Layout, const TIniFile& Ini)
{
    if (std::optional<std::string> value = Ini.Value(LayoutSection, "MainWindow")) Layout.MainWindow = *value;
    if (std::optional<std::string> value = Ini.Value(LayoutSection, "Docks")) Layout.Docks = *value;
    if (const std::optional<long long> value = Ini.Integer(LayoutSection, "RenderMode"))
        if (*value >= 0 && *value <= 2) Layout.RenderMode = static_cast<int>(*value);
    if (const std::optional<long long> value = Ini.Integer(LayoutSection, "LivePreview"))
        Layout.LivePreview = *value != 0;
}

void WriteLayout(const TWindowLayout& Layout, TIniFile& Ini)
{
    // Live preview turned off is kept from the moment it is chosen.
    if (!Layout.LivePreview || Ini.Value(LayoutSection, "LivePreview"))
        Ini.SetValue(LayoutSection, "LivePreview", Layout.LivePreview ? "1" : "0");
    if (Layout.MainWindow.empty()) return; // nothing saved yet: a new file keeps to the flags
    Ini.SetValue(LayoutSection, "MainWindow", Layout.MainWindow);
    Ini.SetValue(LayoutSection, "Docks", Layout.Docks);
    Ini.SetValue(LayoutSection, "RenderMode", std::to_string(Layout.RenderMode));
}

} // namespace

TSolidSettings SolidSettings(const TSettings& Settings)
{
    return {Settings.CylindersInsteadofBlocks, Settings.SetQToDrawCones, Settings.SetWToDrawBlocks,
            Settings.SetRToDrawPyramids};
}

std::string SettingsPath(const std::string& Folder)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Folder, error)) {
        const std::string name = entry.path().filename().string();
        if (SameTextAnyCase(name, SettingsFileName) && entry.is_regular_file(error)) return Folder + name;
    }
    return Folder + SettingsFileName;
}

void LoadSettings(TSettings& Settings, const std::string& Folder, TPrompt& Prompt, const std::string& InitialFile)
{
    std::string path = SettingsPath(Folder);
    if (!std::filesystem::exists(path) && !InitialFile.empty() && std::filesystem::is_regular_file(InitialFile)) {
        try {
            WriteFileText(path, ReadFileText(InitialFile));
        } catch (const std::exception&) {
            path = InitialFile; // read it where it is; saving reports the user's folder
        }
    }
    if (!std::filesystem::exists(path)) {
        Prompt.Message(std::string(SettingsFileName) + "\r\nFile not found\r\nDefault ini will be created");
        try {
            CreateDefaultSettings(Settings, Folder);
        } catch (const std::exception& error) {
            Prompt.Message(std::string("The settings could not be saved: ") + error.what() +
                           "\r\nVerdel goes on with the default settings.");
        }
        return;
    }
    std::string text;
    try {
        text = ReadFileText(path);
    } catch (const std::exception& error) {
        Prompt.Message(std::string("The settings could not be read: ") + error.what() +
                       "\r\nVerdel goes on with the default settings.");
        return;
    }
    ReadSettingsText(Settings, text);
}

void ReadSettingsText(TSettings& Flags, std::string_view Text)
{
    TIniFile ini;
    ini.Parse(std::string(Text));
    for (const TKey& key : Keys) {
        if (const std::optional<long long> value = ini.Integer(Section, key.Name)) Flags.*key.Flag = *value != 0;
    }
    ReadLayout(Flags.Layout, ini);
}

std::string WriteSettingsText(std::string_view Text, const TSettings& Flags)
{
    TIniFile ini;
    ini.Parse(std::string(Text));
    for (const TKey& key : Keys) ini.SetValue(Section, key.Name, Flags.*key.Flag ? "1" : "0");
    WriteLayout(Flags.Layout, ini);
    return ini.Text();
}

void SaveSettings(const TSettings& Settings, const std::string& Folder)
{
    const std::string path = SettingsPath(Folder);
    const std::string text = std::filesystem::exists(path) ? ReadFileText(path) : std::string();
    WriteFileText(path, WriteSettingsText(text, Settings));
}

void CreateDefaultSettings(const TSettings& Settings, const std::string& Folder)
{
    WriteFileText(SettingsPath(Folder), "");
    SaveSettings(Settings, Folder);
}

} // namespace verdel
