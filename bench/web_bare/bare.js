// The yardstick of the web page's start: one button that opens one dialog.
document.getElementById('open').addEventListener('click', () => document.getElementById('dialog').showModal());
