// A track box: it holds what the core allows while it is typed in (up to four digits),
// however the text comes (typed, pasted, dropped or from the keyboard's suggestions), and
// takes its footage when the user leaves it.
export class FootageBox {
  #input;
  #rules;
  #box;
  #accepted = '';
  #taken = '';
  #selection = [0, 0];

  constructor(input, rules, box) {
    this.#input = input;
    this.#rules = rules;
    this.#box = box;
    input.addEventListener('beforeinput', () => {
      this.#selection = [input.selectionStart, input.selectionEnd];
    });
    // Checked once the browser has applied the change (a paste already cut to four
    // characters), and put back before anything is drawn when it is refused.
    input.addEventListener('input', () => {
      if (rules.isFootageEntry(input.value)) {
        this.#accepted = input.value;
        return;
      }
      input.value = this.#accepted;
      input.setSelectionRange(...this.#selection);
    });
    input.addEventListener('blur', () => {
      // The page losing the focus to another app or tab is not leaving the box.
      if (document.activeElement !== input)
        this.leave();
    });
  }

  // Takes the box's text, as leaving it does.
  leave() {
    this.#input.value = this.#rules.commitFootage(this.#box, this.#input.value);
    this.#accepted = this.#taken = this.#input.value;
  }

  // Takes the text when it has changed since the box was last left: a button pressed
  // without taking the focus acts on what the box shows. A box never entered stays empty.
  leaveIfChanged() {
    if (this.#input.value !== this.#taken)
      this.leave();
  }
}
