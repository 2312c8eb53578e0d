// The printed page: the report's lines as the core lays them out, each in the type it is
// printed in, for the browser to print while the results are shown.
export function showReportPage(page, lines) {
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
