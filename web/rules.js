// The analysis and the report, compiled to WebAssembly from the desktop program's own C++:
// the one module that reaches the core. Every text that a rule makes comes from here.
import createCore from './trelvane_core.js';

// Loads the core and sets up the session as the input window does when it loads. Rejects
// when the browser cannot run it.
export async function loadRules() {
  const core = await createCore();
  const call = (name, returns, ...args) =>
    core.ccall(name, returns, args.map((arg) => (typeof arg === 'number' ? 'number' : 'string')), args);

  return {
    // The car factors, and the scale selected at start (HO); gives its option's index.
    load: () => call('trelvane_load', 'number'),
    selectScale: (index) => call('trelvane_select_scale', 'number', index) === 1,
    // Whether a track box may hold this text while it is typed in.
    isFootageEntry: (text) => call('trelvane_is_footage_entry', 'number', text) === 1,
    // Takes the text of track box `box` (0 passing, 1 functional, 2 storage) as the user
    // leaves it; gives the text the box shows then.
    commitFootage: (box, text) => call('trelvane_commit_footage', 'string', box, text),
    // The eight car counts analysed: {captions: [nine texts], warning} or
    // {failure: {title, lines}}.
    analyze: (counts, decimalSeparator) =>
      JSON.parse(call('trelvane_analyze', 'string', ...counts, decimalSeparator)),
    setRoadName: (name) => call('trelvane_set_road_name', null, name),
    roadName: () => call('trelvane_road_name', 'string'),
    // The shown results' report as its printed lines: [{text, bold, size}], a tab for each
    // zone advance; and as the text the desktop copies.
    reportPage: (date) => JSON.parse(call('trelvane_report_page', 'string', date)),
    reportText: (date) => call('trelvane_report_text', 'string', date),
  };
}
