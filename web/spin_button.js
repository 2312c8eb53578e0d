// A car counter: the ARIA spin button on a text input, between its − and + buttons. The
// arrow keys step by one, Page Up and Page Down by ten, Home and End go to the bounds, and
// digits typed set the number.
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
    input.addEventListener('input', () => {
      const text = input.value;
      if (!/^[0-9]*$/.test(text)) {
        input.value = String(this.#value);
        return;
      }
      // A number being typed counts at once; an emptied box keeps the last number.
      if (text !== '')
        this.#set(Number(text), { keepText: true });
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
