// web/pre.js: the page's storage. The state file lives in a folder kept in
// the browser's IndexedDB, read in before the game starts and written back
// after each save. Without IndexedDB (a private window may refuse it) the
// folder stays in memory: the game starts as with no state file at all.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdir('/state');
  FS.mount(IDBFS, {}, '/state');
  FS.chdir('/state');
  addRunDependency('state');
  FS.syncfs(true, function (error) {
    if (error) console.warn('Marvolet: saved state not readable, starting afresh', error);
    removeRunDependency('state');
  });
});

// One write-back at a time; a save during one is written by the next.
(function () {
  var busy = false, again = false;
  Module['marvoletFlush'] = function flush() {
    if (busy) { again = true; return; }
    busy = true;
    FS.syncfs(false, function (error) {
      if (error) console.warn('Marvolet: state not stored', error);
      busy = false;
      if (Module['onStateStored']) Module['onStateStored'](!error);
      if (again) { again = false; flush(); }
    });
  };
})();

// The game's own end (its quit choice, or an error it cannot go on from):
// the loop and the sound stop, and the page says so.
Module['quit'] = function (status, toThrow) {
  if (typeof Browser !== 'undefined') Browser.mainLoop.pause();
  if (typeof AL !== 'undefined' && AL.currentCtx) AL.currentCtx.audioCtx.suspend();
  if (Module['marvoletEnded']) Module['marvoletEnded'](status);
  throw toThrow;
};
