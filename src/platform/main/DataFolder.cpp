#include "DataFolder.h"

#include "velmora/Language.h"
#include "velmora/Utf8Path.h"
#include <SDL.h>

#include <filesystem>
#include <system_error>

namespace velmora {

namespace fs = std::filesystem;

namespace {

bool holdsData(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder / "data", error) && fs::is_directory(folder / "Shader", error);
}

// SDL asks the system (/proc/self/exe, GetModuleFileName) and answers in UTF-8.
fs::path executableFolder() {
    char* base = SDL_GetBasePath();
    if (!base) return fs::path();
    fs::path folder = pathFromUtf8(base).parent_path();
    SDL_free(base);
    return folder;
}

}  // namespace

DataFolderSearch findDataFolder(const std::string& givenFolder, const std::string& installedFromExecutable) {
    std::vector<fs::path> places;
    std::error_code error;
    if (!givenFolder.empty()) {
        places.push_back(fs::absolute(pathFromUtf8(givenFolder), error));
    } else {
        places.push_back(fs::current_path(error));
        fs::path executable = executableFolder();
        if (!executable.empty()) {
            places.push_back(executable);
            if (!installedFromExecutable.empty())
                places.push_back((executable / installedFromExecutable).lexically_normal());
        }
    }

    DataFolderSearch search;
    for (const fs::path& place : places) {
        search.tried.push_back(utf8FromPath(place));
        if (holdsData(place)) {
            search.found = utf8FromPath(place);
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
