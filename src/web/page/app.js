// The browser panel: log-in, the routing and the cameras as the live socket
// reports them, and every action through the API. Camera moves run only
// while a button is held: the page sends a hold every 150 ms and the stop
// when the button is released, the pointer is lost, the page is hidden or
// the window loses the focus; the server stops the camera by itself when
// the holds stop coming.
"use strict";
(() => {
  const TEXTS = window.VELMAR_TEXTS;
  const $ = (id) => document.getElementById(id);
  const CAMERAS = 16;
  const MONITORS = 4;
  const PRESETS = 16;
  const HOLD_EVERY_MS = 150;

  const state = {
    me: null,
    monitors: [],
    cameras: [],
    speeds: { pan: 4, tilt: 4 },
    link: null,
    events: [],
    automation: null,
    selectedMonitor: 0,
  };
  let socket = null;
  let reconnect = 0;
  let held = null; // { button, action, timer }

  // --- Language ---------------------------------------------------------
  function pickLanguage() {
    const chosen = localStorage.getItem("velmar-language") || "";
    if (chosen && TEXTS[chosen]) return chosen;
    for (const l of navigator.languages || [navigator.language || "en"]) {
      const short = String(l).slice(0, 2).toLowerCase();
      if (TEXTS[short]) return short;
    }
    return "en";
  }
  let lang = pickLanguage();
  function t(key, ...args) {
    const text = (TEXTS[lang] && TEXTS[lang][key]) || TEXTS.en[key] || key;
    return text.replace(/\{(\d)\}/g, (_, i) => String(args[Number(i)] ?? ""));
  }
  function applyTexts() {
    document.documentElement.lang = lang;
    for (const el of document.querySelectorAll("[data-t]")) el.textContent = t(el.dataset.t);
    renderAll();
  }

  // --- Small helpers ----------------------------------------------------
  function el(tag, props = {}, children = []) {
    const e = document.createElement(tag);
    for (const [k, v] of Object.entries(props)) {
      if (k === "class") e.className = v;
      else if (k === "text") e.textContent = v;
      else if (k.startsWith("on")) e.addEventListener(k.slice(2), v);
      else e.setAttribute(k, v);
    }
    for (const c of children) e.append(c);
    return e;
  }
  function say(text, refused = false) {
    const s = $("status");
    s.textContent = text;
    s.classList.toggle("refused", refused);
  }
  function cameraTitle(n) {
    const c = state.cameras.find((x) => x.camera === n);
    return c ? c.title : t("camera", n);
  }

  // Resolves to { status, data } however the request ends.
  function api(method, path, body) {
    const init = { method, credentials: "same-origin", headers: {} };
    if (body !== undefined) {
      init.headers["Content-Type"] = "application/json";
      init.body = JSON.stringify(body);
    }
    return fetch(path, init).then(
      (response) => response.json().then(
        (data) => ({ status: response.status, data }),
        () => ({ status: response.status, data: {} })),
      (e) => ({ status: 0, data: { error: String(e) } }));
  }

  // An action and what became of it, on the status line.
  function act(label, path, body) {
    return api("POST", path, body === undefined ? {} : body).then((r) => {
      if (r.status === 200) say(t("sent", label));
      else if (r.status === 401) showLogin();
      else if (r.status === 503) say(t("not-sent", label, r.data.error || ""), true);
      else say(t("refused", label, r.data.error || String(r.status)), true);
      return r.status;
    });
  }

  // --- Log-in -----------------------------------------------------------
  function showLogin() {
    stopHold();
    state.me = null;
    if (socket) { socket.onclose = null; socket.close(); socket = null; }
    $("panel").hidden = true;
    $("logout").hidden = true;
    $("who").textContent = "";
    $("login-form").hidden = false;
    $("user").focus();
  }

  function start() {
    api("GET", "/api/v1/me").then((r) => {
      if (r.status === 200) enter(r.data);
      else showLogin();
    });
  }

  function enter(me) {
    state.me = me;
    $("login-form").hidden = true;
    $("panel").hidden = false;
    $("logout").hidden = false;
    $("who").textContent = me.user + " (" + me.role + ")";
    $("viewer-note").hidden = me.role !== "viewer";
    $("force-box").hidden = me.role !== "supervisor";
    $("automation").hidden = !me.automation;
    connect();
    renderAll();
  }

  $("login-form").addEventListener("submit", (e) => {
    e.preventDefault();
    $("login-error").textContent = "";
    const login = { user: $("user").value, password: $("password").value };
    $("password").value = "";
    api("POST", "/api/v1/login", login).then((r) => {
      if (r.status === 200) start();
      else if (r.status === 429) $("login-error").textContent = t("login-limited", "?");
      else $("login-error").textContent = t("login-failed");
    });
  });
  $("logout").addEventListener("click", () => {
    api("POST", "/api/v1/logout", {}).then(showLogin);
  });
  $("language").value = localStorage.getItem("velmar-language") || "";
  $("language").addEventListener("change", () => {
    localStorage.setItem("velmar-language", $("language").value);
    lang = pickLanguage();
    applyTexts();
  });

  // --- The live socket --------------------------------------------------
  function connect() {
    if (socket) return;
    const scheme = location.protocol === "https:" ? "wss://" : "ws://";
    socket = new WebSocket(scheme + location.host + "/api/v1/live");
    socket.onmessage = (m) => {
      let msg;
      try { msg = JSON.parse(m.data); } catch (e) { return; }
      received(msg);
    };
    socket.onopen = () => { reconnect = 0; say(""); };
    socket.onclose = () => {
      socket = null;
      stopHold();
      if (!state.me) return;
      say(t("offline"), true);
      reconnect = Math.min(reconnect + 1, 5);
      setTimeout(() => {
        api("GET", "/api/v1/me").then((r) => {
          if (r.status === 200) connect();
          else if (r.status === 401) showLogin();
          else setTimeout(connect, 1000);
        });
      }, 1000 * reconnect);
    };
  }
  function sendLive(msg) {
    if (socket && socket.readyState === WebSocket.OPEN) socket.send(JSON.stringify(msg));
  }

  function received(msg) {
    switch (msg.type) {
      case "routing": state.monitors = msg.monitors || []; renderMonitors(); renderCameras(); break;
      case "cameras":
        state.cameras = msg.cameras || [];
        if (msg.speeds) state.speeds = msg.speeds;
        renderCameras(); renderMonitors(); renderSpeeds(); renderPtzChoice();
        break;
      case "link": state.link = msg; renderLink(); break;
      case "events":
        state.events = state.events.concat(msg.events || []).slice(-50);
        renderEvents();
        break;
      case "automation": state.automation = msg; renderAutomation(); break;
      case "refused": say(t("refused", t("ptz"), msg.error + (msg.holder ? " (" + msg.holder + ")" : "")), true); stopHold(false); break;
      case "stopped": say(t("move-stopped", t(msg.action) + " — " + msg.reason)); stopHold(false); break;
      default: break;
    }
  }

  // --- Rendering --------------------------------------------------------
  function renderAll() {
    renderMonitors(); renderCameras(); renderPtzChoice(); renderSpeeds(); renderPresets();
    renderLink(); renderEvents(); renderAutomation();
  }

  function renderMonitors() {
    const box = $("monitors");
    box.replaceChildren();
    for (let m = 1; m <= MONITORS; ++m) {
      const s = state.monitors.find((x) => x.monitor === m) || { camera: null, stale: false, lock: null };
      const shows = s.camera ? t("shows", s.camera + " " + cameraTitle(s.camera)) : t("unknown");
      const button = el("button", {
        type: "button", id: "monitor-" + m,
        class: "name" + (state.selectedMonitor === m ? " selected" : "") + (s.camera ? " lit" : ""),
        "aria-pressed": String(state.selectedMonitor === m),
        text: t("monitor", m),
        onclick: () => { state.selectedMonitor = m; renderMonitors(); },
      });
      const tile = el("div", { class: "monitor", id: "monitor-tile-" + m }, [
        button,
        el("span", { class: "shows", id: "monitor-shows-" + m, text: shows }),
      ]);
      if (s.stale) tile.append(el("span", { class: "stale", text: t("stale") }));
      if (s.lock) tile.append(el("span", { class: "lock", text: t("locked-by", s.lock.holder) }));
      const force = () => $("force").checked;
      tile.append(el("div", {}, [
        el("button", { type: "button", id: "lock-" + m, text: t("lock"),
          onclick: () => act(t("lock") + " " + t("monitor", m), "/api/v1/monitors/" + m + "/lock", { force: force() }) }),
        el("button", { type: "button", id: "unlock-" + m, text: t("unlock"),
          onclick: () => act(t("unlock") + " " + t("monitor", m), "/api/v1/monitors/" + m + "/unlock", { force: force() }) }),
      ]));
      box.append(tile);
    }
  }

  function renderCameras() {
    const box = $("cameras");
    box.replaceChildren();
    for (let c = 1; c <= CAMERAS; ++c) {
      const info = state.cameras.find((x) => x.camera === c);
      const onMonitor = state.monitors.some((m) => m.camera === c);
      const b = el("button", {
        type: "button", id: "camera-" + c, class: onMonitor ? "lit" : "",
        "aria-label": t("camera", c) + ", " + cameraTitle(c) + (info && info.holder ? ", " + t("driven-by", info.holder) : ""),
        onclick: () => route(c),
      }, [el("span", { class: "n", text: String(c) }), el("span", { text: cameraTitle(c) })]);
      box.append(b);
    }
  }

  function route(camera) {
    const m = state.selectedMonitor;
    if (!m) { say(t("choose-monitor"), true); return; }
    act(t("route-what", m, camera), "/api/v1/route", { monitor: m, camera });
    $("ptz-camera").value = String(camera);
  }

  function renderPtzChoice() {
    const select = $("ptz-camera");
    const was = select.value;
    select.replaceChildren();
    for (let c = 1; c <= CAMERAS; ++c)
      select.append(el("option", { value: String(c), text: c + " " + cameraTitle(c) }));
    select.value = was || "1";
  }

  function renderSpeeds() {
    for (const axis of ["pan", "tilt"]) {
      const input = $(axis + "-speed");
      if (document.activeElement !== input) input.value = String(state.speeds[axis] ?? 4);
      $(axis + "-speed-value").textContent = input.value;
    }
  }
  for (const axis of ["pan", "tilt"])
    $(axis + "-speed").addEventListener("input", () => { $(axis + "-speed-value").textContent = $(axis + "-speed").value; });

  function renderPresets() {
    const box = $("presets");
    box.replaceChildren();
    for (let p = 1; p <= PRESETS; ++p) {
      box.append(el("button", {
        type: "button", id: "preset-" + p, text: String(p), "aria-label": t("preset", p),
        onclick: () => {
          const store = $("store").checked;
          const camera = Number($("ptz-camera").value);
          act(t("preset", p), "/api/v1/presets/" + p + (store ? "/store" : "/recall"), { camera });
          $("store").checked = false;
        },
      }));
    }
  }

  for (const b of document.querySelectorAll("[data-aux]"))
    b.addEventListener("click", () => act(t(b.dataset.aux), "/api/v1/auxiliary/" + b.dataset.aux));

  function renderLink() {
    const l = state.link;
    $("link-state").textContent = l ? l.state : "";
    $("link-state").className = l ? l.level : "";
    $("link-channel").textContent = l ? l.channel : "";
    $("link-answer").textContent = l ? l.answer : "";
  }

  function renderEvents() {
    const list = $("events");
    list.replaceChildren();
    for (const e of state.events.slice().reverse()) {
      const time = new Date(e.time);
      list.append(el("li", {}, [
        el("time", { datetime: e.time, text: isNaN(time) ? e.time : time.toLocaleTimeString(lang) }),
        el("span", { text: [e.origin, e.meaning, e.bytes].filter(Boolean).join(" · ") }),
      ]));
    }
  }

  function renderAutomation() {
    const a = state.automation;
    if (!a || !state.me || !state.me.automation) return;
    const salvos = $("salvos");
    salvos.replaceChildren();
    for (const name of a.salvos || [])
      salvos.append(el("button", { type: "button", text: name,
        onclick: () => act(name, "/api/v1/salvos/" + encodeURIComponent(name) + "/recall") }));
    const tours = $("tours");
    tours.replaceChildren();
    for (const tour of a.tours || []) {
      const run = tour.run === "running" ? t("running", tour.step, tour.steps)
        : tour.run === "held" ? t("held", tour.step, tour.steps) : t("stopped");
      const path = "/api/v1/tours/" + tour.tour + "/";
      const label = t("tour-row", tour.tour, tour.monitor, "").replace(/:\s*$/, "");
      tours.append(el("li", {}, [
        el("span", { text: t("tour-row", tour.tour, tour.monitor, run) }),
        el("button", { type: "button", text: t("start"), onclick: () => act(label, path + "start") }),
        el("button", { type: "button", text: t("hold"), onclick: () => act(label, path + "hold") }),
        el("button", { type: "button", text: t("back"), onclick: () => act(label, path + "step", { by: -1 }) }),
        el("button", { type: "button", text: t("next"), onclick: () => act(label, path + "step", { by: 1 }) }),
        el("button", { type: "button", text: t("stop"), onclick: () => act(label, path + "stop") }),
      ]));
    }
    const alarms = $("alarms");
    alarms.replaceChildren();
    for (const alarm of a.alarms || []) {
      const row = el("li", { class: alarm.active ? "active" : "" }, [
        el("span", { text: t("alarm-row", alarm.input, alarm.camera ?? "-", alarm.monitor ?? "-") }),
      ]);
      if (alarm.active) row.append(el("span", { text: t("alarm-active") }));
      if (alarm.acknowledged) row.append(el("span", { text: t("acknowledged") }));
      if (alarm.active && !alarm.acknowledged)
        row.append(el("button", { type: "button", text: t("acknowledge"),
          onclick: () => act(t("alarm-row", alarm.input, alarm.camera, alarm.monitor), "/api/v1/alarms/" + alarm.input + "/ack") }));
      alarms.append(row);
    }
  }

  // --- Hold-to-run ------------------------------------------------------
  function startHold(button) {
    stopHold();
    const action = button.dataset.move;
    const pan = action === "left" || action === "right";
    const tilt = action === "up" || action === "down";
    const msg = { type: "move", camera: Number($("ptz-camera").value), action };
    if (pan) msg.speed = Number($("pan-speed").value);
    if (tilt) msg.speed = Number($("tilt-speed").value);
    sendLive(msg);
    button.classList.add("held");
    held = { button, action, timer: setInterval(() => sendLive({ type: "hold" }), HOLD_EVERY_MS) };
    say(t("moving", t(action)));
  }
  function stopHold(tell = true) {
    if (!held) return;
    clearInterval(held.timer);
    held.button.classList.remove("held");
    held = null;
    if (tell) sendLive({ type: "stop" });
  }
  for (const b of document.querySelectorAll("button.hold")) {
    b.addEventListener("pointerdown", (e) => {
      if (e.button !== 0) return;
      e.preventDefault();
      b.setPointerCapture(e.pointerId);
      startHold(b);
    });
    for (const end of ["pointerup", "pointercancel", "lostpointercapture"])
      b.addEventListener(end, () => { if (held && held.button === b) stopHold(); });
    b.addEventListener("keydown", (e) => {
      if ((e.key === " " || e.key === "Enter") && !e.repeat) { e.preventDefault(); startHold(b); }
    });
    b.addEventListener("keyup", (e) => {
      if (e.key === " " || e.key === "Enter") { e.preventDefault(); if (held && held.button === b) stopHold(); }
    });
    b.addEventListener("blur", () => { if (held && held.button === b) stopHold(); });
    b.addEventListener("contextmenu", (e) => e.preventDefault());
  }
  document.addEventListener("visibilitychange", () => { if (document.hidden) stopHold(); });
  window.addEventListener("pagehide", () => stopHold());
  window.addEventListener("blur", () => stopHold());

  applyTexts();
  start();
})();
