// The railroad-name prompt: asks for the name the report is printed under, offering the
// name confirmed last in this visit.
export class RoadNamePrompt {
  #dialog = document.getElementById('frmGetRoad');
  #name = document.getElementById('txtRoadName');
  #answer = null;

  constructor() {
    document.getElementById('getRoadForm').addEventListener('submit', (event) => {
      event.preventDefault();
      this.#close(true);
    });
    document.getElementById('cmdCancel').addEventListener('click', () => this.#close(false));
    // Esc
    this.#dialog.addEventListener('cancel', (event) => {
      event.preventDefault();
      this.#close(false);
    });
  }

  // Resolves with the name once confirmed with OK, or with null.
  ask(lastName) {
    this.#name.value = lastName;
    this.#dialog.showModal();
    this.#name.select();
    return new Promise((resolve) => {
      this.#answer = (confirmed) => resolve(confirmed ? this.#name.value : null);
    });
  }

  #close(confirmed) {
    this.#dialog.close();
    const answer = this.#answer;
    this.#answer = null;
    answer?.(confirmed);
  }
}
