// The page installs itself for use without the network: sw.js keeps its files. Relative names
// keep it working under whatever folder a server puts it in.
(function () {
  'use strict';
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  navigator.serviceWorker.register('sw.js').catch(function (e) {
    TolvaroWeb.installError = String(e);
  });
})();
