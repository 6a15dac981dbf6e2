'use strict';
// The page's view over the window model: it builds the sheet from the
// model's arrangement (places in pixels, kinds, names), forwards each event
// to the model, then shows every control's text and value from the model
// again. Files chosen in the browser are written into the model's game
// folder first; a save hands the bytes written there to the browser.
//
// The sheet is shown at once from what the module showed when the page was
// built (the snapshot); the module starts after, and events taken meanwhile
// are forwarded to it, in order, as soon as it has.

{
  let M;      // the module: the model's bindings and its memory file system
  let page;   // the window model
  let sheet;  // every control's place, kind and naming, in reading order
  let ids;    // the control the page treats apart
  const refreshers = [];
  let ready = false;    // the module has started
  const pending = [];   // events taken before it had
  let started;          // resolves when it has, for what needs its files
  const moduleStarted = new Promise((resolve) => { started = resolve; });
  let keeps;            // resolves when the model keeps the work, for a restore
  const keeping = new Promise((resolve) => { keeps = resolve; });
  const elementOf = new Map();  // control id (and member) -> its element

  const make = (tag, props = {}) => Object.assign(document.createElement(tag), props);
  const place = (element, rect) => {
    Object.assign(element.style, {
      left: rect.left + 'px', top: rect.top + 'px', width: rect.width + 'px', height: rect.height + 'px',
    });
    return element;
  };
  const key = (id, member = -1) => (member < 0 ? `c${id}` : `c${id}-${member}`);

  // ---- Events: forwarded, then everything shown again ----

  function forward(event) {
    if (!ready) {
      pending.push(event);
      return;
    }
    event();
    if (page.takeCompare() && inspectorPanel.hidden) toggleInspector();
    const written = page.takeWritten();
    if (written.length > 0) {
      deliver(written);
      showMissions();
    }
    touched();
    refresh();
    showInspector();
    const focus = page.takeFocusRequest();
    if (focus !== sheet.none) elementOf.get(key(focus))?.focus();
  }

  const toFit = [];  // captions whose text changed, fitted after all are shown

  function refresh() {
    for (const show of refreshers) show();
    fit(toFit.splice(0));
    showTitle();
  }

  function showTitle() {
    document.title = page.title();
    document.getElementById('title').textContent = document.title;
  }

  // A caption wider than its place (a note, taller) is set smaller until it
  // fits, as the desktop narrows its font, down to 8 pixels. All are
  // measured at once each step, so the browser lays the page out once a step.
  function fit(elements) {
    const over = (element) => element.scrollWidth > element.clientWidth ||
      (element.classList.contains('note') && element.scrollHeight > element.clientHeight);
    for (const element of elements) element.style.fontSize = '';
    let large = elements.filter(over);
    for (let size = 10; large.length > 0 && size >= 8; --size) {
      for (const element of large) element.style.fontSize = size + 'px';
      large = large.filter(over);
    }
  }

  function download(path) {
    const bytes = M.FS.readFile(path);
    const link = make('a', {
      href: URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' })),
      download: path.slice(path.lastIndexOf('/') + 1),
    });
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  }

  // The files a save wrote into the game folder: into the folder on disk
  // where the page may write there, else downloaded.
  function deliver(paths) {
    if (folder.writable) writeToFolder(paths);
    else paths.forEach(download);
  }

  // ---- The controls, one maker per kind ----

  function makeFrame(c) {
    const frame = make('fieldset', { className: 'frame' });
    const legend = frame.appendChild(make('legend'));
    refreshers.push(() => { legend.textContent = page.text(c.id); });
    return frame;
  }

  // A label names a box or a list (<label for>), is a value Tab reaches
  // (a read-only box named by what it is), or is a caption or plain value.
  function makeLabel(c) {
    const names = sheet.controls.find((other) => other.namedBy === c.id);
    let label;
    if (names) label = make('label', { className: 'caption', htmlFor: key(names.id) });
    else if (c.reach === 'tab') label = make('input', { className: 'value', readOnly: true, title: c.what });
    else label = make('span', { className: 'caption' });
    if (c.reach === 'tab') label.setAttribute('aria-label', c.what);
    if (c.rect.height > 40) label.classList.add('note');
    refreshers.push(() => {
      const text = page.text(c.id);
      if (label.tagName === 'INPUT') label.value = text;
      else if (label.textContent !== text) toFit.push(Object.assign(label, { textContent: text }));
    });
    return label;
  }

  // The status line is announced whenever the model says something, the
  // same sentence again included.
  function makeStatus(c) {
    const line = make('div', { className: 'status' });
    line.setAttribute('role', 'status');
    let said = page.said();
    refreshers.push(() => {
      const text = page.text(c.id);
      if (line.textContent !== text) line.textContent = text;
      else if (said !== page.said()) {
        line.textContent = '';
        requestAnimationFrame(() => { line.textContent = text; });
      }
      said = page.said();
    });
    return line;
  }

  // A slot is a button named by what it is and what it shows.
  function makeSlot(c) {
    const slot = make('button', { className: 'slot', type: 'button', title: c.hint || c.what });
    slot.addEventListener('click', () => forward(() => page.click(c.id, -1)));
    refreshers.push(() => {
      slot.textContent = page.text(c.id);
      slot.setAttribute('aria-label', page.name(c.id));
    });
    return slot;
  }

  function makeButton(c) {
    const button = make('button', { type: 'button' });
    button.addEventListener('click', () => {
      if (c.id === ids.LoadButton) chooseMission();
      else if (c.id === ids.SaveButton) onFolderNow(() => page.click(c.id, -1));
      else forward(() => page.click(c.id, -1));
    });
    refreshers.push(() => { button.textContent = page.text(c.id); });
    return button;
  }

  // A box gives the model its text as typed, and Enter.
  function makeBox(c) {
    const box = make('input', { type: 'text', className: 'box', spellcheck: false, autocomplete: 'off' });
    box.addEventListener('input', () => {
      const text = box.value;  // as typed now, before any event after it
      if (!ready) return pending.push(() => page.type(c.id, text));
      page.type(c.id, text);
      touched();
      showTitle();
    });
    box.addEventListener('keydown', (e) => {
      if (e.key === 'Enter') forward(() => page.keyPress(c.id, 13));
    });
    let commits = -1;
    refreshers.push(() => {
      const text = page.text(c.id);
      if (box.value !== text || commits !== page.boxCommits(c.id)) box.value = text;
      commits = page.boxCommits(c.id);
    });
    return box;
  }

  function makeCheck(c) {
    const label = make('label', { className: 'check' });
    const box = label.appendChild(make('input', { type: 'checkbox', id: key(c.id) }));
    const caption = label.appendChild(make('span'));
    box.addEventListener('change', () => forward(() => page.check(c.id, box.checked)));
    refreshers.push(() => {
      caption.textContent = page.text(c.id);
      box.checked = page.value(c.id) === 1;
    });
    elementOf.set(key(c.id), box);
    return label;
  }

  // One radio button of an option group; the group is named by its frame,
  // or by a fieldset of its own where a caption names it.
  function makeOption(c) {
    const label = make('label', { className: 'option' });
    const radio = label.appendChild(make('input', { type: 'radio', name: key(c.id), value: String(c.member) }));
    radio.id = key(c.id, c.member);
    const caption = label.appendChild(make('span'));
    radio.addEventListener('change', () => {
      if (radio.checked) forward(() => page.click(c.id, c.member));
    });
    refreshers.push(() => {
      caption.textContent = page.members(c.id)[c.member];
      radio.checked = page.value(c.id) === c.member;
    });
    if (c.member === 0) elementOf.set(key(c.id), radio);
    return label;
  }

  // A pick list is a list box of the catalogue's items.
  function makeList(c) {
    const list = make('select', { size: 2 });
    list.addEventListener('change', () => forward(() => page.select(c.id, list.selectedIndex)));
    list.addEventListener('contextmenu', (e) => openEntryMenu(c.id, list, e));
    let read = -1;
    refreshers.push(() => {
      if (read !== page.cataloguesRead()) {
        read = page.cataloguesRead();
        list.replaceChildren();
        for (let i = 0; i < page.itemCount(c.id); ++i) list.appendChild(make('option', { text: page.item(c.id, i) }));
      }
      if (list.selectedIndex !== page.value(c.id)) list.selectedIndex = page.value(c.id);
    });
    return list;
  }

  // ---- A list entry's menu ----

  let entryMenu = null;

  // The selected entry's menu: a "Use as …" item for each slot the list
  // fills, as the desktop's; the right click, the Menu key and Shift+F10 all
  // open it. A right click on an entry selects it first.
  function openEntryMenu(id, list, e) {
    e.preventDefault();
    if (!ready) return;
    if (e.target instanceof HTMLOptionElement) forward(() => page.select(id, e.target.index));
    const entry = page.value(id);
    closeEntryMenu();
    if (entry < 0) return;
    const sheetRoot = document.getElementById('sheet');
    const menu = entryMenu = sheetRoot.appendChild(make('div', { className: 'entry-menu' }));
    menu.setAttribute('role', 'menu');
    menu.setAttribute('aria-label', page.item(id, entry));
    for (const use of M.entryUses(id)) {
      const item = menu.appendChild(make('button', { type: 'button', tabIndex: -1, textContent: use.caption }));
      item.setAttribute('role', 'menuitem');
      item.addEventListener('click', () => {
        closeEntryMenu(list);
        forward(() => page.useEntry(id, entry, use.slot));
      });
    }
    menu.addEventListener('keydown', (k) => moveInEntryMenu(k, list));
    menu.addEventListener('focusout', (f) => { if (entryMenu === menu && !menu.contains(f.relatedTarget)) closeEntryMenu(); });
    // At the pointer, or under the entry when a key opened it.
    const sheetBox = sheetRoot.getBoundingClientRect();
    const under = (list.options[entry] ?? list).getBoundingClientRect();
    const at = e.target instanceof HTMLOptionElement ? { x: e.clientX, y: e.clientY } : { x: under.left, y: under.bottom };
    Object.assign(menu.style, { left: (at.x - sheetBox.left) + 'px', top: (at.y - sheetBox.top) + 'px' });
    menu.firstChild.focus();
  }

  // Arrows, Home and End move among the items; Escape closes the menu and
  // gives the focus back to the list; Tab goes on from the list.
  function moveInEntryMenu(e, list) {
    const items = [...entryMenu.children];
    const at = items.indexOf(document.activeElement);
    const to = { ArrowDown: at + 1, ArrowUp: at - 1, Home: 0, End: items.length - 1 }[e.key];
    if (to !== undefined) {
      e.preventDefault();
      items[(to + items.length) % items.length].focus();
    } else if (e.key === 'Escape') {
      e.preventDefault();
      closeEntryMenu(list);
    } else if (e.key === 'Tab') {
      closeEntryMenu(list);
    }
  }

  function closeEntryMenu(focusBack) {
    const menu = entryMenu;
    entryMenu = null;
    menu?.remove();
    focusBack?.focus();
  }

  const makers = {
    frame: makeFrame, label: makeLabel, status: makeStatus, slot: makeSlot, button: makeButton,
    box: makeBox, check: makeCheck, option: makeOption, list: makeList,
  };

  // ---- The sheet ----

  // The fieldset that names an option group by its caption, made with the
  // group's first button.
  function groupOf(c, frame) {
    const id = key(c.id) + '-group';
    let group = document.getElementById(id);
    if (!group) {
      group = place(frame.appendChild(make('fieldset', { className: 'group', id })), c.groupRect);
      const legend = group.appendChild(make('legend', { className: 'hidden-name' }));
      refreshers.push(() => { legend.textContent = page.text(c.groupCaption); });
    }
    return group;
  }

  function buildSheet() {
    const root = document.getElementById('sheet');
    Object.assign(root.style, { width: sheet.width + 'px', height: sheet.height + 'px' });
    const frames = new Map();
    for (const c of sheet.controls) {
      let parent = c.parent < 0 ? root : frames.get(c.parent);
      let rect = c.rect;
      if (c.groupCaption >= 0) {
        parent = groupOf(c, parent);
        rect = { ...rect, left: rect.left - c.groupRect.left, top: rect.top - c.groupRect.top };
      }
      const element = place(parent.appendChild(makers[c.kind](c)), rect);
      if (!elementOf.has(key(c.id, c.member))) elementOf.set(key(c.id, c.member), element);
      if (c.kind === 'frame') frames.set(c.id, element);
      if (c.kind === 'box' || c.kind === 'list') element.id = key(c.id);
    }
  }

  // ---- Files: the game folder, a mission, and the commands ----

  const missionInput = document.getElementById('mission-file');
  const folderInput = document.getElementById('game-folder');

  function chooseMission() { missionInput.value = ''; missionInput.click(); }

  async function openChosen() {
    await moduleStarted;
    const file = missionInput.files[0];
    if (!file) return forward(() => page.load(''));
    const path = await takeMission(file);
    if (path) forward(() => page.load(path));
  }

  // A mission chosen or dropped, written into the game folder to be opened;
  // null when it is not read, the status line saying why. It is not the file
  // of that name in the folder on disk, if there is one: a save reads that
  // file again first, so that it is copied before it is replaced.
  async function takeMission(file) {
    const missed = await takeFile(file.name, file);
    if (missed) {
      forward(() => page.unread(...missed));
      return null;
    }
    folder.known.delete(file.name);
    return `${M.gameFolder()}/${file.name}`;
  }

  // The folder chosen (its own files, not its subfolders') becomes the
  // game folder.
  async function readFolder() {
    await takeGameFolder([...folderInput.files].filter((f) => f.webkitRelativePath.split('/').length === 2));
  }

  // Whether the game folder takes a file of a folder, under the name the
  // model gives it (a catalogue's in any case, as Windows reads it).
  const isOwn = (name) => M.ownFileName(name) !== '';

  function emptyGameFolder() {
    const at = M.gameFolder();
    for (const name of M.FS.readdir(at)) if (M.FS.isFile(M.FS.stat(`${at}/${name}`).mode)) M.FS.unlink(`${at}/${name}`);
  }

  // A file into the game folder: null when read, else [name, why not],
  // why empty for a file larger than the page reads of a file, else the
  // browser's error (a file changed or gone since it was chosen, say).
  async function takeFile(name, file) {
    if (file.size > M.largestRead()) return [name, ''];
    try {
      M.FS.writeFile(`${M.gameFolder()}/${M.ownFileName(name)}`, new Uint8Array(await file.arrayBuffer()));
      return null;
    } catch (error) {
      return [name, error.message || error.name];
    }
  }

  // What chooses the game folder, or reads it again for a command, runs in
  // turn, in the order asked: a folder chosen while another is still read
  // replaces it once that is read, not midway.
  let folderTurn = Promise.resolve();
  function inTurn(task) {
    const turn = folderTurn.then(task);
    folderTurn = turn.catch(() => {});
    return turn;
  }

  // Files that become the game folder, to be read only: its catalogues,
  // which the model reads, and its missions.
  function takeGameFolder(files) {
    folder.chosen = true;
    return inTurn(() => fillGameFolder(files));
  }

  async function fillGameFolder(files) {
    await moduleStarted;
    emptyGameFolder();
    setFolder(null, false);
    const skipped = [];
    for (const file of files.filter((f) => isOwn(f.name))) {
      const missed = await takeFile(file.name, file);
      if (missed) skipped.push(missed);
    }
    forward(() => {
      page.changeFolder();
      page.skipped(skipped);
    });
    showMissions();
  }

  // ---- Drops ----

  // A box of text: the sheet's, a value shown, or the missions' filter.
  const textBox = (target) => target instanceof HTMLInputElement && (target.type === 'text' || target.type === 'search');

  // A drag over a text box that carries no files is the box's own (dropped
  // text); any other drop is the page's, so that a link dropped never
  // leads away from the work.
  const boxTakes = (e) => !e.dataTransfer.types.includes('Files') && textBox(e.target);

  // What was dropped goes to the model, which says what it is for: a
  // mission, loaded as a drop on the desktop's window loads it, or the game
  // folder (a folder, or its catalogues); else it says why not. A file's
  // other forms (its address, say) are not things of their own.
  async function dropped(e) {
    e.preventDefault();
    const all = [...e.dataTransfer.items];
    const files = all.filter((item) => item.kind === 'file').map((item) => {
      const entry = item.webkitGetAsEntry?.();
      const file = item.getAsFile();
      return { name: entry?.name ?? file?.name ?? '', folder: Boolean(entry?.isDirectory), entry, file };
    });
    const notFiles = files.length === 0 && all.length > 0 ? 1 : 0;
    await moduleStarted;
    let use;
    forward(() => { use = page.planDrop(files.map(({ name, folder }) => ({ name, folder })), notFiles); });
    if (use === M.DropUse.Mission) {
      const path = await takeMission(files[0].file);
      if (path) forward(() => page.open(path));
    } else if (use === M.DropUse.GameFolder) {
      await takeGameFolder(files[0].folder ? await folderFiles(files[0].entry) : files.map((f) => f.file));
    }
  }

  // The files of a dropped folder: its own, not its subfolders'.
  async function folderFiles(folder) {
    const reader = folder.createReader();
    const entries = [];
    for (let batch; (batch = await new Promise((done, fail) => reader.readEntries(done, fail))).length > 0;) entries.push(...batch);
    return Promise.all(entries.filter((entry) => entry.isFile).map((entry) => new Promise((done, fail) => entry.file(done, fail))));
  }

  // The missions panel: a row for each mission of the game folder, whose
  // file button opens it.
  const missionsPanel = document.getElementById('missions');

  // The missions chosen (by path), for Compare and Stamp checksums: each
  // row's box, named by its file, chooses it.
  const chosen = new Set();
  let shownMissions = [];
  const chosenPaths = () => shownMissions.map((m) => m.path).filter((p) => chosen.has(p));

  function showMissions() {
    if (missionsPanel.hidden || !ready) return;
    const rows = missionsPanel.querySelector('tbody');
    // A row's button that has the focus keeps it in the rows shown again
    // (the panel takes it when that row is gone).
    const focused = rows.contains(document.activeElement) ? document.activeElement.dataset.key : null;
    rows.replaceChildren();
    shownMissions = page.missions();
    shownMissions.forEach((mission, i) => {
      const row = rows.appendChild(make('tr'));
      const file = row.appendChild(make('th', { scope: 'row' }));
      const choose = file.appendChild(make('input', { type: 'checkbox', checked: chosen.has(mission.path) }));
      const open = file.appendChild(make('button', { type: 'button', textContent: mission.texts[0], id: `mission-${i}` }));
      choose.setAttribute('aria-labelledby', open.id);
      choose.addEventListener('change', () => (choose.checked ? chosen.add(mission.path) : chosen.delete(mission.path)));
      choose.dataset.key = `choose ${mission.path}`;
      open.dataset.key = `open ${mission.path}`;
      open.addEventListener('click', () => onFolderNow(() => page.open(mission.path)));
      for (const text of mission.texts.slice(1)) row.appendChild(make('td', { textContent: text }));
      appendCompare(row, mission.path);
    });
    if (focused) ([...rows.querySelectorAll('button, input')].find((b) => b.dataset.key === focused) ?? missionsPanel).focus();
    showMissionsOrder();
  }

  // A mission's Compare: the model asks for it in the inspector, which
  // opens to show it.
  let compareCaption;

  function appendCompare(row, path) {
    const compare = row.appendChild(make('td')).appendChild(make('button', { type: 'button', textContent: compareCaption }));
    compare.dataset.key = `compare ${path}`;
    compare.addEventListener('click', () => onFolderNow(() => page.compare(path)));
  }

  // The sorted column's header says which way it sorts; the others say
  // nothing, as a sortable table's headers do.
  function showMissionsOrder() {
    const headers = missionsPanel.querySelectorAll('thead th');
    headers.forEach((header, column) => {
      if (column === page.missionsSortColumn()) header.setAttribute('aria-sort', page.missionsDescending() ? 'descending' : 'ascending');
      else header.removeAttribute('aria-sort');
    });
  }

  // Each column's title is a button that sorts by it (again: the other way
  // round); the filter box keeps the rows that hold its text.
  function buildMissionsOrder() {
    const titles = missionsPanel.querySelector('thead tr');
    M.missionColumns().forEach((title, column) => {
      const sort = titles.appendChild(make('th', { scope: 'col' })).appendChild(make('button', { type: 'button', textContent: title }));
      sort.addEventListener('click', () => orderMissions(() => page.sortMissions(column)));
    });
    const filter = document.getElementById('missions-filter');
    filter.labels[0].textContent = M.missionsWords().filter;
    filter.addEventListener('input', () => orderMissions(() => page.filterMissions(filter.value)));
    // Stamping writes into the game folder: only a folder on disk the page
    // writes to shows it. It stamps the missions chosen, each as it is on
    // disk now.
    const stamp = document.getElementById('missions-stamp');
    stamp.textContent = M.missionsWords().stamp;
    stamp.addEventListener('click', () => onFolderNow(() => page.stamp(chosenPaths())));
    const compare = document.getElementById('missions-compare');
    compare.textContent = M.missionsWords().compareChosen;
    const differences = document.getElementById('missions-differences');
    differences.labels[0].textContent = M.missionsWords().differences;
    compare.addEventListener('click', () => onFolderNow(() => {
      const lines = page.compareMissions(chosenPaths());
      if (lines !== null) differences.value = lines;
    }));
  }

  // The order and the filter are the model's: chosen before it has
  // started, they wait for it as every event does.
  function orderMissions(change) {
    if (!ready) return pending.push(change);
    change();
    showMissions();
  }

  // A panel shown takes the focus (where show, having shown it, says); hidden
  // while it holds the focus, it gives it back to where it was before.
  const focusBefore = new Map();  // panel -> the element focused when it was shown
  function togglePanel(panel, show) {
    const holding = panel.contains(document.activeElement);
    panel.hidden = !panel.hidden;
    if (!panel.hidden) {
      focusBefore.set(panel, document.activeElement);
      show().focus();
    } else if (holding) {
      focusBefore.get(panel)?.focus();
    }
  }

  function toggleMissions() {
    togglePanel(missionsPanel, () => {
      showMissions();
      return missionsPanel.querySelector('tbody button') ?? missionsPanel;
    });
  }

  // The inspector panel: a row for each byte of the mission, shown again
  // after every event while the panel is open.
  const inspectorPanel = document.getElementById('inspector');

  function showInspector() {
    if (inspectorPanel.hidden || !ready) return;
    const rows = inspectorPanel.querySelector('tbody').rows;
    for (let offset = 0; offset < rows.length; ++offset) {
      const shown = page.inspectorRow(offset);
      rows[offset].classList.toggle('marked', shown.marked);
      shown.texts.forEach((text, column) => {
        const cell = rows[offset].cells[column];
        if (cell.textContent !== text) cell.textContent = text;
      });
    }
  }

  function toggleInspector() {
    makeInspectorRows();
    togglePanel(inspectorPanel, () => {
      showInspector();
      return inspectorPanel.querySelector('.rows');
    });
  }

  function buildInspector() {
    document.getElementById('inspector-title').textContent = M.commands().Inspector;
    inspectorPanel.querySelector('caption').textContent = M.inspectorName();
    const columns = M.inspectorColumns();
    const titles = inspectorPanel.querySelector('thead tr');
    for (const title of columns) titles.appendChild(make('th', { scope: 'col', textContent: title }));
    inspectorPanel.querySelector('.rows').tabIndex = 0;  // the rows scroll from the keyboard
  }

  // A row for each byte, made when the panel is first shown.
  function makeInspectorRows() {
    const body = inspectorPanel.querySelector('tbody');
    if (body.rows.length > 0) return;
    const columns = M.inspectorColumns().length;
    for (let offset = 0; offset < M.missionSize(); ++offset) {
      const row = body.appendChild(make('tr'));
      row.appendChild(make('th', { scope: 'row' }));
      for (let c = 1; c < columns; ++c) row.appendChild(make('td'));
    }
  }

  function buildMissions() {
    missionsPanel.tabIndex = -1;
    document.getElementById('missions-title').textContent = M.commands().Missions;
    buildMissionsOrder();
    compareCaption = M.missionsWords().compare;
    missionsPanel.querySelector('thead tr').appendChild(make('th', { scope: 'col', textContent: compareCaption }));
  }

  // The keys panel: every command's keys, then the sheet's own.
  const keysPanel = document.getElementById('keys');

  function buildKeys() {
    document.getElementById('keys-title').textContent = M.commands().Keys;
    keysPanel.tabIndex = -1;
    const titles = keysPanel.querySelector('thead tr');
    for (const title of M.keysColumns()) titles.appendChild(make('th', { scope: 'col', textContent: title }));
    const captions = M.commands();
    const rows = actions.filter((a) => a.command).map((a) => [a.keys.join(', '), captions[a.command]]).concat(M.sheetKeys());
    const body = keysPanel.querySelector('tbody');
    for (const [keys, action] of rows) {
      const row = body.appendChild(make('tr'));
      row.append(make('th', { scope: 'row', textContent: keys }), make('td', { textContent: action }));
    }
  }

  function toggleKeys() {
    togglePanel(keysPanel, () => keysPanel);
  }

  function chooseFolderInput() { folderInput.value = ''; folderInput.click(); }

  // ---- A game folder on disk, where the browser opens one (File System
  // Access): read as a chosen folder is, and written to by saves; the
  // folder is remembered in the browser's storage and offered again. ----

  // known: name -> lastModified read; chosen: a folder was chosen in this page
  const folder = { handle: null, writable: false, known: new Map(), chosen: false };

  // The folder on disk the game folder stands for, if any, and whether the
  // page writes to it (and so stamps there).
  function setFolder(handle, writable) {
    Object.assign(folder, { handle, writable });
    page.setFolderWritable(writable);
    document.getElementById('missions-stamp').hidden = !writable;
  }

  async function chooseFolder() {
    if (!window.showDirectoryPicker) return chooseFolderInput();
    let handle;
    try {
      handle = await window.showDirectoryPicker({ id: 'game-folder', mode: 'readwrite', startIn: folder.remembered ?? 'documents' });
    } catch (error) {
      if (error.name !== 'AbortError') chooseFolderInput();  // refused here: the folder input reads it
      return;
    }
    await useFolder(handle);
    storage.remember(handle);
  }

  function useFolder(handle) {
    folder.chosen = true;
    return inTurn(() => openFolder(handle));
  }

  async function openFolder(handle) {
    await moduleStarted;
    emptyGameFolder();
    folder.known.clear();
    setFolder(handle, false);
    const { skipped, lost } = await readFolderAgain();
    if (!lost) setFolder(handle, (await handle.queryPermission({ mode: 'readwrite' })) === 'granted');
    forward(() => {
      page.changeFolder();
      if (lost) page.folderLost(lost.name, lost.message, false);
      else page.skipped(skipped);
    });
    showMissions();
  }

  // The folder on disk read again, its files changed since last read only,
  // so that a save sees what it would replace as it is on disk now; a file
  // read before and gone from the disk since is no longer the page's. The
  // files not read, the error of a folder that could not be read, and
  // whether the page's files changed.
  async function readFolderAgain() {
    if (!folder.handle) return { skipped: [], lost: null, changed: false };
    const skipped = [];
    const gone = new Set(folder.known.keys());
    let taken = 0;
    try {
      for await (const [name, entry] of folder.handle.entries()) {
        gone.delete(name);
        if (entry.kind !== 'file' || !isOwn(name)) continue;
        const file = await entry.getFile();
        if (folder.known.get(name) === file.lastModified) continue;
        const missed = await takeFile(name, file);
        if (!missed) {
          folder.known.set(name, file.lastModified);
          ++taken;
          continue;
        }
        // A file not read is not the page's either, whatever a save left.
        skipped.push(missed);
        forget(name);
      }
      gone.forEach(forget);
    } catch (error) {
      // A folder gone or refused is read no more: saves download; what it
      // holds stays.
      setFolder(null, false);
      return { skipped, lost: error, changed: true };
    }
    return { skipped, lost: null, changed: taken + skipped.length + gone.size > 0 };
  }

  // A command on the folder on disk (a save, a stamp, a mission of the
  // missions opened or compared) runs on the folder as it is on disk now.
  // Where the folder can no longer be read, the command does not run, and
  // the status line says why.
  function onFolderNow(command) {
    if (!folder.handle) return forward(command);
    return inTurn(async () => {
      const { lost, changed } = await readFolderAgain();
      if (lost) {
        page.folderLost(lost.name, lost.message, true);
        refresh();
      } else {
        forward(command);
      }
      if (changed) showMissions();
    });
  }

  // A file of the folder on disk that the page does not hold (any more).
  function forget(name) {
    folder.known.delete(name);
    const at = `${M.gameFolder()}/${M.ownFileName(name)}`;
    if (M.FS.analyzePath(at).exists) M.FS.unlink(at);
  }

  // Writes files of the game folder to the folder on disk, in order (the
  // copy of a replaced mission before the save); each is written whole
  // (the browser writes a new file and puts it in place). A file that
  // cannot be written is downloaded, and so are those after it, so that no
  // save replaces a mission whose copy is not on disk.
  async function writeToFolder(paths) {
    const root = M.gameFolder();
    for (let i = 0; i < paths.length; ++i) {
      const parts = paths[i].slice(root.length + 1).split('/');
      try {
        let at = folder.handle;
        for (const part of parts.slice(0, -1)) at = await at.getDirectoryHandle(part, { create: true });
        const file = await at.getFileHandle(parts[parts.length - 1], { create: true });
        // A mission of the folder is written over only as the page read it.
        const before = await file.getFile();
        if (parts.length === 1 && before.size > 0 && folder.known.get(parts[0]) !== before.lastModified) {
          throw new DOMException('', 'Changed');
        }
        const writer = await file.createWritable();
        await writer.write(M.FS.readFile(paths[i]));
        await writer.close();
        if (parts.length === 1) folder.known.set(parts[0], (await file.getFile()).lastModified);
      } catch (error) {
        page.folderWriteFailed(paths[i], error.name, error.message);
        paths.slice(i).forEach(download);
        refresh();
        // The page shows the folder as it is on disk again.
        const { lost } = await readFolderAgain();
        if (lost) page.folderLost(lost.name, lost.message, false);
        refresh();
        showMissions();
        return;
      }
    }
  }

  // The commands, with the keys a browser leaves to a page: Ctrl+N, Ctrl+R
  // and Ctrl+W are the browser's, so a new mission is Alt+N and a restore
  // Alt+R.
  const actions = [
    { command: 'Load', run: chooseMission, keys: ['Ctrl+O'] },
    { command: 'ChooseGameFolder', run: chooseFolder, keys: ['Alt+G'] },
    { command: 'NewMission', run: () => forward(() => page.newMission()), keys: ['Alt+N'] },
    { command: 'Save', run: () => onFolderNow(() => page.save()), keys: ['Ctrl+S'] },
    { command: 'SaveAs', run: () => onFolderNow(() => page.saveAs()), keys: ['Ctrl+Shift+S'] },
    { command: 'RestoreWork', run: restoreWork, keys: ['Alt+R'] },
    { command: 'Undo', run: () => forward(() => page.undo()), keys: ['Ctrl+Z'] },
    { command: 'Redo', run: () => forward(() => page.redo()), keys: ['Ctrl+Y', 'Ctrl+Shift+Z'] },
    { command: 'Inspector', run: toggleInspector, keys: ['F2'] },
    { command: 'Missions', run: toggleMissions, keys: ['F3'] },
    { command: 'Keys', run: toggleKeys, keys: ['F1'] },
  ];

  function buildCommands() {
    const bar = document.getElementById('commands');
    const captions = M.commands();
    for (const action of actions.filter((a) => a.command)) {
      const button = bar.appendChild(make('button', { type: 'button', textContent: captions[action.command] }));
      button.setAttribute('aria-keyshortcuts', action.keys.join(' '));
      button.addEventListener('click', action.run);
    }
  }

  // A key as the keys are listed: its character, capitalised; where the
  // layout gives a letter's key no plain character (Option+R on macOS gives
  // "®", a Cyrillic layout "к"), the letter of its place.
  function keyName(e) {
    if (/^[!-~]$/.test(e.key)) return e.key.toUpperCase();
    return /^Key([A-Z])$/.exec(e.code)?.[1] ?? e.key;
  }

  // A box typed in (the sheet's, the missions' filter) keeps Ctrl+Z and
  // Ctrl+Y for its own typing, as on the desktop.
  function pressKey(e) {
    const pressed = [e.ctrlKey && 'Ctrl', e.altKey && 'Alt', e.shiftKey && 'Shift', keyName(e)].filter(Boolean).join('+');
    const action = actions.find((a) => a.keys.includes(pressed));
    if (!action) return;
    if (textBox(e.target) && !e.target.readOnly && /^Ctrl\+(Shift\+)?[ZY]$/.test(pressed)) return;
    e.preventDefault();
    action.run();
  }

  // ---- Unsaved work, kept in the browser's storage (IndexedDB) ----
  // The kept-work policy is the model's; here are the storage's answers,
  // which come later than it asks. Each running page holds a Web Lock on
  // its own kept work, so that another page does not take it for the work
  // of a page that closed.

  const lockPrefix = 'kestrane-unsaved/';
  const storage = {
    db: null,
    releases: new Map(),  // kept work name -> the release of its lock

    open() {
      return new Promise((resolve, reject) => {
        const request = indexedDB.open('kestrane', 1);
        request.onupgradeneeded = () => {
          request.result.createObjectStore('unsaved');
          request.result.createObjectStore('folders');
        };
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
        setTimeout(() => reject(new DOMException('it did not open in time', 'TimeoutError')), 5000);
      });
    },
    done(transaction) {
      return new Promise((resolve, reject) => {
        transaction.oncomplete = resolve;
        transaction.onabort = () => reject(transaction.error);
      });
    },
    async works() {
      const transaction = this.db.transaction('unsaved');
      const works = transaction.objectStore('unsaved');
      const names = works.getAllKeys();
      const texts = works.getAll();
      await this.done(transaction);
      // Anything but a text is a damaged kept work, said as one; a name
      // that is not a text is made one, so that it can be set aside.
      const found = names.result.map((name, i) => [name, typeof texts.result[i] === 'string' ? texts.result[i] : '']);
      const odd = found.filter(([name]) => typeof name !== 'string');
      if (odd.length > 0) {
        const renaming = this.db.transaction('unsaved', 'readwrite');
        for (const [name, text] of odd) {
          renaming.objectStore('unsaved').delete(name);
          renaming.objectStore('unsaved').put(text, String(name));
        }
        await this.done(renaming);
      }
      return found.map(([name, text]) => [String(name), text]);
    },
    async heldElsewhere() {
      if (!navigator.locks) return [];
      const { held } = await navigator.locks.query();
      return held.map((lock) => lock.name).filter((name) => name.startsWith(lockPrefix)).map((name) => name.slice(lockPrefix.length));
    },
    // Each change is committed at once, not when the page's script next
    // waits: the last keep of a page being left would else go with it.
    change(action) {
      if (!this.db) return;
      try {
        const transaction = this.db.transaction('unsaved', 'readwrite');
        action(transaction.objectStore('unsaved'));
        transaction.commit?.();
        this.done(transaction).then(() => page.storageAccepted(), (error) => this.refused(error));
      } catch (error) {
        this.refused(error);
      }
    },
    refused(error) {
      page.storageRefused(error?.name ?? 'Error', error?.message ?? '', performance.now());
      refresh();
      scheduleKeep();
    },
    put(name, text) { this.change((works) => works.put(text, name)); },
    remove(name) { this.change((works) => works.delete(name)); },
    claim(name) {
      if (!navigator.locks) return;
      let release;
      const held = new Promise((resolve) => { release = resolve; });
      this.releases.set(name, release);
      navigator.locks.request(lockPrefix + name, () => held).catch(() => {});
    },
    release(name) {
      this.releases.get(name)?.();
      this.releases.delete(name);
    },
    // The game folder chosen last, where the browser keeps folder handles.
    remember(handle) {
      try { this.db?.transaction('folders', 'readwrite').objectStore('folders').put(handle, 'game'); } catch { /* not kept: chosen again next time */ }
    },
    async remembered() {
      if (!this.db) return null;
      const transaction = this.db.transaction('folders');
      const read = transaction.objectStore('folders').get('game');
      await this.done(transaction);
      return read.result ?? null;
    },
  };

  let keepTimer = 0;
  function scheduleKeep() {
    clearTimeout(keepTimer);
    const due = page.keepDue();
    if (due < 0) return;
    keepTimer = setTimeout(() => {
      page.tick(performance.now());
      refresh();
      scheduleKeep();
    }, Math.max(0, due - performance.now()));
  }

  function touched() {
    page.touched(performance.now());
    scheduleKeep();
  }

  function keepNow() {
    page.keepNow(performance.now());
    scheduleKeep();
  }

  // The storage is read again first: pages closed since may have left work.
  // A restore asked for before the page has read its storage waits for it.
  async function restoreWork() {
    await keeping;
    try {
      if (storage.db) page.takeStorage(await storage.works(), await storage.heldElsewhere());
    } catch (error) {
      storage.refused(error);
    }
    forward(() => page.restoreNext());
  }

  async function startKeeping() {
    let works = [], held = [], failure = null;
    try {
      if (!window.indexedDB) throw new DOMException('', 'Unavailable');
      storage.db = await storage.open();
      works = await storage.works();
      held = await storage.heldElsewhere();
    } catch (error) {
      storage.db = null;
      failure = error ?? new DOMException('', 'Error');
    }
    // The folder chosen last is read first, so that what is said of the
    // kept work follows what is said of the folder, not under it.
    await reopenFolder();
    page.startKeeping(storage, works, held, failure?.name ?? '', failure?.message ?? '');
    touched();  // the work changed before the model kept it is kept as any change is
    refresh();
    keeps();
    // The work is kept at once as the page is left: from beforeunload, while
    // the page still runs (a reload or a link leaves it in moments after
    // pagehide), and again as it is hidden or closed.
    document.addEventListener('visibilitychange', () => { if (document.visibilityState === 'hidden') keepNow(); });
    window.addEventListener('beforeunload', keepNow);
    window.addEventListener('pagehide', keepNow);
    document.body.dataset.keeping = 'true';
  }

  // The game folder chosen last is read again where the browser still lets
  // the page in, unless one was chosen meanwhile; else the folder chooser
  // starts there.
  async function reopenFolder() {
    try {
      const handle = await storage.remembered();
      if (!handle) return;
      folder.remembered = handle;
      if ((await handle.queryPermission({ mode: 'readwrite' })) === 'granted' && !folder.chosen) await useFolder(handle);
    } catch { /* a folder gone is chosen again */ }
  }

  // The page's state as the module showed it when the page was built,
  // answered as the module answers, until the module has started.
  function snapshotModule(shown) {
    return Object.fromEntries(Object.entries(shown).map(([name, value]) => [name, () => value]));
  }

  function snapshotPage(shown) {
    const of = (id) => shown.state[id];
    return {
      text: (id) => of(id).text, value: (id) => of(id).value, name: (id) => of(id).name,
      members: (id) => of(id).members, itemCount: (id) => of(id).items.length, item: (id, i) => of(id).items[i],
      boxCommits: (id) => of(id).commits, cataloguesRead: () => shown.cataloguesRead, title: () => shown.title,
      said: () => shown.said,
    };
  }

  // The module's script and its WebAssembly are kept in the page gzipped,
  // as base64: unpacked by the browser, the script then run as a script of
  // its own, which the browser reads off the page's thread. Where a page may not make such a script, it is
  // run in place.
  async function startModule() {
    if (document.readyState === 'loading') await new Promise((resolve) => document.addEventListener('DOMContentLoaded', resolve));
    const unpack = async (id) => {
      const packed = document.getElementById(id).textContent.trim();
      return new Response((await fetch(`data:application/gzip;base64,${packed}`)).body.pipeThrough(new DecompressionStream('gzip')));
    };
    const [source, wasmBinary] = await Promise.all([unpack('module').then((r) => r.text()), unpack('wasm').then((r) => r.arrayBuffer())]);
    const script = make('script', { src: URL.createObjectURL(new Blob([source], { type: 'text/javascript' })) });
    try {
      await new Promise((resolve, reject) => {
        Object.assign(script, { onload: resolve, onerror: reject });
        document.head.appendChild(script);
      });
    } catch {
      (0, eval)(source);
    }
    URL.revokeObjectURL(script.src);
    return KestraneModule({ wasmBinary });  // eslint-disable-line no-undef
  }

  // The module started: the model takes the events taken meanwhile, then
  // shows itself.
  async function attach() {
    try {
      const module = await startModule();
      page = new module.Page();
      M = module;
    } catch (error) {
      // Said in the status line, where the model would say it.
      document.querySelector('[role=status]').textContent = M.startRefused() + String(error?.message ?? error);
      return;
    }
    ready = true;
    started();
    // In order, and shown once after: a box's typing is not shown over by
    // an event after it before it reaches the model. Each save's file is
    // handed over before an event after it may write over it.
    for (const event of pending.splice(0)) {
      event();
      const written = page.takeWritten();
      if (written.length > 0) deliver(written);
    }
    forward(() => {});
    showMissions();
    document.body.dataset.ready = 'true';
    await startKeeping();
  }

  function start() {
    const shown = JSON.parse(document.getElementById('snapshot').textContent);
    M = snapshotModule(shown.module);
    page = snapshotPage(shown.page);
    sheet = M.sheet();
    ids = M.ids();
    missionInput.addEventListener('change', openChosen);
    missionInput.addEventListener('cancel', () => forward(() => page.load('')));
    folderInput.addEventListener('change', readFolder);
    document.addEventListener('keydown', pressKey);
    document.addEventListener('dragover', (e) => { if (!boxTakes(e)) e.preventDefault(); });
    document.addEventListener('drop', (e) => { if (!boxTakes(e)) dropped(e); });
    buildCommands();
    buildSheet();
    buildMissions();
    buildInspector();
    buildKeys();
    refresh();
    elementOf.get(key(ids.LoadButton))?.focus();
    // The module starts once the sheet is shown and the browser is idle,
    // so that the first keys typed do not wait for it.
    if (window.requestIdleCallback) requestIdleCallback(attach, { timeout: 500 });
    else setTimeout(attach, 50);
  }

  start();
}
