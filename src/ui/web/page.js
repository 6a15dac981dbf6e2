'use strict';
// The page's view over the window model: it builds the sheet from the
// model's arrangement (places in pixels, kinds, names), forwards each event
// to the model, then shows every control's text and value from the model
// again. Files chosen in the browser are written into the model's game
// folder first; a save hands the bytes written there to the browser.

{
  let M;      // the module: the model's bindings and its memory file system
  let page;   // the window model
  let sheet;  // every control's place, kind and naming, in reading order
  let ids;    // the control the page treats apart
  const refreshers = [];
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
    const saves = page.saves();
    event();
    if (page.takeCompare() && inspectorPanel.hidden) toggleInspector();
    if (page.saves() !== saves) {
      download(page.lastFile());
      showMissions();
    }
    refresh();
    showInspector();
    const focus = page.takeFocusRequest();
    if (focus !== sheet.none) elementOf.get(key(focus))?.focus();
  }

  function refresh() {
    for (const show of refreshers) show();
    showTitle();
  }

  function showTitle() {
    document.title = page.title();
    document.getElementById('title').textContent = document.title;
  }

  // A caption wider than its place (a note, taller) is set smaller until it
  // fits, as the desktop narrows its font, down to 8 pixels.
  function fit(element) {
    const over = () => element.scrollWidth > element.clientWidth ||
      (element.classList.contains('note') && element.scrollHeight > element.clientHeight);
    element.style.fontSize = '';
    for (let size = 10; over() && size >= 8; --size) element.style.fontSize = size + 'px';
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
      else if (label.textContent !== text) fit(Object.assign(label, { textContent: text }));
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
      else forward(() => page.click(c.id, -1));
    });
    refreshers.push(() => { button.textContent = page.text(c.id); });
    return button;
  }

  // A box gives the model its text as typed, and Enter.
  function makeBox(c) {
    const box = make('input', { type: 'text', className: 'box', spellcheck: false, autocomplete: 'off' });
    box.addEventListener('input', () => { page.type(c.id, box.value); showTitle(); });
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
    const file = missionInput.files[0];
    if (!file) return forward(() => page.load(''));
    const path = `${M.gameFolder()}/${file.name}`;
    M.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
    forward(() => page.load(path));
  }

  // The folder chosen (its own files, not its subfolders') becomes the
  // game folder.
  async function readFolder() {
    await takeGameFolder([...folderInput.files].filter((f) => f.webkitRelativePath.split('/').length === 2));
  }

  // Files that become the game folder: its catalogues, which the model
  // reads, and its missions.
  async function takeGameFolder(files) {
    const folder = M.gameFolder();
    for (const name of M.FS.readdir(folder)) if (name !== '.' && name !== '..') M.FS.unlink(`${folder}/${name}`);
    const catalogues = M.catalogueNames();
    const own = files.filter((f) => catalogues.includes(f.name) || /\.msn$/i.test(f.name));
    for (const file of own) M.FS.writeFile(`${folder}/${file.name}`, new Uint8Array(await file.arrayBuffer()));
    forward(() => page.changeFolder());
    showMissions();
  }

  // ---- Drops ----

  // A drag over a text box that carries no files is the box's own (dropped
  // text); any other drop is the page's, so that a link dropped never
  // leads away from the work.
  const boxTakes = (e) => !e.dataTransfer.types.includes('Files') && e.target instanceof HTMLInputElement &&
    (e.target.type === 'text' || e.target.type === 'search');

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
    let use;
    forward(() => { use = page.planDrop(files.map(({ name, folder }) => ({ name, folder })), notFiles); });
    if (use === M.DropUse.Mission) {
      const path = `${M.gameFolder()}/${files[0].name}`;
      M.FS.writeFile(path, new Uint8Array(await files[0].file.arrayBuffer()));
      forward(() => page.open(path));
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

  function showMissions() {
    if (missionsPanel.hidden) return;
    const rows = missionsPanel.querySelector('tbody');
    rows.replaceChildren();
    for (const mission of page.missions()) {
      const row = rows.appendChild(make('tr'));
      const file = row.appendChild(make('th', { scope: 'row' }));
      const open = file.appendChild(make('button', { type: 'button', textContent: mission.texts[0] }));
      open.addEventListener('click', () => forward(() => page.open(mission.path)));
      for (const text of mission.texts.slice(1)) row.appendChild(make('td', { textContent: text }));
      appendCompare(row, mission.path);
    }
    showMissionsOrder();
  }

  // A mission's Compare: the model asks for it in the inspector, which
  // opens to show it.
  let compareCaption;

  function appendCompare(row, path) {
    const compare = row.appendChild(make('td')).appendChild(make('button', { type: 'button', textContent: compareCaption }));
    compare.addEventListener('click', () => forward(() => page.compare(path)));
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
      sort.addEventListener('click', () => { page.sortMissions(column); showMissions(); });
    });
    const filter = document.getElementById('missions-filter');
    filter.labels[0].textContent = M.missionsWords().filter;
    filter.addEventListener('input', () => { page.filterMissions(filter.value); showMissions(); });
  }

  function toggleMissions() {
    missionsPanel.hidden = !missionsPanel.hidden;
    showMissions();
    if (!missionsPanel.hidden) (missionsPanel.querySelector('tbody button') ?? missionsPanel).focus();
  }

  // The inspector panel: a row for each byte of the mission, shown again
  // after every event while the panel is open.
  const inspectorPanel = document.getElementById('inspector');

  function showInspector() {
    if (inspectorPanel.hidden) return;
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
    inspectorPanel.hidden = !inspectorPanel.hidden;
    showInspector();
    if (!inspectorPanel.hidden) inspectorPanel.querySelector('.rows').focus();
  }

  function buildInspector() {
    document.getElementById('inspector-title').textContent = M.commands().Inspector;
    inspectorPanel.querySelector('caption').textContent = M.inspectorName();
    const columns = M.inspectorColumns();
    const titles = inspectorPanel.querySelector('thead tr');
    for (const title of columns) titles.appendChild(make('th', { scope: 'col', textContent: title }));
    inspectorPanel.querySelector('.rows').tabIndex = 0;  // the rows scroll from the keyboard
    const body = inspectorPanel.querySelector('tbody');
    for (let offset = 0; offset < M.missionSize(); ++offset) {
      const row = body.appendChild(make('tr'));
      row.appendChild(make('th', { scope: 'row' }));
      for (let c = 1; c < columns.length; ++c) row.appendChild(make('td'));
    }
  }

  function buildMissions() {
    missionsPanel.tabIndex = -1;
    document.getElementById('missions-title').textContent = M.commands().Missions;
    buildMissionsOrder();
    compareCaption = M.missionsWords().compare;
    missionsPanel.querySelector('thead tr').appendChild(make('th', { scope: 'col', textContent: compareCaption }));
  }

  function chooseFolder() { folderInput.value = ''; folderInput.click(); }

  // The commands, with the keys a browser leaves to a page: Ctrl+N and
  // Ctrl+W are the browser's, so a new mission is Alt+N.
  const actions = [
    { command: 'ChooseGameFolder', run: chooseFolder, keys: ['Alt+G'] },
    { command: 'NewMission', run: () => forward(() => page.newMission()), keys: ['Alt+N'] },
    { command: 'Save', run: () => forward(() => page.save()), keys: ['Ctrl+S'] },
    { command: 'SaveAs', run: () => forward(() => page.saveAs()), keys: ['Ctrl+Shift+S'] },
    { command: 'Undo', run: () => forward(() => page.undo()), keys: ['Ctrl+Z'] },
    { command: 'Redo', run: () => forward(() => page.redo()), keys: ['Ctrl+Y', 'Ctrl+Shift+Z'] },
    { command: 'Inspector', run: toggleInspector, keys: ['F2'] },
    { command: 'Missions', run: toggleMissions, keys: ['F3'] },
    { run: chooseMission, keys: ['Ctrl+O'] },
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

  // A text box keeps Ctrl+Z and Ctrl+Y for its own typing, as on the desktop.
  function pressKey(e) {
    const pressed = [e.ctrlKey && 'Ctrl', e.altKey && 'Alt', e.shiftKey && 'Shift', e.key.length === 1 ? e.key.toUpperCase() : e.key]
      .filter(Boolean).join('+');
    const action = actions.find((a) => a.keys.includes(pressed));
    if (!action) return;
    if (e.target.classList?.contains('box') && /^Ctrl\+(Shift\+)?[ZY]$/.test(pressed)) return;
    e.preventDefault();
    action.run();
  }

  async function start() {
    M = await KestraneModule();
    page = new M.Page();
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
    refresh();
    elementOf.get(key(ids.LoadButton))?.focus();
    document.body.dataset.ready = 'true';
  }

  start();
}
