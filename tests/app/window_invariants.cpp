#include "window_invariants.h"

#include "analysis/scale_table.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/up_down.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>

namespace trelvane::test {
namespace {

std::optional<QString> trackBoxes(const frmInput &input, const stdGeneral &session)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{0,4}$"));
    const std::pair<const char *, std::int16_t> boxes[] = {{"txtPassTrack", session.intPassTrack},
                                                           {"txtFuncTrack", session.intFuncTrack},
                                                           {"txtStorTrack", session.intStorTrack}};
    for (const auto &[name, field] : boxes) {
        const auto *box = input.findChild<const QLineEdit *>(name);
        if (!box)
            return QString("%1 is gone").arg(name);
        if (!digits.match(box->text()).hasMatch())
            return QString("%1 holds \"%2\"").arg(name, box->text());
        if (field < 0 || field > 9999)
            return QString("the field of %1 holds %2").arg(name).arg(field);
        // A box the focus has left has been committed: what it shows is what the
        // analysis will use. An empty box is one the focus never left.
        if (input.focusWidget() != box) {
            const int shown = box->text().isEmpty() ? 0 : box->text().toInt();
            if (shown != field)
                return QString("%1 shows \"%2\" without the focus, but its field holds %3")
                    .arg(name, box->text())
                    .arg(field);
        }
    }
    return std::nullopt;
}

std::optional<QString> counters(const frmInput &input)
{
    for (int i = 0; i < 8; ++i) {
        const auto *counter = input.findChild<const UpDown *>(QString("udNoCars%1").arg(i));
        const auto *label = input.findChild<const QLabel *>(QString("lblNoCars%1").arg(i));
        if (!counter || !label)
            return QString("counter %1 or its label is gone").arg(i);
        if (counter->value() < 0 || counter->value() > 9999)
            return QString("counter %1 holds %2").arg(i).arg(counter->value());
        if (label->text() != QString::number(counter->value()))
            return QString("counter %1 holds %2 but its label shows \"%3\"")
                .arg(i)
                .arg(counter->value())
                .arg(label->text());
    }
    return std::nullopt;
}

std::optional<QString> scale(const frmInput &input, const stdGeneral &session)
{
    const QAbstractButton *checked = nullptr;
    int index = 0;
    for (const ScaleEntry &entry : kScaleTable) {
        const auto *option =
            input.findChild<const QAbstractButton *>(QString("optScale%1").arg(entry.index));
        if (option && option->isChecked()) {
            if (checked)
                return QString("two scales are selected");
            checked = option;
            index = entry.index;
        }
    }
    if (!checked)
        return QString("no scale is selected");
    const ScaleEntry entry = *findScale(index);
    if (session.strScale != checked->text().toStdString()
        || session.sngCarsPerFoot != entry.carsPerFoot)
        return QString("%1 is selected but the session holds %2 at %3 cars per foot")
            .arg(checked->text(), QString::fromStdString(session.strScale))
            .arg(double(session.sngCarsPerFoot));
    return std::nullopt;
}

std::optional<QString> openWindows(const stdGeneral &session)
{
    int answers = 0, prompts = 0, messageBoxes = 0;
    bool failureBox = false;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        if (auto *results = qobject_cast<frmAnswers *>(window)) {
            ++answers;
            if (results->lblMessage->isVisible() && !results->tmrMsgTimer->isActive())
                return QString("the printing message shows with its timer stopped");
            if (results->lblWarn->isVisible() != (session.intFuncPct > 50))
                return QString("the warning is %1 at a functional percentage of %2")
                    .arg(results->lblWarn->isVisible() ? "shown" : "hidden")
                    .arg(session.intFuncPct);
        } else if (auto *prompt = qobject_cast<frmGetRoad *>(window)) {
            ++prompts;
            const auto *over = qobject_cast<const frmAnswers *>(prompt->parentWidget());
            if (!over || !over->isVisible())
                return QString("the name prompt is open without its results window");
        } else if (qobject_cast<QMessageBox *>(window)) {
            ++messageBoxes;
            failureBox = failureBox || window->objectName() == "failureMessage";
        }
    }
    if (answers > 1 || prompts > 1 || messageBoxes > 1)
        return QString("%1 results windows, %2 name prompts and %3 message boxes are open")
            .arg(answers)
            .arg(prompts)
            .arg(messageBoxes);
    if (failureBox && answers > 0)
        return QString("an analysis failure shows beside a results window");
    return std::nullopt;
}

} // namespace

std::optional<QString> brokenInvariant(const frmInput &input, const stdGeneral &session)
{
    if (!input.isVisible())
        return QString("the input window has gone");
    if (auto broken = trackBoxes(input, session))
        return broken;
    if (auto broken = counters(input))
        return broken;
    if (auto broken = scale(input, session))
        return broken;
    return openWindows(session);
}

} // namespace trelvane::test
