// Appended to a report or comparison page: checks its layout as Chromium
// draws it and writes what it finds into the page, for --dump-dom to show.
// Captions overlap no other caption or picture, and each shows its step name
// whole; no picture inside a frame has an outline of its own; every note
// stands within the window's width, overlaps nothing and breaks no word.
// On the comparison pages (data-fit on the body): the page fits the
// window's width; the systems' names stay in view as it scrolls. On every
// page, each message list opened covers nothing else.
(function () {
  const bad = [];
  const box = (e) => e.getBoundingClientRect();
  const overlap = (a, b) =>
    a.left < b.right - 0.5 && b.left < a.right - 0.5 && a.top < b.bottom - 0.5 && b.top < a.bottom - 0.5;
  const name = (e) => (e.closest('figure') || e).id || e.className;
  const figures = [...document.querySelectorAll('figure')];
  const captions = figures.map((f) => f.querySelector('figcaption'));
  const pictures = figures.map((f) => f.querySelector(':scope > svg'));
  const notes = [...document.querySelectorAll('.note')];
  const boxes = (list) => list.map((e) => [e, box(e)]);
  const all = boxes(captions).concat(boxes(pictures));
  for (const [caption, at] of boxes(captions)) {
    const step = caption.querySelector('span') || caption;
    if (step.scrollHeight > step.clientHeight + 1 || step.scrollWidth > step.clientWidth + 1)
      bad.push(name(caption) + ': the step name is cut: ' + step.textContent);
    if (caption.scrollWidth > caption.clientWidth + 1) bad.push(name(caption) + ': the caption runs wider than its frame');
    for (const [other, there] of all)
      if (other !== caption && other.closest('figure') !== caption.closest('figure') && overlap(at, there))
        bad.push(name(caption) + ': its caption overlaps ' + name(other));
  }
  for (const inner of document.querySelectorAll('figure svg svg'))
    if (getComputedStyle(inner).outlineStyle !== 'none') bad.push(name(inner) + ': an inner picture is outlined');
  for (const [note, at] of boxes(notes)) {
    if (at.right > window.innerWidth) bad.push('a note stands past the right edge (' + at.right + ' > ' + window.innerWidth + '): ' + note.textContent.slice(0, 60));
    for (const [other, there] of all.concat(boxes(notes)))
      if (other !== note && overlap(at, there)) bad.push('a note overlaps ' + name(other) + ': ' + note.textContent.slice(0, 60));
  }
  // A word broken across two lines stands in two boxes.
  for (const note of notes) {
    const text = note.firstChild;
    if (!text || text.nodeType !== Node.TEXT_NODE) continue;
    for (const m of text.textContent.matchAll(/\S+/g)) {
      const range = document.createRange();
      range.setStart(text, m.index);
      range.setEnd(text, m.index + m[0].length);
      const lines = new Set([...range.getClientRects()].map((r) => Math.round(r.top)));
      if (lines.size > 1) bad.push('a note breaks the word ' + m[0]);
    }
  }
  if (document.body.dataset.fit) {
    const wide = document.documentElement.scrollWidth;
    if (wide > window.innerWidth) bad.push('the page is ' + wide + ' pixels wide, wider than ' + window.innerWidth);
    for (const s of document.querySelectorAll('summary'))
      if (s.scrollWidth > s.clientWidth + 1) bad.push('a message count is cut: ' + s.textContent);
    // Scrolled to the last row, the names stand above it, in view.
    const names = document.querySelector(document.body.dataset.fit);
    const gridRows = document.querySelectorAll('.grid tbody tr');
    const rows = gridRows.length ? gridRows : document.querySelectorAll('.row');
    if (!names || !rows.length) bad.push('no names to keep in view');
    else {
      rows[rows.length - 1].scrollIntoView();
      const n = box(names);
      if (n.top < -0.5 || n.bottom > window.innerHeight) bad.push('the names scroll out of view');
      window.scrollTo(0, 0);
    }
  }
  // Every message list opened: none covers a frame or another list.
  for (const d of document.querySelectorAll('details')) d.open = true;
  const lists = boxes([...document.querySelectorAll('.log')]);
  const framesNow = boxes(pictures).concat(boxes(captions));
  for (const [list, at] of lists)
    for (const [other, there] of framesNow.concat(lists))
      if (other !== list && overlap(at, there)) { bad.push('an opened message list covers ' + name(other)); break; }
  const out = document.createElement('pre');
  out.id = 'layout';
  out.textContent = figures.length + ' frames, ' + notes.length + ' notes\n' + (bad.length ? bad.join('\n') : 'layout ok');
  document.body.appendChild(out);
})();
