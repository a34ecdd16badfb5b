// The page installs itself for use without the network: sw.js keeps its files. Relative names
// keep it working under whatever folder a server puts it in. Once the game shows and its sounds
// are in, the page's own download is over (and in the browser's cache): then the worker is
// installed, or told that it may look for a new version.
(function () {
  'use strict';
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  var shown = new Promise(function (resolve) {
    window.addEventListener('tolvaro-first-frame', resolve);
  });
  Promise.all([shown, TolvaroWeb.soundsSettled]).then(function () {
    var worker = navigator.serviceWorker.controller;
    if (worker) worker.postMessage('loaded');
    return navigator.serviceWorker.register('sw.js');
  }).catch(function (e) {
    TolvaroWeb.installError = String(e);
  });
})();
