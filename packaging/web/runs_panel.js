// The Runs panel: the kept runs, newest first, each to watch, save, link to or share, and a
// recording of the player's own to open. It opens from the "Runs" button and closes with its
// close button, Escape or Back (it is a step in the page's history). While it is open the game
// is paused as when the page loses the focus, and no key reaches the game.
(function () {
  'use strict';

  function install(options) {
    var runs = window.skiddlewickRuns;
    var button = document.getElementById('runs-button');
    var panel = document.getElementById('runs');
    var list = document.getElementById('runs-list');
    var empty = document.getElementById('runs-empty');
    var fileInput = document.getElementById('runs-file');
    var isOpen = false;
    var urls = [];
    var shownBefore = null;

    function pageAddress() {
      return location.href.split('#')[0];
    }

    function pad(number) {
      return (number < 10 ? '0' : '') + number;
    }

    function when(run) {
      if (!run.kept) return run.name;
      var date = new Date(run.kept);
      return date.getFullYear() + '-' + pad(date.getMonth() + 1) + '-' + pad(date.getDate()) +
             ' ' + pad(date.getHours()) + ':' + pad(date.getMinutes());
    }

    // Game time at 60 updates a second, as m:ss.
    function length(updates) {
      var seconds = Math.floor(updates / 60);
      return Math.floor(seconds / 60) + ':' + pad(seconds % 60);
    }

    function element(tag, text, attributes) {
      var made = document.createElement(tag);
      if (text) made.textContent = text;
      Object.keys(attributes || {}).forEach(function (name) {
        made.setAttribute(name, attributes[name]);
      });
      return made;
    }

    function entry(run) {
      var item = element('li');
      item.appendChild(element('span', when(run), { class: 'when' }));
      item.appendChild(element('span', 'score ' + run.score + ' \u00b7 level ' + run.level +
                                       ' \u00b7 ' + length(run.updates) +
                                       (run.ended ? '' : ' (unfinished)'), { class: 'what' }));
      var actions = element('span', '', { class: 'actions' });
      var watch = element('button', 'Watch', { type: 'button' });
      actions.appendChild(watch);
      var url = URL.createObjectURL(new Blob([run.bytes], { type: 'text/plain' }));
      urls.push(url);
      actions.appendChild(element('a', 'Save', { href: url, download: run.name }));
      var link = element('a', 'Link', { class: 'link', 'aria-disabled': 'true' });
      actions.appendChild(link);
      var share = navigator.share ? element('button', 'Share', { type: 'button' }) : null;
      if (share) actions.appendChild(share);
      item.appendChild(actions);
      runs.encodeLink(run.bytes).then(function (hash) {
        link.href = hash;
        link.removeAttribute('aria-disabled');
        watch.addEventListener('click', function () { options.play(hash); });
        if (share) {
          share.addEventListener('click', function () {
            navigator.share({ title: 'Skiddlewick run, score ' + run.score, url: link.href })
              .catch(function () {});
          });
        }
      });
      return item;
    }

    function fill() {
      urls.forEach(URL.revokeObjectURL);
      urls = [];
      list.textContent = '';
      runs.listRuns().then(function (kept) {
        kept.forEach(function (run) { list.appendChild(entry(run)); });
        empty.hidden = kept.length > 0;
      }, function () {
        empty.hidden = false;
      });
    }

    function show() {
      if (isOpen) return;
      isOpen = true;
      shownBefore = document.activeElement;
      if (window.Module) Module.pageCovered = true;
      panel.hidden = false;
      fill();
      panel.querySelector('button').focus();
    }

    function hide() {
      if (!isOpen) return;
      isOpen = false;
      panel.hidden = true;
      if (window.Module) Module.pageCovered = false;
      if (shownBefore && shownBefore.focus) shownBefore.focus();
    }

    // Open, the panel is a step in the history, so Back closes it.
    function open() {
      if (isOpen) return;
      history.pushState({ runsPanel: true }, '');
      show();
    }

    function close() {
      if (!isOpen) return;
      if (history.state && history.state.runsPanel) history.back();
      else hide();
    }

    window.addEventListener('popstate', function (event) {
      if (event.state && event.state.runsPanel) show();
      else hide();
    });

    // Keys go to the panel alone while it is open (registered before the game's listeners, so
    // they never see them); Escape closes it. Enter or Space on the focused Runs button opens it
    // and does not reach the game either.
    ['keydown', 'keyup', 'keypress'].forEach(function (type) {
      window.addEventListener(type, function (event) {
        if (!isOpen && type === 'keydown' && document.activeElement === button &&
            (event.key === 'Enter' || event.key === ' ')) {
          event.stopImmediatePropagation();
          event.preventDefault();
          open();
          return;
        }
        if (!isOpen) return;
        event.stopImmediatePropagation();
        if (type === 'keydown' && event.key === 'Escape') {
          event.preventDefault();
          close();
        }
      }, true);
    });

    button.addEventListener('click', open);
    panel.querySelector('.close').addEventListener('click', close);
    document.getElementById('runs-open').addEventListener('click', function () {
      fileInput.click();
    });
    fileInput.addEventListener('change', function () {
      if (fileInput.files.length) options.playFile(fileInput.files[0]);
      fileInput.value = '';
    });

    // A recording dropped anywhere on the page plays as a chosen one does.
    window.addEventListener('dragover', function (event) { event.preventDefault(); });
    window.addEventListener('drop', function (event) {
      event.preventDefault();
      var files = event.dataTransfer && event.dataTransfer.files;
      if (files && files.length) options.playFile(files[0]);
    });

    return { close: hide };
  }

  window.skiddlewickRunsPanel = { install: install };
})();
