// The form's two kinds of input. A track box holds what the core allows while it is typed in
// (up to four digits) and takes its footage when the user leaves it. A car counter is the
// ARIA spin button on a text input, between its − and + buttons: the arrow keys step by one,
// Page Up and Page Down by ten, Home and End go to the bounds, and digits typed set the
// number.

// Keeps an input to the texts `accepts` allows, however a change comes (typed, pasted,
// dropped or from the keyboard's suggestions): checked once the browser has applied it (a
// paste already cut to the box's length), a refused change is put back, caret and all,
// before anything is drawn.
function keepTo(input, accepts) {
  let before = { text: input.value, selection: [0, 0] };
  input.addEventListener('beforeinput', () => {
    before = { text: input.value, selection: [input.selectionStart, input.selectionEnd] };
  });
  input.addEventListener('input', () => {
    if (accepts(input.value))
      return;
    input.value = before.text;
    input.setSelectionRange(...before.selection);
  });
}

export class FootageBox {
  #input;
  #rules;
  #box;
  #taken = '';

  constructor(input, rules, box) {
    this.#input = input;
    this.#rules = rules;
    this.#box = box;
    keepTo(input, rules.isFootageEntry);
    input.addEventListener('blur', () => {
      // The page losing the focus to another app or tab is not leaving the box.
      if (document.activeElement !== input)
        this.leave();
    });
  }

  // Takes the box's text, as leaving it does.
  leave() {
    this.#input.value = this.#taken = this.#rules.commitFootage(this.#box, this.#input.value);
  }

  // Takes the text when it has changed since the box was last left: a button pressed
  // without taking the focus acts on what the box shows. A box never entered stays empty.
  leaveIfChanged() {
    if (this.#input.value !== this.#taken)
      this.leave();
  }
}

const kPageStep = 10;

export class SpinButton {
  #input;
  #min;
  #max;
  #value;

  constructor(input, decrease, increase) {
    this.#input = input;
    this.#min = Number(input.getAttribute('aria-valuemin'));
    this.#max = Number(input.getAttribute('aria-valuemax'));
    this.#value = Number(input.getAttribute('aria-valuenow'));

    const steps = {
      ArrowUp: 1,
      ArrowDown: -1,
      PageUp: kPageStep,
      PageDown: -kPageStep,
      Home: -Infinity,
      End: Infinity,
    };
    input.addEventListener('keydown', (event) => {
      if (!(event.key in steps) || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey)
        return;
      event.preventDefault();
      this.#set(this.#value + steps[event.key]);
    });
    keepTo(input, (text) => /^[0-9]*$/.test(text));
    input.addEventListener('input', () => {
      // A number being typed counts at once; an emptied box keeps the last number.
      if (input.value !== '')
        this.#set(Number(input.value), { keepText: true });
    });
    input.addEventListener('blur', () => {
      input.value = String(this.#value);
    });
    decrease.addEventListener('click', () => this.#set(this.#value - 1));
    increase.addEventListener('click', () => this.#set(this.#value + 1));
  }

  get value() {
    return this.#value;
  }

  #set(value, { keepText = false } = {}) {
    this.#value = Math.min(this.#max, Math.max(this.#min, value));
    if (!keepText || Number(this.#input.value) !== this.#value)
      this.#input.value = String(this.#value);
    this.#input.setAttribute('aria-valuenow', String(this.#value));
  }
}
