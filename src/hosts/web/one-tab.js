// One game per browser: two tabs playing on one IndexedDB would each write their own record
// table, and the tab that saved last would wipe out the other's new records. The tab that plays
// holds a Web Lock for as long as it lives (the browser lets go of it when the tab goes). Another
// tab shows a notice with a button that asks the playing tab, over a BroadcastChannel, to end its
// game as a closed tab does: save, sync IndexedDB, let go of the lock; then it plays, with the
// records just saved. A tab whose game was handed over shows the same notice.

var TolvaroOneTab = (function () {
  'use strict';
  var LOCK = 'tolvaro-game';
  var PLAY_HERE = 'play-here';
  // Set by the button in a tab whose game has ended: the reloaded tab asks at once.
  var ASKED = 'tolvaro:play-here';
  var channel = typeof BroadcastChannel === 'function' ? new BroadcastChannel('tolvaro') : null;
  var tab = { playing: false, noticeShown: false, handingOver: false, handedOver: false };
  var letGo = null;
  var notice = null;

  function showNotice() {
    if (!notice) {
      notice = document.createElement('div');
      notice.id = 'other-tab';
      notice.className = 'sign';
      notice.style.cssText = 'left:50%;top:50%;transform:translate(-50%,-50%);pointer-events:auto;' +
        'text-align:center;padding:18px 26px;font-size:20px;line-height:30px;background:#000;';
      notice.appendChild(document.createTextNode('游戏已经在另一个标签页中打开了'));
      var button = document.createElement('button');
      button.textContent = '在这里玩';
      button.style.cssText = 'display:block;margin:14px auto 0;font:inherit;cursor:pointer;' +
        'color:#000;background:rgb(245,71,181);border:0;border-radius:9px;padding:4px 22px;';
      button.addEventListener('click', playHere);
      notice.appendChild(button);
      document.getElementById('stage').appendChild(notice);
    }
    notice.style.display = 'block';
    tab.noticeShown = true;
  }

  function hideNotice() {
    if (notice) notice.style.display = 'none';
    tab.noticeShown = false;
  }

  function playHere() {
    // A program that has run cannot start again in this page: the reloaded page asks.
    if (tab.handedOver) {
      sessionStorage.setItem(ASKED, '1');
      location.reload();
      return;
    }
    if (channel) channel.postMessage(PLAY_HERE);
  }

  // Holds the lock until the game is handed over, and starts it.
  function hold(start) {
    return new Promise(function (resolve) {
      letGo = resolve;
      tab.playing = true;
      hideNotice();
      start();
    });
  }

  // Calls start once this tab may play.
  tab.whenPlaying = function (start) {
    if (!navigator.locks) { start(); return; }
    navigator.locks.request(LOCK, { ifAvailable: true }, function (lock) {
      if (lock) return hold(start);
      var asked = sessionStorage.getItem(ASKED);
      sessionStorage.removeItem(ASKED);
      if (asked) playHere(); else showNotice();
      // Granted when the other tab hands over or closes.
      navigator.locks.request(LOCK, function () { return hold(start); });
      return null;
    });
  };

  function handOver() {
    // A game still loading is let run first, so that it cannot start after handing over.
    if (!TolvaroWeb.firstFrameAt && !TolvaroWeb.ended) { setTimeout(handOver, 100); return; }
    var release = letGo;
    letGo = null;
    tab.playing = false;
    tab.handedOver = true;
    TolvaroWeb.endAndSave(function () {
      showNotice();
      release();
    });
  }

  if (channel) {
    channel.onmessage = function (e) {
      if (e.data === PLAY_HERE && letGo && !tab.handingOver) {
        tab.handingOver = true;
        handOver();
      }
    };
  }
  return tab;
})();
