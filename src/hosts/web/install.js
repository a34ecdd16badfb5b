// The page installs itself for use without the network: sw.js keeps its files. Relative names
// keep it working under whatever folder a server puts it in. It starts once the game shows, when
// the page's own download is over and the browser's cache holds it.
(function () {
  'use strict';
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  window.addEventListener('tolvaro-first-frame', function () {
    navigator.serviceWorker.register('sw.js').catch(function (e) {
      TolvaroWeb.installError = String(e);
    });
  });
})();
