// Reads a printed PDF back with poppler-utils: its words with their positions, its
// lines, which texts are bold, and its page size.
#pragma once

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace trelvane::test {

struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0; // points from the page's top left
};

// The words of one text line, left to right.
struct PdfLine {
    QList<PdfWord> words;
    double top() const { return words.isEmpty() ? 0 : words.front().yMin; }
    double left() const { return words.isEmpty() ? 0 : words.front().xMin; }
    QString text() const; // the words joined by single blanks
};

// Output of a poppler tool; fails the calling test (through the returned error) if the
// tool cannot run.
struct ToolOutput {
    bool ok = false;
    QString error;
    QString out;
};
ToolOutput runTool(const QString &program, const QStringList &arguments);

// The lines of all pages, or of the given page (counted from 1).
QList<PdfLine> pdfLines(const QString &path, QString *error = nullptr, int page = 0);
QStringList pdfLineTexts(const QString &path, QString *error = nullptr);
int pdfPageCount(const QString &path);
QSizeF pdfPageSize(const QString &path); // in points
// The text lines as pdftohtml reads them: blanks kept, and whether each is bold.
struct PdfTextLine {
    QString text;
    bool bold = false;
};
QList<PdfTextLine> pdfTextLines(const QString &path, QString *error = nullptr);

// The texts set in a bold face.
QStringList pdfBoldTexts(const QString &path, QString *error = nullptr);

} // namespace trelvane::test
