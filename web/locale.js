// What the page takes from the browser's locale, as the desktop takes it from the system:
// the decimal separator, and the short date with the year in full.

export function decimalSeparator() {
  const part = new Intl.NumberFormat().formatToParts(1.5).find(({ type }) => type === 'decimal');
  return part ? part.value : '.';
}

export function shortDate(date = new Date()) {
  return date.toLocaleDateString(undefined, { year: 'numeric', month: 'numeric', day: 'numeric' });
}
