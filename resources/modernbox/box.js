(function (script) {
  'use strict';
  var box = script.parentElement;
  var settings = JSON.parse(box.querySelector('script.zarnith-settings').textContent);
  var inlineLocks = box.querySelector('script.zarnith-locks');
  var subtle = window.isSecureContext && window.crypto ? window.crypto.subtle : undefined;
  var encoder = new TextEncoder();
  var RETRY_SECONDS = 2;
  var FIXED_TEXTS = {
    previewOnly: 'This page is a preview made for this computer.\nPublish the project to use the box on a site.'
  };
  // The member areas' part (members.js), in pages of a site that has them.
  var members = window.zarnithMembers;

  // Texts as the applet shows them: backslash + "n" breaks the line, character references
  // ("&#169;", "&amp;") read as the browser reads them in the applet's parameters.
  function displayText(raw) {
    var decoder = document.createElement('textarea');
    return raw.split('\\n').map(function (part) {
      decoder.innerHTML = part.replace(/\r\n?/g, '\n');
      return decoder.value;
    }).join('\n');
  }

  function element(tag, className, text) {
    var node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined) node.textContent = text;
    return node;
  }

  function rgb(colour) { return 'rgb(' + colour.join(',') + ')'; }

  function mix(from, to, amount) {
    return from.map(function (value, i) { return Math.round(value + (to[i] - value) * amount); });
  }

  // The border in the border colour's light and dark shades, as the applet draws it: Up raised,
  // Down sunken, Bump a ridge and Dip a groove, split into an outer and an inner half.
  function drawBorder(frame) {
    var thickness = settings.borderStyle === 0 ? 0 : Math.max(0, settings.borderThickness);
    var light = rgb(mix(settings.borderColor, [255, 255, 255], 0.6));
    var dark = rgb(mix(settings.borderColor, [0, 0, 0], 0.45));
    var split = settings.borderStyle === 3 || settings.borderStyle === 4;
    var outer = split ? Math.floor((thickness + 1) / 2) : thickness;
    var outerRaised = settings.borderStyle === 1 || settings.borderStyle === 3;
    function edge(node, width, raised) {
      node.style.borderWidth = width + 'px';
      node.style.borderColor = raised ? light + ' ' + dark + ' ' + dark + ' ' + light
                                      : dark + ' ' + light + ' ' + light + ' ' + dark;
    }
    edge(box, outer, outerRaised);
    edge(frame, thickness - outer, !outerRaised);
  }

  function fontFamilies(requested) {
    var substitutes = { 'arial': 'Liberation Sans', 'helvetica': 'Liberation Sans',
      'ms sans serif': 'Liberation Sans', 'verdana': 'DejaVu Sans', 'tahoma': 'DejaVu Sans',
      'times new roman': 'Liberation Serif', 'times': 'Liberation Serif',
      'courier new': 'Liberation Mono', 'courier': 'Liberation Mono' };
    var name = requested.trim();
    var lower = name.toLowerCase();
    var generic = /courier|mono|console/.test(lower) ? 'monospace'
      : /sans/.test(lower) ? 'sans-serif'
      : /times|serif|roman|georgia|garamond/.test(lower) ? 'serif' : 'sans-serif';
    var families = [name];
    if (substitutes[lower]) families.push(substitutes[lower]);
    return families.map(function (family) { return JSON.stringify(family); }).join(', ')
      + ', ' + generic;
  }

  // ---------------------------------------------------------------------------------------
  // The program's text form of secrets

  var UPPER_CASE_TABLE = /* upper-case table */ null;
  var upperCase = null;

  // Every code point through the frozen upper-case table the program uses, whatever this
  // browser's Unicode version.
  function upperCaseForm(text) {
    if (upperCase === null) {
      upperCase = new Map();
      var runs = UPPER_CASE_TABLE.runs;
      for (var i = 0; i < runs.length; i += 4) {
        for (var k = 0; k < runs[i + 1]; k++) {
          var code = runs[i] + k * runs[i + 2];
          upperCase.set(code, String.fromCodePoint(code + runs[i + 3]));
        }
      }
      UPPER_CASE_TABLE.multi.forEach(function (entry) {
        upperCase.set(entry[0], String.fromCodePoint.apply(null, entry[1]));
      });
    }
    return Array.from(text, function (ch) {
      var upper = upperCase.get(ch.codePointAt(0));
      return upper === undefined ? ch : upper;
    }).join('');
  }

  // The program's text form of a secret: NFC, then with fold the frozen upper case.
  function secretForm(text, fold) {
    text = text.normalize('NFC');
    return fold ? upperCaseForm(text) : text;
  }

  // ---------------------------------------------------------------------------------------
  // The box

  // Draws the box and starts it; a protected page that opens with a kept key may never need it.
  function draw() {
    var background = settings.backgroundColor;
    var luminance = (background[0] * 299 + background[1] * 587 + background[2] * 114) / 1000;
    box.style.background = rgb(background);
    box.style.color = luminance < 128 ? '#fff' : '#000';
    box.style.font = (settings.italic ? 'italic ' : 'normal ')
      + (settings.bold ? 'bold ' : 'normal ') + settings.fontSize + 'px '
      + fontFamilies(settings.fontFamily);
    box.style.lineHeight = 'normal';

    var frame = element('div', 'zb-frame');
    var body = element('form', 'zb-body');
    body.noValidate = true;
    body.style.padding = settings.margin + 'px';
    body.style.gap = settings.spacing + 'px';
    drawBorder(frame);

    var messageArea = element('div', 'zb-messages');
    messageArea.setAttribute('role', 'status');
    var messages = {};
    var texts = { initial: settings.initialMessage, incorrect: settings.incorrectMessage,
      fail: settings.failMessage, loading: settings.loadingMessage,
      insecure: settings.insecureMessage, loadFailed: settings.loadFailedMessage,
      noAccess: settings.noAccessMessage || '' };
    Object.keys(texts).forEach(function (key) { texts[key] = displayText(texts[key]); });
    Object.keys(FIXED_TEXTS).forEach(function (key) { texts[key] = FIXED_TEXTS[key]; });
    Object.keys(texts).forEach(function (key) {
      messages[key] = messageArea.appendChild(element('span', '', texts[key]));
    });

    var serial = (window.zarnithBoxCount = (window.zarnithBoxCount || 0) + 1);
    var controls = element('div', 'zb-controls');
    controls.style.gap = settings.spacing + 'px';
    function field(labelText, type, name) {
      var label = controls.appendChild(element('label', '', displayText(labelText)));
      var input = controls.appendChild(element('input'));
      input.type = type;
      input.id = label.htmlFor = 'zarnith-' + serial + '-' + name;
      input.autocomplete = 'off';
      input.spellcheck = false;
      return input;
    }
    var userField = field(settings.userLabel, 'text', 'user');
    var passwordField = field(settings.passwordLabel, 'password', 'password');
    var rememberBox = null;
    if (members && settings.rememberDays > 0) {
      var remember = controls.appendChild(element('label', 'zb-remember'));
      rememberBox = remember.appendChild(element('input'));
      rememberBox.type = 'checkbox';
      remember.appendChild(document.createTextNode(' ' + displayText(settings.rememberLabel)));
    }
    var buttons = controls.appendChild(element('div', 'zb-buttons'));
    buttons.style.gap = settings.spacing + 'px';
    var loginButton = buttons.appendChild(element('button', '', displayText(settings.loginLabel)));
    loginButton.type = 'submit';
    var logoutButton = null;
    if (members) {
      logoutButton = buttons.appendChild(element('button', '', displayText(settings.logoutLabel)));
      logoutButton.type = 'button';
      logoutButton.hidden = true;
    }

    // A preview's locks cost a guesser almost nothing: it says so, and works only on this computer.
    var previewOnly = settings.previewOnly === true;
    var onThisComputer = location.protocol === 'file:'
      || /^(localhost|127(\.\d+){3}|\[::1\])$/.test(location.hostname);
    if (previewOnly) box.appendChild(element('div', 'zb-preview-band', 'Preview only'));

    body.appendChild(messageArea);
    body.appendChild(controls);
    frame.appendChild(body);
    box.appendChild(frame);

    // The fields are as wide as 22 letters "n", as the applet's are, where the box has room.
    var ruler = box.appendChild(element('span', '', 'nnnnnnnnnnnnnnnnnnnnnn'));
    ruler.style.cssText = 'position:absolute; visibility:hidden; white-space:pre';
    controls.style.gridTemplateColumns = 'minmax(0, max-content) minmax(0, '
      + ruler.getBoundingClientRect().width + 'px)';
    box.removeChild(ruler);

    // ---------------------------------------------------------------------------------------
    // The visitor's tries

    var locks = null;
    // What the box says while it waits for a login: the first message, or one the members' script
    // asked for (this page is not open to the account logged in).
    var restingMessage = 'initial';
    var failedTries = 0;
    var finished = false;
    var busy = false;
    var retries = Math.max(1, settings.retries);

    function show(key) {
      Object.keys(messages).forEach(function (name) {
        messages[name].classList.toggle('zb-shown', name === key);
      });
    }

    function enable() {
      var usable = locks !== null && !finished && subtle !== undefined
        && (!previewOnly || onThisComputer);
      userField.disabled = passwordField.disabled = !usable;
      loginButton.disabled = !usable || busy;
      box.classList.toggle('zb-busy', busy);
    }

    function play(name) {
      if (!name) return;
      try {
        var sound = new Audio(besidePage(name));
        var started = sound.play();
        if (started) started.catch(function () {});
      } catch (e) {
        // No sound is no reason to stop the login.
      }
    }

    // Only addresses without a scheme (relative to the page) and http: or https: ones are
    // followed, as the program allows them: a "javascript:" address would run in the page.
    function webAddress(address) {
      var absolute;
      try {
        absolute = new URL(address);
      } catch (e) {
        absolute = null;
      }
      if (absolute && absolute.protocol !== 'http:' && absolute.protocol !== 'https:') return null;
      try {
        return new URL(address, document.baseURI).href;
      } catch (e) {
        return null;
      }
    }

    // Opens an address where a link with that target would open it; a new window gets no handle
    // on this page.
    function openPage(address, target) {
      var url = webAddress(address);
      if (url === null) return;
      if (!target || target === '_self') window.location.assign(url);
      else window.open(url, target, 'noopener');
    }

    // Goes where a login leads. A page previewed inside the program defines window.zarnithNavigate:
    // the program is told where the box would go, and the preview stays.
    function leadTo(address, target, userId) {
      if (webAddress(address) === null) return;
      if (typeof window.zarnithNavigate === 'function')
        window.zarnithNavigate({ user: userId, url: address, target: target });
      else openPage(address, target);
    }

    // A file beside the page, by its plain name: never an address of another place. A protected
    // page of a member area reaches the box page's folder by its way up (siteRoot, only "../"s).
    function besidePage(name) {
      var up = /^(\.\.\/)+$/.test(settings.siteRoot || '') ? settings.siteRoot : '';
      return new URL(up + './' + encodeURIComponent(name), document.baseURI).href;
    }

    // ---------------------------------------------------------------------------------------
    // The lock data (format zarnith-locks/2): checked before use, each record decoded only when a
    // login finds its id

    var MAX_ITERATIONS = 10000000;
    var RECORDS_PER_SLICE = 20000;

    function base64Bytes(text) {
      return Uint8Array.from(atob(text), function (c) { return c.charCodeAt(0); });
    }

    function bytesBase64(bytes) {
      return btoa(String.fromCharCode.apply(null, new Uint8Array(bytes)));
    }

    // The Base64 text of exactly 16 bytes.
    function is16Bytes(text) {
      return typeof text === 'string' && /^[A-Za-z0-9+/]{21}[AQgw]==$/.test(text);
    }

    // Reads lock data text; calls done with the locks, or with null when the data is not lock data
    // this box can trust. The records are taken a slice at a time, so that a large file never holds
    // the page up for long.
    function readLocks(text, done) {
      var data;
      try {
        data = JSON.parse(text);
      } catch (e) {
        data = null;
      }
      if (!data || data.format !== 'zarnith-locks/2' || !Number.isInteger(data.iterations)
          || data.iterations < 1 || data.iterations > MAX_ITERATIONS || !is16Bytes(data.salt)
          || typeof data.fold !== 'boolean' || !Array.isArray(data.locks)) {
        done(null);
        return;
      }
      var held = { iterations: data.iterations, salt: base64Bytes(data.salt), fold: data.fold,
        byId: new Map() };
      var records = data.locks;
      var next = 0;
      (function slice() {
        var end = Math.min(records.length, next + RECORDS_PER_SLICE);
        for (; next < end; next++) {
          var record = records[next];
          if (!record || !is16Bytes(record.id) || !/^[A-Za-z0-9+/]{16}$/.test(record.iv)
              || typeof record.data !== 'string') {
            done(null);
            return;
          }
          // The first record of an id wins, as the program keeps the first lock.
          if (!held.byId.has(record.id)) held.byId.set(record.id, record);
        }
        if (next < records.length) setTimeout(slice, 0);
        else done(held);
      })();
    }

    // The lock that the user ID and password open, as {url, target}, or null.
    function openLock(held, userId, password) {
      var secret = encoder.encode(secretForm(userId, held.fold) + '\0'
        + secretForm(password, held.fold));
      var hmac;
      return subtle.importKey('raw', secret, 'PBKDF2', false, ['deriveBits']).then(function (key) {
        return subtle.deriveBits({ name: 'PBKDF2', hash: 'SHA-256', salt: held.salt,
          iterations: held.iterations }, key, 256);
      }).then(function (bits) {
        return subtle.importKey('raw', bits, { name: 'HMAC', hash: 'SHA-256' }, false, ['sign']);
      }).then(function (key) {
        hmac = key;
        return subtle.sign('HMAC', hmac, encoder.encode('zarnith-lock-id'));
      }).then(function (id) {
        var record = held.byId.get(bytesBase64(new Uint8Array(id).slice(0, 16)));
        if (!record) return null;
        return subtle.sign('HMAC', hmac, encoder.encode('zarnith-lock-key')).then(function (bytes) {
          return subtle.importKey('raw', bytes, 'AES-GCM', false, ['decrypt']);
        }).then(function (key) {
          return subtle.decrypt({ name: 'AES-GCM', iv: base64Bytes(record.iv) }, key,
            base64Bytes(record.data));
        }).then(function (plain) {
          return JSON.parse(new TextDecoder().decode(plain));
        });
      });
    }

    function loginSucceeded(lock, userId) {
      play(settings.correctAudio);
      failedTries = 0;
      show('initial');
      if (members && Array.isArray(lock.areas)) {
        var days = rememberBox && rememberBox.checked ? settings.rememberDays : 0;
        logoutButton.hidden = false;
        if (members.loggedIn(lock.areas, days)) return;
      }
      leadTo(lock.url, lock.target, userId);
    }

    function loginFailed() {
      failedTries++;
      play(settings.incorrectAudio);
      // A page previewed inside the program tells it of every wrong try.
      if (typeof window.zarnithIncorrect === 'function')
        window.zarnithIncorrect({ tryNumber: failedTries, tries: retries });
      if (failedTries < retries) {
        show('incorrect');
        userField.focus();
        userField.select();
        return;
      }
      finished = true;
      show('fail');
      if (settings.failUrl.trim()) leadTo(settings.failUrl.trim(), '', '');
    }

    function attemptLogin() {
      if (finished || busy || locks === null || subtle === undefined
          || (previewOnly && !onThisComputer)) return;
      var userId = userField.value;
      var password = passwordField.value;
      // An accidental Enter in empty boxes should not cost the visitor a try.
      if (!userId) {
        userField.focus();
        return;
      }
      passwordField.value = '';
      busy = true;
      enable();
      openLock(locks, userId, password).catch(function () {
        return null;
      }).then(function (lock) {
        busy = false;
        if (lock && typeof lock.url === 'string' && lock.url) loginSucceeded(lock, userId);
        else loginFailed();
        enable();
      });
    }

    body.addEventListener('submit', function (event) {
      event.preventDefault();
      attemptLogin();
    });
    userField.addEventListener('keydown', function (event) {
      if (event.key === 'Enter') {
        event.preventDefault();
        passwordField.focus();
      }
    });

    // ---------------------------------------------------------------------------------------
    // The locks: in the page, or in the lock file beside it, reloaded now and then

    var lockText = null;

    // Takes lock data text; unchanged text is not read again. A failure keeps the locks held.
    function takeLocks(text, then) {
      if (text === lockText) {
        then(true);
        return;
      }
      readLocks(text, function (held) {
        if (held) {
          var first = locks === null;
          locks = held;
          lockText = text;
          if (first) show(restingMessage);
          enable();
        } else if (locks === null) {
          show('loadFailed');
        }
        then(held !== null);
      });
    }

    function loadLockFile() {
      fetch(besidePage(settings.lockFile), { cache: 'no-store' }).then(function (response) {
        if (!response.ok) throw new Error(response.statusText);
        return response.text();
      }).then(function (text) {
        takeLocks(text, function (taken) {
          // Browsers fire longer timeouts than 2^31 ms at once, so the interval stops short of it.
          if (!taken) setTimeout(loadLockFile, RETRY_SECONDS * 1000);
          else if (settings.reloadInterval > 0)
            setTimeout(loadLockFile, Math.min(settings.reloadInterval, 2147483) * 1000);
        });
      }).catch(function () {
        // Locks already held stay in force; without any, the visitor learns why nothing works.
        if (locks === null) show('loadFailed');
        setTimeout(loadLockFile, RETRY_SECONDS * 1000);
      });
    }

    if (members) {
      logoutButton.hidden = !members.hasKeys();
      logoutButton.addEventListener('click', function () {
        members.logout();
        logoutButton.hidden = true;
        restingMessage = 'initial';
        if (!finished) show(locks === null ? 'loading' : 'initial');
        userField.focus();
      });
      members.attach({
        showMessage: function (key) {
          // Until the locks are there the box says that it loads them, and this after.
          if (key) restingMessage = key;
          if (key && subtle !== undefined && !finished && locks !== null) show(key);
          logoutButton.hidden = !members.hasKeys();
        }
      });
    }

    if (previewOnly && !onThisComputer) {
      show('previewOnly');
    } else if (subtle === undefined) {
      show('insecure');
    } else if (inlineLocks) {
      takeLocks(inlineLocks.textContent, function () {});
    } else {
      show('loading');
      loadLockFile();
    }
    enable();
  }

  if (!members || members.drawNow(draw)) draw();
})(document.currentScript);
