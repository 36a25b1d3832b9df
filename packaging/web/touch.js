// The page on a touch screen. A finger on the picture reaches the game as one of its touch
// fingers (the first doubles as the left mouse button, so a tap chooses a menu line as a click
// does). From the first touch on, on-screen controls sit beside the picture (below it when the
// screen stands upright) and press the keys the player bound to each control.
(function () {
  'use strict';

  // The controls' numbers in the game's settings.
  var CONTROL = { up: 0, down: 1, left: 2, right: 3, pause: 4, fullScreen: 6 };
  // The room the controls take: a column each side in landscape, a band below in portrait
  // (CSS pixels; the buttons are 48 pixels, see index.html).
  var COLUMN = 160;
  var BAND = 176;

  function install(canvas, relayout) {
    var pad = document.getElementById('pad');
    var keys = document.getElementById('keys');
    var fullScreen = document.getElementById('fullscreen');
    var shown = false;
    // Canvas fingers by the browser's touch identifier, and the game finger each one holds.
    var fingers = {};
    var fingerUsed = [];
    // Touches on the controls: whose each is, and what it holds ({key, button}); a key held by
    // several touches counts them.
    var owners = {};
    var holds = {};
    var keyCount = {};

    function game(name) {
      var module = window.Module;
      return module ? module['_bb_touch_' + name] : null;
    }

    function controlKey(control) {
      var lookup = game('ControlKey');
      return lookup ? lookup(control) : 0;
    }

    function pressKey(key, down) {
      var send = game('Key');
      if (!send || key <= 0) return;
      keyCount[key] = (keyCount[key] || 0) + (down ? 1 : -1);
      // Two fingers on one control press its key once, and it stays down until both are up.
      if (down ? keyCount[key] === 1 : keyCount[key] === 0) send(key, down ? 1 : 0);
      if (keyCount[key] <= 0) delete keyCount[key];
    }

    // -- holding controls, touch by touch

    function hold(id, button) {
      if (holds[id] && holds[id].button === button) return;
      release(id);
      if (!button) return;
      var key = button.dataset.key ? Number(button.dataset.key)
                                   : controlKey(Number(button.dataset.control));
      holds[id] = { key: key, button: button };
      button.classList.add('down');
      pressKey(key, true);
    }

    function release(id) {
      var held = holds[id];
      if (!held) return;
      delete holds[id];
      pressKey(held.key, false);
      var stillHeld = Object.keys(holds).some(function (other) {
        return holds[other].button === held.button;
      });
      if (!stillHeld) held.button.classList.remove('down');
    }

    function releaseAll() {
      Object.keys(holds).forEach(release);
    }

    // The D-pad's direction under a point: the side of its middle the point lies on, so a
    // finger sliding round the pad follows it; none in the very middle or well outside.
    function padButtonAt(x, y) {
      var box = pad.querySelector('.dpad').getBoundingClientRect();
      var reach = box.width / 3;
      var dx = x - (box.left + box.width / 2);
      var dy = y - (box.top + box.height / 2);
      if (Math.max(Math.abs(dx), Math.abs(dy)) > box.width / 2 + reach) return null;
      if (Math.abs(dx) < reach / 4 && Math.abs(dy) < reach / 4) return null;
      var name = Math.abs(dx) > Math.abs(dy) ? (dx > 0 ? 'right' : 'left')
                                             : (dy > 0 ? 'down' : 'up');
      return pad.querySelector('[data-control="' + CONTROL[name] + '"]');
    }

    // -- fingers on the picture

    function fingerAt(touch) {
      var box = canvas.getBoundingClientRect();
      return [(touch.clientX - box.left) * canvas.width / box.width,
              (touch.clientY - box.top) * canvas.height / box.height];
    }

    // A finger put down or moved ('Down', 'Move') where the touch is.
    function sendFinger(what, finger, touch) {
      var send = game('Finger' + what);
      if (!send) return;
      var at = fingerAt(touch);
      send(finger, at[0], at[1]);
    }

    function fingerDown(touch) {
      var count = game('Fingers');
      var finger = fingerUsed.indexOf(false);
      if (finger < 0) finger = fingerUsed.length;
      if (count && finger >= count()) return;
      fingerUsed[finger] = true;
      fingers[touch.identifier] = finger;
      sendFinger('Down', finger, touch);
    }

    function fingerUp(touch) {
      var finger = fingers[touch.identifier];
      delete fingers[touch.identifier];
      fingerUsed[finger] = false;
      var send = game('FingerUp');
      if (send) send(finger);
    }

    // -- the page's touch events, seen before anything else on the page sees them

    function show() {
      if (shown) return;
      shown = true;
      document.body.classList.add('touch');
      pad.hidden = false;
      keys.hidden = false;
      relayout();
    }

    function onTouch(event) {
      show();
      var used = false;
      Array.prototype.forEach.call(event.changedTouches, function (touch) {
        used = onOneTouch(event.type, touch) || used;
      });
      if (!used) return;
      // Neither a scroll, a zoom nor the mouse events a browser makes up from a touch; and
      // Emscripten's GLFW, which would take a finger for the mouse where the mouse last was,
      // never sees it.
      event.preventDefault();
      event.stopPropagation();
    }

    // Whose a touch is that did not start on the picture: the D-pad's (anywhere in its column
    // or band, so a finger may slide round it) or one button's.
    function ownerAt(target) {
      if (!target || !target.closest) return null;
      if (pad.contains(target)) return 'pad';
      var button = target.closest('button');
      return button && keys.contains(button) ? button : null;
    }

    function onOneTouch(type, touch) {
      var id = touch.identifier;
      var end = type === 'touchend' || type === 'touchcancel';
      if (id in fingers) {
        if (end) fingerUp(touch);
        else sendFinger('Move', fingers[id], touch);
        return true;
      }
      if (type === 'touchstart') {
        if (touch.target === canvas) {
          fingerDown(touch);
          return true;
        }
        owners[id] = ownerAt(touch.target);
      }
      var owner = owners[id];
      if (!owner) return false;
      if (end) delete owners[id];
      if (owner === 'pad') {
        if (end) release(id);
        else hold(id, padButtonAt(touch.clientX, touch.clientY));
      } else if (owner === fullScreen) {
        // Full screen needs the activation a lifted finger gives, so the key goes then.
        if (type === 'touchend') tap(owner);
      } else if (type === 'touchstart') {
        hold(id, owner);
      } else if (end) {
        release(id);
      }
      return true;
    }

    function tap(button) {
      hold('tap', button);
      release('tap');
    }

    var options = { capture: true, passive: false };
    ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
      window.addEventListener(type, onTouch, options);
    });
    // A mouse, or a screen reader, clicks a button: one press, counted in the next update.
    [pad, keys].forEach(function (group) {
      group.addEventListener('click', function (event) {
        var button = event.target.closest('button');
        if (button) tap(button);
      });
    });
    // Nothing stays held down while the page is away.
    window.addEventListener('blur', releaseAll);
    fullScreen.hidden = !(document.fullscreenEnabled && document.documentElement.requestFullscreen);

    // Where the picture goes: the whole window, or what the controls leave of it.
    return function layout(width, height) {
      if (!shown) return { left: 0, top: 0, width: width, height: height };
      if (width >= height) {
        var area = { left: COLUMN, top: 0, width: Math.max(width - 2 * COLUMN, 1),
                     height: height };
        place(pad, 0, 0, COLUMN, height);
        place(keys, width - COLUMN, 0, COLUMN, height);
        return area;
      }
      // Upright: the picture at the top, as wide as the screen, the controls in what is left.
      var pictureHeight = Math.max(Math.min(height - BAND, Math.round(width * 3 / 4)), 1);
      place(pad, 0, pictureHeight, width / 2, height - pictureHeight);
      place(keys, width / 2, pictureHeight, width / 2, height - pictureHeight);
      return { left: 0, top: 0, width: width, height: pictureHeight };
    };
  }

  // A group of controls centred in a box of the window.
  function place(group, left, top, width, height) {
    group.style.left = left + 'px';
    group.style.top = top + 'px';
    group.style.width = width + 'px';
    group.style.height = height + 'px';
  }

  window.skiddlewickTouch = { install: install };
})();
