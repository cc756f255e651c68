// velmora_replay under node: the game's files are the preloaded ones, at / as in the page,
// and the files named on the command line are the host's, read and written relative to
// node's working folder (the host's whole tree is mounted at /host).
var nodePath = require('path');
Module['arguments'] = process.argv.slice(2).map(function (arg) {
  return arg.startsWith('--') ? arg : '/host' + nodePath.resolve(arg);
});
Module['preRun'] = [function () {
  FS.mkdir('/host');
  FS.mount(NODEFS, { root: '/' }, '/host');
}];
