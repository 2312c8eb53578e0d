// The analysis and the report, compiled to WebAssembly from the desktop program's own C++:
// the one module that reaches the core, handing it what the desktop takes from the system,
// here from the browser's locale: the decimal separator and today's short date with the
// year in full. Every text that a rule makes comes from here.
function decimalSeparator() {
  const part = new Intl.NumberFormat().formatToParts(1.5).find(({ type }) => type === 'decimal');
  return part ? part.value : '.';
}

function shortDate() {
  return new Date().toLocaleDateString(undefined, { year: 'numeric', month: 'numeric', day: 'numeric' });
}

// Why the core did not load.
export const LoadFailure = Object.freeze({
  NoWebAssembly: 'no-webassembly', // the browser cannot run it
  NotLoaded: 'not-loaded', // its files did not arrive
});

async function load() {
  if (typeof WebAssembly !== 'object')
    throw LoadFailure.NoWebAssembly;
  let core;
  try {
    const { default: createCore } = await import('./trelvane_core.js');
    core = await createCore();
  } catch {
    throw LoadFailure.NotLoaded;
  }

  // A text goes to the core on its heap, whatever its length, for the one call.
  const withText = (text, use) => {
    const size = core.lengthBytesUTF8(text) + 1;
    const pointer = core._malloc(size);
    if (!pointer)
      throw new RangeError('The text is too long for the analysis.');
    core.stringToUTF8(text, pointer, size);
    try {
      return use(pointer);
    } finally {
      core._free(pointer);
    }
  };
  const text = (pointer) => core.UTF8ToString(pointer);

  return {
    // Sets up the session as the input window does when it loads: the car factors, and
    // the scale selected at start (HO); gives its option's index.
    load: () => core._trelvane_load(),
    selectScale: (index) => core._trelvane_select_scale(index) === 1,
    // Whether a track box may hold this text while it is typed in.
    isFootageEntry: (entry) => withText(entry, (p) => core._trelvane_is_footage_entry(p)) === 1,
    // Takes the text of track box `box` (0 passing, 1 functional, 2 storage) as the user
    // leaves it; gives the text the box shows then.
    commitFootage: (box, entry) => withText(entry, (p) => text(core._trelvane_commit_footage(box, p))),
    // The eight car counts analysed: {captions: [nine texts], warning} or
    // {failure: {title, lines}}.
    analyze: (counts) =>
      JSON.parse(withText(decimalSeparator(), (p) => text(core._trelvane_analyze(...counts, p)))),
    setRoadName: (name) => withText(name, (p) => core._trelvane_set_road_name(p)),
    roadName: () => text(core._trelvane_road_name()),
    // The shown results' report, dated today, as its printed lines: [{text, bold, size}], a
    // tab for each zone advance; and as the text the desktop copies.
    reportPage: () => JSON.parse(withText(shortDate(), (p) => text(core._trelvane_report_page(p)))),
    reportText: () => withText(shortDate(), (p) => text(core._trelvane_report_text(p))),
  };
}

// The core is asked for as soon as this module is read (the page names it first), while the
// rest of the page still loads.
const loading = load();
// Told by the page that waits for it, not as an error of its own.
loading.catch(() => {});

// Resolves with the rules once the core has loaded; rejects with a LoadFailure.
export function loadRules() {
  return loading;
}
