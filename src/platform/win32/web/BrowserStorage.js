// Linked into velmora.js before the game (--pre-js). The settings folder lives in the
// browser's storage (IndexedDB, through IDBFS): it is read before the game starts, and
// copied back after each save of the menu, all of its files in one transaction, so that a
// page closed in the middle keeps the old file or the new one. Where the browser refuses
// storage (blocked, or no IndexedDB), the game plays with its defaults and says so.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
    var folder = '/home/web_user/.config/velmora';
    FS.mkdirTree(folder);
    FS.mount(IDBFS, {}, folder);
    addRunDependency('settings');
    FS.syncfs(true, function (error) {
        if (error) {
            Module.storageRefused = true;
            console.log('The browser keeps no storage for this page (' + error + '): settings will not be kept');
        }
        removeRunDependency('settings');
    });
});

// One copy at a time; a save made meanwhile is copied after it.
Module.settingsCopies = 0;
Module.copySettingsToStorage = function () {
    if (Module.storageRefused) return;
    if (Module.copyingSettings) {
        Module.settingsCopyWaits = true;
        return;
    }
    Module.copyingSettings = true;
    FS.syncfs(false, function (error) {
        Module.copyingSettings = false;
        if (error) console.log('The settings were not copied to the browser\'s storage: ' + error);
        else Module.settingsCopies += 1;
        if (Module.settingsCopyWaits) {
            Module.settingsCopyWaits = false;
            Module.copySettingsToStorage();
        }
    });
};
