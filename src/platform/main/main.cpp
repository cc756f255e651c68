// Program entry on Linux: the command line and the settings, then what the Windows loader
// does before WinMain.
#include "CommandLine.h"
#include "DataFolder.h"
#include "Utf8Arguments.h"
#include "velmora/Language.h"
#include "velmora/Platform.h"
#include "velmora/Printable.h"
#include "velmora/Replay.h"
#include "velmora/Settings.h"
#include "velmora/Utf8Path.h"

#include <windows.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// A distinct handle standing for the module; the game only passes it back to Windows.
HINSTANCE moduleInstance() {
    static char module;
    return reinterpret_cast<HINSTANCE>(&module);
}

// A path typed from the working folder, which may have been deleted under the shell.
bool makeAbsolute(std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(velmora::pathFromUtf8(path), error);
    if (error) {
        std::fputs(velmora::localized("velmora: cannot find %s from the working folder: %s\n",
                                      {velmora::printablePath(path), error.message()}).c_str(),
                   stderr);
        return false;
    }
    path = velmora::utf8FromPath(absolute);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Each message reaches a log at once, also while a box waits for the player: the C
    // runtime on Windows buffers a standard error that goes to a file.
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    // Past a file-size limit (ulimit -f) a write fails with EFBIG instead of ending the game,
    // also the libraries' own: a sound server's shared memory, the GPU driver's shader cache.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const velmora::Utf8Arguments arguments(argc, argv);
    velmora::CommandLine line = velmora::parseCommandLine(arguments.count(), arguments.values());
    switch (line.action) {
        case velmora::CommandLine::Action::Help:
            velmora::printUsage(stdout);
            return 0;
        case velmora::CommandLine::Action::Version:
            std::printf("velmora %s\n", VELMORA_VERSION);
            return 0;
        case velmora::CommandLine::Action::Invalid:
            std::fprintf(stderr, "velmora: %s\n", line.error.c_str());
            velmora::printUsage(stderr);
            return 2;
        case velmora::CommandLine::Action::Play:
            break;
    }

    velmora::Settings& settings = velmora::settings();
    velmora::loadSettingsFile(settings, velmora::settingsFilePath(), stderr);
    for (const auto& [name, value] : line.settings) {
        std::string problem;
        if (!velmora::applySetting(settings, name, value, problem)) {
            std::fprintf(stderr, "velmora: %s\n", problem.c_str());
            velmora::printUsage(stderr);
            return 2;
        }
    }

    // The player names replay files from where the game was started, not from the data
    // folder the game moves into; a recording that could not be kept is refused before the
    // play, not after it.
    if (!line.replayFile.empty() && !makeAbsolute(line.replayFile)) return 1;
    if (!line.recordFile.empty() && !makeAbsolute(line.recordFile)) return 1;

    velmora::selectBackend(velmora::Backend::Real);

    // Every file of the game is opened relative to the working directory.
    velmora::DataFolderSearch data = velmora::findDataFolder(line.dataDir, VELMORA_INSTALLED_DATA_FROM_EXECUTABLE);
    std::error_code moved;
    if (!data.found.empty()) std::filesystem::current_path(velmora::pathFromUtf8(data.found), moved);
    if (data.found.empty() || moved) {
        // One line for a terminal or a log; the box (or, without a display, its text on
        // standard error) for a player who started it from a menu.
        std::string places;
        for (const std::string& place : data.tried) places += (places.empty() ? "" : ", ") + velmora::printablePath(place);
        std::fputs(velmora::localized("velmora: no data/ and Shader/ in %s\n", {places}).c_str(), stderr);
        MessageBoxA(nullptr, velmora::describeMissingData(data).c_str(), "Velmora", MB_OK | MB_ICONERROR);
        return 1;
    }

    // Graphics too old to draw the game: told before anything is asked.
    std::string missing = velmora::missingGraphics();
    if (!missing.empty()) {
        std::fprintf(stderr, "velmora: %s\n", missing.c_str());
        MessageBoxA(nullptr, missing.c_str(), "Velmora", MB_OK | MB_ICONERROR);
        return 1;
    }

    // The game's first box is its start-up question; a remembered answer is given for it
    // (a replay has its recorded answer).
    if (settings.fullScreen != velmora::FullScreenChoice::Ask && line.replayFile.empty())
        velmora::answerNextMessageBox(settings.fullScreen == velmora::FullScreenChoice::Yes ? IDYES : IDNO);
    std::string problem;
    if (!line.replayFile.empty() && !velmora::replay::startReplay(line.replayFile, problem)) {
        std::fputs(velmora::localized("velmora: cannot replay %s: %s\n", {velmora::printablePath(line.replayFile), problem}).c_str(),
                   stderr);
        return 1;
    }
    if (!line.replayFile.empty() && velmora::replay::replayIsCut())
        std::fputs(velmora::localized("velmora: %s was cut short after %s frames (the game recording it was stopped); "
                                      "replaying them\n",
                                      {velmora::printablePath(line.replayFile), std::to_string(velmora::replay::replayFrames())})
                       .c_str(),
                   stderr);
    if (!line.recordFile.empty() && !velmora::replay::startRecording(line.recordFile, problem)) {
        std::fputs(velmora::localized("velmora: cannot record to %s: %s\n", {velmora::printablePath(line.recordFile), problem}).c_str(),
                   stderr);
        return 1;
    }
    char commandLine[] = "";
    int result = WinMain(moduleInstance(), nullptr, commandLine, SW_SHOWDEFAULT);
    if (!line.recordFile.empty() && !velmora::replay::finishRecording(problem)) {
        std::fprintf(stderr, "velmora: %s\n", problem.c_str());
        return 1;
    }
    return result;
}
