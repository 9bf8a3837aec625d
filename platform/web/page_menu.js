// The Run menu as the page's menu bar, made from the program's menu model: the
// same items, mnemonics (underlined), check marks, shortcut labels and greyed
// lines. Choosing an item only reports its command; the program sets the marks.
(function () {
  'use strict';

  // The menu bar in the element `menuBar`: chosen(command) is told each choice,
  // closed() each time the open menu closes.
  window.morluMenuBar = function (menuBar, chosen, closed) {
    var openMenu = null;

    // "&Animate\tCtrl+A" -> the label with its mnemonic underlined, and the shortcut.
    function itemText(text) {
      var tab = text.indexOf('\t');
      var label = tab < 0 ? text : text.slice(0, tab);
      var span = document.createElement('span');
      span.className = 'label';
      var mnemonic = '';
      for (var i = 0; i < label.length; ++i) {
        if (label[i] !== '&') {
          span.appendChild(document.createTextNode(label[i]));
        } else if (label[i + 1] === '&') {
          span.appendChild(document.createTextNode('&'));
          ++i;
        } else if (i + 1 < label.length) {
          var u = document.createElement('u');
          u.textContent = label[++i];
          mnemonic = mnemonic || label[i].toLowerCase();
          span.appendChild(u);
        }
      }
      return { label: span, mnemonic: mnemonic, shortcut: tab < 0 ? '' : text.slice(tab + 1) };
    }

    function makeItem(fields) {
      var li = document.createElement('li');
      li.setAttribute('role', 'menuitemcheckbox');
      li.setAttribute('data-command', fields[1]);
      li.setAttribute('aria-checked', fields[2] === '1' ? 'true' : 'false');
      if (fields[3] === '1') li.setAttribute('aria-disabled', 'true');
      li.tabIndex = -1;
      var text = itemText(fields[4]);
      li.dataset.mnemonic = text.mnemonic;
      var mark = document.createElement('span');
      mark.className = 'mark';
      mark.textContent = fields[2] === '1' ? '\u2713' : '';
      var shortcut = document.createElement('span');
      shortcut.className = 'shortcut';
      shortcut.textContent = text.shortcut;
      li.append(mark, text.label, shortcut);
      li.addEventListener('click', function (e) {
        e.stopPropagation();
        choose(li);
      });
      return li;
    }

    // Choosing an item only tells the program; its check mark stays as the program sets it.
    function choose(li) {
      if (li.getAttribute('aria-disabled') === 'true') return;
      closeMenu();
      chosen(Number(li.getAttribute('data-command')));
    }

    function buildMenuBar(layout) {
      menuBar.textContent = '';
      var list = null;
      layout.split('\n').forEach(function (line) {
        var fields = line.split('\x1f');
        if (fields[0] === 'popup') {
          var popup = document.createElement('div');
          popup.className = 'morlu-popup';
          var button = document.createElement('button');
          button.type = 'button';
          button.setAttribute('role', 'menuitem');
          button.setAttribute('aria-haspopup', 'true');
          button.setAttribute('aria-expanded', 'false');
          var title = itemText(fields[1]);
          button.dataset.mnemonic = title.mnemonic;
          button.appendChild(title.label);
          list = document.createElement('ul');
          list.setAttribute('role', 'menu');
          list.hidden = true;
          button.addEventListener('click', function (e) {
            e.stopPropagation();
            if (openMenu === popup) closeMenu();
            else showMenu(popup, false);
          });
          popup.append(button, list);
          menuBar.appendChild(popup);
        } else if (fields[0] === 'separator' && list) {
          var sep = document.createElement('li');
          sep.setAttribute('role', 'separator');
          list.appendChild(sep);
        } else if (fields[0] === 'item' && list) {
          list.appendChild(makeItem(fields));
        }
      });
    }

    function menuItems(popup) {
      return Array.prototype.slice.call(popup.querySelectorAll('li[role="menuitemcheckbox"]'));
    }

    function showMenu(popup, focusFirst) {
      closeMenu();
      openMenu = popup;
      popup.querySelector('button').setAttribute('aria-expanded', 'true');
      popup.querySelector('ul').hidden = false;
      if (focusFirst) {
        var first = menuItems(popup).find(function (li) { return li.getAttribute('aria-disabled') !== 'true'; });
        if (first) first.focus();
      }
    }

    function closeMenu() {
      if (!openMenu) return;
      openMenu.querySelector('button').setAttribute('aria-expanded', 'false');
      openMenu.querySelector('ul').hidden = true;
      openMenu = null;
      closed();
    }

    // Keys while the menu is open move in it: arrows, Enter, Escape, mnemonics.
    function menuKey(e) {
      var items = menuItems(openMenu).filter(function (li) { return li.getAttribute('aria-disabled') !== 'true'; });
      var at = items.indexOf(document.activeElement);
      if (e.key === 'Escape' || e.key === 'F10' || e.key === 'Alt') {
        closeMenu();
      } else if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
        var down = e.key === 'ArrowDown';
        var next = at < 0 ? (down ? 0 : items.length - 1) : (at + (down ? 1 : items.length - 1)) % items.length;
        items[next].focus();
      } else if (e.key === 'Enter' || e.key === ' ') {
        if (at >= 0) choose(items[at]);
      } else {
        var hit = items.find(function (li) { return li.dataset.mnemonic === e.key.toLowerCase(); });
        if (hit) choose(hit);
      }
      e.preventDefault();
    }

    // Other Alt combinations belong to the menu too, as on the desktop, and are
    // kept from the browser (Alt+Left would leave the page).
    function belongsToMenu(e) {
      return e.altKey && !e.ctrlKey && e.key !== 'Alt';
    }

    // Alt with a title's mnemonic, or F10, opens the menu, as on the desktop.
    function opensMenu(e) {
      if (e.key === 'F10') return menuBar.querySelector('.morlu-popup');
      if (!e.altKey || e.ctrlKey) return null;
      var popups = menuBar.querySelectorAll('.morlu-popup');
      for (var i = 0; i < popups.length; ++i)
        if (popups[i].querySelector('button').dataset.mnemonic === e.key.toLowerCase()) return popups[i];
      return null;
    }

    // Put the check mark of every item with `command` on or off.
    function check(command, checked) {
      var items = menuBar.querySelectorAll('[data-command="' + command + '"]');
      for (var i = 0; i < items.length; ++i) {
        items[i].setAttribute('aria-checked', checked ? 'true' : 'false');
        items[i].querySelector('.mark').textContent = checked ? '\u2713' : '';
      }
    }

    // A key-down the menu takes: the keys of the open menu, the keys that open
    // it, and the Alt combinations that belong to it. True when taken.
    function takeKey(e) {
      if (openMenu) {
        menuKey(e);
        return true;
      }
      var popup = opensMenu(e);
      if (popup) showMenu(popup, true);
      if (!popup && !belongsToMenu(e)) return false;
      e.preventDefault();
      return true;
    }

    return { build: buildMenuBar, check: check, close: closeMenu, takeKey: takeKey };
  };
})();
