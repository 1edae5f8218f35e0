#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "settings/settings_file.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/temp_folder.h"

namespace pelimon {
namespace {

using test::TempFolder;

EnvLookup FakeEnvironment(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
        const auto found = variables.find(name);
        if (found == variables.end() || found->second.empty()) {
            return std::nullopt;
        }
        return found->second;
    };
}

TEST(ProfilePath, FollowsTheEnvironmentAndTheExeFolder) {
    TempFolder folder;
    const std::string writable_exe = folder / "pelimon";
    // A folder below a regular file cannot be written, whoever runs the test.
    folder.Write("file", "x");
    const std::string unwritable_exe = folder / "file/bin/pelimon";
    struct Row {
        const char* name;
        std::string module_path;
        std::map<std::string, std::string> env;
        std::string expected;
    };
    const Row rows[] = {
        {"PELIMON_INI wins", writable_exe, {{"PELIMON_INI", "/etc/custom.ini"}}, "/etc/custom.ini"},
        {"empty PELIMON_INI is unset", writable_exe, {{"PELIMON_INI", ""}}, folder / "pelimon.ini"},
        {"portable", writable_exe, {{"HOME", "/home/u"}}, folder / "pelimon.ini"},
        {"XDG_CONFIG_HOME",
         unwritable_exe,
         {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}},
         "/cfg/pelimon/pelimon.ini"},
        {"default config home", unwritable_exe, {{"HOME", "/home/u"}}, "/home/u/.config/pelimon/pelimon.ini"},
        // An installed program is never portable, even for root, who may write into /usr/bin.
        {"installed", "/usr/bin/pelimon", {{"HOME", "/root"}}, "/root/.config/pelimon/pelimon.ini"},
        {"installed locally", "/usr/local/bin/pelimon", {{"HOME", "/root"}}, "/root/.config/pelimon/pelimon.ini"},
        {"relative XDG_CONFIG_HOME ignored",
         unwritable_exe,
         {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "cfg"}},
         "/home/u/.config/pelimon/pelimon.ini"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ResolveProfilePath(row.module_path, FakeEnvironment(row.env)), row.expected);
    }
}

TEST(ProfilePath, ReadOnlyExeFolderUsesTheConfigFolder) {
    TempFolder folder;
    const std::string bin = folder / "bin";
    std::filesystem::create_directory(bin);
    const test::ReadOnlyFolder read_only(bin);
    ASSERT_TRUE(read_only.ok()) << read_only.why();
    EXPECT_EQ(ResolveProfilePath(bin + "/pelimon", FakeEnvironment({{"HOME", "/home/u"}})),
              "/home/u/.config/pelimon/pelimon.ini");
}

TEST(ProfilePath, CurrentModuleIsThisTestProgram) {
    const std::string module = CurrentModulePath();
    ASSERT_FALSE(module.empty());
    EXPECT_EQ(module.front(), '/');
    EXPECT_TRUE(std::filesystem::is_regular_file(module));
}

TEST(DefaultImageFolder, ExeFolderInPortableUseElseThePicturesFolder) {
    TempFolder folder;
    const std::string home = folder / "home";
    const std::string pictures = home + "/Bilder";
    const std::string env_pictures = folder / "envpics";
    std::filesystem::create_directories(pictures);
    std::filesystem::create_directories(env_pictures);
    folder.Write(
        "home/.config/user-dirs.dirs",
        "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    const std::string other_home = folder / "other";
    std::filesystem::create_directories(other_home);

    AppSettings portable;
    portable.ModulePath = folder / "app/pelimon";
    portable.ProfilePath = folder / "app/pelimon.ini";
    AppSettings installed;
    installed.ModulePath = "/usr/bin/pelimon";
    installed.ProfilePath = home + "/.config/pelimon/pelimon.ini";

    struct Row {
        const char* name;
        const AppSettings& settings;
        std::map<std::string, std::string> env;
        std::string expected;
    };
    const Row rows[] = {
        {"portable", portable, {{"HOME", home}}, folder / "app/"},
        {"XDG_PICTURES_DIR", installed, {{"HOME", home}, {"XDG_PICTURES_DIR", env_pictures}}, env_pictures + "/"},
        {"user-dirs.dirs", installed, {{"HOME", home}}, pictures + "/"},
        {"missing pictures folder", installed, {{"HOME", other_home}}, other_home + "/"},
        {"XDG_PICTURES_DIR that does not exist",
         installed,
         {{"HOME", other_home}, {"XDG_PICTURES_DIR", folder / "none"}},
         other_home + "/"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DefaultImageFolder(row.settings, FakeEnvironment(row.env)), row.expected);
    }
}

}  // namespace
}  // namespace pelimon
