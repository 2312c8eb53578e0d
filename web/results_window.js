// The results: the nine texts of one analysis and the warning, as a modal dialog, with
// OK, Print (the name prompt, then the browser's print dialog with the report as the page),
// Copy, and Share where the device can. While it is open, printing the page prints the
// report under the name given last.

const kCaptionIds = ['lblPassSug', 'lblFuncStatus', 'lblFuncSug', 'lblStorStatus', 'lblStorSug',
  'lblBasis', 'lblHvy', 'lblMed', 'lblLite'];
// How long a message about the text stays.
const kMessageMs = 4000;

// The name prompt, or another dialog, stands over the results.
const dialogOverResults = () => document.querySelector('dialog[open]:not(#frmAnswers)') !== null;

// The printed page: the report's lines as the core lays them out, each in the type it is
// printed in, for the browser to print while the results are shown.
function showReportPage(page, lines) {
  page.replaceChildren(
    ...lines.map(({ text, bold, size }) => {
      const line = document.createElement('div');
      line.textContent = text;
      // Without a size the line keeps the page's own, as the report's first lines do.
      if (size !== undefined)
        line.style.fontSize = `${size}pt`;
      if (bold)
        line.style.fontWeight = 'bold';
      return line;
    }),
  );
}

// The railroad-name prompt: asks for the name the report is printed under and whether to
// print. The name is kept for the visit whenever the user leaves its box, also for Cancel,
// and offered again at the next Print; OK, Enter, Cancel and Esc leave the box too.
class RoadNamePrompt {
  #rules;
  #dialog = document.getElementById('frmGetRoad');
  #name = document.getElementById('txtRoadName');
  #answer = null;

  constructor(rules) {
    this.#rules = rules;
    this.#name.addEventListener('blur', () => this.#rules.setRoadName(this.#name.value));
    document.getElementById('getRoadForm').addEventListener('submit', (event) => {
      event.preventDefault();
      this.#close(true);
    });
    document.getElementById('cmdCancel').addEventListener('click', () => this.#close(false));
    // Esc answers as Cancel does, rather than leaving the question open.
    this.#dialog.addEventListener('cancel', (event) => {
      event.preventDefault();
      this.#close(false);
    });
  }

  // Resolves with whether the user confirmed with OK.
  ask() {
    this.#name.value = this.#rules.roadName();
    this.#dialog.showModal();
    this.#name.select();
    return new Promise((resolve) => {
      this.#answer = resolve;
    });
  }

  #close(confirmed) {
    this.#rules.setRoadName(this.#name.value);
    this.#dialog.close();
    const answer = this.#answer;
    this.#answer = null;
    answer?.(confirmed);
  }
}

export class ResultsWindow {
  #rules;
  #prompt;
  #returnTo;
  #dialog = document.getElementById('frmAnswers');
  #message = document.getElementById('lblMessage');
  #page = document.getElementById('report');
  #messageTimer = 0;
  #copying = false; // the Copy button's fallback through the copy command

  constructor(rules, returnTo) {
    this.#rules = rules;
    this.#prompt = new RoadNamePrompt(rules);
    this.#returnTo = returnTo;

    document.getElementById('cmdOK').addEventListener('click', () => this.#dialog.close());
    // Enter anywhere but on another button closes it, as the window's default button does;
    // after a click on its text the focus is on the page, not in the dialog.
    document.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter' || !this.#dialog.open || event.target.closest('button, a, input')
          || dialogOverResults())
        return;
      // Or the key would go on to press Analyze, which has the focus again.
      event.preventDefault();
      this.#dialog.close();
    });
    this.#dialog.addEventListener('close', () => {
      document.body.classList.remove('printing-report');
      this.#page.replaceChildren();
      this.#showMessage('');
      this.#returnTo.focus();
    });
    document.getElementById('cmdPrint').addEventListener('click', () => this.#print());
    document.getElementById('cmdCopy').addEventListener('click', () => this.#copy());

    const share = document.getElementById('cmdShare');
    if (navigator.share && navigator.canShare?.({ text: 'Trelvane' })) {
      share.hidden = false;
      share.addEventListener('click', () => this.#share());
    }
    // Ctrl+C with nothing selected copies the analysis; a text box copies its own text.
    document.addEventListener('copy', (event) => {
      if (!this.#dialog.open)
        return;
      if (!this.#copying && (!document.getSelection().isCollapsed
          || event.target.closest('input') || dialogOverResults()))
        return;
      event.preventDefault();
      event.clipboardData.setData('text/plain', this.#text());
      this.#showMessage('The analysis was copied as text.');
    });
    // The browser's own Print, too: the report as it stands, dated today.
    window.addEventListener('beforeprint', () => {
      if (this.#dialog.open)
        this.#layOutPage();
    });
  }

  show({ captions, warning }) {
    kCaptionIds.forEach((id, i) => {
      document.getElementById(id).textContent = captions[i];
    });
    document.getElementById('lblWarn').hidden = !warning;
    this.#showMessage('');
    this.#layOutPage();
    document.body.classList.add('printing-report');
    this.#dialog.showModal();
  }

  #text() {
    return this.#rules.reportText();
  }

  #layOutPage() {
    showReportPage(this.#page, this.#rules.reportPage());
  }

  async #print() {
    if (!(await this.#prompt.ask()))
      return;
    this.#layOutPage();
    // The browser cannot say whether the page was printed, so nothing claims it was.
    window.print();
  }

  async #copy() {
    const text = this.#text();
    try {
      await navigator.clipboard.writeText(text);
      this.#showMessage('The analysis was copied as text.');
    } catch {
      // Without the clipboard's permission, or outside a secure page: the copy command
      // still runs the copy handler above, which puts the same text there.
      let copied = false;
      this.#copying = true;
      try {
        copied = document.execCommand('copy');
      } finally {
        this.#copying = false;
      }
      if (!copied)
        this.#showMessage('The analysis could not be copied: this browser does not allow it. Select the results and copy them instead.');
    }
  }

  async #share() {
    try {
      await navigator.share({ title: 'Trelvane Analysis', text: this.#text() });
    } catch (failure) {
      if (failure.name !== 'AbortError')
        this.#showMessage(`The analysis could not be shared: ${failure.message}`);
    }
  }

  #showMessage(text) {
    clearTimeout(this.#messageTimer);
    this.#message.textContent = text;
    if (text)
      this.#messageTimer = setTimeout(() => this.#showMessage(''), kMessageMs);
  }
}
