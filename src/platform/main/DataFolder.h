// Where the game's files are. The game opens data/ and Shader/ relative to its working
// directory, so the process moves into the first folder that holds both.
#pragma once

#include <string>
#include <vector>

namespace velmora {

struct DataFolderSearch {
    std::string found;               // empty when no place holds the data
    std::vector<std::string> tried;  // in the order looked at, for the player
};

// The folder given on the command line if there is one (and then only it: a wrong --data
// should not quietly start another copy), else the working directory, the executable's
// own folder and the installed data folder, which lies at installedFromExecutable from
// the executable's folder (none where the data always sits beside the executable). The
// folders are in UTF-8.
DataFolderSearch findDataFolder(const std::string& givenFolder, const std::string& installedFromExecutable);

// What the player is told when the search found nothing.
std::string describeMissingData(const DataFolderSearch& search);

}  // namespace velmora
