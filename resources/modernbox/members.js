(function (script) {
  'use strict';
  // The member areas, in every page of a site that has them: keeps the area keys a login gives
  // (for the tab, or for some days with Remember me), forgets them at log out, and opens a
  // protected page and the protected files it shows with them. Runs before the box's script,
  // which attaches itself with window.zarnithMembers.attach.
  var box = script.parentElement;
  var subtle = window.isSecureContext && window.crypto ? window.crypto.subtle : undefined;
  var encoder = new TextEncoder();
  var STORE = 'zarnith-members';
  var DAY = 24 * 60 * 60 * 1000;
  var FILE_MAGIC = encoder.encode('{"format":"zarnith-file/1",');
  var TYPES = { pdf: 'application/pdf', png: 'image/png', jpg: 'image/jpeg', jpeg: 'image/jpeg',
    gif: 'image/gif', webp: 'image/webp', svg: 'image/svg+xml', ico: 'image/x-icon',
    avif: 'image/avif', css: 'text/css', js: 'text/javascript', mjs: 'text/javascript',
    json: 'application/json', txt: 'text/plain', csv: 'text/csv', xml: 'application/xml',
    mp3: 'audio/mpeg', wav: 'audio/wav', ogg: 'audio/ogg', oga: 'audio/ogg', m4a: 'audio/mp4',
    mp4: 'video/mp4', webm: 'video/webm', ogv: 'video/ogg', zip: 'application/zip',
    woff: 'font/woff', woff2: 'font/woff2', ttf: 'font/ttf', otf: 'font/otf' };
  var sealedNode = document.querySelector('script.zarnith-protected');
  var sealed = sealedNode ? JSON.parse(sealedNode.textContent) : null;
  var boxApi = null;
  // The box's drawing, while a page opening with a kept key leaves it undone.
  var drawBox = null;
  // A large page's sealed content lies in a file beside it, which the page's head already fetches.
  var companion = sealed && sealed.file ? fetchSealed(sealed.file) : null;

  // A protected page hides its box until it knows that no kept key opens the page.
  if (sealed) box.style.visibility = 'hidden';

  var BASE64 = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/';
  var BASE64_VALUES = new Uint8Array(128);
  for (var value = 0; value < BASE64.length; value++) {
    BASE64_VALUES[BASE64.charCodeAt(value)] = value;
  }

  // Strict base64 (no spaces) to bytes, four characters at a time straight from the text: a
  // page's whole content passes through here, and in Chromium atob alone takes about as long as
  // this, before a loop over its result.
  function base64Bytes(text) {
    var end = text.length;
    while (end > 0 && text.charCodeAt(end - 1) === 61) end--;
    var bytes = new Uint8Array((end * 3) >> 2);
    var at = 0;
    var i = 0;
    for (; i + 4 <= end; i += 4) {
      var group = (BASE64_VALUES[text.charCodeAt(i)] << 18)
        | (BASE64_VALUES[text.charCodeAt(i + 1)] << 12)
        | (BASE64_VALUES[text.charCodeAt(i + 2)] << 6) | BASE64_VALUES[text.charCodeAt(i + 3)];
      bytes[at++] = group >> 16;
      bytes[at++] = group >> 8;
      bytes[at++] = group;
    }
    if (end - i >= 2) {
      var last = (BASE64_VALUES[text.charCodeAt(i)] << 18)
        | (BASE64_VALUES[text.charCodeAt(i + 1)] << 12)
        | (end - i === 3 ? BASE64_VALUES[text.charCodeAt(i + 2)] << 6 : 0);
      bytes[at++] = last >> 16;
      if (end - i === 3) bytes[at++] = last >> 8;
    }
    return bytes;
  }

  function bytesBase64(bytes) {
    return btoa(String.fromCharCode.apply(null, new Uint8Array(bytes)));
  }

  // ---------------------------------------------------------------------------------------
  // Kept keys: {"keys": [base64 area key, ...]} in session storage, and with Remember me also in
  // local storage with "expires" (milliseconds since 1970).

  function stored(storage) {
    try {
      var value = JSON.parse(storage.getItem(STORE));
      return value && Array.isArray(value.keys) ? value : null;
    } catch (e) {
      return null;
    }
  }

  function keptKeys() {
    var session = stored(window.sessionStorage);
    if (session) return session.keys;
    var remembered = stored(window.localStorage);
    if (remembered && typeof remembered.expires === 'number' && remembered.expires > Date.now())
      return remembered.keys;
    if (remembered) forget();
    return null;
  }

  function forget() {
    try {
      window.sessionStorage.removeItem(STORE);
      window.localStorage.removeItem(STORE);
    } catch (e) {
      // Storage refused: nothing was kept either.
    }
  }

  function keep(keys, rememberDays) {
    forget();
    try {
      window.sessionStorage.setItem(STORE, JSON.stringify({ keys: keys }));
      if (rememberDays > 0) {
        window.localStorage.setItem(STORE,
          JSON.stringify({ keys: keys, expires: Date.now() + rememberDays * DAY }));
      }
    } catch (e) {
      // Without storage the login still opens the page it is on.
    }
  }

  // ---------------------------------------------------------------------------------------
  // Opening: an area's id is HMAC-SHA256(AK, "zarnith-area-id") cut to 16 bytes; the content key
  // listed under that id is unwrapped with AK, and opens the data.

  // The kept keys as a map from area id (base64) to an AES-GCM key.
  function keyring(keys) {
    return Promise.all(keys.map(function (text) {
      var raw = base64Bytes(text);
      // Both at once: each step waits its turn on a page still busy reading its content.
      return Promise.all([
        subtle.importKey('raw', raw, { name: 'HMAC', hash: 'SHA-256' }, false, ['sign'])
          .then(function (hmac) {
            return subtle.sign('HMAC', hmac, encoder.encode('zarnith-area-id'));
          }),
        subtle.importKey('raw', raw, 'AES-GCM', false, ['decrypt'])
      ]).then(function (made) {
        return [bytesBase64(new Uint8Array(made[0]).slice(0, 16)), made[1]];
      });
    })).then(function (pairs) { return new Map(pairs); });
  }

  // The plain bytes of sealed content (its header and its data), or null when no kept key
  // opens it.
  function unseal(header, data, ring) {
    var entry = header.keys.filter(function (key) { return ring.has(key.area); })[0];
    if (!entry) return Promise.resolve(null);
    return subtle.decrypt({ name: 'AES-GCM', iv: base64Bytes(entry.iv) }, ring.get(entry.area),
      base64Bytes(entry.key)).then(function (contentKey) {
      return subtle.importKey('raw', contentKey, 'AES-GCM', false, ['decrypt']);
    }).then(function (contentKey) {
      return subtle.decrypt({ name: 'AES-GCM', iv: base64Bytes(header.iv) }, contentKey, data);
    });
  }

  function startsWithMagic(bytes) {
    if (bytes.length < FILE_MAGIC.length) return false;
    for (var i = 0; i < FILE_MAGIC.length; i++) {
      if (bytes[i] !== FILE_MAGIC[i]) return false;
    }
    return true;
  }

  // A protected file's bytes as {header, data}, or null when they are not one.
  function sealedParts(bytes) {
    if (!startsWithMagic(bytes)) return null;
    var end = bytes.indexOf(10);
    return {
      header: JSON.parse(new TextDecoder().decode(bytes.subarray(0, end))),
      data: bytes.subarray(end + 1)
    };
  }

  // The protected file at url as {header, data}; fails when it cannot be read or is none. The
  // request is the one a preload link with crossorigin makes, so that the browser hands over what
  // it already fetched.
  function fetchSealed(url) {
    var parts = fetch(url).then(function (response) {
      if (!response.ok) throw new Error(response.status);
      return response.arrayBuffer();
    }).then(function (buffer) {
      var found = sealedParts(new Uint8Array(buffer));
      if (!found) throw new Error('not protected');
      return found;
    });
    // Without a kept key nothing may wait for it; a failure is then met at the login.
    parts.catch(function () {});
    return parts;
  }

  // The file at url: {protected: false} when it is not a protected file (only its first bytes
  // are read), else {protected: true, plain: bytes or null when no kept key opens it}.
  function fetchFile(url, ring) {
    return fetch(url).then(function (response) {
      if (!response.ok || !response.body) return { protected: false };
      var reader = response.body.getReader();
      var chunks = [];
      var length = 0;
      var checked = false;
      function read() {
        return reader.read().then(function (step) {
          if (step.done) return open();
          chunks.push(step.value);
          length += step.value.length;
          if (!checked && length >= FILE_MAGIC.length) {
            checked = true;
            if (!startsWithMagic(joined())) {
              reader.cancel();
              return { protected: false };
            }
          }
          return read();
        });
      }
      function open() {
        var parts = sealedParts(joined());
        if (!parts) return { protected: false };
        return unseal(parts.header, parts.data, ring).then(function (plain) {
          return { protected: true, plain: plain };
        });
      }
      function joined() {
        if (chunks.length === 1) return chunks[0];
        var all = new Uint8Array(length);
        var at = 0;
        chunks.forEach(function (chunk) { all.set(chunk, at); at += chunk.length; });
        chunks = [all];
        return all;
      }
      return read();
    }).catch(function () { return { protected: false }; });
  }

  // A URL of this site that a page names without a scheme or host, or null.
  function siteUrl(address) {
    if (!address || /^[a-z][a-z0-9+.-]*:/i.test(address) || address.indexOf('//') === 0
        || address.charAt(0) === '#')
      return null;
    try {
      var url = new URL(address, document.baseURI);
      return url.origin === location.origin ? url : null;
    } catch (e) {
      return null;
    }
  }

  function blobUrl(plain, url) {
    var extension = url.pathname.split('.').pop().toLowerCase();
    return URL.createObjectURL(new Blob([plain], { type: TYPES[extension] || '' }));
  }

  // Every picture, sound, film, style sheet and script of the page that is a protected file is
  // fetched, opened and given to its element as the opened copy.
  function openEmbeddedFiles(page, ring) {
    var jobs = [];
    page.querySelectorAll('img[src], source[src], audio[src], video[src], track[src], '
      + 'script[src], link[href], video[poster]').forEach(function (node) {
      ['src', 'href', 'poster'].forEach(function (attribute) {
        var url = siteUrl(node.getAttribute(attribute));
        if (!url) return;
        jobs.push(fetchFile(url.href, ring).then(function (file) {
          if (file.protected && file.plain) node.setAttribute(attribute, blobUrl(file.plain, url));
        }));
      });
    });
    return Promise.all(jobs);
  }

  // A link to a protected file that is not a page opens the file: opened here, and shown or
  // saved as the link says. Other links are followed as usual.
  function followLinks(ring) {
    document.addEventListener('click', function (event) {
      var origin = event.target;
      var logout = origin.closest ? origin.closest('[data-zarnith-logout]') : null;
      if (logout) {
        event.preventDefault();
        forget();
        location.reload();
        return;
      }
      var link = origin.closest ? origin.closest('a[href]') : null;
      if (!link || event.button !== 0 || event.ctrlKey || event.metaKey || event.shiftKey
          || event.altKey)
        return;
      var url = siteUrl(link.getAttribute('href'));
      if (!url || /(\.html?|\/)$/i.test(url.pathname)) return;
      event.preventDefault();
      fetchFile(url.href, ring).then(function (file) {
        var target = link.getAttribute('target') || '_self';
        var address = file.protected && file.plain ? blobUrl(file.plain, url) : url.href;
        if (file.protected && link.hasAttribute('download')) {
          var save = document.createElement('a');
          save.href = address;
          save.download = link.getAttribute('download') || url.pathname.split('/').pop();
          document.body.appendChild(save);
          save.click();
          save.remove();
        } else if (target === '_self') {
          location.assign(address);
        } else {
          window.open(address, target, 'noopener');
        }
      });
    });
    document.querySelectorAll('[data-zarnith-logout]').forEach(function (node) {
      if (!node.hasAttribute('role') && !/^(A|BUTTON)$/.test(node.tagName))
        node.setAttribute('role', 'button');
      if (!node.hasAttribute('tabindex') && node.tagName !== 'BUTTON') node.tabIndex = 0;
    });
  }

  // Where a page may name a file it shows: any of these elements, or a script with a source. A
  // page with none is written as it is, parsed once; the test errs only towards the longer way.
  var NAMES_FILES = /<(?:img|source|audio|video|track|link)[\s\/>]|<script\b[^<]*?\bsrc\s*=/i;

  // The page's text with every protected file it shows replaced by its opened copy.
  function withOpenedFiles(text, ring) {
    var page = new DOMParser().parseFromString(text, 'text/html');
    return openEmbeddedFiles(page, ring).then(function () {
      var doctype = page.doctype ? '<!DOCTYPE ' + page.doctype.name + '>' : '';
      return doctype + page.documentElement.outerHTML;
    });
  }

  // Replaces this page by the opened one, which then runs as if it had been loaded.
  function showPage(plain, ring) {
    var text = new TextDecoder().decode(plain);
    var html = NAMES_FILES.test(text) ? withOpenedFiles(text, ring) : Promise.resolve(text);
    return html.then(function (opened) {
      document.open();
      document.write(opened);
      document.close();
      followLinks(ring);
    });
  }

  function showBox(message) {
    if (drawBox) {
      var draw = drawBox;
      drawBox = null;
      draw();
    }
    box.style.visibility = '';
    if (boxApi) boxApi.showMessage(message);
  }

  // Opens this protected page with keys; the box with the no-access message when they cannot.
  // The keys are made ready while the page's data is decoded or fetched.
  function openThisPage(keys) {
    var ready = keyring(keys);
    var parts = companion || Promise.resolve({ header: sealed, data: base64Bytes(sealed.data) });
    return Promise.all([ready, parts]).then(function (both) {
      var ring = both[0];
      return unseal(both[1].header, both[1].data, ring).then(function (plain) {
        if (plain === null) showBox('noAccess');
        else return showPage(plain, ring);
      });
    }).catch(function () { showBox('noAccess'); });
  }

  if (new URLSearchParams(location.search).has('logout')) forget();
  // With a kept key this page starts opening now, and its box is drawn only if it has to show.
  var keptOnArrival = sealed && subtle ? keptKeys() : null;
  if (keptOnArrival) openThisPage(keptOnArrival);

  window.zarnithMembers = {
    // Asked by the box's script with its drawing: false when this page opens with a kept key, so
    // that nothing holds up the opening; the box is drawn only if it must show after all.
    drawNow: function (draw) {
      if (!keptOnArrival) return true;
      drawBox = draw;
      return false;
    },
    // Called by the box once it stands, before any opening has come to an end, or when it is
    // drawn after all.
    attach: function (api) {
      boxApi = api;
      if (sealed && !keptOnArrival) showBox(null);
    },
    hasKeys: function () { return keptKeys() !== null; },
    logout: forget,
    // A login gave these area keys. True when this page handles the rest (a protected page opens
    // in place, or says that the account does not open it); false when the box goes on to the
    // lock's address.
    loggedIn: function (keys, rememberDays) {
      keep(keys, rememberDays);
      if (!sealed) return false;
      openThisPage(keys);
      return true;
    }
  };
})(document.currentScript);
