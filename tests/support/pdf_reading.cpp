#include "pdf_reading.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

namespace trelvane::test {

QString PdfLine::text() const
{
    QStringList texts;
    for (const PdfWord &word : words)
        texts << word.text;
    return texts.join(' ');
}

ToolOutput runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    ToolOutput result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        result.error = QString("%1 %2 failed: %3 %4")
                           .arg(program, arguments.join(' '), process.errorString(),
                                QString::fromLocal8Bit(process.readAllStandardError()));
        return result;
    }
    result.ok = true;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    return result;
}

QList<PdfLine> pdfLines(const QString &path, QString *error, int page)
{
    QStringList arguments{"-bbox", path, "-"};
    if (page > 0)
        arguments = QStringList{"-f", QString::number(page), "-l", QString::number(page)}
                    + arguments;
    const ToolOutput bbox = runTool("pdftotext", arguments);
    if (!bbox.ok) {
        if (error)
            *error = bbox.error;
        return {};
    }
    QList<PdfWord> words;
    QXmlStreamReader xml(bbox.out);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"word") {
            const auto a = xml.attributes();
            PdfWord word;
            word.xMin = a.value("xMin").toDouble();
            word.yMin = a.value("yMin").toDouble();
            word.xMax = a.value("xMax").toDouble();
            word.yMax = a.value("yMax").toDouble();
            // A ligature glyph such as "fi" reads back as one character; NFKC splits it.
            word.text = xml.readElementText().normalized(QString::NormalizationForm_KC);
            words << word;
        }
    }
    // Words whose boxes start at the same height form one line.
    std::stable_sort(words.begin(), words.end(), [](const PdfWord &a, const PdfWord &b) {
        return std::abs(a.yMin - b.yMin) > 1.0 ? a.yMin < b.yMin : a.xMin < b.xMin;
    });
    QList<PdfLine> lines;
    for (const PdfWord &word : words) {
        if (lines.isEmpty() || std::abs(lines.back().top() - word.yMin) > 1.0)
            lines.append(PdfLine{});
        lines.back().words << word;
    }
    return lines;
}

QStringList pdfLineTexts(const QString &path, QString *error)
{
    QStringList texts;
    for (const PdfLine &line : pdfLines(path, error))
        texts << line.text();
    return texts;
}

int pdfPageCount(const QString &path)
{
    const ToolOutput info = runTool("pdfinfo", {path});
    const auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(info.out);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QSizeF pdfPageSize(const QString &path)
{
    const ToolOutput info = runTool("pdfinfo", {path});
    const auto match =
        QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(info.out);
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble())
                            : QSizeF();
}

QList<PdfTextLine> pdfTextLines(const QString &path, QString *error)
{
    const ToolOutput html = runTool("pdftohtml", {"-xml", "-i", "-q", "-stdout", path});
    if (!html.ok) {
        if (error)
            *error = html.error;
        return {};
    }
    QList<PdfTextLine> lines;
    QXmlStreamReader xml(html.out);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"text")
            continue;
        PdfTextLine line;
        // pdftohtml marks text set in a bold face with <b>.
        while (!(xml.readNext() == QXmlStreamReader::EndElement && xml.name() == u"text")
               && !xml.atEnd()) {
            if (xml.isStartElement() && xml.name() == u"b")
                line.bold = true;
            else if (xml.isCharacters())
                line.text += xml.text();
        }
        line.text = line.text.normalized(QString::NormalizationForm_KC);
        lines << line;
    }
    return lines;
}

QStringList pdfBoldTexts(const QString &path, QString *error)
{
    QStringList bold;
    for (const PdfTextLine &line : pdfTextLines(path, error))
        if (line.bold)
            bold << line.text;
    return bold;
}

} // namespace trelvane::test
