// web/pre.js: the page's storage, touches and the gestures that start
// sound. The state file lives in a folder kept in the browser's IndexedDB,
// read in before the game starts and written back after each save. Without
// IndexedDB (a private window may refuse it) the folder stays in memory: the
// game starts from localStorage's copy, or as with no state file at all.
//
// IndexedDB writes finish after the page may be gone, so each save is also
// kept in localStorage at once; a counter stored beside the state in both
// says which copy is newer. Only the tab holding the page's lock saves: two
// tabs writing their whole state would undo each other's games.
(function () {
  var kFile = '/state/.zorvexstate';
  var kCountFile = '/state/.zorvexstate.count';
  var kLocalKey = 'marvolet-state';
  var kLock = 'marvolet-state';
  // Why saving stopped, as the game's notices number them (host/web/web_game.cpp).
  var kAnotherCopy = 0, kStorageFull = 1, kStorageBlocked = 2;

  // Saves are allowed while this tab holds the lock and has read what the
  // last holder stored; without Web Locks the tab is taken to be the only one.
  var maySave = true;
  var count = 0;
  var ended = false;
  var told = [], untold = [];

  function trouble(cause, what, error) {
    if (error) {
      console.warn('Marvolet: ' + what, error);
    } else {
      console.warn('Marvolet: ' + what);
    }
    if (told[cause]) return;
    told[cause] = true;
    untold.push(cause);
  }
  function causeOf(error) {
    return error && (error.name === 'QuotaExceededError' || error.code === 22)
        ? kStorageFull : kStorageBlocked;
  }
  // The game asks at every update; -1 when there is nothing new to tell.
  Module['marvoletTakeTrouble'] = function () { return untold.length ? untold.shift() : -1; };
  Module['marvoletMaySave'] = function () { return maySave; };

  function readCount() {
    try {
      return parseInt(FS.readFile(kCountFile, {encoding: 'utf8'}), 10) || 0;
    } catch (e) {
      return 0;
    }
  }

  // IndexedDB's copy into the folder, replaced by localStorage's when that is newer.
  function readStored(then) {
    FS.syncfs(true, function (error) {
      if (error) trouble(causeOf(error), 'saved state not readable from IndexedDB', error);
      watchDatabase();
      count = readCount();
      var local = null;
      try {
        local = JSON.parse(localStorage.getItem(kLocalKey));
      } catch (e) {}
      if (local && typeof local.state === 'string' && local.count > count) {
        count = local.count;
        FS.writeFile(kFile, local.state);
        FS.writeFile(kCountFile, String(count));
      }
      then();
    });
  }

  // Held for the tab's life. A tab that finds it taken waits for it, then
  // reads the state again: the game merges its own changes into that.
  function takeLock(then) {
    var locks = navigator.locks;
    var forever = function () { return new Promise(function () {}); };
    var started = false;
    var start = function () {
      if (!started) { started = true; then(); }
    };
    if (!locks) return start();
    try {
      locks.request(kLock, {ifAvailable: true}, function (lock) {
        if (lock) {
          start();
          return forever();
        }
        maySave = false;
        trouble(kAnotherCopy, 'another tab is saving: this one will not until it closes');
        start();
        locks.request(kLock, function () {
          readStored(function () { maySave = true; });
          return forever();
        });
      }).catch(function (error) {
        console.warn('Marvolet: no lock between tabs', error);
        start();
      });
    } catch (error) {
      console.warn('Marvolet: no lock between tabs', error);
      start();
    }
  }

  Module['preRun'] = Module['preRun'] || [];
  Module['preRun'].push(function () {
    FS.mkdir('/state');
    FS.mount(IDBFS, {}, '/state');
    FS.chdir('/state');
    addRunDependency('state');
    var waiting = 2;
    var ready = function () {
      if (--waiting === 0) removeRunDependency('state');
    };
    takeLock(ready);
    readStored(ready);
  });

  // IDBFS passes some failed writes on as no error, and never answers when
  // the browser aborts its transaction (a full quota does): the database's
  // own events tell those.
  var watched = null, dropped = null, writing = null, again = false;
  function watchDatabase() {
    var db = IDBFS.dbs['/state'];
    if (!db || db === watched) return;
    watched = db;
    db.addEventListener('error', function (e) { dropped = dropped || e.target.error; });
    db.addEventListener('abort', function (e) {
      dropped = dropped || e.target.error || new Error('IndexedDB write aborted');
      if (writing) writing(null);
    });
  }

  // One write-back at a time; a save during one is written by the next.
  function write() {
    if (writing) { again = true; return; }
    dropped = null;
    var end = writing = function (error) {
      if (writing !== end) return;
      writing = null;
      error = error || dropped;
      if (error) trouble(causeOf(error), 'state not stored in IndexedDB', error);
      if (Module['onStateStored']) Module['onStateStored'](!error);
      if (again) { again = false; write(); }
    };
    FS.syncfs(false, function (error) {
      watchDatabase();
      end(error);
    });
  }

  // After each save the game stored in the folder.
  Module['marvoletFlush'] = function () {
    count += 1;
    try {
      FS.writeFile(kCountFile, String(count));
      var state = FS.readFile(kFile, {encoding: 'utf8'});
      localStorage.setItem(kLocalKey, JSON.stringify({count: count, state: state}));
    } catch (error) {
      trouble(causeOf(error), 'state not kept in localStorage', error);
    }
    write();
  };

  // A tab closed at once: the game records a game in progress or just ended
  // and saves, and localStorage has it before the page is gone. A page kept
  // in the back/forward cache may come back and go again.
  addEventListener('pagehide', function () {
    if (!maySave || ended || ABORT || !Module['calledRun']) return;
    try {
      Module['_marvolet_page_hide']();
    } catch (error) {
      console.warn('Marvolet: state not saved as the page closed', error);
    }
  });

  // Files fetched while the game runs: a package's files end to end in
  // NAME.data, where each lies in NAME.json (scripts/build-web). Each is
  // written into the file system once the whole package is here. A failed
  // download is tried again, ever later, so that a line that drops for a
  // while costs a wait, not the game. `arrived` is called once it is all in.
  Module['marvoletFetchPackage'] = function (name, arrived) {
    var wait = 1000;
    var answer = function (response) {
      if (!response.ok) throw new Error(name + ': HTTP ' + response.status);
      return response;
    };
    var attempt = function () {
      Promise.all([
        fetch(name + '.json').then(answer).then(function (r) { return r.json(); }),
        fetch(name + '.data').then(answer).then(function (r) { return r.arrayBuffer(); })
      ]).then(function (got) {
        var bytes = new Uint8Array(got[1]);
        if (bytes.length !== got[0].size) throw new Error(name + ': ' + bytes.length + ' bytes, not ' + got[0].size);
        got[0].files.forEach(function (file) {
          FS.mkdirTree(file.filename.replace(/\/[^\/]*$/, ''));
          FS.writeFile(file.filename, bytes.subarray(file.start, file.end));
        });
        arrived();
      }).catch(function (error) {
        if (ended) return;
        console.warn('Marvolet: ' + name + ' not fetched, trying again in ' + wait / 1000 + ' s', error);
        setTimeout(attempt, wait);
        wait = Math.min(2 * wait, 30000);
      });
    };
    attempt();
  };

  // The game's own end (its quit choice, or an error it cannot go on from):
  // the loop and the sound stop, and the page says so.
  Module['quit'] = function (status, toThrow) {
    ended = true;
    if (typeof Browser !== 'undefined') Browser.mainLoop.pause();
    if (typeof AL !== 'undefined' && AL.currentCtx) AL.currentCtx.audioCtx.suspend();
    if (Module['marvoletEnded']) Module['marvoletEnded'](status);
    throw toThrow;
  };

  // The game reads touches as touches: cancelled, the browser makes up no
  // mouse events or clicks from them. One it cannot cancel (while it
  // scrolls) is let be: cancelling that only draws a warning.
  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
    Module['canvas'].addEventListener(type, function (e) {
      if (e.cancelable) e.preventDefault();
    }, {passive: false});
  });

  // Browsers start sound only from a gesture, and phones count the end of a
  // touch, not its start (where the module's own listener tries, once).
  // Every such gesture tries again while the sound is held back.
  ['keydown', 'mousedown', 'touchend', 'pointerup', 'click'].forEach(function (type) {
    addEventListener(type, function () {
      if (ended || typeof AL === 'undefined' || !AL.currentCtx) return;
      var audio = AL.currentCtx.audioCtx;
      // Refused, it stays suspended for the next gesture.
      if (audio.state === 'suspended') audio.resume().catch(function () {});
    }, true);
  });
})();
