// The bare page with the site's core loaded as the page loads it: what the core alone adds
// to a page's start. Its button analyses an empty form, then opens its dialog.
import { loadRules } from './rules.js';

const rules = await loadRules();
rules.load();
const open = document.getElementById('open');
open.addEventListener('click', () => {
  rules.analyze([0, 0, 0, 0, 0, 0, 0, 0]);
  document.getElementById('dialog').showModal();
});
open.disabled = false;
