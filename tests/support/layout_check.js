// Appended to a report or comparison page: checks its layout as Chromium
// draws it and writes what it finds into the page, for --dump-dom to show.
// Captions overlap no other caption or picture, and each shows its step name
// whole; no picture inside a frame has an outline of its own; every note
// stands within the window's width and overlaps nothing.
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
  const out = document.createElement('pre');
  out.id = 'layout';
  out.textContent = figures.length + ' frames, ' + notes.length + ' notes\n' + (bad.length ? bad.join('\n') : 'layout ok');
  document.body.appendChild(out);
})();
