#include "DataFolder.h"

#include "velmora/Language.h"

#include <filesystem>
#include <system_error>

namespace velmora {

namespace fs = std::filesystem;

namespace {

bool holdsData(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder / "data", error) && fs::is_directory(folder / "Shader", error);
}

fs::path executableFolder() {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : executable.parent_path();
}

}  // namespace

DataFolderSearch findDataFolder(const std::string& givenFolder, const std::string& installedFromExecutable) {
    std::vector<fs::path> places;
    std::error_code error;
    if (!givenFolder.empty()) {
        places.push_back(fs::absolute(givenFolder, error));
    } else {
        places.push_back(fs::current_path(error));
        fs::path executable = executableFolder();
        if (!executable.empty()) {
            places.push_back(executable);
            places.push_back((executable / installedFromExecutable).lexically_normal());
        }
    }

    DataFolderSearch search;
    for (const fs::path& place : places) {
        search.tried.push_back(place.string());
        if (holdsData(place)) {
            search.found = place.string();
            break;
        }
    }
    return search;
}

std::string describeMissingData(const DataFolderSearch& search) {
    std::string places;
    for (const std::string& place : search.tried) places += "\n  " + place;
    return localized("The game's data (the folders data and Shader) was not found in:%s\nStart it with --data DIR to "
                     "name the folder that holds them.",
                     {places});
}

}  // namespace velmora
