// The analysis and the report, compiled to WebAssembly from the desktop program's own C++:
// the one module that reaches the core, handing it what the desktop takes from the system,
// here from the browser's locale: the decimal separator and today's short date with the
// year in full. Every text that a rule makes comes from here.
import createCore from './trelvane_core.js';

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
  NotLoaded: 'not-loaded', // its file did not arrive whole, or is not served as WebAssembly
});

async function load() {
  if (typeof WebAssembly !== 'object')
    throw LoadFailure.NoWebAssembly;
  let core;
  try {
    core = await createCore();
  } catch {
    throw LoadFailure.NotLoaded;
  }
  const call = (name, returns, ...args) =>
    core.ccall(name, returns, args.map((arg) => (typeof arg === 'number' ? 'number' : 'string')), args);

  return {
    // Sets up the session as the input window does when it loads: the car factors, and
    // the scale selected at start (HO); gives its option's index.
    load: () => call('trelvane_load', 'number'),
    selectScale: (index) => call('trelvane_select_scale', 'number', index) === 1,
    // Whether a track box may hold this text while it is typed in.
    isFootageEntry: (text) => call('trelvane_is_footage_entry', 'number', text) === 1,
    // Takes the text of track box `box` (0 passing, 1 functional, 2 storage) as the user
    // leaves it; gives the text the box shows then.
    commitFootage: (box, text) => call('trelvane_commit_footage', 'string', box, text),
    // The eight car counts analysed: {captions: [nine texts], warning} or
    // {failure: {title, lines}}.
    analyze: (counts) => JSON.parse(call('trelvane_analyze', 'string', ...counts, decimalSeparator())),
    setRoadName: (name) => call('trelvane_set_road_name', null, name),
    roadName: () => call('trelvane_road_name', 'string'),
    // The shown results' report, dated today, as its printed lines: [{text, bold, size}], a
    // tab for each zone advance; and as the text the desktop copies.
    reportPage: () => JSON.parse(call('trelvane_report_page', 'string', shortDate())),
    reportText: () => call('trelvane_report_text', 'string', shortDate()),
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
