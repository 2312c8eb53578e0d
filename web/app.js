// The page's start: the core loaded, the form wired as the input window, the analysis on
// Analyze, and the service worker that lets the page start without a network.
import { FootageBox, SpinButton } from './controls.js';
import { ResultsWindow } from './results_window.js';
import { LoadFailure, loadRules } from './rules.js';

const analyzeButton = document.getElementById('cmdAnalyze');
const starting = document.getElementById('lblStarting');

function showFailure({ title, lines }) {
  const dialog = document.getElementById('dlgFailure');
  document.getElementById('failureTitle').textContent = title;
  document.getElementById('failureMessage').textContent = lines.join('\n');
  dialog.showModal();
}

function wireForm(rules) {
  const options = [...document.querySelectorAll('input[name="optScale"]')];
  const selected = rules.load();
  for (const option of options) {
    option.checked = Number(option.value) === selected;
    option.addEventListener('change', () => {
      if (option.checked)
        rules.selectScale(Number(option.value));
    });
  }

  const boxes = ['txtPassTrack', 'txtFuncTrack', 'txtStorTrack'].map(
    (id, box) => new FootageBox(document.getElementById(id), rules, box));
  const counters = [...document.querySelectorAll('.counter')].map((counter) => {
    const [decrease, increase] = counter.querySelectorAll('button');
    return new SpinButton(counter.querySelector('input'), decrease, increase);
  });

  const results = new ResultsWindow(rules, analyzeButton);
  const failure = document.getElementById('dlgFailure');
  document.getElementById('cmdFailureOK').addEventListener('click', () => failure.close());
  failure.addEventListener('close', () => analyzeButton.focus());

  analyzeButton.addEventListener('click', () => {
    // What the boxes show is what is analysed, also when the focus never left them.
    for (const box of boxes)
      box.leaveIfChanged();
    const outcome = rules.analyze(counters.map((counter) => counter.value));
    if (outcome.failure)
      showFailure(outcome.failure);
    else
      results.show(outcome);
  });
  analyzeButton.disabled = false;
}

// F1 opens the help, as the Help link does, where the browser lets the page have the key;
// held down, once.
function openHelpOnF1() {
  document.addEventListener('keydown', (event) => {
    if (event.key !== 'F1')
      return;
    event.preventDefault();
    if (!event.repeat)
      window.open(document.getElementById('lnkHelp').href, '_blank', 'noopener');
  });
}

openHelpOnF1();

const kLoadFailures = {
  [LoadFailure.NoWebAssembly]: 'Trelvane could not start: this browser cannot run its analysis '
    + '(it has no WebAssembly). Open the page in a current browser, such as Chrome, Edge, '
    + 'Firefox or Safari.',
  [LoadFailure.NotLoaded]: 'Trelvane could not start: its analysis did not load. Check the '
    + 'connection and reload the page.',
};

try {
  wireForm(await loadRules());
  starting.textContent = '';
} catch (failure) {
  starting.setAttribute('role', 'alert');
  starting.textContent = kLoadFailures[failure] ?? `Trelvane could not start: ${failure}`;
}
// Offline starts and installing as an app; the page works without it.
if ('serviceWorker' in navigator)
  navigator.serviceWorker.register('sw.js').catch(() => {});
