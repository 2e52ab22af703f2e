// page.js -- the player page's side of the browser platform: canvas, keys, pointer, touch bar,
// pictures decoded by the browser, text in the page's fonts, downloads and the test hook.
//
// The compiled simulator (vitrion_player.js, after this script) calls the
// VitrionPage functions below through its Platform; this script calls the
// simulator's web_* entry points with the browser's events.
'use strict';

var Module = {
  noInitialRun: true,
  print: function (text) { console.log(text); },
  printErr: function (text) { VitrionPage.showError(text); },
  onRuntimeInitialized: function () { VitrionPage.start(); },
};

var VitrionPage = (function () {
  var WIDTH = 640, HEIGHT = 480;
  var FONT_FACE = 'Verdana, "DejaVu Sans", sans-serif';
  var CELL_HEIGHTS = [24, 20, 16, 20, 16, 12];  // character cell of fonts 0..5
  var TEXT_RIGHT_LIMIT = WIDTH - 4;              // lines end left of this column
  var ESCAPE = 27, SPACE = 32, KEY_0 = 48, KEY_F1 = 112;
  var PLACEHOLDER_START = '@VITRION' + '_';      // an export replaces the vision's placeholder

  var screen = document.getElementById('screen');
  var screenContext = screen.getContext('2d');
  var screenImage = screenContext.createImageData(WIDTH, HEIGHT);
  var screenWords = new Uint32Array(screenImage.data.buffer);
  var textCanvas = document.createElement('canvas');
  var textContext = textCanvas.getContext('2d', { willReadFrequently: true });
  var fonts = [];              // CSS font and ascent of each font number
  var textMasks = new Map();   // coverage of drawn lines, by font and text
  var timer = 0;
  var testMode = false;
  var ticks = [];              // times of the last frame ticks, for the frame rate
  var pickedFiles = 0;
  var clip = null;
  var exports = {};

  // ------------------------------------------------------------ start-up

  function bytesFromBase64(text) {
    var binary = atob(text.replace(/\s+/g, ''));
    var bytes = new Uint8Array(binary.length);
    for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }

  function gunzip(bytes) {
    var stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
    return new Response(stream).arrayBuffer().then(function (b) { return new Uint8Array(b); });
  }

  function withString(text, use) {
    var size = Module.lengthBytesUTF8(text) + 1;
    var p = Module._malloc(size);
    Module.stringToUTF8(text, p, size);
    try { return use(p); } finally { Module._free(p); }
  }

  // The JPEG's pieces without its Exif segments: browsers turn a photo by the orientation these
  // hold, the desktop's decoder (and so the simulator) never does.
  function withoutExif(jpeg) {
    var pieces = [], kept = 0, at = 2;
    while (at + 4 <= jpeg.length && jpeg[at] === 0xFF) {
      var marker = jpeg[at + 1];
      if (marker === 0xDA || marker === 0xD9) break;  // the scans start: no more segments to look at
      var end = at + 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
      var exif = marker === 0xE1 && String.fromCharCode.apply(null, jpeg.subarray(at + 4, at + 8)) === 'Exif';
      if (exif) {
        pieces.push(jpeg.subarray(kept, at));
        kept = end;
      }
      at = end;
    }
    pieces.push(jpeg.subarray(Math.min(kept, jpeg.length)));
    return pieces;
  }

  // Decodes one JPEG with the browser at the planned size into the simulator's picture store.
  function decodePicture(path, bytes, offset, width, height) {
    var store = function (rgba, w, h) {
      withString(path, function (p) {
        if (!rgba) { Module._web_store_picture(p, offset, 0, 0, 0); return; }
        var q = Module._malloc(rgba.length);
        Module.HEAPU8.set(rgba, q);
        Module._web_store_picture(p, offset, q, w, h);
        Module._free(q);
      });
    };
    var blob = new Blob(withoutExif(bytes.subarray(offset)), { type: 'image/jpeg' });
    // As libjpeg gives it: no colour profile applied.
    var plain = { colorSpaceConversion: 'none', premultiplyAlpha: 'none' };
    return createImageBitmap(blob, plain).then(function (bitmap) {
      if (bitmap.width === width && bitmap.height === height) return bitmap;
      // A larger photo comes out reduced, at the size the desktop shows it.
      bitmap.close();
      return createImageBitmap(blob, Object.assign({ resizeWidth: width, resizeHeight: height,
                                                     resizeQuality: 'high' }, plain));
    }).then(function (bitmap) {
      var c = document.createElement('canvas');
      c.width = width;
      c.height = height;
      var g = c.getContext('2d', { willReadFrequently: true });
      g.drawImage(bitmap, 0, 0);
      bitmap.close();
      store(g.getImageData(0, 0, width, height).data, width, height);
    }).catch(function () { store(null, 0, 0); });
  }

  // Writes a vision file into the page's memory file system and decodes its pictures.
  function prepareVision(path, bytes) {
    Module.FS.writeFile(path, bytes);
    var plans = Module._malloc(4 * 12);
    var count = withString(path, function (p) { return Module._web_plan_pictures(p, plans); });
    var jobs = [];
    for (var i = 0; i < count; ++i) {
      var at = (plans >> 2) + 3 * i;
      var offset = Module.HEAP32[at], width = Module.HEAP32[at + 1], height = Module.HEAP32[at + 2];
      if (width > 0 && height > 0) jobs.push(decodePicture(path, bytes, offset, width, height));
    }
    Module._free(plans);
    return Promise.all(jobs);
  }

  function visionName() {
    var t = document.title.trim().slice(0, 100).replace(/[^A-Za-z0-9._ -]+/g, '_');
    return (t || 'vision') + '.flt';
  }

  function start() {
    ['web_plan_pictures', 'web_store_picture', 'web_start', 'web_run_script', 'web_tick', 'web_key_down',
     'web_mouse_move', 'web_left_down', 'web_left_up', 'web_right_down', 'web_paint', 'web_file_chosen',
     'web_enabled_effects', 'web_all_effects_on'].forEach(function (name) { exports[name] = Module['_' + name]; });
    makeFonts();
    var visionText = document.getElementById('vitrion-vision').textContent.trim();
    var test = /[#&]test=([^&]*)/.exec(location.hash);
    var rateRun = /[#&]fps=([0-9]+)/.exec(location.hash);
    var presses = /[#&]press=([0-9,]+)/.exec(location.hash);  // keys pressed once running (screenshots)
    testMode = !!test;
    if (visionText.indexOf(PLACEHOLDER_START) === 0) {
      message('This is the Vitrion player without a vision in it.\n\n' +
              'The editor writes a vision into it: File > "Save as web page…". ' +
              'Open the page it saves.', 'No vision in this page');
      finishTest('no vision');
      return;
    }
    var vision;
    try {
      vision = bytesFromBase64(visionText);
    } catch (e) {
      message('The vision in this page is damaged: its text is not base64.', 'Damaged page');
      finishTest('damaged');
      return;
    }
    Module.FS.mkdir('/vitrion');
    Module.FS.mkdir('/vitrion/picked');
    Module.FS.chdir('/vitrion');
    var visionPath = '/vitrion/' + visionName();
    gunzip(bytesFromBase64(document.getElementById('vitrion-default').textContent)).then(function (dat) {
      return Promise.all([prepareVision('/vitrion/vitrion.dat', dat), prepareVision(visionPath, vision)]);
    }).then(function () {
      withString(visionPath, function (p) { exports.web_start(p, testMode ? 1 : 0); });
      if (testMode) {
        var script = decodeURIComponent(test[1]);
        var result = withString(script, function (p) { return Module.UTF8ToString(exports.web_run_script(p)); });
        finishTest(result);
      }
      if (rateRun) measureFrameRate(Number(rateRun[1]));
      if (presses) {
        setTimeout(function () {
          presses[1].split(',').forEach(function (key) { exports.web_key_down(Number(key)); });
        }, 500);
      }
      layout();
    }).catch(function (e) {
      message('This browser cannot show the vision: ' + e, 'Vitrion');
      finishTest('failed: ' + e);
    });
  }

  // Test hook: runs the player for `seconds` with every effect on and the gaze circling, then
  // reports the frames a second of the last two seconds and the longest tick.
  function measureFrameRate(seconds) {
    var longest = 0, angle = 0, started = performance.now();
    var plainTick = exports.web_tick;
    exports.web_tick = function () {
      var t = performance.now();
      plainTick();
      longest = Math.max(longest, performance.now() - t);
    };
    var mover = setInterval(function () {
      angle += 0.15;
      exports.web_mouse_move(320 + Math.round(200 * Math.cos(angle)), 240 + Math.round(150 * Math.sin(angle)));
    }, 30);
    setTimeout(function () { exports.web_all_effects_on(); longest = 0; }, 1500);
    setTimeout(function () {
      clearInterval(mover);
      testMode = true;
      finishTest('fps ' + framesPerSecond().toFixed(2) + '\nlongest_tick_ms ' + longest.toFixed(1) +
                 '\nseconds ' + ((performance.now() - started) / 1000).toFixed(1));
    }, seconds * 1000);
  }

  function finishTest(result) {
    if (!testMode) return;
    document.getElementById('result').textContent = result;
    document.title = 'vitrion-test-done';
    // Headless runs read the result from the console.
    console.log('vitrion-result: ' + result.replace(/\n/g, ' | '));
  }

  // ------------------------------------------------------------ the screen

  function layout() {
    var bar = document.getElementById('touchbar');
    var barHeight = bar.style.display === 'flex' ? bar.offsetHeight : 0;
    var w = window.innerWidth, h = window.innerHeight - barHeight;
    var scale = Math.min(w / WIDTH, h / HEIGHT);
    screen.style.width = Math.floor(WIDTH * scale) + 'px';
    screen.style.height = Math.floor(HEIGHT * scale) + 'px';
    document.getElementById('stage').style.bottom = barHeight + 'px';
  }

  function frameToWords(pixelsPointer, words) {
    var frame = Module.HEAPU16.subarray(pixelsPointer >> 1, (pixelsPointer >> 1) + WIDTH * HEIGHT);
    for (var i = 0; i < frame.length; ++i) {
      var v = frame[i];
      // unpack_565: each field at the top of its byte; opaque.
      words[i] = 0xFF000000 | ((v & 31) << 19) | (((v >> 5) & 63) << 10) | (((v >> 11) & 31) << 3);
    }
  }

  function present(pixelsPointer) {
    frameToWords(pixelsPointer, screenWords);
    screenContext.putImageData(screenImage, 0, 0);
  }

  // ------------------------------------------------------------ text

  // Each font at the largest pixel size whose cell (ascent + descent) fits its row of CELL_HEIGHTS.
  function makeFonts() {
    for (var i = 0; i < CELL_HEIGHTS.length; ++i) {
      var size = CELL_HEIGHTS[i], m;
      for (; size > 4; --size) {
        textContext.font = size + 'px ' + FONT_FACE;
        m = textContext.measureText('Hg');
        if (Math.ceil(m.fontBoundingBoxAscent) + Math.ceil(m.fontBoundingBoxDescent) <= CELL_HEIGHTS[i]) break;
      }
      textContext.font = size + 'px ' + FONT_FACE;
      m = textContext.measureText('Hg');
      fonts.push({ css: size + 'px ' + FONT_FACE, ascent: Math.ceil(m.fontBoundingBoxAscent) });
    }
  }

  // Lines of `text` broken at word boundaries to `width` pixels, line breaks kept.
  function wrapLines(text, width) {
    var out = [];
    text.replace(/\r\n?/g, '\n').split('\n').forEach(function (paragraph) {
      var line = '';
      paragraph.split(' ').forEach(function (word) {
        var next = line ? line + ' ' + word : word;
        if (line && textContext.measureText(next).width > width) {
          out.push(line);
          line = word;
        } else {
          line = next;
        }
      });
      out.push(line);
    });
    return out;
  }

  // The coverage (0..255) of a text drawn at its origin, as a w x h mask, made once per line and font.
  function textMask(text, font, x, wrapped, box) {
    var key = font + '|' + wrapped + '|' + (wrapped ? box.join(',') : x) + '|' + text;
    var mask = textMasks.get(key);
    if (mask) return mask;
    var f = fonts[font] || fonts[2];
    var cell = CELL_HEIGHTS[font] || CELL_HEIGHTS[2];
    textContext.font = f.css;
    var lines, width, maxWidth = 0;
    if (wrapped) {
      width = Math.max(0, box[2] - box[0]);
      lines = wrapLines(text, width);
    } else {
      lines = [text];
      width = Math.ceil(textContext.measureText(text).width) + 2;
      // A line that would reach the screen's right edge is set narrower.
      if (x + width >= TEXT_RIGHT_LIMIT) maxWidth = Math.max(1, TEXT_RIGHT_LIMIT - 1 - x);
      if (maxWidth) width = maxWidth + 1;
    }
    var height = wrapped ? Math.max(0, box[3] - box[1]) : cell;
    width = Math.max(1, Math.min(width, WIDTH));
    height = Math.max(1, Math.min(height, HEIGHT));
    textCanvas.width = width;
    textCanvas.height = height;
    textContext.font = f.css;
    textContext.fillStyle = '#fff';
    textContext.textBaseline = 'alphabetic';
    for (var i = 0; i < lines.length && i * cell < height; ++i) {
      if (maxWidth) textContext.fillText(lines[i], 0, f.ascent + i * cell, maxWidth);
      else textContext.fillText(lines[i], 0, f.ascent + i * cell);
    }
    var data = textContext.getImageData(0, 0, width, height).data;
    var alpha = new Uint8Array(width * height);
    for (var j = 0; j < alpha.length; ++j) alpha[j] = data[4 * j + 3];
    mask = { width: width, height: height, alpha: alpha };
    if (textMasks.size > 2000) textMasks.clear();
    textMasks.set(key, mask);
    return mask;
  }

  // Draws a text run into the 5-6-5 frame, blending its colour over each pixel by the text's coverage.
  function drawText(pixelsPointer, text, x, y, font, colour, wrapped, box) {
    if (!text) return;
    var left = wrapped ? box[0] : x, top = wrapped ? box[1] : y;
    var mask = textMask(text, font, x, wrapped, box);
    var frame = Module.HEAPU16.subarray(pixelsPointer >> 1, (pixelsPointer >> 1) + WIDTH * HEIGHT);
    for (var row = 0; row < mask.height; ++row) {
      var fy = top + row;
      if (fy < 0 || fy >= HEIGHT) continue;
      for (var col = 0; col < mask.width; ++col) {
        var a = mask.alpha[row * mask.width + col];
        var fx = left + col;
        if (a === 0 || fx < 0 || fx >= WIDTH) continue;
        var i = fy * WIDTH + fx, v = frame[i];
        var r = ((v >> 11) & 31) << 3, g = ((v >> 5) & 63) << 2, b = (v & 31) << 3;
        r = Math.round((colour[0] * a + r * (255 - a)) / 255);
        g = Math.round((colour[1] * a + g * (255 - a)) / 255);
        b = Math.round((colour[2] * a + b * (255 - a)) / 255);
        frame[i] = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
      }
    }
  }

  // ------------------------------------------------------------ timer, messages, full screen

  function tick() {
    var now = performance.now();
    ticks.push(now);
    while (ticks.length > 0 && ticks[0] < now - 2000) ticks.shift();
    exports.web_tick();
  }

  function setTimer(periodMs) {
    if (timer) clearInterval(timer);
    timer = periodMs > 0 ? setInterval(tick, periodMs) : 0;
  }

  // Frames a second over the last two seconds.
  function framesPerSecond() {
    if (ticks.length < 2) return 0;
    return (ticks.length - 1) * 1000 / (ticks[ticks.length - 1] - ticks[0]);
  }

  function message(text, caption) {
    document.getElementById('notice-caption').textContent = caption;
    document.getElementById('notice-text').textContent = '\n' + text;
    document.getElementById('notice').style.display = 'block';
  }

  var errorTimer = 0;
  function showError(text) {
    console.log('vitrion-error: ' + text);
    var box = document.getElementById('errors');
    box.textContent = (box.textContent ? box.textContent + '\n' : '') + text;
    clearTimeout(errorTimer);
    errorTimer = setTimeout(function () { box.textContent = ''; }, 8000);
  }

  function leaveFullScreen() {
    if (document.fullscreenElement && document.exitFullscreen) document.exitFullscreen();
  }

  function toggleFullScreen() {
    if (document.fullscreenElement) leaveFullScreen();
    else if (document.documentElement.requestFullscreen) document.documentElement.requestFullscreen();
  }

  // ------------------------------------------------------------ F4, F8, F9

  function chooseFile() {
    var picker = document.getElementById('picker');
    picker.value = '';
    picker.click();
  }

  function answerPicker(file) {
    if (!file) { exports.web_file_chosen(0); return; }
    file.arrayBuffer().then(function (buffer) {
      var folder = '/vitrion/picked/' + (++pickedFiles);
      Module.FS.mkdir(folder);
      var path = folder + '/' + (file.name.replace(/[\/\0]/g, '_') || 'vision.flt');
      return prepareVision(path, new Uint8Array(buffer)).then(function () {
        withString(path, function (p) { exports.web_file_chosen(p); });
      });
    }).catch(function () { exports.web_file_chosen(0); });
  }

  function download(blob, name) {
    var a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function () { URL.revokeObjectURL(a.href); }, 60000);
  }

  function saveJpeg(name, quality, rgbPointer, width, height) {
    var c = document.createElement('canvas');
    c.width = width;
    c.height = height;
    var g = c.getContext('2d');
    var image = g.createImageData(width, height);
    var rgb = Module.HEAPU8.subarray(rgbPointer, rgbPointer + width * height * 3);
    for (var i = 0, j = 0; i < width * height; ++i, j += 3) {
      image.data[4 * i] = rgb[j];
      image.data[4 * i + 1] = rgb[j + 1];
      image.data[4 * i + 2] = rgb[j + 2];
      image.data[4 * i + 3] = 255;
    }
    g.putImageData(image, 0, 0);
    c.toBlob(function (blob) { if (blob) download(blob, name); }, 'image/jpeg', quality / 100);
    return 1;
  }

  function clipStart(name) {
    if (typeof MediaRecorder === 'undefined' || !HTMLCanvasElement.prototype.captureStream) return 0;
    var c = document.createElement('canvas');
    c.width = WIDTH;
    c.height = HEIGHT;
    var g = c.getContext('2d');
    var stream = c.captureStream(0);
    var type = ['video/webm;codecs=vp9', 'video/webm;codecs=vp8', 'video/webm'].find(function (t) {
      return MediaRecorder.isTypeSupported(t);
    });
    if (!type) return 0;
    var recorder;
    try { recorder = new MediaRecorder(stream, { mimeType: type }); } catch (e) { return 0; }
    var image = g.createImageData(WIDTH, HEIGHT);
    clip = { name: name, canvas: c, context: g, image: image, words: new Uint32Array(image.data.buffer),
             track: stream.getVideoTracks()[0], recorder: recorder, chunks: [], state: 0 };
    var current = clip;
    recorder.ondataavailable = function (e) { if (e.data && e.data.size) current.chunks.push(e.data); };
    recorder.onerror = function () { current.state = 2; };
    recorder.start();
    return 1;
  }

  function clipFrame(pixelsPointer) {
    if (!clip || clip.recorder.state !== 'recording') return;
    frameToWords(pixelsPointer, clip.words);
    clip.context.putImageData(clip.image, 0, 0);
    if (clip.track.requestFrame) clip.track.requestFrame();
  }

  function clipFinish() {
    if (!clip) return;
    var current = clip;
    current.recorder.onstop = function () {
      if (current.chunks.length === 0) { current.state = 2; return; }
      download(new Blob(current.chunks, { type: 'video/webm' }), current.name);
      current.state = 1;
    };
    current.recorder.stop();
  }

  function clipState() { return clip ? clip.state : 2; }

  function clipCancel() {
    if (!clip) return;
    clip.recorder.onstop = null;
    if (clip.recorder.state !== 'inactive') clip.recorder.stop();
    clip = null;
  }

  // ------------------------------------------------------------ keys, pointer, touch

  // A key event as the simulator's virtual key: letters by the character they type, the digit row
  // (never the keypad), F1..F9 and Space; 0 for keys the simulator does not know.
  function virtualKey(e) {
    if (/^F[1-9]$/.test(e.key)) return KEY_F1 + Number(e.key.slice(1)) - 1;
    if (e.key === ' ' || e.code === 'Space') return SPACE;
    if (e.key === 'Escape') return ESCAPE;
    if (e.key.length === 1) {
      var c = e.key.toUpperCase().charCodeAt(0);
      if (c >= 65 && c <= 90) return c;
      if (c >= KEY_0 && c <= KEY_0 + 9 && e.location !== KeyboardEvent.DOM_KEY_LOCATION_NUMPAD) return c;
    }
    return 0;
  }

  function onKeyDown(e) {
    if (e.ctrlKey || e.altKey || e.metaKey) return;
    var key = virtualKey(e);
    if (!key) return;
    e.preventDefault();
    // Escape leaves full screen (on its release); the page never ends.
    if (key !== ESCAPE) exports.web_key_down(key);
  }

  function onKeyUp(e) {
    if (virtualKey(e) === ESCAPE) leaveFullScreen();
  }

  function framePoint(clientX, clientY) {
    var r = screen.getBoundingClientRect();
    var x = Math.floor((clientX - r.left) * WIDTH / r.width), y = Math.floor((clientY - r.top) * HEIGHT / r.height);
    return [Math.max(0, Math.min(WIDTH - 1, x)), Math.max(0, Math.min(HEIGHT - 1, y))];
  }

  function gaze(clientX, clientY) {
    var p = framePoint(clientX, clientY);
    exports.web_mouse_move(p[0], p[1]);
  }

  var touchButtons = [
    ['Help', 112], ['Both', 116], ['Left', 117], ['Right', 118], ['Blink', 32], ['Floaters', 78], ['Scene', 76],
  ];
  // Effect keys in the order of web_enabled_effects' bits.
  var effectButtons = [
    ['Shadow', 89], ['Glasses', 87], ['Cells +', 80], ['Myopia', 77], ['Cataract', 71], ['Flash', 70],
    ['Stars', 67], ['Sac', 88], ['Sparks', 68],
  ];
  var shownEffects = -1;

  function makeTouchBar() {
    var bar = document.getElementById('touchbar');
    var effects = exports.web_enabled_effects();
    if (effects === shownEffects) return;
    shownEffects = effects;
    bar.textContent = '';
    var add = function (label, action) {
      var b = document.createElement('button');
      b.textContent = label;
      b.addEventListener('click', function (e) { e.preventDefault(); action(); });
      bar.appendChild(b);
    };
    touchButtons.forEach(function (t) { add(t[0], function () { exports.web_key_down(t[1]); }); });
    effectButtons.forEach(function (t, bit) {
      if (effects & (1 << bit)) add(t[0], function () { exports.web_key_down(t[1]); });
    });
    add('Full screen', toggleFullScreen);
    bar.style.display = 'flex';
    layout();
  }

  // A touch screen, or a page opened with #touch (to try the bar with a mouse).
  function touchScreen() {
    return /[#&]touch/.test(location.hash) || navigator.maxTouchPoints > 0 || (window.matchMedia && matchMedia('(pointer: coarse)').matches);
  }

  window.addEventListener('keydown', onKeyDown);
  window.addEventListener('keyup', onKeyUp);
  window.addEventListener('resize', layout);
  document.addEventListener('fullscreenchange', layout);
  screen.addEventListener('mousemove', function (e) { gaze(e.clientX, e.clientY); });
  screen.addEventListener('mousedown', function (e) {
    var p = framePoint(e.clientX, e.clientY);
    if (e.button === 0) exports.web_left_down(p[0], p[1]);
    if (e.button === 2) exports.web_right_down(p[0], p[1]);
  });
  screen.addEventListener('mouseup', function (e) {
    var p = framePoint(e.clientX, e.clientY);
    if (e.button === 0) exports.web_left_up(p[0], p[1]);
  });
  screen.addEventListener('dblclick', toggleFullScreen);
  screen.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  // A finger on the picture is the gaze; it never scrolls the page or clicks.
  var onTouch = function (e) {
    e.preventDefault();
    if (e.touches.length > 0) gaze(e.touches[0].clientX, e.touches[0].clientY);
  };
  screen.addEventListener('touchstart', onTouch, { passive: false });
  screen.addEventListener('touchmove', onTouch, { passive: false });
  document.getElementById('notice-ok').addEventListener('click', function () {
    document.getElementById('notice').style.display = 'none';
  });
  var picker = document.getElementById('picker');
  picker.addEventListener('change', function () { answerPicker(picker.files[0]); });
  picker.addEventListener('cancel', function () { answerPicker(null); });
  setInterval(function () { if (exports.web_enabled_effects && touchScreen()) makeTouchBar(); }, 1000);

  return {
    start: start, present: present, drawText: drawText, setTimer: setTimer, chooseFile: chooseFile,
    message: message, showError: showError, leaveFullScreen: leaveFullScreen, saveJpeg: saveJpeg,
    clipStart: clipStart, clipFrame: clipFrame, clipFinish: clipFinish, clipState: clipState,
    clipCancel: clipCancel, framesPerSecond: framesPerSecond,
  };
})();
