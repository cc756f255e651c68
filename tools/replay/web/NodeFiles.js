// velmora_replay under node: the game's files are the preloaded ones, at / as in the page,
// and the files named on the command line are the host's, read and written relative to
// node's working folder (the host's whole tree is mounted at /host).
// (A name of its own: emscripten's loader has a nodePath, which it sets together with fs.)
var hostPath = require('path');
Module['arguments'] = process.argv.slice(2).map(function (arg) {
  return arg.startsWith('--') ? arg : '/host' + hostPath.resolve(arg);
});
// Added to the data's loader, which waits in preRun too.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdir('/host');
  FS.mount(NODEFS, { root: '/' }, '/host');
});
